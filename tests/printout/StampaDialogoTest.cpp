// The print-out's road from the command to the file: the save dialog, a file in use, a folder that cannot be
// written, a subject that is not there, a viewer that does not start. (A write that fails half-way never
// replaces a file: the PDF writer's own tests see to that.)

#include "StampaProva.h"

#include "app/Dichiarazioni.h"

#include <QDir>
#include <QFile>

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
