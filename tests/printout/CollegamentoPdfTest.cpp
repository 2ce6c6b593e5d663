#include "app/Dichiarazioni.h"
#include "core/Folian.h"
#include "printout/CollegamentoPdf.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ondavia;

TEST(CollegamentoPdf, DocumentsCarryTheSubjectAndLaunchDate)
{
    QTemporaryDir dir;
    NomeCorrente = QStringLiteral("CAFFÈ ROSSI S.R.L.");
    OggiTesto = QStringLiteral("05032021");
    collegaScrittorePdf();

    const std::string path = dir.filePath(QStringLiteral("prova.pdf")).toStdString();
    {
        folian::Folian pdf;
        pdf.BeginDoc(path);
        ASSERT_EQ(pdf.ErrNumber(), 0) << pdf.ErrDescription();
        pdf.BeginPage();
        pdf.EndDoc();
    }
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("/Author (CAFF\xC8 ROSSI S.R.L.)")) << "the name in Windows-1252";
    EXPECT_TRUE(bytes.contains("/CreationDate (D:20210305")) << "the launch date";

    NomeCorrente.clear();
    OggiTesto.clear();
    folian::SetDefaultHooks({});
}
