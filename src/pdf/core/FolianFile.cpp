// The file's framing: lines, numbered objects, the document's end, cross-reference and trailer.
#include "core/Folian.h"
#include "core/Formatting.h"

#include <cstdio>

namespace folian {

namespace {
constexpr char CR = '\r';
constexpr char LF = '\n';

std::string str(int64_t value)
{
    return std::to_string(value);
}
} // namespace

void Folian::writeBytes(const void* data, std::size_t size)
{
    m_out.write(data, size);
}

void Folian::WriteLine(std::string_view text)
{
    writeBytes(text.data(), text.size());
    writeBytes(&LF, 1);
}

int32_t Folian::BeginObj(int32_t n)
{
    if (n == 0) {
        n = MaxObject + 1;
    }
    if (n > MaxObject) {
        MaxObject = n;
    }
    char line[32];
    std::snprintf(line, sizeof line, "%010lld 00000 n%c", static_cast<long long>(m_out.offset()), CR);
    XrefLines.ensure(MaxObject, MemoryUsage);
    XrefLines[n] = line;
    WriteLine(str(n) + " 0 obj");
    CurrentObject = n;
    return n;
}

void Folian::EndObj()
{
    WriteLine("endobj");
}

std::string Folian::resourceDictionary(bool withPatterns, const std::string& layerProperties) const
{
    std::string text = std::string("<<") + CR;
    if (!FontResources.empty()) {
        text += std::string("/Font <<") + CR + FontResources + ">>" + CR;
    }
    text += "/ProcSet [/PDF /Text";
    if (!ImageResources.empty()) {
        text += " /ImageB /ImageC /ImageI";
    }
    text += std::string(" ]") + CR;
    if (!layerProperties.empty()) {
        text += "/Properties <<" + layerProperties + ">>";
    }
    text += CR;
    if (!ImageResources.empty() || !XObjectResources.empty()) {
        text += std::string("/XObject <<") + CR;
        if (!ImageResources.empty()) {
            text += ImageResources + CR;
        }
        if (!XObjectResources.empty()) {
            text += XObjectResources + CR;
        }
        text += std::string(">>") + CR;
    }
    if (withPatterns && !PatternList.empty()) {
        text += std::string("/ColorSpace << /xxCSxx [ /Pattern /DeviceRGB ] >> ") + CR + "/Pattern <<" + CR +
                PatternList + ">>" + CR;
    }
    if (!ExtGStateList.empty()) {
        text += "/ExtGState << " + ExtGStateList + " >> " + CR;
    }
    text += ">>";
    return text;
}

// What the catalog names: the objects written before it and the layers' lists.
struct Folian::CatalogParts {
    int32_t outlineRoot = 0;
    int32_t metadataObject = 0;
    int32_t destsObject = 0;
    int32_t namesObject = 0;               // the global script's name tree
    std::array<int32_t, 9> scriptObject{}; // by event type
    std::string ocgList;                   // every layer
    std::string orderList;                 // the layers shown in the reader's list
    std::string onList;
    std::string offList;
    int32_t screenLayer = 0;
    int32_t printerLayer = 0;
};

void Folian::EndDoc()
{
    if (!m_out.isOpen()) {
        throw Error(ErrorCode::BadFileNameOrNumber, "No document file is open");
    }
    finishContent();

    CatalogParts parts;
    if (BookmarkCount > 1) {
        parts.outlineRoot = WriteOutlines();
    }
    const int32_t encryptObject = writeEncryption();
    writeDocumentScripts(parts);
    const std::string layerProperties = writeLayers(parts);
    parts.metadataObject = writeMetadata();
    parts.destsObject = writeNamedDests();
    writeResourcesAndPageTree(layerProperties);

    const int32_t catalog = BeginObj();
    writeCatalog(parts);
    EndObj();
    const int32_t info = writeInformation();
    writeCrossReference(info, catalog, encryptObject);
    closeFinishedFile();
}

void Folian::finishContent()
{
    // An object or pattern left open is written, so that the names placed on pages resolve.
    EndObject();
    EndTiling();
    if (PageCount < 1) {
        BeginPage();
    }
    if (InPage) {
        EndPage();
    }
    writeRadioButtons();
}

int32_t Folian::writeEncryption()
{
    if (ProtectionOn == 0) {
        return 0;
    }
    const int32_t object = BeginObj();
    std::string text = std::string("<< /Filter /Standard ") + CR + "/O (" + EscapeString(OwnerEntry) + ")" + CR +
                       "/U (" + EscapeString(UserEntry) + ")" + CR + "/P " + str(PermissionFlags) + CR;
    text += ObjectKeyLength == 10 ? "/V 1 /R 2 >>" : "/V 2 /R 3 /Length 128 >>";
    WriteLine(text);
    EndObj();
    return object;
}

void Folian::writeDocumentScripts(CatalogParts& parts)
{
    // By event type, in the order the catalog lists them.
    for (int type : {2, 3, 5, 7, 4, 6, 8}) {
        if (DocScripts[static_cast<std::size_t>(type)].empty()) {
            continue;
        }
        parts.scriptObject[static_cast<std::size_t>(type)] =
            WriteStreamObject(DocScripts[static_cast<std::size_t>(type)]);
        if (type == 8) {
            parts.namesObject = BeginObj();
            WriteLine("<< /JavaScript << /Names [ (globalscript) << /S /JavaScript /JS " + ref(parts.scriptObject[8]) +
                      " >> ] >> >>");
            EndObj();
        }
    }
}

std::string Folian::writeLayers(CatalogParts& parts)
{
    std::string properties;
    for (int32_t i = 1; i <= LayerCount; ++i) {
        LayerRecord& layer = LayerTable[i];
        const int32_t number = BeginObj();
        std::string text = "<</Type /OCG /Name " + FormatShownText(layer.Name);
        if (layer.Name == "SCREEN") {
            text += "/Usage <</Print <</PrintState /OFF>> /View <</ViewState /ON>>>>";
            parts.screenLayer = number;
            layer.StartState = true;
        } else if (layer.Name == "PRINTER") {
            text += "/Usage <</Print <</PrintState /ON>> /View <</ViewState /OFF>>>>";
            parts.printerLayer = number;
            layer.StartState = false;
        }
        WriteLine(text + ">>");
        EndObj();
        properties += "/_LAY_" + str(i) + " " + ref(number) + " ";
        parts.ocgList += ref(number) + " ";
        if (layer.ShowInList) {
            parts.orderList += ref(number) + " ";
        }
        (layer.StartState ? parts.onList : parts.offList) += ref(number) + " ";
    }
    if (LayerCount >= 1) {
        RequireVersion(2);
    }
    return properties;
}

int32_t Folian::writeMetadata()
{
    const int32_t object = BeginObj();
    WriteLine("<< /Type /Metadata /Subtype /XML");
    const std::string packet = BuildXmpMetadata();
    std::vector<uint8_t> packetBytes(packet.begin(), packet.end());
    WriteStream(packetBytes, 0, std::string(), 0);
    EndObj();
    return object;
}

int32_t Folian::writeNamedDests()
{
    if (NamedDestCount == 0) {
        return 0;
    }
    const int32_t object = BeginObj();
    std::string text = "<<";
    for (int32_t i = 1; i <= NamedDestCount; ++i) {
        NamedDestRecord& dest = NamedDests[i];
        // Page 0 would name no page object at all, so it goes to the first page like any
        // other number below the range.
        if (dest.Page >= PageCount || dest.Page == -1) {
            dest.Page = PageCount;
        } else if (dest.Page < 1) {
            dest.Page = 1;
        }
        text += dest.Name + " [" + ref(PageObjects[dest.Page]) + " " + dest.View + "] ";
    }
    WriteLine(text + ">>");
    EndObj();
    return object;
}

void Folian::writeResourcesAndPageTree(const std::string& layerProperties)
{
    BeginObj(3);
    WriteLine(resourceDictionary(false, layerProperties));
    EndObj();
    BeginObj(2);
    WriteLine(resourceDictionary(true, layerProperties));
    EndObj();
    BeginObj(1);
    WriteLine(std::string("<<") + CR + "/Type /Pages /Count " + str(PageCount) + CR + "/Kids [" + PageKids + "] " + CR +
              ">>");
    EndObj();
}

int32_t Folian::writeInformation()
{
    const int32_t object = BeginObj();
    WriteLine(std::string("<<") + CR + "/Title " + FormatShownText(DocTitle) + CR + "/Author " +
              FormatShownText(DocAuthor) + CR + "/Creator " + FormatShownText(DocCreator) + CR + "/Producer " +
              FormatShownText(DocProducer) + CR + "/CreationDate " + FormatTextString(CreationDate) + CR + "/Subject " +
              FormatShownText(DocSubject) + CR + "/Keywords " + FormatShownText(DocKeywords) + CR + ">>");
    EndObj();
    return object;
}

void Folian::writeCrossReference(int32_t info, int32_t catalog, int32_t encryptObject)
{
    const int64_t xrefOffset = m_out.offset();
    WriteLine("xref" + std::string(1, LF) + "0 " + str(MaxObject + 1) + LF + "0000000000 65535 f" + CR);
    for (int32_t i = 1; i <= MaxObject; ++i) {
        const std::string& line = XrefLines.ensure(i, MemoryUsage);
        // A number that was given out but never written still needs its 20 bytes.
        WriteLine(line.empty() ? std::string("0000000000 65535 f") + CR : line);
    }

    WriteLine("trailer" + std::string(1, LF) + "<< /Size " + str(MaxObject + 1) + " /Info " + ref(info) + " /Root " +
              ref(catalog));
    if (encryptObject != 0) {
        std::vector<uint8_t> id(FileId.begin(), FileId.end());
        EncodeASCIIHex(id);
        const std::string hex(id.begin(), id.end());
        WriteLine("/Encrypt " + ref(encryptObject) + " /ID [<" + hex + "><" + hex + ">]");
    }
    WriteLine(">>" + std::string(1, LF) + "startxref" + LF + str(xrefOffset) + LF + "%%EOF");
}

void Folian::closeFinishedFile()
{
    if (MinVersion != 0) {
        m_out.overwriteStart("%PDF-1." + str(MinVersion + 3) + LF);
    }
    SavedFileSize = static_cast<int32_t>(m_out.offset());
    const bool kept = closeOutput(true);
    importSourcesClear();
    if (!kept) {
        if (OutputFile::diskFull(m_out.error())) {
            throw Error(ErrorCode::DiskFull, "Disk full - " + FileName + " could not be written completely");
        }
        throw Error(ErrorCode::DeviceIo, "Device I/O error - " + FileName + " could not be written completely");
    }
}

void Folian::writeCatalog(const CatalogParts& parts)
{
    std::string text = std::string("<< /Type /Catalog") + CR + "/Pages " + ref(1);
    if (parts.outlineRoot != 0) {
        text += CR + std::string("/Outlines ") + ref(parts.outlineRoot);
    }
    if (!PageLabels.empty()) {
        text += CR + std::string("/PageLabels << /Nums [ ") + PageLabels + " ] >>";
    }
    text += CR + std::string("/Metadata ") + ref(parts.metadataObject);
    if (parts.destsObject != 0) {
        text += CR + std::string("/Dests ") + ref(parts.destsObject);
    }
    if (!AcroFormFields.empty()) {
        std::string fields;
        for (const int32_t field : AcroFormFields) {
            fields += ref(field) + " ";
        }
        text += CR + std::string("/AcroForm <</NeedAppearances true /Fields [") + fields + "] /CO [" +
                AcroFormCalcOrder + "] /DR << /Font <<" + CR + FontResources + ">> >> >>";
    }
    if (parts.namesObject != 0) {
        text += CR + std::string("/Names ") + ref(parts.namesObject);
    }
    if (parts.scriptObject[2] != 0) {
        text += CR + std::string("/OpenAction << /S /JavaScript /JS ") + ref(parts.scriptObject[2]) + " >>" + CR;
    }
    WriteLine(text);
    writeDocumentActions(parts);
    if (LayerCount > 0) {
        writeOptionalContent(parts);
    }
    writeViewerSettings(parts);
    WriteLine(">>");
}

void Folian::writeDocumentActions(const CatalogParts& parts)
{
    struct DocumentAction {
        int type;
        const char* opening;
    };
    static constexpr DocumentAction actions[] = {{3, " /WC << /Type /Action /S /JavaScript /JS "},
                                                 {5, " /WS << /Type /Action /S /JavaScript /JS "},
                                                 {7, " /DS << /Type /Action /S /JavaScript /JS "},
                                                 {4, " /WP << /Type /Action /S /JavaScript /JS "},
                                                 {6, " /DP << /Type /Action /S /JavaScript /JS "}};
    std::string aa;
    for (const DocumentAction& action : actions) {
        const int32_t object = parts.scriptObject[static_cast<std::size_t>(action.type)];
        if (object != 0) {
            aa += action.opening + ref(object) + " >>" + CR;
        }
    }
    if (!aa.empty()) {
        WriteLine(std::string(1, LF) + "/AA <<" + aa + ">> ");
    }
}

void Folian::writeOptionalContent(const CatalogParts& parts)
{
    std::string special;
    if (parts.printerLayer != 0) {
        special += ref(parts.printerLayer) + " ";
    }
    if (parts.screenLayer != 0) {
        special += ref(parts.screenLayer) + " ";
    }
    std::string oc = "/OCProperties <</OCGs [" + parts.ocgList + "] /D <</AS [ ";
    if (parts.printerLayer != 0) {
        oc += "<</Event /Print /OCGs [" + special + "] /Category [/Print]>> ";
    }
    if (parts.screenLayer != 0) {
        oc += "<</Event /View /OCGs [" + special + "] /Category [/View]>> ";
    }
    oc += "]" + std::string(1, LF) + "/ON [" + parts.onList + "] " + LF + "/OFF [" + parts.offList + "] " + LF +
          "/Order [" + FormatShownText(DocTitle) + " " + parts.orderList + "]>>  >>";
    WriteLine(oc);
}

void Folian::writeViewerSettings(const CatalogParts& parts)
{
    const int32_t layout = ViewerPrefs & ~int32_t{0xFFF};
    if (layout == 0x2000) {
        WriteLine("/PageLayout /OneColumn");
    } else if (layout == 0x4000) {
        WriteLine("/PageLayout /TwoColumnLeft");
    } else if (layout == static_cast<int32_t>(0xFFFF8000u)) {
        WriteLine("/PageLayout /TwoColumnRight");
    }

    switch (ViewerPrefs & 0xF) {
    case 1:
        WriteLine("/PageMode /FullScreen");
        break;
    case 2:
        if (parts.outlineRoot != 0) {
            WriteLine("/PageMode /UseOutlines");
        }
        break;
    case 4:
        WriteLine("/PageMode /UseThumbs");
        break;
    case 8:
        WriteLine("/PageMode /UseOC");
        RequireVersion(2);
        break;
    default:
        break;
    }

    std::string prefs = "/ViewerPreferences << ";
    if (ViewerPrefs & 16) {
        prefs += "/HideMenubar true ";
    }
    if (ViewerPrefs & 32) {
        prefs += "/HideToolbar true ";
    }
    if (ViewerPrefs & 64) {
        prefs += "/HideWindowUI true ";
    }
    if (ViewerPrefs & 128) {
        prefs += "/DisplayDocTitle true ";
        RequireVersion(1);
    }
    if (ViewerPrefs & 256) {
        prefs += "/CenterWindow true ";
    }
    if (ViewerPrefs & 512) {
        prefs += "/FitWindow true ";
    }
    WriteLine(prefs + " >>");
}

} // namespace folian
