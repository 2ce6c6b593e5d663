// Reading existing PDF files: their page count and information entries, and pages copied into
// the document as form objects. libqpdf parses the file; everything written goes through the
// writer's own objects, streams and protection.
#include "core/Cp1252.h"
#include "core/Folian.h"
#include "core/Formatting.h"
#include "streams/ImportSource.h"

#include <qpdf/Pl_String.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFSystemError.hh>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <new>
#include <set>

namespace folian {

namespace {

constexpr char CR = '\r';

// Coordinates beyond this are no page of any reader.
constexpr double kLargestCoordinate = 1e6;

Error damaged(const std::string& what)
{
    return Error(ErrorCode::InvalidFileFormat, "Invalid file format: " + what);
}

// The first of the warnings the reader gathered while it read a page or the information, as the
// failure of that reading: what the reader had to guess at is not copied.
void refuseWarnings(QPDF& pdf)
{
    const std::vector<QPDFExc> warnings = pdf.getWarnings();
    if (!warnings.empty()) {
        throw damaged(warnings.front().getMessageDetail());
    }
}

bool sameTable(const std::map<QPDFObjGen, QPDFXRefEntry>& a, const std::map<QPDFObjGen, QPDFXRefEntry>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) {
               return x.first == y.first && x.second.getType() == y.second.getType() &&
                      x.second.getOffset() == y.second.getOffset();
           });
}

// Reads every object of a source just opened. Files joined or edited by common tools often carry a
// wrong trailer /Size or cross-reference offsets that every viewer looks past; the reader mends those
// by itself (rebuilding the table at the first object it cannot find), and that is no reason to refuse
// the file. An object that still reads with warnings is damaged, and so is any page that needs it.
void readObjects(ImportSource& source)
{
    QPDF& pdf = *source.pdf;
    source.repaired = !pdf.getWarnings().empty();
    std::map<QPDFObjGen, QPDFXRefEntry> table = pdf.getXRefTable();
    std::vector<QPDFObjGen> numbers;
    for (const auto& entry : table) {
        numbers.push_back(entry.first);
    }
    for (const QPDFObjGen& og : numbers) {
        pdf.getObjectByObjGen(og).getTypeCode();
        const std::vector<QPDFExc> warnings = pdf.getWarnings();
        if (warnings.empty()) {
            continue;
        }
        std::map<QPDFObjGen, QPDFXRefEntry> now = pdf.getXRefTable();
        if (!sameTable(now, table)) {
            // The table was rebuilt while this object was looked for; the object was then read anew.
            table = std::move(now);
            source.repaired = true;
            continue;
        }
        source.damaged.emplace(og, warnings.front().getMessageDetail());
    }
}

// An object of the source that the import copies, under its number in the document.
struct SourceObject {
    QPDFObjectHandle handle;
    int32_t number = 0;
    std::vector<uint8_t> data; // streams: the data to write
    std::string keptFilters;   // decoders still needed by data the reader cannot decode
    std::vector<QPDFObjectHandle> keptParms;
};

// Everything a page needs, read and checked before anything is written.
struct PageCopy {
    std::vector<SourceObject> objects;
    std::map<QPDFObjGen, int32_t> numbers;
    std::vector<uint8_t> content;
    QPDFObjectHandle resources;
    QPDFObjectHandle group;
    std::array<double, 4> box{};
    int rotate = 0;
};

bool isPageNode(QPDFObjectHandle& handle)
{
    if (!handle.isDictionary()) {
        return false;
    }
    QPDFObjectHandle type = handle.getKey("/Type");
    return type.isNameAndEquals("/Page") || type.isNameAndEquals("/Pages");
}

// A page attribute that may be given by the page or by any node above it.
QPDFObjectHandle inherited(QPDFObjectHandle page, const std::string& key)
{
    std::set<QPDFObjGen> seen;
    for (QPDFObjectHandle node = page; node.isDictionary();) {
        if (node.isIndirect() && !seen.insert(node.getObjGen()).second) {
            break;
        }
        QPDFObjectHandle value = node.getKey(key);
        if (!value.isNull()) {
            return value;
        }
        node = node.getKey("/Parent");
    }
    return QPDFObjectHandle::newNull();
}

// The box as x1, y1, x2, y2 with x1 < x2 and y1 < y2; false when it is no box.
bool readBox(QPDFObjectHandle box, std::array<double, 4>& out)
{
    if (!box.isArray() || box.getArrayNItems() != 4) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        QPDFObjectHandle item = box.getArrayItem(i);
        if (!item.isNumber()) {
            return false;
        }
        out[static_cast<std::size_t>(i)] = item.getNumericValue();
        if (!std::isfinite(out[static_cast<std::size_t>(i)]) ||
            std::fabs(out[static_cast<std::size_t>(i)]) > kLargestCoordinate) {
            return false;
        }
    }
    if (out[0] > out[2]) {
        std::swap(out[0], out[2]);
    }
    if (out[1] > out[3]) {
        std::swap(out[1], out[3]);
    }
    return out[2] > out[0] && out[3] > out[1];
}

std::vector<QPDFObjectHandle> itemsOf(QPDFObjectHandle value)
{
    if (value.isArray()) {
        return value.getArrayAsVector();
    }
    if (value.isNull()) {
        return {};
    }
    return {value};
}

// The stream's data with every filter the reader knows undone; filters it does not know (the
// image codings) stay, with their parameters, for the data to keep.
void readStream(QPDFObjectHandle stream, std::vector<uint8_t>& data, std::string& keptFilters,
                std::vector<QPDFObjectHandle>& keptParms)
{
    std::string bytes;
    Pl_String sink("import", nullptr, bytes);
    bool decoded = false;
    if (!stream.pipeStreamData(&sink, &decoded, 0, qpdf_dl_specialized, true, false)) {
        throw damaged("the data of stream " + stream.getObjGen().unparse(' ') + " cannot be read");
    }
    data.assign(bytes.begin(), bytes.end());
    keptFilters.clear();
    keptParms.clear();
    if (decoded) {
        return;
    }
    QPDFObjectHandle dict = stream.getDict();
    const std::vector<QPDFObjectHandle> filters = itemsOf(dict.getKey("/Filter"));
    for (QPDFObjectHandle filter : filters) {
        if (!filter.isName()) {
            throw damaged("a stream names a filter that is not a name");
        }
        keptFilters += filter.unparse() + " ";
    }
    // One parameter entry a filter, or none at all.
    keptParms = itemsOf(dict.getKey("/DecodeParms"));
    if (!keptParms.empty()) {
        keptParms.resize(filters.size(), QPDFObjectHandle::newNull());
    }
}

// A page that needs an object the reader could not read whole, or one that a mended file lost, is
// not copied: it would be drawn with pieces missing.
void refuseDamaged(const ImportSource& source, QPDFObjectHandle handle)
{
    const QPDFObjGen og = handle.getObjGen();
    const auto found = source.damaged.find(og);
    if (found != source.damaged.end()) {
        throw damaged(found->second);
    }
    if (source.repaired && handle.isNull()) {
        throw damaged("object " + og.unparse(' ') + " is missing from the file");
    }
}

// Gives a number to every object reachable from `root` that is not yet in the document. Pages
// met on the way (an annotation's page, say) become null rather than pulling in their files.
void collect(const ImportSource& source, PageCopy& copy, QPDFObjectHandle root, int32_t& next)
{
    std::vector<QPDFObjectHandle> pending{root};
    while (!pending.empty()) {
        QPDFObjectHandle handle = pending.back();
        pending.pop_back();
        if (handle.isIndirect()) {
            const QPDFObjGen og = handle.getObjGen();
            if (source.copied.count(og) != 0 || copy.numbers.count(og) != 0) {
                continue;
            }
            refuseDamaged(source, handle);
            if (handle.isNull() || isPageNode(handle)) {
                copy.numbers[og] = 0;
                continue;
            }
            copy.numbers[og] = next;
            copy.objects.push_back(SourceObject{handle, next, {}, {}, {}});
            ++next;
        }
        if (handle.isArray()) {
            for (QPDFObjectHandle item : handle.getArrayAsVector()) {
                pending.push_back(item);
            }
        } else if (handle.isDictionary() || handle.isStream()) {
            QPDFObjectHandle dict = handle.isStream() ? handle.getDict() : handle;
            for (const auto& [key, value] : dict.getDictAsMap()) {
                // A stream's length is written anew with its data.
                if (!(handle.isStream() && key == "/Length")) {
                    pending.push_back(value);
                }
            }
        }
    }
}

PageCopy readPage(ImportSource& source, int32_t pageNumber, int32_t firstNumber)
{
    QPDF& pdf = *source.pdf;
    pdf.getWarnings(); // what an earlier, failed reading left
    const std::vector<QPDFObjectHandle>& pages = pdf.getAllPages();
    refuseWarnings(pdf);
    const auto count = static_cast<int32_t>(pages.size());
    if (pageNumber < 1 || pageNumber > count) {
        throw Error(ErrorCode::SubscriptOutOfRange, "Subscript out of range: page " + std::to_string(pageNumber) +
                                                        " of a file of " + std::to_string(count) + " pages");
    }
    QPDFObjectHandle page = pages[static_cast<std::size_t>(pageNumber - 1)];
    refuseDamaged(source, page);

    PageCopy copy;
    std::array<double, 4> media{};
    if (!readBox(inherited(page, "/MediaBox"), media)) {
        throw damaged("the page has no valid media box");
    }
    // The crop box is what readers show; a box outside the media box shows nothing of it.
    std::array<double, 4> crop{};
    copy.box = media;
    if (readBox(inherited(page, "/CropBox"), crop)) {
        copy.box = {std::max(media[0], crop[0]), std::max(media[1], crop[1]), std::min(media[2], crop[2]),
                    std::min(media[3], crop[3])};
        if (copy.box[2] <= copy.box[0] || copy.box[3] <= copy.box[1]) {
            throw damaged("the page's crop box lies outside its media box");
        }
    }
    QPDFObjectHandle rotate = inherited(page, "/Rotate");
    if (rotate.isInteger()) {
        copy.rotate = static_cast<int>(((rotate.getIntValue() % 360) + 360) % 360);
        if (copy.rotate % 90 != 0) {
            copy.rotate = 0;
        }
    }

    copy.resources = inherited(page, "/Resources");
    if (!copy.resources.isDictionary()) {
        copy.resources = QPDFObjectHandle::newDictionary();
    }
    int32_t next = firstNumber;
    collect(source, copy, copy.resources, next);
    QPDFObjectHandle group = page.getKey("/Group");
    if (group.isDictionary()) {
        copy.group = group;
        collect(source, copy, group, next);
    }

    // The page's content streams, joined as a reader joins them.
    for (QPDFObjectHandle stream : itemsOf(page.getKey("/Contents"))) {
        if (stream.isIndirect()) {
            refuseDamaged(source, stream);
        }
        if (!stream.isStream()) {
            throw damaged("the page's content is not a stream");
        }
        std::vector<uint8_t> data;
        std::string filters;
        std::vector<QPDFObjectHandle> parms;
        readStream(stream, data, filters, parms);
        if (!filters.empty()) {
            throw damaged("the page's content is coded with " + filters);
        }
        copy.content.insert(copy.content.end(), data.begin(), data.end());
        copy.content.push_back('\n');
    }
    for (SourceObject& object : copy.objects) {
        if (object.handle.isStream()) {
            readStream(object.handle, object.data, object.keptFilters, object.keptParms);
        }
    }
    refuseWarnings(pdf);
    return copy;
}

// The form's matrix: the shown page (its box, turned as /Rotate says) with its top-left corner
// at the origin of the content it is placed in, y downwards like every content of the writer.
std::array<double, 6> placement(const std::array<double, 4>& box, int rotate)
{
    const auto [x1, y1, x2, y2] = box;
    switch (rotate) {
    case 90:
        return {0, 1, 1, 0, -y1, -x1};
    case 180:
        return {-1, 0, 0, 1, x2, -y1};
    case 270:
        return {0, -1, -1, 0, y2, x2};
    default:
        return {1, 0, 0, -1, -x1, y2};
    }
}

} // namespace

// Writes the objects of one page copy through the writer's own framing, streams and strings.
struct ImportWriter {
    Folian& pdf;
    ImportSource& source;

    std::string text(QPDFObjectHandle handle, bool top = false)
    {
        if (!top && handle.isIndirect()) {
            const auto found = source.copied.find(handle.getObjGen());
            const int32_t number = found == source.copied.end() ? 0 : found->second;
            return number == 0 ? "null" : ref(number);
        }
        switch (handle.getTypeCode()) {
        case ot_boolean:
            return handle.getBoolValue() ? "true" : "false";
        case ot_integer:
            return std::to_string(handle.getIntValue());
        case ot_real:
            return handle.getRealValue();
        case ot_name:
            return handle.unparse();
        case ot_string:
            // Encrypted with the key of the object being written, like every string of the writer.
            return pdf.FormatTextString(handle.getStringValue());
        case ot_array: {
            std::string out = "[";
            for (QPDFObjectHandle item : handle.getArrayAsVector()) {
                out += text(item) + " ";
            }
            return out + "]";
        }
        case ot_dictionary:
            return entries(handle, {}) + ">>";
        default:
            return "null";
        }
    }

    // "<<" and the dictionary's entries, without the keys to leave out.
    std::string entries(QPDFObjectHandle dict, const std::set<std::string>& leaveOut)
    {
        std::string out = "<<";
        for (auto& [key, value] : dict.getDictAsMap()) {
            if (leaveOut.count(key) == 0 && !value.isNull()) {
                out += QPDFObjectHandle::newName(key).unparse() + " " + text(value) + " ";
            }
        }
        return out;
    }

    void write(SourceObject& object)
    {
        pdf.BeginObj();
        if (!object.handle.isStream()) {
            pdf.WriteLine(text(object.handle, true));
            pdf.EndObj();
            return;
        }
        std::string dict = entries(object.handle.getDict(),
                                   {"/Length", "/Filter", "/DecodeParms", "/DL", "/F", "/FFilter", "/FDecodeParms"});
        if (!object.keptFilters.empty() && !object.keptParms.empty()) {
            // The parameters line up with the filters, among them those the stream writer adds.
            std::string parms = "/DecodeParms [";
            for (int bit : {8, 16}) {
                if (pdf.CompressionMode & bit) {
                    parms += "null ";
                }
            }
            for (QPDFObjectHandle item : object.keptParms) {
                parms += text(item) + " ";
            }
            dict += parms + "] ";
        }
        pdf.WriteLine(dict);
        pdf.WriteStream(object.data, 0, object.keptFilters, 0);
        pdf.EndObj();
    }

    int32_t writeForm(PageCopy& copy, const std::string& name)
    {
        const int32_t form = pdf.BeginObj();
        std::string box;
        for (double value : copy.box) {
            box += (box.empty() ? "" : " ") + Folian::FormatReal(static_cast<float>(value));
        }
        std::string matrix;
        for (double value : placement(copy.box, copy.rotate)) {
            matrix += (matrix.empty() ? "" : " ") + Folian::FormatReal(static_cast<float>(value));
        }
        std::string head = "<< /Type /XObject /Subtype /Form /FormType 1 /Name /" + name + CR + "/BBox [" + box + "]" +
                           CR + "/Matrix [" + matrix + "]" + CR + "/Resources " + text(copy.resources);
        if (copy.group.isInitialized() && copy.group.isDictionary()) {
            head += std::string(1, CR) + "/Group " + text(copy.group);
        }
        pdf.WriteLine(head);
        pdf.WriteStream(copy.content, 0, std::string(), 0);
        pdf.EndObj();
        return form;
    }
};

ImportSource::ImportSource() = default;
ImportSource::~ImportSource() = default;

void Folian::importSourcesClear()
{
    ImportSources.clear();
}

ImportSource& Folian::importSource(const std::string& path)
{
    for (const auto& source : ImportSources) {
        if (source->path == path) {
            return *source;
        }
    }
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
        throw Error(ErrorCode::FileNotFound, "File not found");
    }
    auto source = std::make_unique<ImportSource>();
    source->path = path;
    source->pdf = std::make_unique<QPDF>();
    source->pdf->setSuppressWarnings(true);
    try {
        source->pdf->processFile(path.c_str());
    } catch (const QPDFExc& error) {
        if (error.getErrorCode() == qpdf_e_password) {
            throw Error(ErrorCode::PermissionDenied, "Permission denied: the file is protected by a password");
        }
        throw damaged(error.getMessageDetail());
    } catch (const QPDFSystemError& error) {
        throw Error(ErrorCode::PathFileAccess, std::string("Path/File access error: ") + error.what());
    }
    readObjects(*source);
    ImportSources.push_back(std::move(source));
    return *ImportSources.back();
}

namespace {

// Runs a reading operation, recording any failure for ErrNumber and its siblings.
template <typename Operation> bool recordFailures(Operation operation, Error& failure)
{
    try {
        operation();
        return true;
    } catch (const Error& error) {
        failure = error;
    } catch (const QPDFExc& error) {
        failure = damaged(error.getMessageDetail());
    } catch (const std::bad_alloc&) {
        failure = Error(ErrorCode::OutOfMemory, "Out of memory");
    } catch (const std::exception& error) {
        failure = damaged(error.what());
    }
    return false;
}

} // namespace

int32_t Folian::GetInfo(std::string_view FileName, std::map<std::string, std::string>* Entries)
{
    const std::string path(FileName);
    int32_t count = 0;
    Error failure(0, std::string());
    const bool read = recordFailures(
        [&] {
            ImportSource& source = importSource(path);
            source.pdf->getWarnings(); // what an earlier, failed reading left
            count = static_cast<int32_t>(source.pdf->getAllPages().size());
            std::map<std::string, std::string> entries;
            QPDFObjectHandle info = source.pdf->getTrailer().getKey("/Info");
            if (info.isIndirect() && source.damaged.count(info.getObjGen()) != 0) {
                throw damaged(source.damaged.at(info.getObjGen()));
            }
            if (info.isDictionary()) {
                for (auto& [key, value] : info.getDictAsMap()) {
                    if (value.isString()) {
                        entries[key.substr(1)] = Utf8ToCp1252(value.getUTF8Value());
                    } else if (value.isName()) {
                        entries[key.substr(1)] = value.getName().substr(1);
                    } else if (value.isScalar() && !value.isNull()) {
                        entries[key.substr(1)] = value.unparse();
                    }
                }
            }
            refuseWarnings(*source.pdf);
            if (Entries != nullptr) {
                *Entries = std::move(entries);
            }
        },
        failure);
    if (!read) {
        SetErrorInfo(failure, "GetInfo", path);
        return 0;
    }
    return count;
}

std::string Folian::ImportPage(std::string_view FileName, int32_t PageNumber, std::string_view Name)
{
    const std::string path(FileName);
    std::string name;
    Error failure(0, std::string());
    const bool imported = recordFailures(
        [&] {
            requireDocument("an imported page");
            name = Name.empty() ? "_IMP_" + std::to_string(ImportCount + 1) : std::string(Name);
            const std::string resource = FormatName(name);
            if (resource.empty() || formNameTaken(resource)) {
                throw Error(ErrorCode::InvalidCall,
                            "Invalid procedure call: the name \"" + name + "\" is empty or already names an object");
            }
            ImportSource& source = importSource(path);
            // Its permissions would not travel with the copy.
            if (source.pdf->isEncrypted()) {
                throw Error(ErrorCode::PermissionDenied, "Permission denied: the file is encrypted");
            }
            PageCopy copy = readPage(source, PageNumber, MaxObject + 1);

            // Everything is read: from here on the objects are written, each under the number
            // it was given.
            source.copied.insert(copy.numbers.begin(), copy.numbers.end());
            ImportWriter writer{*this, source};
            for (SourceObject& object : copy.objects) {
                writer.write(object);
            }
            const int32_t form = writer.writeForm(copy, resource);
            FormNames.insert(resource);
            ImportCount += 1;
            XObjectResources += "/" + resource + " " + std::to_string(form) + " 0 R " + CR;
            const std::array<double, 6> m = placement(copy.box, copy.rotate);
            const double width =
                std::fabs(m[0]) * (copy.box[2] - copy.box[0]) + std::fabs(m[1]) * (copy.box[3] - copy.box[1]);
            const double height =
                std::fabs(m[2]) * (copy.box[2] - copy.box[0]) + std::fabs(m[3]) * (copy.box[3] - copy.box[1]);
            SetLastBounds(0, static_cast<float>(PageHeight - height), static_cast<float>(width), PageHeight);
        },
        failure);
    if (!imported) {
        SetErrorInfo(failure, "ImportPage", path);
        return std::string();
    }
    return name;
}

} // namespace folian
