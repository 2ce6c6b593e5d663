#include "app/Dichiarazioni.h"
#include "core/Folian.h"
#include "platform/ScriptedPlatform.h"
#include "printout/CollegamentoPdf.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ondavia;

TEST(CollegamentoPdf, DocumentsCarryTheSubjectAndLaunchDateAndOpenThroughThePlatform)
{
    QTemporaryDir dir;
    ScriptedPlatform desktop;
    PlatformScope scope(desktop);
    NomeCorrente = QStringLiteral("CAFFÈ ROSSI S.R.L.");
    OggiTesto = QStringLiteral("05032021");
    CollegaScrittorePdf();

    const std::string path = dir.filePath(QStringLiteral("prova.pdf")).toStdString();
    {
        folian::Folian pdf;
        pdf.BeginDoc(path);
        ASSERT_EQ(pdf.ErrNumber(), 0) << pdf.ErrDescription();
        pdf.BeginPage();
        pdf.EndDoc();
        pdf.OpenDoc();
    }
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("/Author (CAFF\xC8 ROSSI S.R.L.)")) << "the name in Windows-1252";
    EXPECT_TRUE(bytes.contains("/CreationDate (D:20210305")) << "the launch date";
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0], QString::fromStdString(path));

    desktop.openSucceeds = false;
    folian::Folian second;
    second.BeginDoc(path);
    second.BeginPage();
    second.EndDoc();
    EXPECT_THROW(second.OpenDoc(), folian::Error) << "a viewer that cannot start is reported";

    NomeCorrente.clear();
    OggiTesto.clear();
    folian::SetDefaultHooks({});
}
