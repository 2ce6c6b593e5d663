#include "printout/CollegamentoPdf.h"
#include "../support/FixedHooks.h"
#include "PercorsiProva.h"
#include "app/Dichiarazioni.h"
#include "core/Folian.h"
#include "platform/ProgramModule.h"
#include "printout/LettorePdf.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ondavia;

namespace {

// The hooks in force before a test, put back after it.
class HooksSalvati {
public:
    ~HooksSalvati() { folian::SetDefaultHooks(m_prima); }

private:
    folian::Hooks m_prima = folian::DefaultHooks();
};

QByteArray leggi(const QString& percorso)
{
    QFile file(percorso);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A document of one page that draws `pagina` of `sorgente` twice, read through `hooks`.
QByteArray conPaginaImportata(folian::Hooks hooks, const std::string& sorgente, const QString& destinazione)
{
    folian::Folian pdf(std::move(hooks));
    pdf.BeginDoc(destinazione.toStdString());
    EXPECT_EQ(pdf.ImportPage(sorgente, 1, "BASE"), "BASE") << pdf.ErrDescription();
    std::map<std::string, std::string> voci;
    EXPECT_EQ(pdf.GetInfo(sorgente, &voci), 1) << pdf.ErrDescription();
    EXPECT_EQ(voci["Title"], "Pagina da copiare");
    pdf.BeginPage();
    pdf.PlayObject("BASE");
    pdf.EndDoc();
    return leggi(destinazione);
}

} // namespace

TEST(CollegamentoPdf, DocumentsCarryTheSubjectAndLaunchDate)
{
    QTemporaryDir dir;
    NomeCorrente = QStringLiteral("CAFFÈ ROSSI S.R.L.");
    OggiTesto = QStringLiteral("05032021");
    const HooksSalvati salvati;
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
}

// A test program has no module beside it, as an installation that lost the file would not.
TEST(CollegamentoPdf, WithoutTheReadersModuleThePrintOutNamesTheMissingFile)
{
    // The program's folder is known to the application object.
    int argc = 1;
    char nome[] = "ondavia_printout_tests";
    char* argv[] = {nome, nullptr};
    const QCoreApplication applicazione(argc, argv);
    const HooksSalvati salvati;
    collegaScrittorePdf();
    const QString modulo =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/" + ONDAVIA_PDF_READER_MODULE);
    ASSERT_FALSE(QFile::exists(modulo));
    QString errore;
    EXPECT_FALSE(preparaLettorePdf(&errore));
    EXPECT_EQ(errore, "Impossibile stampare: manca il file " + modulo +
                          ", che serve per leggere il modello di stampa; reinstalla il programma.");

    // The writer itself refuses the reading, and says why, without a crash.
    QTemporaryDir dir;
    const QString sorgente = dir.filePath("sorgente.pdf");
    QFile file(sorgente);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\n");
    file.close();
    folian::Folian pdf;
    EXPECT_EQ(pdf.GetInfo(sorgente.toStdString()), 0);
    EXPECT_EQ(pdf.ErrNumber(), folian::ErrorCode::LoadingLibrary);
    EXPECT_NE(pdf.ErrDescription().find(modulo.toStdString()), std::string::npos) << pdf.ErrDescription();

    // A reader given in its place is used as it is.
    folian::Hooks hooks = folian::DefaultHooks();
    hooks.openPdf = folian::OpenWithQpdf;
    folian::SetDefaultHooks(std::move(hooks));
    EXPECT_TRUE(preparaLettorePdf(&errore));
}

// The module the program loads copies a page byte for byte as the reader linked into the tests does.
TEST(CollegamentoPdf, TheReadersModuleCopiesPagesAsTheLinkedReader)
{
    QTemporaryDir dir;
    const std::string sorgente = dir.filePath("sorgente.pdf").toStdString();
    {
        folian::Folian pdf(folian::test::fixedHooks());
        pdf.SetDocProperty("Pagina da copiare");
        pdf.BeginDoc(sorgente);
        pdf.BeginPage();
        pdf.SetFont("Helvetica", 12, 0, 0);
        pdf.DrawText(2, 2, "Intestazione (con parentesi)");
        pdf.EndDoc();
    }

    ProgramModule modulo(ONDAVIA_MODULE_DIR, ONDAVIA_PDF_READER_MODULE, "per leggere il modello di stampa");
    QString errore;
    const auto apri =
        reinterpret_cast<folian::OpenPdfSourceFunction>(modulo.resolve("folian_open_pdf_source", &errore));
    ASSERT_NE(apri, nullptr) << errore.toStdString();
    folian::Hooks dalModulo = folian::test::fixedHooks();
    dalModulo.openPdf = [apri](const std::string& percorso, folian::SourceFailure& esito) {
        return std::unique_ptr<folian::PdfSource>(apri(percorso, esito));
    };

    const QByteArray attesa = conPaginaImportata(folian::test::fixedHooks(), sorgente, dir.filePath("collegato.pdf"));
    ASSERT_TRUE(attesa.contains("/Subtype /Form"));
    EXPECT_EQ(conPaginaImportata(dalModulo, sorgente, dir.filePath("modulo.pdf")), attesa);

    // Its refusals too: a file that is no PDF.
    QFile falso(dir.filePath("falso.pdf"));
    ASSERT_TRUE(falso.open(QIODevice::WriteOnly));
    falso.write("non un PDF");
    falso.close();
    folian::SourceFailure esito;
    EXPECT_EQ(apri(falso.fileName().toStdString(), esito), nullptr);
    EXPECT_EQ(esito.number, folian::ErrorCode::InvalidFileFormat);
}
