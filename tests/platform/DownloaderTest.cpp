#include "../support/ServizioHttps.h"

#include "platform/Downloader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ondavia;
using namespace ondavia::test;

namespace {

QByteArray byteCasuali(qsizetype quanti)
{
    QByteArray dati(quanti, Qt::Uninitialized);
    QRandomGenerator generatore(quanti);
    for (char& c : dati) {
        c = static_cast<char>(generatore.bounded(256));
    }
    return dati;
}

QByteArray leggi(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(assente)");
}

class DownloaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(servizio.errore().isEmpty()) << servizio.errore().toStdString();
        downloader.addTrustedCertificates(servizio.certificati());
        servizio.pubblica("/file/programma", programma);
    }

    DownloadRequest richiesta(const QString& percorso) const
    {
        DownloadRequest r;
        r.address = servizio.indirizzo(percorso);
        r.targetFile = destinazione;
        r.maxBytes = programma.size();
        r.executable = true;
        return r;
    }

    // Everything in the target's folder, hidden files included.
    QStringList cartella() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    const QByteArray programma = byteCasuali(300 * 1024);
    ServizioHttps servizio;
    QTemporaryDir dir;
    const QString destinazione = dir.filePath("Assistenza-TVQS.exe");
    Downloader downloader;
};

TEST_F(DownloaderTest, ACompleteFileArrivesWholeCheckedAndExecutable)
{
    DownloadRequest r = richiesta("/file/programma");
    // Digests are often copied in capitals or in groups.
    const QByteArray impronta = QCryptographicHash::hash(programma, QCryptographicHash::Sha256).toHex().toUpper();
    r.sha256 = QString::fromLatin1(impronta.left(32) + ' ' + impronta.mid(32));
    qint64 ultimoRicevuto = -1;
    qint64 ultimoTotale = -1;
    QString errore;
    ASSERT_EQ(downloader.run(r, &errore,
                             [&](qint64 ricevuti, qint64 totale) {
                                 ultimoRicevuto = ricevuti;
                                 ultimoTotale = totale;
                                 return true;
                             }),
              DownloadOutcome::Completed)
        << errore.toStdString();
    EXPECT_EQ(leggi(destinazione), programma);
    EXPECT_TRUE(QFile::permissions(destinazione) & QFileDevice::ExeOwner);
    EXPECT_EQ(cartella(), QStringList{"Assistenza-TVQS.exe"});
    EXPECT_EQ(ultimoTotale, programma.size());
    EXPECT_EQ(ultimoRicevuto, programma.size());

    // Not asked to be executable, it is not.
    r.targetFile = dir.filePath("dati");
    r.executable = false;
    r.sha256.clear();
    ASSERT_EQ(downloader.run(r, &errore), DownloadOutcome::Completed) << errore.toStdString();
    EXPECT_FALSE(QFile::permissions(r.targetFile) & QFileDevice::ExeOwner);
}

TEST_F(DownloaderTest, OnlyHttpsIsFetchedEvenAfterARedirection)
{
    for (const QString& indirizzo :
         {servizio.sitoInChiaro() + "/file/programma", QString("ftp://127.0.0.1/file/programma"),
          QString("file:///etc/hostname"), QString("https:///file/programma"), QString("programma"),
          servizio.indirizzo("/rinvia-http/file/programma")}) {
        SCOPED_TRACE(indirizzo.toStdString());
        DownloadRequest r = richiesta({});
        r.address = indirizzo;
        QString errore;
        EXPECT_EQ(downloader.run(r, &errore), DownloadOutcome::Failed);
        EXPECT_FALSE(errore.isEmpty());
        EXPECT_TRUE(cartella().isEmpty());
    }
}

TEST_F(DownloaderTest, AFailedDownloadLeavesNothingAndKeepsTheFileThatWasThere)
{
    {
        QFile vecchio(destinazione);
        ASSERT_TRUE(vecchio.open(QIODevice::WriteOnly));
        vecchio.write("versione precedente");
    }
    // Not found, refused, cut short, over an announced limit and another file's digest are met end to
    // end by the remote-assistance tests; these are the ones that need a closer look.
    struct Caso {
        const char* nome;
        QString indirizzo;
        qint64 limite;
        QString impronta;
        const char* motivo;
    };
    const qint64 intero = programma.size();
    const std::vector<Caso> casi{
        {"stalled", servizio.indirizzo("/fermo/file/programma"), intero, {}, "non ha risposto"},
        {"over the limit, length not announced", servizio.indirizzo("/senza-lunghezza/file/programma"), intero - 1,
         {}, "supera il limite"},
        {"a digest that is not one", servizio.indirizzo("/file/programma"), intero, "abc", "SHA-256"},
    };
    downloader.setInactivityTimeout(400);
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        DownloadRequest r = richiesta({});
        r.address = caso.indirizzo;
        r.maxBytes = caso.limite;
        r.sha256 = caso.impronta;
        QString errore;
        EXPECT_EQ(downloader.run(r, &errore), DownloadOutcome::Failed);
        EXPECT_FALSE(errore.isEmpty());
        EXPECT_TRUE(errore.contains(caso.motivo)) << errore.toStdString();
        EXPECT_EQ(leggi(destinazione), "versione precedente");
        EXPECT_EQ(cartella(), QStringList{"Assistenza-TVQS.exe"});
    }

    // The same file, whole and under its limit, replaces it.
    QString errore;
    ASSERT_EQ(downloader.run(richiesta("/senza-lunghezza/file/programma"), &errore), DownloadOutcome::Completed)
        << errore.toStdString();
    EXPECT_EQ(leggi(destinazione), programma);
}

TEST_F(DownloaderTest, ACancelStopsAtOnceAndLeavesNothing)
{
    QElapsedTimer orologio;
    orologio.start();
    int domande = 0;
    // The slow path takes 30 s to send the whole file; the first question, while bytes are still
    // missing, cancels.
    QString errore;
    EXPECT_EQ(downloader.run(richiesta("/lento/file/programma"), &errore,
                             [&](qint64, qint64) {
                                 ++domande;
                                 return false;
                             }),
              DownloadOutcome::Cancelled);
    EXPECT_EQ(domande, 1);
    EXPECT_LT(orologio.elapsed(), 5000);
    EXPECT_TRUE(cartella().isEmpty());
}

} // namespace
