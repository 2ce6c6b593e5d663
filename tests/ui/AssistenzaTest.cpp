#include "ShellFixture.h"

#include "../support/ServizioHttps.h"

#include "platform/Downloader.h"
#include "platform/QtPlatform.h"
#include "shell/FunzioniPUB.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QToolBar>

#include <memory>

using namespace ondavia;
using namespace ondavia::test;

namespace {

const QString Domanda = "Controllo ed Esecuzione programma di Assistenza Remota. \r\n  \r\nConfermi?  \r\n  \r\n"
                        "Potrebbe essere necessario attendere qualche istante... ";
const QString PercorsoStrumento = "/wp-content/files_mf/Assistenza-TVQS.exe";

// Remote assistance against a local HTTPS server, one for every case: the real downloader and the real
// start of a program, the message boxes answered by the scripted platform.
class AssistenzaRemotaTest : public ShellTest {
protected:
    // The shared folder the tool goes in, under the test's home for each case.
    AssistenzaRemotaTest() { qputenv("PUBLIC", pubblico.toUtf8()); }
    ~AssistenzaRemotaTest() override { qunsetenv("PUBLIC"); }

    static void SetUpTestSuite() { servizio = std::make_unique<ServizioHttps>(); }
    static void TearDownTestSuite() { servizio.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(servizio->errore().isEmpty()) << servizio->errore().toStdString();
        auto fidato = std::make_unique<Downloader>();
        fidato->addTrustedCertificates(servizio->certificati());
        reale.useDownloadService(std::move(fidato));
        desktop.downloader = [this](const DownloadRequest& r, QString* errore) { return reale.download(r, errore); };
        desktop.starter = [this](const QString& p, const QStringList& a) { return reale.startProgram(p, a); };
        servizio->pubblica(PercorsoStrumento, strumento);
        scriviIni("Host_Produttore=" + servizio->sito().toUtf8() + "\n");
    }

    void assistenza(F0& finestra, MsgResult risposta = MsgResult::Yes)
    {
        desktop.answers = {risposta};
        comando(finestra.barraBase(), ComandoAssistenzaRemota, "Assistenza Remota")->trigger();
    }

    QStringList contenutoCartella() const
    {
        return QDir(cartella).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    const QString pubblico = home.file("Pubblico");
    const QString cartella = pubblico + "/KELMARA/ASSISTENZA_REMOTA";
    const QString programma = cartella + "/Assistenza-TVQS.exe";
    // The stand-in for the remote-support tool: started for real, so it must be an executable file.
    const QByteArray strumento = "#!/bin/sh\nexit 0\n";
    static inline std::unique_ptr<ServizioHttps> servizio;
    QtPlatform reale;
};

TEST_F(AssistenzaRemotaTest, TheToolIsDownloadedOnceMadeExecutableAndStartedEachTime)
{
    // Digests are often copied in capitals or in groups.
    const QByteArray impronta = QCryptographicHash::hash(strumento, QCryptographicHash::Sha256).toHex().toUpper();
    scriviIni("Host_Produttore=" + servizio->sito().toUtf8() + "\nAssistenza_SHA256=" + impronta.left(32) + " " +
              impronta.mid(32) + "\n");
    auto finestra = finestraAperta();
    // Answering No does nothing at all; Yes makes every missing folder down to the tool's.
    assistenza(*finestra, MsgResult::No);
    EXPECT_FALSE(QFileInfo::exists(pubblico));
    EXPECT_TRUE(desktop.downloads.empty());

    desktop.messages.clear();
    assistenza(*finestra);
    ASSERT_EQ(desktop.messages.size(), 1u) << desktop.messageTexts().join('\n').toStdString();
    EXPECT_EQ(desktop.messages[0].text, Domanda);
    EXPECT_EQ(desktop.messages[0].buttons, MsgButtons::YesNo);
    ASSERT_EQ(desktop.downloads.size(), 1u);
    EXPECT_EQ(desktop.downloads[0].address, servizio->indirizzo(PercorsoStrumento));
    EXPECT_EQ(home.read("Pubblico/KELMARA/ASSISTENZA_REMOTA/Assistenza-TVQS.exe"), strumento);
    EXPECT_TRUE(QFileInfo(programma).isExecutable());
    EXPECT_EQ(contenutoCartella(), QStringList{"Assistenza-TVQS.exe"});
    EXPECT_EQ(desktop.started, (std::vector<std::pair<QString, QStringList>>{{programma, {}}}));

    // The second time it is there: started without downloading.
    assistenza(*finestra);
    EXPECT_EQ(desktop.downloads.size(), 1u);
    EXPECT_EQ(desktop.started.size(), 2u);
    EXPECT_EQ(desktop.messages.size(), 2u);
    EXPECT_TRUE(desktop.opened.empty());

    // A program of another digest in its place (the folder is shared) is not started: the tool is fetched
    // again over it, and the tool runs.
    home.write("Pubblico/KELMARA/ASSISTENZA_REMOTA/Assistenza-TVQS.exe", "#!/bin/sh\nexit 1\n");
    assistenza(*finestra);
    EXPECT_EQ(desktop.downloads.size(), 2u);
    EXPECT_EQ(home.read("Pubblico/KELMARA/ASSISTENZA_REMOTA/Assistenza-TVQS.exe"), strumento);
    EXPECT_EQ(desktop.started.size(), 3u);
    EXPECT_EQ(desktop.messages.size(), 3u);
}

TEST_F(AssistenzaRemotaTest, WhatCannotBeObtainedOrStartedIsReportedAndNothingRuns)
{
    auto finestra = finestraAperta();
    // A cancelled download ends quietly.
    const auto scarica = desktop.downloader;
    desktop.downloader = [](const DownloadRequest&, QString*) { return DownloadOutcome::Cancelled; };
    assistenza(*finestra);
    EXPECT_EQ(desktop.messages.size(), 1u);
    desktop.downloader = scarica;

    // A failed one names the maker's page and opens it. The download's own failures are the downloader's
    // tests; these are the keys that reach it.
    servizio->pubblica("/grande.exe", QByteArray(1024 * 1024 + 1, '#'));
    const std::vector<QByteArray> casi{
        "Assistenza_MaxMB=1\nAssistenza_Percorso=grande.exe\n",
        "Assistenza_SHA256=" + QByteArray(64, 'a') + "\n",
    };
    for (const QByteArray& caso : casi) {
        SCOPED_TRACE(caso.toStdString());
        scriviIni("Host_Produttore=" + servizio->sito().toUtf8() + "\n" + caso);
        desktop.messages.clear();
        desktop.opened.clear();
        assistenza(*finestra);
        ASSERT_EQ(desktop.messages.size(), 2u) << desktop.messageTexts().join('\n').toStdString();
        const MessageRequest& avviso = desktop.messages[1];
        EXPECT_TRUE(avviso.text.startsWith("Il programma  " + programma + " non è disponibile.\r\n\r\n"))
            << avviso.text.toStdString();
        EXPECT_EQ(desktop.opened, std::vector<QString>{servizio->sito() + "/assistenza-remota/"});
        EXPECT_TRUE(contenutoCartella().isEmpty());
    }
    EXPECT_EQ(desktop.downloads.size(), casi.size() + 1);

    // Without the maker's site nothing is fetched, and one message names the tool, the missing key and the
    // file where it goes.
    scriviIni("");
    desktop.messages.clear();
    desktop.opened.clear();
    assistenza(*finestra);
    EXPECT_EQ(desktop.downloads.size(), casi.size() + 1);
    EXPECT_TRUE(desktop.opened.empty());
    ASSERT_EQ(desktop.messages.size(), 2u) << desktop.messageTexts().join('\n').toStdString();
    const QString& avviso = desktop.messages[1].text;
    EXPECT_TRUE(avviso.startsWith("Il programma  " + programma + " non è disponibile")) << avviso.toStdString();
    EXPECT_TRUE(avviso.contains("Host_Produttore"));
    EXPECT_TRUE(avviso.contains(QDir::toNativeSeparators(home.file("configurazione.ini")))) << avviso.toStdString();
    EXPECT_FALSE(desktop.messages[1].title.isEmpty());
    EXPECT_TRUE(desktop.started.empty());

    // Put there by hand, a file that is not a program is reported; the tool itself runs.
    home.write("Pubblico/KELMARA/ASSISTENZA_REMOTA/Assistenza-TVQS.exe", "non eseguibile");
    desktop.messages.clear();
    assistenza(*finestra);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[1].text, "ERR COMMANDBARS EXECUTE: impossibile avviare il programma " + programma);
    home.write("Pubblico/KELMARA/ASSISTENZA_REMOTA/Assistenza-TVQS.exe", strumento);
    QFile::setPermissions(programma, QFile::permissions(programma) | QFileDevice::ExeOwner);
    desktop.messages.clear();
    assistenza(*finestra);
    EXPECT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.started.size(), 2u);

    // A configured file name may not lead out of the tool's folder.
    scriviIni("Host_Produttore=" + servizio->sito().toUtf8() + "\nAssistenza_File=../../bin/strumento\n");
    desktop.messages.clear();
    assistenza(*finestra);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_TRUE(desktop.messages[1].text.contains("Assistenza_File"));
    // The operator's own setting, told as such with the file to correct, not as a failure of the program.
    EXPECT_FALSE(desktop.messages[1].text.startsWith("ERR COMMANDBARS")) << desktop.messages[1].text.toStdString();
    EXPECT_TRUE(desktop.messages[1].text.contains(QDir::toNativeSeparators(home.file("configurazione.ini"))));
    EXPECT_EQ(desktop.messages[1].title, "Impostazione non valida");
    EXPECT_EQ(desktop.started.size(), 2u);
}

// The support request and the update page need an address of the configuration: without it the key is
// named and nothing opens; with it they open.
TEST_F(ShellTest, TheSupportRequestAndTheUpdatePageNameTheMissingKeyOrOpenTheAddress)
{
    auto finestra = finestraAperta();
    QAction* richiesta = comando(popup(*finestra, "Aiuto"), 713, "Richiesta Assistenza");
    QAction* aggiornamenti = comando(popup(*finestra, "Aiuto"), 726, "Controllo Aggiornamenti su Sito");
    richiesta->trigger();
    aggiornamenti->trigger();
    EXPECT_TRUE(desktop.mails.empty());
    EXPECT_TRUE(desktop.opened.empty());
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_TRUE(desktop.messages[0].text.contains("Mail_Assistenza"));
    EXPECT_TRUE(desktop.messages[1].text.contains("Host_Produttore"));

    scriviIni("Mail_Assistenza = assistenza@ondavia.test\nHost_Produttore=http://www.ondavia.test\n");
    desktop.messages.clear();
    comando(finestra->barraBase(), 713, "Richiesta di Assistenza (email)")->trigger();
    aggiornamenti->trigger();
    ASSERT_EQ(desktop.mails.size(), 1u);
    EXPECT_EQ(desktop.mails[0].to, "assistenza@ondavia.test");
    EXPECT_EQ(desktop.mails[0].subject, "RICHIESTA Utente Ondavia: ");
    EXPECT_EQ(desktop.opened, std::vector<QString>{"http://www.ondavia.test/?app_aggiornamenti=aggiornamenti"});
    EXPECT_TRUE(desktop.messages.empty());

    desktop.mailSucceeds = false;
    desktop.mailError = "nessun programma risponde agli indirizzi mailto:";
    richiesta->trigger();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Errore Creazione Email: \r\nnessun programma risponde agli indirizzi mailto:"
                                        "\r\n \r\nVerificare che sia installato un programma di posta elettronica");
}

// Addresses reach the browser through the agency's and the maker's pages; other command lines are split
// into a program and its arguments.
TEST_F(ShellTest, EseguiStartsACommandLineSplitIntoProgramAndArguments)
{
    EXPECT_TRUE(Esegui("\"/opt/Assistenza Remota/strumento\" --id 12 \"due parole\""));
    EXPECT_FALSE(Esegui("   "));
    EXPECT_EQ(desktop.started, (std::vector<std::pair<QString, QStringList>>{
                                   {"/opt/Assistenza Remota/strumento", {"--id", "12", "due parole"}}}));
    EXPECT_TRUE(desktop.opened.empty());
}

} // namespace
