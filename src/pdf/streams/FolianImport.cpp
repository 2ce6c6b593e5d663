// Reading existing PDF files: their page count and information entries, and pages copied into
// the document as form objects. The reader behind Hooks::openPdf reads the file; everything written goes
// through the writer's own objects, streams and protection.
#include "core/Cp1252.h"
#include "core/Folian.h"
#include "core/Formatting.h"
#include "streams/ImportSource.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <new>
#include <set>

namespace folian {

namespace {

constexpr char CR = '\r';

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

    std::string text(const SourceValue& value)
    {
        switch (value.kind) {
        case SourceValue::Kind::Reference: {
            const auto found = source.copied.find(value.reference);
            const int32_t number = found == source.copied.end() ? 0 : found->second;
            return number == 0 ? "null" : ref(number);
        }
        case SourceValue::Kind::Boolean:
            return value.boolean ? "true" : "false";
        case SourceValue::Kind::Integer:
            return std::to_string(value.integer);
        case SourceValue::Kind::Real:
        case SourceValue::Kind::Name:
            return value.text;
        case SourceValue::Kind::String:
            // Encrypted with the key of the object being written, like every string of the writer.
            return pdf.FormatTextString(value.text);
        case SourceValue::Kind::Array: {
            std::string out = "[";
            for (const SourceValue& item : value.items) {
                out += text(item) + " ";
            }
            return out + "]";
        }
        case SourceValue::Kind::Dictionary:
            return entries(value, {}) + ">>";
        case SourceValue::Kind::Null:
            break;
        }
        return "null";
    }

    // "<<" and the dictionary's entries, without the keys to leave out.
    std::string entries(const SourceValue& dict, const std::set<std::string>& leaveOut)
    {
        std::string out = "<<";
        for (std::size_t i = 0; i < dict.keys.size(); ++i) {
            if (leaveOut.count(dict.keys[i]) == 0 && dict.items[i].kind != SourceValue::Kind::Null) {
                out += dict.keys[i] + " " + text(dict.items[i]) + " ";
            }
        }
        return out;
    }

    void write(SourceObject& object)
    {
        pdf.BeginObj();
        if (!object.stream) {
            pdf.WriteLine(text(object.value));
            pdf.EndObj();
            return;
        }
        std::string dict =
            entries(object.value, {"/Length", "/Filter", "/DecodeParms", "/DL", "/F", "/FFilter", "/FDecodeParms"});
        if (!object.keptFilters.empty() && !object.keptParms.empty()) {
            // The parameters line up with the filters, among them those the stream writer adds.
            std::string parms = "/DecodeParms [";
            for (int bit : {8, 16}) {
                if (pdf.CompressionMode & bit) {
                    parms += "null ";
                }
            }
            for (const SourceValue& item : object.keptParms) {
                parms += text(item) + " ";
            }
            dict += parms + "] ";
        }
        pdf.WriteLine(dict);
        pdf.WriteStream(object.data, 0, object.keptFilters, 0);
        pdf.EndObj();
    }

    int32_t writeForm(SourcePage& copy, const std::string& name)
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
        if (copy.group.kind != SourceValue::Kind::Null) {
            head += std::string(1, CR) + "/Group " + text(copy.group);
        }
        pdf.WriteLine(head);
        pdf.WriteStream(copy.content, 0, std::string(), 0);
        pdf.EndObj();
        return form;
    }
};

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
    if (!m_hooks.openPdf) {
        throw Error(ErrorCode::LoadingLibrary, "Error in loading DLL: no reader of PDF files");
    }
    SourceFailure failure;
    std::unique_ptr<PdfSource> file = m_hooks.openPdf(path, failure);
    if (!file) {
        throw Error(failure.number, failure.description);
    }
    auto source = std::make_unique<ImportSource>();
    source->path = path;
    source->file = std::move(file);
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
    } catch (const std::bad_alloc&) {
        failure = Error(ErrorCode::OutOfMemory, "Out of memory");
    } catch (const std::exception& error) {
        failure = Error(ErrorCode::InvalidFileFormat, std::string("Invalid file format: ") + error.what());
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
            std::map<std::string, InfoEntry> found;
            SourceFailure refusal;
            if (!source.file->information(count, found, refusal)) {
                throw Error(refusal.number, refusal.description);
            }
            std::map<std::string, std::string> entries;
            for (auto& [key, entry] : found) {
                entries[key] = entry.utf8 ? Utf8ToCp1252(entry.value) : std::move(entry.value);
            }
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
            if (source.file->encrypted()) {
                throw Error(ErrorCode::PermissionDenied, "Permission denied: the file is encrypted");
            }
            SourcePage copy;
            SourceFailure refusal;
            if (!source.file->page(PageNumber, source.copied, copy, refusal)) {
                throw Error(refusal.number, refusal.description);
            }

            // Everything is read: from here on the objects are written, each under the number it is
            // given here.
            int32_t next = MaxObject + 1;
            for (const SourceObject& object : copy.objects) {
                source.copied[object.id] = object.placeholder ? 0 : next++;
            }
            ImportWriter writer{*this, source};
            for (SourceObject& object : copy.objects) {
                if (!object.placeholder) {
                    writer.write(object);
                }
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
