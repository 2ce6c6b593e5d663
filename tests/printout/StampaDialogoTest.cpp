// The print-out's road from the command to the file: the save dialog, a file in use, a folder that cannot be
// written, a subject that is not there, a viewer that does not start. (A write that fails half-way never
// replaces a file: the PDF writer's own tests see to that.)

#include "PercorsiProva.h"
#include "StampaProva.h"

#include "../support/LimiteFile.h"
#include "../support/SenzaPermessi.h"
#include "app/Dichiarazioni.h"
#include "core/Hooks.h"
#include "printout/LettorePdf.h"
#include "printout/ModelloStampa.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace ondavia::test {

namespace {

const QString kCodice = QStringLiteral("DNGMRA70C45H501Z");
const QString kVecchio = QStringLiteral("il documento di ieri");

QByteArray contenuto(const QString& percorso)
{
    QFile file(percorso);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList nomiIn(const QString& cartella)
{
    return QDir(cartella).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

class StampaDialogo : public StampaProva {
protected:
    void SetUp() override
    {
        StampaProva::SetUp();
        inserisci(personaFisica());
    }

    // A file the operator already has where the print-out is to go.
    QString esistente(const QString& nome) const
    {
        const QString percorso = desktop(nome);
        QFile file(percorso);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kVecchio.toUtf8());
        return percorso;
    }
};

TEST_F(StampaDialogo, AFileTheOperatorHasIsReplacedOnlyWhenFreeAndAgreed)
{
    const QString vecchio = esistente(QStringLiteral("scheda.pdf"));

    // Held by another program: left alone although the operator agreed.
    const int fd = ::open(QFile::encodeName(vecchio).constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    scripted.saveAnswers = {vecchio};
    scripted.answers = {MsgResult::Yes};
    stampa(kCodice, QStringLiteral("001"));
    ::close(fd);
    ASSERT_EQ(scripted.messages.size(), 2u);
    EXPECT_TRUE(messaggio().contains(QStringLiteral("aperto in un altro programma"))) << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(vecchio));
    EXPECT_EQ(contenuto(vecchio), kVecchio.toUtf8());

    // A damaged template is named, and nothing is written.
    home.write(QStringLiteral("Stampe/basec1.pdf"), "%PDF-1.3\n1 0 obj << /Type /Catalog >> endobj\ntrailer\n");
    scripted.saveAnswers = {vecchio};
    scripted.answers = {MsgResult::Yes};
    stampa(kCodice, QStringLiteral("001"));
    EXPECT_TRUE(messaggio().startsWith(QStringLiteral("Il modello di stampa"))) << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(QDir::toNativeSeparators(home.file(QStringLiteral("Stampe/basec1.pdf")))));
    EXPECT_EQ(contenuto(vecchio), kVecchio.toUtf8());
    EXPECT_EQ(nomiIn(scripted.desktop), QStringList{QStringLiteral("scheda.pdf")});
    ASSERT_TRUE(QFile::remove(home.file(QStringLiteral("Stampe/basec1.pdf"))));

    // Refused, then the dialog asked again on the refused path is cancelled.
    scripted.messages.clear();
    scripted.saveRequests.clear();
    scripted.saveAnswers = {vecchio};
    scripted.answers = {MsgResult::No};
    stampa(kCodice, QStringLiteral("001"));
    ASSERT_EQ(scripted.saveRequests.size(), 2u);
    EXPECT_EQ(scripted.saveRequests[1].fileName, vecchio);
    ASSERT_EQ(scripted.messages.size(), 1u) << "only the question about replacing";
    EXPECT_EQ(contenuto(vecchio), kVecchio.toUtf8());
    EXPECT_EQ(nomiIn(scripted.desktop), QStringList{QStringLiteral("scheda.pdf")});
    EXPECT_TRUE(scripted.opened.empty());

    scripted.saveAnswers = {vecchio};
    scripted.answers = {MsgResult::Yes};
    stampa(kCodice, QStringLiteral("001"));
    EXPECT_TRUE(contenuto(vecchio).startsWith("%PDF-1.3")) << "replaced once the operator agreed";
}

TEST_F(StampaDialogo, FailuresAreToldWithTheDocumentsPlace)
{
    // A folder that is not there (a path typed into the dialog) is not made: the print error names the file.
    const QString manca = desktop(QStringLiteral("manca/scheda.pdf"));
    scripted.saveAnswers = {manca};
    stampa(kCodice, QStringLiteral("001"));
    EXPECT_TRUE(messaggio().startsWith(QStringLiteral("Errore stampa documento"))) << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(manca)) << messaggio().toStdString();
    EXPECT_FALSE(QDir(desktop(QStringLiteral("manca"))).exists());
    EXPECT_TRUE(scripted.opened.empty());

    // A viewer that does not start.
    scripted.messages.clear();
    scripted.openSucceeds = false;
    const QString pdf = desktop(QStringLiteral("scheda.pdf"));
    scripted.saveAnswers = {pdf};
    stampa(kCodice, QStringLiteral("001"));
    EXPECT_TRUE(contenuto(pdf).startsWith("%PDF-1.3"));
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_TRUE(messaggio().startsWith(QStringLiteral("Il documento è stato creato"))) << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(pdf));

    // The subject on screen deleted behind the form's back (a restore, another copy of the program) reaches
    // the dispatch before any dialog.
    ASSERT_TRUE(Conn.Execute(QStringLiteral("DELETE FROM COPE")));
    const std::size_t richieste = scripted.saveRequests.size();
    scripted.saveAnswers = {desktop(QStringLiteral("scheda2.pdf"))};
    finestra->CommandBars_Execute(ComandoStampa, QStringLiteral("Stampa"));
    EXPECT_EQ(scripted.saveRequests.size(), richieste);
    EXPECT_TRUE(messaggio().startsWith(QStringLiteral("ERR COMMANDBARS EXECUTE: "))) << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(kCodice)) << messaggio().toStdString();
    EXPECT_FALSE(QFile::exists(desktop(QStringLiteral("scheda2.pdf"))));
}

} // namespace ondavia::test

namespace ondavia::test {

namespace {

// Words of the PDF writer's and the system's own descriptions: none may reach the operator.
bool inglese(const QString& testo)
{
    static const QRegularExpression parole(
        QStringLiteral("\\b(Path|not found|[Ee]rror|Permission|denied|Disk|Device|Invalid|format|startxref|"
                       "trailer|No such|directory)\\b"));
    return testo.contains(parole);
}

} // namespace

// Each way the document cannot be written is told by its own reason, in Italian, with the file named; the
// operator's own situations (no stored subject on screen, a cancelled dialog) are no program error.
TEST_F(StampaDialogo, EachFailureHasItsOwnItalianReasonAndTheOperatorsOwnSituationsAreNoErrors)
{
    // A new subject, not yet stored: a message of the print-out's own, and nothing is asked.
    auto* registro = dynamic_cast<F1OP*>(&finestra->apriRegistro());
    ASSERT_NE(registro, nullptr);
    CodiceCorrente.clear();
    finestra->CommandBars_Execute(ComandoStampa, QStringLiteral("Stampa"));
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_FALSE(messaggio().startsWith(QStringLiteral("ERR COMMANDBARS"))) << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(QStringLiteral("registra"))) << messaggio().toStdString();
    EXPECT_EQ(scripted.messages[0].title, QStringLiteral("Stampa soggetto"));
    EXPECT_TRUE(scripted.saveRequests.empty());

    // A cancelled dialog: nothing at all.
    scripted.messages.clear();
    stampa(kCodice, QStringLiteral("001"));
    EXPECT_EQ(scripted.saveRequests.size(), 1u);
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();

    // The template is written by the first print-out; from here on only the document fails.
    scripted.saveAnswers = {desktop(QStringLiteral("prima.pdf"))};
    stampa(kCodice, QStringLiteral("001"));
    ASSERT_TRUE(QFile::exists(desktop(QStringLiteral("prima.pdf")))) << messaggio().toStdString();

    const QString chiusa = home.file(QStringLiteral("Chiusa"));
    QDir().mkpath(chiusa);
    QDir().mkpath(desktop(QStringLiteral("cartella.pdf")));
    struct Caso {
        const char* nome;
        QString percorso;
        QString motivo;
        std::function<std::shared_ptr<void>()> condizione;
    };
    const std::vector<Caso> casi{
        {"missing folder", desktop(QStringLiteral("manca/scheda.pdf")),
         QStringLiteral("La cartella %1 non esiste").arg(desktop(QStringLiteral("manca"))), [] { return nullptr; }},
        {"no permission", QDir(chiusa).filePath(QStringLiteral("scheda.pdf")),
         QStringLiteral("Non hai il permesso di scrivere nella cartella %1").arg(chiusa),
         [&] { return std::make_shared<SenzaPermessi>(QFile::encodeName(chiusa).toStdString()); }},
        {"folder in the file's place", desktop(QStringLiteral("cartella.pdf")),
         QStringLiteral("Con quel nome c'è già una cartella"), [] { return nullptr; }},
        {"disk full", desktop(QStringLiteral("pieno.pdf")), QStringLiteral("Il disco è pieno"),
         [] { return std::make_shared<LimiteFile>(4096); }},
    };
    QSet<QString> motivi;
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        scripted.messages.clear();
        scripted.saveAnswers = {caso.percorso};
        {
            const std::shared_ptr<void> condizione = caso.condizione();
            stampa(kCodice, QStringLiteral("001"));
        }
        ASSERT_EQ(scripted.messages.size(), 1u);
        const QStringList parti = messaggio().split(QStringLiteral("\r\n \r\n"));
        ASSERT_EQ(parti.size(), 3) << messaggio().toStdString();
        EXPECT_EQ(parti[0], QStringLiteral("Errore stampa documento"));
        EXPECT_EQ(parti[1], caso.percorso);
        EXPECT_TRUE(parti[2].startsWith(caso.motivo)) << parti[2].toStdString();
        EXPECT_FALSE(inglese(messaggio())) << messaggio().toStdString();
        motivi.insert(parti[2]);
        EXPECT_FALSE(QFile::exists(caso.percorso + QStringLiteral(".part")));
        EXPECT_TRUE(scripted.opened.size() == 1u) << "only the first print-out was opened";
    }
    EXPECT_EQ(motivi.size(), static_cast<qsizetype>(casi.size())) << "each failure has its own reason";
    EXPECT_TRUE(QFileInfo(desktop(QStringLiteral("cartella.pdf"))).isDir());

    // The template: damaged, or no PDF at all.
    const QString modello = home.file(QStringLiteral("Stampe/basec1.pdf"));
    for (const QByteArray& contenuto :
         {QByteArray("%PDF-1.3\n1 0 obj << /Type /Catalog >> endobj\ntrailer\n"), QByteArray("carta intestata\n")}) {
        SCOPED_TRACE(contenuto.toStdString());
        home.write(QStringLiteral("Stampe/basec1.pdf"), contenuto);
        scripted.messages.clear();
        scripted.saveAnswers = {desktop(QStringLiteral("scheda.pdf"))};
        stampa(kCodice, QStringLiteral("001"));
        ASSERT_EQ(scripted.messages.size(), 1u);
        EXPECT_EQ(messaggio(), QStringLiteral("Il modello di stampa\r\n \r\n%1\r\n \r\nnon si può usare: il file è "
                                              "danneggiato o non è un documento PDF.\r\n \r\nSostituiscilo, oppure "
                                              "cancellalo: il programma ne scriverà uno nuovo.")
                                   .arg(modello));
    }
}

} // namespace ondavia::test

namespace ondavia::test {

// An installation that lost the reader's module (a test program has none beside it) cannot print: it says which
// file is missing before it asks anything, and writes nothing.
TEST_F(StampaDialogo, WithoutItsReadersModuleThePrintOutNamesTheMissingFileAndAsksNothing)
{
    folian::Hooks hooks = folian::DefaultHooks();
    hooks.openPdf = apriPdfConModulo;
    folian::SetDefaultHooks(std::move(hooks));

    scripted.saveAnswers = {desktop(QStringLiteral("scheda.pdf"))};
    stampa(kCodice, QStringLiteral("001"));

    EXPECT_TRUE(scripted.saveRequests.empty());
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(messaggio(), QStringLiteral("Impossibile stampare: manca il file %1, che serve per leggere il modello "
                                          "di stampa; reinstalla il programma.")
                               .arg(QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/" +
                                                             ONDAVIA_PDF_READER_MODULE)));
    EXPECT_TRUE(nomiIn(scripted.desktop).isEmpty());
    EXPECT_FALSE(QFile::exists(percorsoModello()));
}

} // namespace ondavia::test

namespace ondavia::test {

namespace {

// Runs qpdf, giving its exit code; -1 when it did not run to its end.
int qpdf(const QStringList& argomenti)
{
    QProcess processo;
    processo.start(QStringLiteral("qpdf"), argomenti);
    if (!processo.waitForFinished(20000) || processo.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    return processo.exitCode();
}

QString motivoDelModello(const QString& motivo)
{
    return QStringLiteral("Il modello di stampa\r\n \r\n%1\r\n \r\nnon si può usare: %2\r\n \r\nSostituiscilo, "
                          "oppure cancellalo: il programma ne scriverà uno nuovo.")
        .arg(QDir::toNativeSeparators(percorsoModello()), motivo);
}

} // namespace

// An office protected its letterhead with a password: the print-out says so, in those words, leaves the file as it
// is and writes nothing. Whether the password is asked to open the file or only guards what may be done with it,
// the page cannot be copied.
TEST_F(StampaDialogo, APasswordProtectedTemplateIsToldAsSuchAndLeftAlone)
{
    QString errore;
    const QString nostro = home.file(QStringLiteral("nostro.pdf"));
    ASSERT_TRUE(scriviModello(nostro, &errore)) << errore.toStdString();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(percorsoModello()).absolutePath()));
    struct Caso {
        const char* nome;
        QString utente;
        int richiesta; // qpdf --requires-password: 0 a password opens it, 3 it opens without one
    };
    for (const Caso& caso :
         {Caso{"password to open", QStringLiteral("utente"), 0}, Caso{"owner's password only", QString(), 3}}) {
        SCOPED_TRACE(caso.nome);
        QFile::remove(percorsoModello());
        ASSERT_EQ(qpdf({QStringLiteral("--encrypt"), caso.utente, QStringLiteral("titolare"), QStringLiteral("256"),
                        QStringLiteral("--"), nostro, percorsoModello()}),
                  0);
        ASSERT_EQ(qpdf({QStringLiteral("--requires-password"), percorsoModello()}), caso.richiesta);
        const QByteArray protetto = contenuto(percorsoModello());
        scripted.messages.clear();
        scripted.saveAnswers = {desktop(QStringLiteral("scheda.pdf"))};

        stampa(kCodice, QStringLiteral("001"));

        ASSERT_EQ(scripted.messages.size(), 1u);
        EXPECT_EQ(messaggio().toStdString(),
                  motivoDelModello(QStringLiteral("il documento è protetto da una password.")).toStdString());
        EXPECT_EQ(scripted.messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(contenuto(percorsoModello()), protetto);
        EXPECT_TRUE(nomiIn(scripted.desktop).isEmpty()) << nomiIn(scripted.desktop).join(' ').toStdString();
        EXPECT_TRUE(scripted.opened.empty());
    }
}

// A template whose page itself cannot be read whole (its dictionary broken after the media box) is refused rather
// than copied with pieces missing: the operator is told the file is damaged, and no print-out is left behind.
TEST_F(StampaDialogo, ATemplateWhosePageDictionaryIsDamagedIsRefusedAndNothingIsLeft)
{
    QString errore;
    ASSERT_TRUE(preparaModello(&errore)) << errore.toStdString();
    QByteArray modello = contenuto(percorsoModello());
    static const QRegularExpression scatola(QStringLiteral("/MediaBox \\[[^\\]]*\\]"));
    const QRegularExpressionMatch trovata = scatola.match(QString::fromLatin1(modello));
    ASSERT_TRUE(trovata.hasMatch());
    modello.insert(trovata.capturedEnd(), "]>");
    // Two blanks fewer at the page's opening keep every object where the file's table says it is: only the
    // page is damaged.
    const qsizetype pagina = modello.lastIndexOf("<< /Type /Page ", trovata.capturedStart());
    ASSERT_GE(pagina, 0);
    modello.replace(pagina, 15, "<</Type/Page ");
    home.write(QStringLiteral("Stampe/basec1.pdf"), modello);
    scripted.saveAnswers = {desktop(QStringLiteral("scheda.pdf"))};

    stampa(kCodice, QStringLiteral("001"));

    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(messaggio().toStdString(),
              motivoDelModello(QStringLiteral("il file è danneggiato o non è un documento PDF.")).toStdString());
    EXPECT_EQ(contenuto(percorsoModello()), modello) << "left for the operator to replace";
    EXPECT_TRUE(nomiIn(scripted.desktop).isEmpty()) << nomiIn(scripted.desktop).join(' ').toStdString();
    EXPECT_TRUE(scripted.opened.empty());
}

} // namespace ondavia::test
