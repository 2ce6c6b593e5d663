// Stored objects and tiling patterns: content recorded once into a form or a pattern cell.
#include "core/AsciiCase.h"
#include "core/Folian.h"

namespace folian {

namespace {
constexpr char CR = '\r';

std::vector<uint8_t> takeContent(TextBuffer& buffer)
{
    const std::string& text = buffer.BufferGetText();
    std::vector<uint8_t> bytes(text.begin(), text.end());
    buffer.BufferReset();
    return bytes;
}
} // namespace

void Folian::requireDocument(const char* what) const
{
    if (!m_out.isOpen()) {
        throw Error(ErrorCode::BadFileNameOrNumber, std::string("No document is open for ") + what);
    }
}

bool Folian::formNameTaken(const std::string& name) const
{
    return FormNames.count(name) != 0;
}

void Folian::BeginObject(std::string_view Name, int32_t Flags)
{
    if (InObject) {
        return;
    }
    requireDocument("a stored object");
    // Two forms under one resource name would leave the reader to pick one of them.
    const std::string name = FormatName(Name);
    if (name.empty() || formNameTaken(name)) {
        throw Error(ErrorCode::InvalidCall, "Invalid procedure call: the stored object needs a name of its own, \"" +
                                                std::string(Name) + "\" is empty or in use");
    }
    FormNames.insert(name);
    InObject = true;
    ObjectCount += 1;
    StoredObjectRecord& record = ObjectTable.make(ObjectCount, MemoryUsage);
    record.Name = std::string(Name);
    record.Flags = Flags;
    ObjectContent.BufferReset();
}

void Folian::EndObject()
{
    if (!InObject) {
        return;
    }
    std::vector<uint8_t> content = takeContent(ObjectContent);
    const std::string name = FormatName(ObjectTable[ObjectCount].Name);
    const int32_t n = BeginObj();
    // Twice the page in every direction, so that the object may be placed anywhere on a page.
    WriteLine("<< /Type /XObject /Subtype /Form /FormType 1 /Name /" + name + CR + "/BBox [" +
              FormatReal(-2 * PageWidth) + " " + FormatReal(-2 * PageHeight) + " " + FormatReal(2 * PageWidth) + " " +
              FormatReal(2 * PageHeight) + "]" + CR + "/Matrix [1 0 0 1 0 0]");
    WriteStream(content, 0, std::string(), 0);
    EndObj();
    XObjectResources += "/" + name + " " + std::to_string(n) + " 0 R " + CR;
    InObject = false;
}

void Folian::PlayObject(std::string_view Name)
{
    OutContent("q /" + FormatName(Name) + " Do Q");
}

void Folian::BeginTiling(std::string_view Name, float XMin, float YMin, float XMax, float YMax, float XStep,
                         float YStep, int32_t Uncolored)
{
    if (!InTiling) {
        requireDocument("a tiling pattern");
        const std::string name = asciiTrimUpper(Name);
        if (name.empty() || PatternNames.count(FormatName(name)) != 0) {
            throw Error(ErrorCode::InvalidCall,
                        "Invalid procedure call: the tiling pattern needs a name of its own, \"" + std::string(Name) +
                            "\" is empty or in use");
        }
        PatternNames.insert(FormatName(name));
        InTiling = true;
        TilingName = name;
        TilingDictionary = std::string("<< /Type /Pattern /PatternType 1 /PaintType ") + (Uncolored != 0 ? "2" : "1") +
                           CR + "/TilingType 1" + CR + "/BBox [" + FormatUnits(XMin) + " " + FormatUnits(YMin) + " " +
                           FormatUnits(XMax) + " " + FormatUnits(YMax) + "]" + CR + "/Resources 3 0 R" + CR +
                           "/XStep " + FormatUnits(XStep) + " /YStep " + FormatUnits(YStep) + CR +
                           "/Matrix [1 0 0 1 0 0]";
        TilingContent.BufferReset();
        // The cell is flipped like a page, so that its content runs down from its top.
        TilingContent.BufferAppend("1 0 0 -1 0 " + FormatUnits(static_cast<float>(static_cast<double>(YMax) - YMin)) +
                                   " cm");
    }
    TilingUncolored = Uncolored != 0;
}

void Folian::EndTiling()
{
    if (!InTiling) {
        return;
    }
    std::vector<uint8_t> content = takeContent(TilingContent);
    InTiling = false;
    TilingUncolored = false;
    const int32_t n = BeginObj();
    WriteLine(TilingDictionary);
    WriteStream(content, 0, std::string(), 0);
    EndObj();
    PatternList += "/" + FormatName(TilingName) + " " + std::to_string(n) + " 0 R " + CR;
}

} // namespace folian
