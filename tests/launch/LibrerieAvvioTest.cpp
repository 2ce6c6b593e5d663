// What the program loads when it starts: the network and the reader of existing PDF files wait in their
// modules beside the executable until a download or a print-out first needs them.
#include "PercorsiProva.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

TEST(LibrerieAvvio, TheExecutableStartsWithoutTheNetworkAndThePdfReader)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {QStringLiteral(ONDAVIA_EXECUTABLE)});
    ASSERT_TRUE(ldd.waitForFinished(30000));
    const QByteArray librerie = ldd.readAllStandardOutput();
    // What the launch itself needs is there, so the list is the program's.
    ASSERT_TRUE(librerie.contains("libQt6Widgets")) << librerie.toStdString();
    ASSERT_TRUE(librerie.contains("libsqlite3")) << librerie.toStdString();
    EXPECT_FALSE(librerie.contains("libQt6Network")) << librerie.toStdString();
    EXPECT_FALSE(librerie.contains("libqpdf")) << librerie.toStdString();

    const QString cartella = QFileInfo(QStringLiteral(ONDAVIA_EXECUTABLE)).absolutePath();
    for (const char* modulo : {ONDAVIA_NETWORK_MODULE, ONDAVIA_PDF_READER_MODULE}) {
        EXPECT_TRUE(QFile::exists(cartella + QLatin1Char('/') + QLatin1String(modulo))) << modulo;
    }
}

} // namespace
