// The outline tree and the XMP metadata packet.
#include "core/Folian.h"
#include "core/Formatting.h"

#include <array>

namespace folian {

namespace {
constexpr char CR = '\r';
} // namespace

int32_t Folian::WriteOutlines()
{
    const int32_t r = MaxObject + 1;
    BookmarkTable[1].Parent = r;
    BookmarkTable[1].Obj = r + 1;
    for (int32_t i = 1; i <= BookmarkCount; ++i) {
        BookmarkRecord& item = BookmarkTable[i];
        item.First = item.Last = item.Next = item.Prev = 0;
    }
    std::array<int32_t, 256> last{};
    last[0] = 1;
    int32_t topLevel = 0;
    for (int32_t i = 2; i <= BookmarkCount; ++i) {
        BookmarkRecord& item = BookmarkTable[i];
        item.Obj = r + i;
        const int32_t level = item.Level;
        last[static_cast<std::size_t>(level)] = i;
        if (level < 255) {
            last[static_cast<std::size_t>(level + 1)] = 0;
        }
        BookmarkRecord& parent = BookmarkTable[last[static_cast<std::size_t>(level - 1)]];
        item.Parent = parent.Obj;
        if (parent.First == 0) {
            parent.First = item.Obj;
        }
        parent.Last = item.Obj;
        if (level == 1) {
            topLevel += 1;
        }
        for (int32_t j = i + 1; j <= BookmarkCount; ++j) {
            BookmarkRecord& other = BookmarkTable[j];
            if (other.Level == level) {
                item.Next = r + j;
                other.Prev = item.Obj;
                break;
            }
            if (other.Level < level) {
                break;
            }
        }
    }

    BeginObj(r);
    WriteLine("<< /Count 1 /First " + ref(BookmarkTable[1].Obj) + " /Last " + ref(BookmarkTable[1].Obj) + " >>");
    EndObj();

    for (int32_t i = 1; i <= BookmarkCount; ++i) {
        const BookmarkRecord& item = BookmarkTable[i];
        BeginObj(item.Obj);
        TextBuffer text;
        text.BufferAppend("<< /Title " + FormatShownText(item.Title) + CR + "/Parent " + ref(item.Parent) + CR);
        if (item.First > 0) {
            text.BufferAppend("/First " + ref(item.First) + CR);
        }
        if (item.Last > 0) {
            text.BufferAppend("/Last " + ref(item.Last) + CR);
        }
        if (item.Prev > 0) {
            text.BufferAppend("/Prev " + ref(item.Prev) + CR);
        }
        if (item.Next > 0) {
            text.BufferAppend("/Next " + ref(item.Next) + CR);
        }
        if (i == 1 && topLevel != 0) {
            text.BufferAppend("/Count " + std::to_string(topLevel) + CR);
        }
        if (!item.Dest.empty() && PageCount > 0) {
            // A page outside the document would point nowhere; such bookmarks go to the nearest page.
            const int32_t page = item.Page < 1 ? 1 : (item.Page > PageCount ? PageCount : item.Page);
            text.BufferAppend("/Dest [" + ref(PageObjects[page]) + " " + item.Dest + "]" + CR);
        }
        if (!item.Color.empty()) {
            text.BufferAppend("/C [" + item.Color + "]" + CR);
        }
        if (item.Style != 0) {
            text.BufferAppend("/F " + std::to_string(item.Style) + CR);
        }
        text.BufferAppend(">>");
        WriteLine(text.BufferGetText());
        EndObj();
    }
    return r;
}

namespace {

// A document property as XML character data in UTF-8: the five characters XML reserves are
// written as entities, and the bytes XML cannot carry (control codes other than tab, CR and LF,
// and the five bytes the code page leaves undefined) are left out.
std::string xmlText(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size());
    for (const char c : cp1252) {
        const char32_t code = Cp1252CodePoint(static_cast<unsigned char>(c));
        switch (code) {
        case '&':
            out += "&amp;";
            continue;
        case '<':
            out += "&lt;";
            continue;
        case '>':
            out += "&gt;";
            continue;
        case '"':
            out += "&quot;";
            continue;
        case '\'':
            out += "&apos;";
            continue;
        default:
            break;
        }
        if (code == 0 || (code < 0x20 && code != '\t' && code != '\r' && code != '\n')) {
            continue;
        }
        out += Cp1252ToUtf8(std::string_view(&c, 1));
    }
    return out;
}

// A PDF date ("D:YYYYMMDDHHmmSS" and "+HH'mm'", "-HH'mm'" or "Z00'00'") in the form XMP
// takes: "YYYY-MM-DDTHH:mm:SS+HH:mm", or "Z" for UTC.
std::string xmpDate(const std::string& pdfDate)
{
    if (pdfDate.size() < 17 || pdfDate.compare(0, 2, "D:") != 0) {
        return xmlText(pdfDate);
    }
    const std::string_view d(pdfDate);
    std::string iso = std::string(d.substr(2, 4)) + "-" + std::string(d.substr(6, 2)) + "-" +
                      std::string(d.substr(8, 2)) + "T" + std::string(d.substr(10, 2)) + ":" +
                      std::string(d.substr(12, 2)) + ":" + std::string(d.substr(14, 2));
    if (d[16] == 'Z') {
        return iso + "Z";
    }
    if (pdfDate.size() >= 22) {
        return iso + d[16] + std::string(d.substr(17, 2)) + ":" + std::string(d.substr(20, 2));
    }
    return iso;
}

} // namespace

std::string Folian::BuildXmpMetadata() const
{
    static constexpr const char* kRdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
    static constexpr const char* kIx = "http://ns.adobe.com/iX/1.0/";
    static constexpr const char* kPdf = "http://ns.adobe.com/pdf/1.3/";
    static constexpr const char* kXap = "http://ns.adobe.com/xap/1.0/";
    static constexpr const char* kDc = "http://purl.org/dc/elements/1.1/";

    const std::string date = xmpDate(CreationDate);
    const std::string producer = xmlText(DocProducer);
    const std::string author = xmlText(DocAuthor);
    const std::string creator = xmlText(DocCreator);
    const std::string title = xmlText(DocTitle);
    const std::string subject = xmlText(DocSubject);
    const std::string keywords = xmlText(DocKeywords);
    const std::string lines[] = {
        std::string("<rdf:RDF xmlns:rdf='") + kRdf + "' xmlns:iX='" + kIx + "'>",
        std::string(" <rdf:Description about='' xmlns='") + kPdf + "' xmlns:pdf='" + kPdf + "'>",
        "  <pdf:Producer>" + producer + "</pdf:Producer>",
        "  <pdf:Author>" + author + "</pdf:Author>",
        "  <pdf:Creator>" + creator + "</pdf:Creator>",
        "  <pdf:ModDate>" + date + "</pdf:ModDate>",
        "  <pdf:Title>" + title + "</pdf:Title>",
        "  <pdf:CreationDate>" + date + "</pdf:CreationDate>",
        "  <pdf:Subject>" + subject + "</pdf:Subject>",
        "  <pdf:Keywords>" + keywords + "</pdf:Keywords>",
        " </rdf:Description>",
        std::string(" <rdf:Description about='' xmlns='") + kXap + "' xmlns:xap='" + kXap + "'>",
        "  <xap:Author>" + author + "</xap:Author>",
        "  <xap:ModifyDate>" + date + "</xap:ModifyDate>",
        "  <xap:Title>",
        "   <rdf:Alt>",
        "  <rdf:li xml:lang='x-default'>" + title + "</rdf:li>",
        "   </rdf:Alt>",
        "  </xap:Title>",
        "  <xap:CreateDate>" + date + "</xap:CreateDate>",
        "  <xap:Description>",
        "   <rdf:Alt>",
        "  <rdf:li xml:lang='x-default'>" + subject + "</rdf:li>",
        "   </rdf:Alt>",
        "  </xap:Description>",
        "  <xap:MetadataDate>" + date + "</xap:MetadataDate>",
        " </rdf:Description>",
        std::string(" <rdf:Description about='' xmlns='") + kDc + "' xmlns:dc='" + kDc + "'>",
        "  <dc:creator>" + creator + "</dc:creator>",
        "  <dc:title>" + title + "</dc:title>",
        "  <dc:description>" + subject + "</dc:description>",
        " </rdf:Description>",
        "</rdf:RDF>",
        "<?xpacket end='r'?>",
    };
    std::string body;
    for (const std::string& line : lines) {
        if (!body.empty()) {
            body += CR;
        }
        body += line;
    }
    // The packet is UTF-8, so its size counts bytes.
    return "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" + std::to_string(body.size() + 64) + "'?>" + CR +
           body;
}

} // namespace folian
