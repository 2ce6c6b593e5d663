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

TEST_F(StampaDialogo, RefusingToReplaceAFileAsksAgainOnTheRefusedPathAndACancelEndsQuietly)
{
    const QString vecchio = esistente(QStringLiteral("scheda.pdf"));
    scripted.saveAnswers = {vecchio};
    scripted.answers = {MsgResult::No};

    // Refused, then the dialog asked again is cancelled.
    stampa(kCodice, QStringLiteral("001"));
    ASSERT_EQ(scripted.saveRequests.size(), 2u);
    EXPECT_EQ(scripted.saveRequests[0].title, "Indica dove salvare la STAMPA del soggetto");
    EXPECT_EQ(scripted.saveRequests[1].fileName, vecchio);
    ASSERT_EQ(scripted.messages.size(), 1u) << "only the question about replacing";
    EXPECT_EQ(scripted.messages[0].title, "Controllo Documento");
    EXPECT_EQ(contenuto(vecchio), kVecchio.toUtf8());
    EXPECT_EQ(nomiIn(scripted.desktop), QStringList{QStringLiteral("scheda.pdf")});
    EXPECT_TRUE(scripted.opened.empty());

    scripted.saveAnswers = {vecchio};
    scripted.answers = {MsgResult::Yes};
    stampa(kCodice, QStringLiteral("001"));
    EXPECT_TRUE(contenuto(vecchio).startsWith("%PDF-1.3")) << "replaced once the operator agreed";
    ASSERT_EQ(scripted.opened.size(), 1u);
    EXPECT_EQ(scripted.opened[0], vecchio);
}

TEST_F(StampaDialogo, AFileHeldByAnotherProgramIsLeftAlone)
{
    const QString vecchio = esistente(QStringLiteral("aperto.pdf"));
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
    EXPECT_TRUE(scripted.opened.empty());
}

// A folder that is not there (a path typed into the dialog) is not made: the print error names the file.
TEST_F(StampaDialogo, AFolderThatCannotBeWrittenGivesThePrintError)
{
    const QString pdf = desktop(QStringLiteral("manca/scheda.pdf"));
    scripted.saveAnswers = {pdf};
    stampa(kCodice, QStringLiteral("001"));
    EXPECT_TRUE(messaggio().startsWith(QStringLiteral("Errore stampa documento"))) << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(pdf)) << messaggio().toStdString();
    EXPECT_FALSE(QDir(desktop(QStringLiteral("manca"))).exists());
    EXPECT_TRUE(scripted.opened.empty());
}

TEST_F(StampaDialogo, ASubjectNoLongerInTheRegisterReachesTheDispatchBeforeAnyDialog)
{
    // The subject on screen was deleted behind the form's back (a restore, another copy of the program).
    scripted.saveAnswers = {desktop(QStringLiteral("scheda.pdf"))};
    stampa(kCodice, QStringLiteral("001"));
    ASSERT_EQ(scripted.saveRequests.size(), 1u);
    ASSERT_TRUE(Conn.Execute(QStringLiteral("DELETE FROM COPE")));

    scripted.saveAnswers = {desktop(QStringLiteral("scheda2.pdf"))};
    finestra->CommandBars_Execute(ComandoStampa, QStringLiteral("Stampa"));
    EXPECT_EQ(scripted.saveRequests.size(), 1u);
    EXPECT_TRUE(messaggio().startsWith(QStringLiteral("ERR COMMANDBARS EXECUTE: "))) << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(kCodice)) << messaggio().toStdString();
    EXPECT_FALSE(QFile::exists(desktop(QStringLiteral("scheda2.pdf"))));
}

TEST_F(StampaDialogo, ADamagedTemplateIsNamedAndNothingIsWritten)
{
    home.write(QStringLiteral("Stampe/basec1.pdf"), "%PDF-1.3\n1 0 obj << /Type /Catalog >> endobj\ntrailer\n");
    const QString vecchio = esistente(QStringLiteral("scheda.pdf"));
    scripted.saveAnswers = {vecchio};
    scripted.answers = {MsgResult::Yes};

    stampa(kCodice, QStringLiteral("001"));

    EXPECT_TRUE(messaggio().startsWith(QStringLiteral("Il modello di stampa"))) << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(QDir::toNativeSeparators(home.file(QStringLiteral("Stampe/basec1.pdf")))));
    EXPECT_EQ(contenuto(vecchio), kVecchio.toUtf8());
    EXPECT_EQ(nomiIn(scripted.desktop), QStringList{QStringLiteral("scheda.pdf")});
    EXPECT_TRUE(scripted.opened.empty());
}

TEST_F(StampaDialogo, AViewerThatDoesNotStartIsToldWithTheDocumentsPlace)
{
    scripted.openSucceeds = false;
    const QString pdf = desktop(QStringLiteral("scheda.pdf"));
    scripted.saveAnswers = {pdf};

    stampa(kCodice, QStringLiteral("001"));

    EXPECT_TRUE(contenuto(pdf).startsWith("%PDF-1.3"));
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_TRUE(messaggio().startsWith(QStringLiteral("Il documento è stato creato"))) << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(pdf));
}

} // namespace ondavia::test
