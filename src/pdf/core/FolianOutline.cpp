// The outline tree and the XMP metadata packet.
#include "core/Folian.h"

#include <array>

namespace folian {

namespace {
constexpr char CR = '\r';

std::string ref(int32_t object)
{
    return std::to_string(object) + " 0 R";
}
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
        text.BufferAppend("<< /Title " + FormatTextString(item.Title) + CR + "/Parent " + ref(item.Parent) + CR);
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

std::string Folian::BuildXmpMetadata() const
{
    static constexpr const char* kRdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
    static constexpr const char* kIx = "http://ns.adobe.com/iX/1.0/";
    static constexpr const char* kPdf = "http://ns.adobe.com/pdf/1.3/";
    static constexpr const char* kXap = "http://ns.adobe.com/xap/1.0/";
    static constexpr const char* kDc = "http://purl.org/dc/elements/1.1/";

    const std::string& date = CreationDate;
    const std::string lines[] = {
        std::string("<rdf:RDF xmlns:rdf='") + kRdf + "' xmlns:iX='" + kIx + "'>",
        std::string(" <rdf:Description about='' xmlns='") + kPdf + "' xmlns:pdf='" + kPdf + "'>",
        "  <pdf:Producer>" + DocProducer + "</pdf:Producer>",
        "  <pdf:Author>" + DocAuthor + "</pdf:Author>",
        "  <pdf:Creator>" + DocCreator + "</pdf:Creator>",
        "  <pdf:ModDate>" + date + "</pdf:ModDate>",
        "  <pdf:Title>" + DocTitle + "</pdf:Title>",
        "  <pdf:CreationDate>" + date + "</pdf:CreationDate>",
        "  <pdf:Subject>" + DocSubject + "</pdf:Subject>",
        "  <pdf:Keywords>" + DocKeywords + "</pdf:Keywords>",
        " </rdf:Description>",
        std::string(" <rdf:Description about='' xmlns='") + kXap + "' xmlns:xap='" + kXap + "'>",
        "  <xap:Author>" + DocAuthor + "</xap:Author>",
        "  <xap:ModifyDate>" + date + "</xap:ModifyDate>",
        "  <xap:Title>",
        "   <rdf:Alt>",
        "  <rdf:li xml:lang='x-default'>" + DocTitle + "</rdf:li>",
        "   </rdf:Alt>",
        "  </xap:Title>",
        "  <xap:CreateDate>" + date + "</xap:CreateDate>",
        "  <xap:Description>",
        "   <rdf:Alt>",
        "  <rdf:li xml:lang='x-default'>" + DocSubject + "</rdf:li>",
        "   </rdf:Alt>",
        "  </xap:Description>",
        "  <xap:MetadataDate>" + date + "</xap:MetadataDate>",
        " </rdf:Description>",
        std::string(" <rdf:Description about='' xmlns='") + kDc + "' xmlns:dc='" + kDc + "'>",
        "  <dc:creator>" + DocCreator + "</dc:creator>",
        "  <dc:title>" + DocTitle + "</dc:title>",
        "  <dc:description>" + DocSubject + "</dc:description>",
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
    return "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" + std::to_string(body.size() + 64) + "'?>" + CR +
           body;
}

} // namespace folian
