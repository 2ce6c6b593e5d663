// Internal links and form fields as qpdf's JSON view of the document shows them.
#include "PdfTestSupport.h"

#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>

#include <map>

using folian::Folian;
using folian::test::fixedHooks;

namespace {

// The written file as libqpdf, qpdf's library, reads it; every warning fails the test.
class ReadBack {
public:
    explicit ReadBack(const std::filesystem::path& path)
    {
        m_pdf.setSuppressWarnings(true);
        m_pdf.processFile(path.c_str());
    }
    ~ReadBack() { EXPECT_EQ(m_pdf.numWarnings(), 0u); }

    QPDF& pdf() { return m_pdf; }
    // The page number (from 1) of the named destination, 0 when it names none.
    int destinationPage(const std::string& name)
    {
        QPDFObjectHandle dest = m_pdf.getRoot().getKey("/Dests").getKey(name);
        if (!dest.isArray() || dest.getArrayNItems() < 2) {
            return 0;
        }
        QPDFObjectHandle page = dest.getArrayItem(0);
        return m_pdf.findPage(page) + 1;
    }

private:
    QPDF m_pdf;
};

} // namespace

TEST(FolianLinks, LinksResolveToTheirPages)
{
    const auto dir = folian::test::scratchDir();
    const auto path = dir / "links.pdf";
    Folian pdf(fixedHooks());
    pdf.BeginDoc(path.string());
    EXPECT_THROW(pdf.LinkTo("due", 1, 1, 1, 1), folian::Error); // no page to hold it
    pdf.BeginPage();
    pdf.SetFont("Arial", 12, 0, 0);
    pdf.DrawText(40, 60, "Vai alla pagina due");
    pdf.LinkTo("due");
    pdf.LinkTo("ultima", 40, 100, 80, 12);
    pdf.DefineRef("ultima", -1, "/Fit");
    pdf.BeginPage();
    pdf.DefineRef("due", 0, "/FitH 700");
    pdf.DefineRef("sposta", 1);
    pdf.DefineRef("oltre", 9); // pages outside the document: its last and its first
    pdf.DefineRef("prima", -5);
    pdf.BeginPage();
    pdf.DefineRef("sposta"); // defined again: now on page 3
    pdf.EndDoc();

    const auto report = folian::test::readWithReaders(path);
    EXPECT_TRUE(report.qpdfClean) << report.qpdfOutput;
    ReadBack file(path);
    ASSERT_EQ(file.pdf().getAllPages().size(), 3u);
    EXPECT_EQ(file.destinationPage("/_REF_ultima"), 3);
    EXPECT_EQ(file.destinationPage("/_REF_due"), 2);
    EXPECT_EQ(file.destinationPage("/_REF_sposta"), 3);
    EXPECT_EQ(file.destinationPage("/_REF_oltre"), 3);
    EXPECT_EQ(file.destinationPage("/_REF_prima"), 1);
    EXPECT_EQ(file.pdf().getRoot().getKey("/Dests").getKey("/_REF_due").unparse(), "[ 10 0 R /FitH 700 ]");

    std::vector<int> targets;
    QPDFObjectHandle first = file.pdf().getAllPages().at(0);
    for (QPDFObjectHandle link : first.getKey("/Annots").getArrayAsVector()) {
        EXPECT_EQ(link.getKey("/Subtype").unparse(), "/Link");
        targets.push_back(file.destinationPage(link.getKey("/Dest").getName()));
        if (targets.size() == 2) {
            EXPECT_EQ(link.getKey("/Rect").unparse(), "[ 40 730 120 742 ]");
        }
    }
    EXPECT_EQ(targets, (std::vector<int>{2, 3}));
}

TEST(FolianFields, EveryTypeWithItsValue)
{
    const auto dir = folian::test::scratchDir();
    const auto path = dir / "fields.pdf";
    Folian pdf(fixedHooks());
    pdf.BeginDoc(path.string());
    pdf.BeginPage();
    EXPECT_THROW(pdf.AddField(folian::FieldType::Text, "Nome", 60, 60, 200, 20), folian::Error); // no font
    pdf.SetFont("Arial", 10, 0, 0);
    EXPECT_THROW(pdf.AddField(6, "Sei", 60, 60, 200, 20), folian::Error);
    pdf.AddField(folian::FieldType::Text, "Nome", 60, 60, 200, 20, "Mario (Rossi)", 0, {}, "Nome del soggetto");
    pdf.AddField(folian::FieldType::PushButton, "Invia", 60, 90, 80, 20, {}, 0, "Invia");
    pdf.AddField(folian::FieldType::ComboBox, "Provincia", 60, 120, 120, 20, "MI|RM|TO", 2);
    pdf.AddField(folian::FieldType::ListBox, "Sezione", 60, 150, 120, 50, "Anagrafe|Monitoraggio|FACTA", 3);
    pdf.AddField(folian::FieldType::CheckBox, "Privacy", 60, 210, 14, 14, {}, 1);
    pdf.AddField(folian::FieldType::RadioButton, "Invio", 90, 210, 14, 14, "Primo", 0);
    pdf.EndDoc();

    const auto report = folian::test::readWithReaders(path);
    EXPECT_TRUE(report.qpdfClean) << report.qpdfOutput;
    EXPECT_EQ(report.field("Form"), "AcroForm");
    // Type, flags, value, and for buttons the state shown.
    const std::map<std::string, std::string> expected = {
        {"Nome", "/Tx 0 Mario (Rossi)"}, {"Invia", "/Btn 65536 null null"}, {"Provincia", "/Ch 131072 RM"},
        {"Sezione", "/Ch 0 FACTA"},      {"Privacy", "/Btn 0 /Yes /Yes"},   {"Invio", "/Btn 49152 /Off /Off"},
    };
    std::map<std::string, std::string> seen;
    {
        ReadBack file(path);
        QPDFAcroFormDocumentHelper form(file.pdf());
        for (QPDFFormFieldObjectHelper field : form.getFormFields()) {
            // A button's value and state are names; a push button has neither.
            const bool button = field.getFieldType() == "/Btn";
            QPDFObjectHandle widget = field.getObjectHandle();
            EXPECT_EQ(widget.getKey("/P").getObjGen(), file.pdf().getAllPages().at(0).getObjGen()) << "its page";
            seen[field.getFullyQualifiedName()] =
                field.getFieldType() + " " + std::to_string(field.getFlags()) + " " +
                (button ? field.getValue().unparse() + " " + widget.getKey("/AS").unparse() : field.getValueAsString());
        }
        EXPECT_EQ(form.getFormFields().at(3).getChoices(),
                  (std::vector<std::string>{"Anagrafe", "Monitoraggio", "FACTA"}));
    }
    EXPECT_EQ(seen, expected);
    folian::test::expectPageLooksLike(path, 1, 40, "pdf/form-fields.png");
}
