// Internal links and form fields as qpdf's JSON view of the document shows them.
#include "PdfTestSupport.h"

#include <gtest/gtest.h>
#include <qpdf/JSON.hh>

#include <map>

using folian::Folian;
using folian::test::fixedHooks;
using folian::test::runCommand;

namespace {

std::map<std::string, JSON> members(const JSON& json) {
    std::map<std::string, JSON> out;
    json.forEachDictItem([&out](const std::string& key, JSON value) { out.emplace(key, value); });
    return out;
}

std::vector<JSON> elements(const JSON& json) {
    std::vector<JSON> out;
    json.forEachArrayItem([&out](JSON value) { out.push_back(value); });
    return out;
}

std::string text(const JSON& json) {
    std::string value;
    if (!json.getString(value) && !json.getNumber(value)) {
        bool flag = false;
        value = json.getBool(flag) ? (flag ? "true" : "false") : json.isNull() ? "null" : "(not a scalar)";
    }
    return value;
}

// qpdf's JSON of a file, with its objects found by reference ("4 0 R").
class JsonView {
public:
    explicit JsonView(const std::filesystem::path& path)
        : m_root(JSON::parse(runCommand("qpdf --json '" + path.string() + "'"))) {
        for (const JSON& part : elements(members(m_root).at("qpdf"))) {
            for (const auto& [key, value] : members(part)) {
                if (key.rfind("obj:", 0) == 0) {
                    // A stream is shown by its dictionary.
                    const auto object = members(value);
                    const auto plain = object.find("value");
                    m_objects.emplace(key.substr(4),
                                      plain != object.end() ? plain->second : members(object.at("stream")).at("dict"));
                } else if (key == "trailer") {
                    m_trailer = members(value).at("value");
                }
            }
        }
    }

    JSON member(const JSON& dict, const std::string& key) const {
        const auto all = members(dict);
        const auto found = all.find(key);
        if (found == all.end()) {
            return JSON::makeNull();
        }
        return resolve(found->second);
    }

    // A reference is replaced by the object it names.
    JSON resolve(const JSON& value) const {
        const auto found = m_objects.find(text(value));
        return found == m_objects.end() ? value : found->second;
    }

    std::vector<std::string> pageObjects() const {
        std::vector<std::string> pages;
        for (const JSON& page : elements(members(m_root).at("pages"))) {
            pages.push_back(text(members(page).at("object")));
        }
        return pages;
    }

    std::vector<JSON> fields() const { return elements(members(members(m_root).at("acroform")).at("fields")); }
    const JSON& trailer() const { return m_trailer; }

private:
    JSON m_root;
    std::map<std::string, JSON> m_objects;
    JSON m_trailer;
};

} // namespace

TEST(FolianLinks, LinksResolveToTheirPages) {
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
    pdf.BeginPage();
    pdf.DefineRef("sposta"); // defined again: now on page 3
    pdf.EndDoc();

    const auto report = folian::test::readWithReaders(path);
    EXPECT_TRUE(report.qpdfClean) << report.qpdfOutput;
    const JsonView json(path);
    const std::vector<std::string> pages = json.pageObjects();
    ASSERT_EQ(pages.size(), 3u);
    const JSON catalog = json.resolve(members(json.trailer()).at("/Root"));
    const JSON dests = json.member(catalog, "/Dests");
    const auto pageOf = [&](const std::string& destination) {
        return text(elements(json.member(dests, destination)).at(0));
    };
    EXPECT_EQ(pageOf("/_REF_ultima"), pages[2]);
    EXPECT_EQ(pageOf("/_REF_due"), pages[1]);
    EXPECT_EQ(pageOf("/_REF_sposta"), pages[2]);
    EXPECT_EQ(text(elements(json.member(dests, "/_REF_due")).at(1)), "/FitH");

    std::vector<std::string> targets;
    for (const JSON& annotation : elements(json.member(json.resolve(JSON::makeString(pages[0])), "/Annots"))) {
        const JSON link = json.resolve(annotation);
        EXPECT_EQ(text(json.member(link, "/Subtype")), "/Link");
        targets.push_back(pageOf(text(json.member(link, "/Dest"))));
        const auto rect = elements(json.member(link, "/Rect"));
        ASSERT_EQ(rect.size(), 4u);
        if (targets.size() == 2) {
            EXPECT_EQ(text(rect[0]) + " " + text(rect[1]) + " " + text(rect[2]) + " " + text(rect[3]),
                      "40 730 120 742");
        }
    }
    EXPECT_EQ(targets, (std::vector<std::string>{pages[1], pages[2]}));
}

TEST(FolianFields, EveryTypeWithItsValue) {
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
    struct Expected {
        const char* type;
        const char* flags;
        const char* value;
        const char* state;
    };
    const std::map<std::string, Expected> expected = {
        {"Nome", {"/Tx", "0", "u:Mario (Rossi)", ""}}, {"Invia", {"/Btn", "65536", "null", ""}},
        {"Provincia", {"/Ch", "131072", "u:RM", ""}},  {"Sezione", {"/Ch", "0", "u:FACTA", ""}},
        {"Privacy", {"/Btn", "0", "/Yes", "/Yes"}},    {"Invio", {"/Btn", "49152", "/Off", "/Off"}},
    };
    std::map<std::string, std::string> seen;
    const JsonView json(path);
    for (const JSON& field : json.fields()) {
        const auto m = members(field);
        const std::string name = text(m.at("fullname"));
        seen[name] = text(m.at("fieldtype")) + " " + text(m.at("fieldflags")) + " " + text(m.at("value")) + " [" +
                     text(members(m.at("annotation")).at("appearancestate")) + "]";
    }
    for (const auto& [name, e] : expected) {
        EXPECT_EQ(seen[name], std::string(e.type) + " " + e.flags + " " + e.value + " [" + e.state + "]") << name;
    }
    EXPECT_EQ(seen.size(), expected.size());
    folian::test::expectPageLooksLike(path, 1, 40, "form-fields.png");
}
