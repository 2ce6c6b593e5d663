// Internal links and form fields as qpdf's JSON view of the document shows them.
#include "FolianTestAccess.h"
#include "PdfTestSupport.h"

#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>

#include <map>
#include <set>

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
    }
    EXPECT_EQ(seen, expected);
    folian::test::expectPageLooksLike(path, 1, 40, "pdf/form-fields.png");
}

// Links and radio groups over the pages of one document.
TEST(FolianFields, LinksResolveToTheirPagesAndRadioButtonsOfOneNameAreOneField)
{
    const auto dir = folian::test::scratchDir();
    const auto path = dir / "radio.pdf";
    Folian pdf(fixedHooks());
    // The buttons of an abandoned document join no field of the next one.
    pdf.BeginDoc((dir / "abandoned.pdf").string());
    pdf.BeginPage();
    pdf.SetFont("Arial", 10, 0, 0);
    pdf.AddField(folian::FieldType::RadioButton, "Invio", 60, 60, 14, 14, "Vecchio", 1);
    pdf.EndPage();
    pdf.Abort();
    pdf.BeginDoc(path.string());
    EXPECT_THROW(pdf.LinkTo("due", 1, 1, 1, 1), folian::Error); // no page to hold it
    pdf.BeginPage();
    pdf.SetFont("Arial", 10, 0, 0);
    pdf.DrawText(40, 300, "Vai alla pagina due");
    pdf.LinkTo("due");
    pdf.LinkTo("ultima", 40, 100, 80, 12);
    pdf.DefineRef("ultima", -1, "/Fit");
    pdf.AddField(folian::FieldType::RadioButton, "Invio", 60, 60, 14, 14, "Primo", 0, {}, "Come si invia");
    pdf.AddField(folian::FieldType::Text, "Nota", 100, 60, 100, 14, "libera");
    pdf.AddField(folian::FieldType::RadioButton, "Invio", 60, 80, 14, 14, "Secondo", 1, {}, {}, 1);
    pdf.AddField(folian::FieldType::RadioButton, "Sesso", 60, 120, 14, 14); // no values of their own
    pdf.AddField(folian::FieldType::RadioButton, "Sesso", 80, 120, 14, 14, {}, 1);
    pdf.BeginPage(); // a group may go on over pages
    pdf.AddField(folian::FieldType::RadioButton, "Invio", 60, 60, 14, 14, "Terzo", 0);
    pdf.AddField(folian::FieldType::RadioButton, "Solo", 60, 100, 14, 14, "Si", 1);
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
    std::vector<int> targets;
    QPDFObjectHandle first = file.pdf().getAllPages().at(0);
    for (QPDFObjectHandle link : first.getKey("/Annots").getArrayAsVector()) {
        if (link.getKey("/Subtype").getName() == "/Link") {
            targets.push_back(file.destinationPage(link.getKey("/Dest").getName()));
            if (targets.size() == 2) {
                EXPECT_EQ(link.getKey("/Rect").unparse(), "[ 40 730 120 742 ]");
            }
        }
    }
    EXPECT_EQ(targets, (std::vector<int>{2, 3}));

    // The catalog lists each field once, a group by its own dictionary rather than its buttons,
    // whose widgets carry no name of their own.
    std::map<std::string, QPDFFormFieldObjectHelper> fields;
    std::vector<std::string> listed;
    for (QPDFObjectHandle field : file.pdf().getRoot().getKey("/AcroForm").getKey("/Fields").getArrayAsVector()) {
        listed.push_back(field.getKey("/T").getUTF8Value());
        fields.emplace(listed.back(), QPDFFormFieldObjectHelper(field));
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"Invio", "Nota", "Sesso", "Solo"}));

    struct Group {
        const char* name;
        std::vector<std::string> states; // each button's on state
        std::string value;
        std::vector<int> pages;
    };
    for (const Group& group : {Group{"Invio", {"/Primo", "/Secondo", "/Terzo"}, "/Secondo", {1, 1, 2}},
                               Group{"Sesso", {"/1", "/2"}, "/2", {1, 1}}}) {
        SCOPED_TRACE(group.name);
        QPDFFormFieldObjectHelper& field = fields.at(group.name);
        EXPECT_TRUE(field.isRadioButton());
        EXPECT_EQ(field.getValue().unparse(), group.value);
        const std::vector<QPDFObjectHandle> kids = field.getObjectHandle().getKey("/Kids").getArrayAsVector();
        ASSERT_EQ(kids.size(), group.states.size());
        int on = 0;
        for (std::size_t k = 0; k < kids.size(); ++k) {
            QPDFObjectHandle widget = kids[k];
            EXPECT_FALSE(widget.hasKey("/T"));
            const std::string state = widget.getKey("/AS").unparse();
            EXPECT_TRUE(state == "/Off" || state == group.states[k]) << state;
            on += state == group.value ? 1 : 0;
            // The appearance names the button's own on state, so that a reader can turn it on.
            EXPECT_EQ(widget.getKey("/AP").getKey("/N").getKeys(), (std::set<std::string>{"/Off", group.states[k]}));
            QPDFObjectHandle page = widget.getKey("/P");
            EXPECT_EQ(file.pdf().findPage(page) + 1, group.pages[k]);
        }
        EXPECT_EQ(on, 1);
    }
    // Flags of every button, the first tooltip found.
    EXPECT_EQ(fields.at("Invio").getFlags(), 49152 + 1);
    EXPECT_EQ(fields.at("Invio").getAlternativeName(), "Come si invia");
    // A button alone stays a field by itself, its widget the field.
    QPDFFormFieldObjectHelper& solo = fields.at("Solo");
    EXPECT_FALSE(solo.getObjectHandle().hasKey("/Kids"));
    EXPECT_EQ(solo.getValue().unparse() + " " + solo.getObjectHandle().getKey("/AS").unparse(), "/Si /Si");
}

// A right quote, a dash and the euro sign read differently through the encoding PDF readers use for
// single-byte strings; texts every reader reads alike keep their single bytes.
TEST(FolianShownText, InformationBookmarksFieldsAndNotesReadBackAsWritten)
{
    const std::string shown = "L\x92"
                              "Alfa \x96 \x80 10 \xE0 & <";
    const std::string shownUtf8 = "L\u2019Alfa \u2013 \u20AC 10 \u00E0 & <";
    const auto dir = folian::test::scratchDir();
    for (const bool protect : {false, true}) {
        SCOPED_TRACE(protect ? "encrypted" : "plain");
        const auto path = dir / (protect ? "protected.pdf" : "plain.pdf");
        Folian pdf(fixedHooks());
        if (protect) {
            pdf.SetProtection({}, "titolare");
        }
        pdf.SetDocProperty(shown, "Riepilogo", "Societ\xE0 \x93Rossi\x94 & C.");
        pdf.BeginDoc(path.string());
        pdf.BeginPage();
        pdf.AddBookmark("Capitolo \x96 \x80 \xE0 & <", 1, 1);
        pdf.AddBookmark("Dettaglio", 2, 1);
        pdf.SetFont("Arial", 10, 0, 0);
        pdf.AddField(folian::FieldType::Text, "Importo", 60, 60, 200, 20, shown, 0, {}, shown);
        pdf.AddField(folian::FieldType::ComboBox, "Voce", 60, 90, 200, 20, "Beta|" + shown, 2);
        pdf.AddField(folian::FieldType::PushButton, "Invia", 60, 120, 80, 20, {}, 0, shown);
        pdf.AddField(folian::FieldType::RadioButton, "Scelta \x96", 60, 150, 14, 14, "A", 1, {}, shown);
        pdf.AddField(folian::FieldType::RadioButton, "Scelta \x96", 80, 150, 14, 14, "B");
        pdf.AddField(folian::FieldType::ListBox, "Citt\xE0", 60, 180, 200, 20, "Forl\xEC|Cant\xF9", 1, {}, "Comune");
        folian::FolianTestAccess::WriteNote(pdf, shown, shown);
        pdf.EndDoc();

        const auto report = folian::test::readWithReaders(path);
        EXPECT_TRUE(report.qpdfClean) << report.qpdfOutput;
        EXPECT_EQ(report.field("Title"), shownUtf8);
        EXPECT_EQ(report.field("Author"), "Societ\u00E0 \u201CRossi\u201D & C.");
        const std::string outline = folian::test::runCommand("qpdf --json --json-key=outlines '" + path.string() +
                                                             "' | python3 -c \"import json, sys\n"
                                                             "def walk(items):\n"
                                                             "    for i in items:\n"
                                                             "        print(i['title'])\n"
                                                             "        walk(i['kids'])\n"
                                                             "walk(json.load(sys.stdin)['outlines'])\"");
        EXPECT_EQ(outline, shownUtf8 + "\nCapitolo \u2013 \u20AC \u00E0 & <\nDettaglio\n");

        ReadBack file(path);
        std::vector<QPDFFormFieldObjectHelper> fields;
        for (QPDFObjectHandle field : file.pdf().getRoot().getKey("/AcroForm").getKey("/Fields").getArrayAsVector()) {
            fields.emplace_back(field);
        }
        ASSERT_EQ(fields.size(), 5u);
        EXPECT_EQ(fields[0].getValueAsString(), shownUtf8);
        EXPECT_EQ(fields[0].getAlternativeName(), shownUtf8);
        EXPECT_EQ(fields[1].getChoices(), (std::vector<std::string>{"Beta", shownUtf8}));
        EXPECT_EQ(fields[2].getObjectHandle().getKey("/MK").getKey("/CA").getUTF8Value(), shownUtf8);
        EXPECT_EQ(fields[3].getFullyQualifiedName(), "Scelta \u2013");
        EXPECT_EQ(fields[3].getAlternativeName(), shownUtf8);
        QPDFObjectHandle page = file.pdf().getAllPages().at(0);
        QPDFObjectHandle note = page.getKey("/Annots").getArrayItem(0);
        EXPECT_EQ(note.getKey("/T").getUTF8Value(), shownUtf8);
        EXPECT_EQ(note.getKey("/Contents").getUTF8Value(), shownUtf8);
    }

    const std::string file = folian::test::readFile(dir / "plain.pdf");
    EXPECT_NE(file.find("/Subject (Riepilogo)"), std::string::npos);
    EXPECT_NE(file.find("/Title (Dettaglio)"), std::string::npos);
    using namespace std::string_literals;
    EXPECT_NE(file.find("/Title (\xFE\xFF\0L \x19\0A"s), std::string::npos); // UTF-16BE after its mark
    EXPECT_NE(file.find("/T (Citt\xE0) /TU (Comune) /MK <</BC [0 0 0] >> /Opt [ (Forl\xEC)(Cant\xF9) ]  /DV (Forl\xEC) "
                        "/V (Forl\xEC)"),
              std::string::npos);
}
