#include "../support/ServizioHttps.h"

#include "platform/Downloader.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace ondavia;
using namespace ondavia::test;

namespace {

QByteArray leggi(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(assente)");
}

// One local HTTPS server for every case: starting it makes a certificate and a process.
class DownloaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        servizio = std::make_unique<ServizioHttps>();
        servizio->pubblica("/file/programma", programma());
    }
    static void TearDownTestSuite() { servizio.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(servizio->errore().isEmpty()) << servizio->errore().toStdString();
        downloader.addTrustedCertificates(servizio->certificati());
    }

    static const QByteArray& programma()
    {
        static const QByteArray dati = [] {
            QByteArray casuali(300 * 1024, Qt::Uninitialized);
            QRandomGenerator generatore(7);
            for (char& c : casuali) {
                c = static_cast<char>(generatore.bounded(256));
            }
            return casuali;
        }();
        return dati;
    }

    DownloadRequest richiesta(const QString& percorso) const
    {
        DownloadRequest r;
        r.address = servizio->indirizzo(percorso);
        r.targetFile = destinazione;
        r.maxBytes = programma().size();
        r.executable = true;
        return r;
    }

    // Everything in the target's folder, hidden files included.
    QStringList cartella() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    static inline std::unique_ptr<ServizioHttps> servizio;
    QTemporaryDir dir;
    const QString destinazione = dir.filePath("Assistenza-TVQS.exe");
    Downloader downloader;
};

TEST_F(DownloaderTest, AFailedDownloadLeavesNothingAndKeepsTheFileThatWasThere)
{
    {
        QFile vecchio(destinazione);
        ASSERT_TRUE(vecchio.open(QIODevice::WriteOnly));
        vecchio.write("versione precedente");
    }
    // An announced length over the limit and another file's digest are met end to end by the
    // remote-assistance tests; a missing file or a connection cut short fail like the redirection, in the
    // network's own words.
    struct Caso {
        const char* nome;
        QString indirizzo;
        qint64 limite;
        QString impronta;
        const char* motivo;
    };
    const qint64 intero = programma().size();
    const std::vector<Caso> casi{
        // Only https is fetched, even after a redirection.
        {"plain http", servizio->sitoInChiaro() + "/file/programma", intero, {}, "https"},
        {"no host", "https:///file/programma", intero, {}, "https"},
        {"redirected to http", servizio->indirizzo("/rinvia-http/file/programma"), intero, {}, ""},
        {"stalled", servizio->indirizzo("/fermo/file/programma"), intero, {}, "non ha risposto"},
        {"over the limit, length not announced",
         servizio->indirizzo("/senza-lunghezza/file/programma"),
         intero - 1,
         {},
         "supera il limite"},
        {"a digest that is not one", servizio->indirizzo("/file/programma"), intero, "abc", "SHA-256"},
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
    EXPECT_EQ(leggi(destinazione), programma());
}

// The real platform's progress window: its "Annulla" stops the slow path (30 s for the whole file) at once.
TEST_F(DownloaderTest, TheProgressWindowShowsWhatIsDownloadedAndItsCancelStopsIt)
{
    QtPlatform desktop;
    auto fidato = std::make_unique<Downloader>();
    fidato->addTrustedCertificates(servizio->certificati());
    desktop.useDownloadService(std::move(fidato));
    DownloadRequest r = richiesta("/lento/file/programma");
    r.caption = "Scaricamento di programma in corso...";

    QString etichetta;
    int massimo = 0;
    QTimer controllo;
    QObject::connect(&controllo, &QTimer::timeout, [&] {
        for (QWidget* finestra : QApplication::topLevelWidgets()) {
            auto* progresso = qobject_cast<QProgressDialog*>(finestra);
            if (progresso && progresso->objectName() == "scaricamento" && progresso->isVisible()) {
                etichetta = progresso->labelText();
                massimo = progresso->maximum();
                progresso->findChild<QPushButton*>()->click();
                controllo.stop();
            }
        }
    });
    controllo.start(50);
    QElapsedTimer orologio;
    orologio.start();
    QString errore;
    EXPECT_EQ(desktop.download(r, &errore), DownloadOutcome::Cancelled) << errore.toStdString();
    EXPECT_LT(orologio.elapsed(), 5000);
    EXPECT_EQ(etichetta, r.caption);
    // The bar counts kilobytes of the announced length.
    EXPECT_EQ(massimo, programma().size() / 1024 + 1);
    EXPECT_TRUE(cartella().isEmpty());
}

} // namespace
