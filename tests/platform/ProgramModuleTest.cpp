// The modules loaded at their first need: the network module as the program loads it, and what the
// operator is told when a module is missing, damaged or of another version.
#include "../support/ServizioHttps.h"
#include "PercorsiProva.h"

#include "platform/DownloadService.h"
#include "platform/ProgramModule.h"
#include "platform/QtPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace ondavia;
using namespace ondavia::test;

namespace {

const QString Scopo = QStringLiteral("per scaricare i file");

DownloadRequest richiesta(const QString& indirizzo, const QString& destinazione)
{
    DownloadRequest r;
    r.address = indirizzo;
    r.targetFile = destinazione;
    r.maxBytes = 1024;
    return r;
}

TEST(ProgramModule, TheNetworkModuleDownloadsThroughQtNetwork)
{
    ProgramModule modulo(ONDAVIA_MODULE_DIR, ONDAVIA_NETWORK_MODULE, Scopo);
    QString errore;
    const auto crea =
        reinterpret_cast<CreateDownloadService>(modulo.resolve("ondavia_create_download_service", &errore));
    ASSERT_NE(crea, nullptr) << errore.toStdString();
    const std::unique_ptr<DownloadService> servizio(crea());

    // Its own checks: plain http is refused before anything is fetched.
    QTemporaryDir dir;
    const QString destinazione = dir.filePath("strumento");
    EXPECT_EQ(servizio->run(richiesta("http://127.0.0.1/x", destinazione), &errore), DownloadOutcome::Failed);
    EXPECT_TRUE(errore.startsWith("indirizzo non consentito")) << errore.toStdString();

    // And the network itself: a server whose certificate nobody vouches for is met, and refused.
    ServizioHttps server;
    ASSERT_TRUE(server.errore().isEmpty()) << server.errore().toStdString();
    server.pubblica("/file", "contenuto");
    errore.clear();
    EXPECT_EQ(servizio->run(richiesta(server.indirizzo("/file"), destinazione), &errore), DownloadOutcome::Failed);
    EXPECT_TRUE(errore.contains("SSL")) << errore.toStdString();
    EXPECT_FALSE(QFile::exists(destinazione));
}

TEST(ProgramModule, AModuleThatCannotServeIsNamedToTheOperator)
{
    QTemporaryDir dir;
    QFile finto(dir.filePath("libfinto.so"));
    ASSERT_TRUE(finto.open(QIODevice::WriteOnly));
    finto.write("non una libreria");
    finto.close();
    const QString nativa = QDir::toNativeSeparators(dir.path());

    struct Caso {
        QString cartella;
        QString file;
        const char* simbolo;
        QString attesa;
    };
    const Caso casi[] = {
        {dir.path(), "libassente.so", "ondavia_create_download_service",
         "manca il file " + nativa + "/libassente.so, che serve per scaricare i file; reinstalla il programma."},
        {dir.path(), "libfinto.so", "ondavia_create_download_service",
         "il file " + nativa + "/libfinto.so, che serve per scaricare i file, non si può caricare ("},
        {ONDAVIA_MODULE_DIR, ONDAVIA_NETWORK_MODULE, "altra_funzione",
         "il file " + QDir::toNativeSeparators(QString(ONDAVIA_MODULE_DIR) + "/" + ONDAVIA_NETWORK_MODULE) +
             " non è quello di questa versione del programma; reinstalla il programma."},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.file.toStdString());
        ProgramModule modulo(caso.cartella, caso.file, Scopo);
        QString errore;
        EXPECT_EQ(modulo.resolve(caso.simbolo, &errore), nullptr);
        EXPECT_TRUE(errore.startsWith(caso.attesa)) << errore.toStdString();
    }
}

// The real platform looks beside the executable; a test program has no module there.
TEST(ProgramModule, WithoutItsModuleADownloadFailsAndSaysWhichFileIsMissing)
{
    ASSERT_FALSE(QFile::exists(QCoreApplication::applicationDirPath() + "/" + ONDAVIA_NETWORK_MODULE));
    QtPlatform desktop;
    QTemporaryDir dir;
    const QString destinazione = dir.filePath("strumento");
    QString errore;
    EXPECT_EQ(desktop.download(richiesta("https://127.0.0.1/x", destinazione), &errore), DownloadOutcome::Failed);
    EXPECT_EQ(errore,
              "manca il file " +
                  QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/" + ONDAVIA_NETWORK_MODULE) +
                  ", che serve per scaricare i file; reinstalla il programma.");
    EXPECT_FALSE(QFile::exists(destinazione));
}

} // namespace
