// The reader of existing PDF files on libqpdf: a page and everything it needs, read and checked, in the
// writer's own values.
#include "streams/QpdfSource.h"

#include "core/Error.h"

#include <qpdf/Pl_String.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFSystemError.hh>

#include <algorithm>
#include <cmath>
#include <new>
#include <set>

namespace folian {

namespace {

// Coordinates beyond this are no page of any reader.
constexpr double kLargestCoordinate = 1e6;

// A failure of the reading is thrown inside this file as the SourceFailure the writer is told.
SourceFailure damaged(const std::string& what)
{
    return SourceFailure{ErrorCode::InvalidFileFormat, "Invalid file format: " + what};
}

SourceId idOf(const QPDFObjGen& og)
{
    return {og.getObj(), og.getGen()};
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

// The value as the writer copies it; below the top, an indirect object is referred to by its number.
SourceValue valueOf(QPDFObjectHandle handle, bool top = false)
{
    SourceValue value;
    if (!top && handle.isIndirect()) {
        if (!handle.isNull()) {
            value.kind = SourceValue::Kind::Reference;
            value.reference = idOf(handle.getObjGen());
        }
        return value;
    }
    switch (handle.getTypeCode()) {
    case ot_boolean:
        value.kind = SourceValue::Kind::Boolean;
        value.boolean = handle.getBoolValue();
        break;
    case ot_integer:
        value.kind = SourceValue::Kind::Integer;
        value.integer = handle.getIntValue();
        break;
    case ot_real:
        value.kind = SourceValue::Kind::Real;
        value.text = handle.getRealValue();
        break;
    case ot_name:
        value.kind = SourceValue::Kind::Name;
        value.text = handle.unparse();
        break;
    case ot_string:
        value.kind = SourceValue::Kind::String;
        value.text = handle.getStringValue();
        break;
    case ot_array:
        value.kind = SourceValue::Kind::Array;
        for (QPDFObjectHandle item : handle.getArrayAsVector()) {
            value.items.push_back(valueOf(item));
        }
        break;
    case ot_dictionary:
    case ot_stream:
        value.kind = SourceValue::Kind::Dictionary;
        for (auto& [key, entry] : (handle.isStream() ? handle.getDict() : handle).getDictAsMap()) {
            value.keys.push_back(QPDFObjectHandle::newName(key).unparse());
            value.items.push_back(valueOf(entry));
        }
        break;
    default:
        break;
    }
    return value;
}

// The stream's data with every filter the reader knows undone; filters it does not know (the
// image codings) stay, with their parameters, for the data to keep.
void readStream(QPDFObjectHandle stream, SourceObject& object)
{
    std::string bytes;
    Pl_String sink("import", nullptr, bytes);
    bool decoded = false;
    if (!stream.pipeStreamData(&sink, &decoded, 0, qpdf_dl_specialized, true, false)) {
        throw damaged("the data of stream " + stream.getObjGen().unparse(' ') + " cannot be read");
    }
    object.data.assign(bytes.begin(), bytes.end());
    object.keptFilters.clear();
    object.keptParms.clear();
    if (decoded) {
        return;
    }
    QPDFObjectHandle dict = stream.getDict();
    const std::vector<QPDFObjectHandle> filters = itemsOf(dict.getKey("/Filter"));
    for (QPDFObjectHandle filter : filters) {
        if (!filter.isName()) {
            throw damaged("a stream names a filter that is not a name");
        }
        object.keptFilters += filter.unparse() + " ";
    }
    // One parameter entry a filter, or none at all.
    std::vector<QPDFObjectHandle> parms = itemsOf(dict.getKey("/DecodeParms"));
    if (!parms.empty()) {
        parms.resize(filters.size(), QPDFObjectHandle::newNull());
    }
    for (QPDFObjectHandle parm : parms) {
        object.keptParms.push_back(valueOf(parm));
    }
}

// Runs a reading, telling any failure as a SourceFailure.
template <typename Reading> bool told(Reading reading, SourceFailure& failure)
{
    try {
        reading();
        return true;
    } catch (const SourceFailure& refusal) {
        failure = refusal;
    } catch (const QPDFExc& error) {
        failure = SourceFailure{ErrorCode::InvalidFileFormat, "Invalid file format: " + error.getMessageDetail()};
    } catch (const std::bad_alloc&) {
        failure = SourceFailure{ErrorCode::OutOfMemory, "Out of memory"};
    } catch (const std::exception& error) {
        failure = SourceFailure{ErrorCode::InvalidFileFormat, std::string("Invalid file format: ") + error.what()};
    }
    return false;
}

// A file read by libqpdf, open until the document that reads it ends.
class QpdfSource : public PdfSource {
public:
    // Reads every object of the file. Files joined or edited by common tools often carry a wrong
    // trailer /Size or cross-reference offsets that every viewer looks past; the reader mends those by
    // itself (rebuilding the table at the first object it cannot find), and that is no reason to refuse
    // the file. An object that still reads with warnings is damaged, and so is any page that needs it.
    void open(const std::string& path)
    {
        m_pdf.setSuppressWarnings(true);
        try {
            m_pdf.processFile(path.c_str());
        } catch (const QPDFExc& error) {
            if (error.getErrorCode() == qpdf_e_password) {
                throw SourceFailure{ErrorCode::PermissionDenied,
                                    "Permission denied: the file is protected by a password"};
            }
            throw damaged(error.getMessageDetail());
        } catch (const QPDFSystemError& error) {
            throw SourceFailure{ErrorCode::PathFileAccess, std::string("Path/File access error: ") + error.what()};
        }
        m_repaired = !m_pdf.getWarnings().empty();
        std::map<QPDFObjGen, QPDFXRefEntry> table = m_pdf.getXRefTable();
        std::vector<QPDFObjGen> numbers;
        for (const auto& entry : table) {
            numbers.push_back(entry.first);
        }
        for (const QPDFObjGen& og : numbers) {
            m_pdf.getObjectByObjGen(og).getTypeCode();
            const std::vector<QPDFExc> warnings = m_pdf.getWarnings();
            if (warnings.empty()) {
                continue;
            }
            std::map<QPDFObjGen, QPDFXRefEntry> now = m_pdf.getXRefTable();
            if (!sameTable(now, table)) {
                // The table was rebuilt while this object was looked for; the object was then read anew.
                table = std::move(now);
                m_repaired = true;
                continue;
            }
            m_damaged.emplace(og, warnings.front().getMessageDetail());
        }
    }

    bool encrypted() override { return m_pdf.isEncrypted(); }

    bool information(int32_t& pages, std::map<std::string, InfoEntry>& entries, SourceFailure& failure) override
    {
        return told(
            [&] {
                m_pdf.getWarnings(); // what an earlier, failed reading left
                pages = static_cast<int32_t>(m_pdf.getAllPages().size());
                std::map<std::string, InfoEntry> read;
                QPDFObjectHandle info = m_pdf.getTrailer().getKey("/Info");
                if (info.isIndirect() && m_damaged.count(info.getObjGen()) != 0) {
                    throw damaged(m_damaged.at(info.getObjGen()));
                }
                if (info.isDictionary()) {
                    for (auto& [key, value] : info.getDictAsMap()) {
                        if (value.isString()) {
                            read[key.substr(1)] = InfoEntry{value.getUTF8Value(), true};
                        } else if (value.isName()) {
                            read[key.substr(1)] = InfoEntry{value.getName().substr(1), false};
                        } else if (value.isScalar() && !value.isNull()) {
                            read[key.substr(1)] = InfoEntry{value.unparse(), false};
                        }
                    }
                }
                refuseWarnings(m_pdf);
                entries = std::move(read);
            },
            failure);
    }

    bool page(int32_t number, const std::map<SourceId, int32_t>& copied, SourcePage& page,
              SourceFailure& failure) override
    {
        return told([&] { page = readPage(number, copied); }, failure);
    }

private:
    // A page that needs an object the reader could not read whole, or one that a mended file lost, is
    // not copied: it would be drawn with pieces missing.
    void refuseDamaged(QPDFObjectHandle handle) const
    {
        const QPDFObjGen og = handle.getObjGen();
        const auto found = m_damaged.find(og);
        if (found != m_damaged.end()) {
            throw damaged(found->second);
        }
        if (m_repaired && handle.isNull()) {
            throw damaged("object " + og.unparse(' ') + " is missing from the file");
        }
    }

    // Every object reachable from `root` that is not yet in the document, in the order the writer numbers
    // them. Pages met on the way (an annotation's page, say) become null rather than pulling in their files.
    void collect(const std::map<SourceId, int32_t>& copied, SourcePage& page, std::set<QPDFObjGen>& met,
                 QPDFObjectHandle root, std::vector<QPDFObjectHandle>& handles) const
    {
        std::vector<QPDFObjectHandle> pending{root};
        while (!pending.empty()) {
            QPDFObjectHandle handle = pending.back();
            pending.pop_back();
            if (handle.isIndirect()) {
                const QPDFObjGen og = handle.getObjGen();
                if (copied.count(idOf(og)) != 0 || met.count(og) != 0) {
                    continue;
                }
                refuseDamaged(handle);
                met.insert(og);
                SourceObject object;
                object.id = idOf(og);
                object.placeholder = handle.isNull() || isPageNode(handle);
                page.objects.push_back(std::move(object));
                handles.push_back(handle);
                if (page.objects.back().placeholder) {
                    continue;
                }
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

    SourcePage readPage(int32_t pageNumber, const std::map<SourceId, int32_t>& copied)
    {
        m_pdf.getWarnings(); // what an earlier, failed reading left
        const std::vector<QPDFObjectHandle>& pages = m_pdf.getAllPages();
        refuseWarnings(m_pdf);
        const auto count = static_cast<int32_t>(pages.size());
        if (pageNumber < 1 || pageNumber > count) {
            throw SourceFailure{ErrorCode::SubscriptOutOfRange, "Subscript out of range: page " +
                                                                    std::to_string(pageNumber) + " of a file of " +
                                                                    std::to_string(count) + " pages"};
        }
        QPDFObjectHandle page = pages[static_cast<std::size_t>(pageNumber - 1)];
        refuseDamaged(page);

        SourcePage copy;
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

        QPDFObjectHandle resources = inherited(page, "/Resources");
        if (!resources.isDictionary()) {
            resources = QPDFObjectHandle::newDictionary();
        }
        std::set<QPDFObjGen> met;
        std::vector<QPDFObjectHandle> handles;
        collect(copied, copy, met, resources, handles);
        copy.resources = valueOf(resources);
        QPDFObjectHandle group = page.getKey("/Group");
        if (group.isDictionary()) {
            collect(copied, copy, met, group, handles);
            copy.group = valueOf(group);
        }

        // The page's content streams, joined as a reader joins them.
        for (QPDFObjectHandle stream : itemsOf(page.getKey("/Contents"))) {
            if (stream.isIndirect()) {
                refuseDamaged(stream);
            }
            if (!stream.isStream()) {
                throw damaged("the page's content is not a stream");
            }
            SourceObject content;
            readStream(stream, content);
            if (!content.keptFilters.empty()) {
                throw damaged("the page's content is coded with " + content.keptFilters);
            }
            copy.content.insert(copy.content.end(), content.data.begin(), content.data.end());
            copy.content.push_back('\n');
        }
        for (std::size_t i = 0; i < copy.objects.size(); ++i) {
            SourceObject& object = copy.objects[i];
            if (object.placeholder) {
                continue;
            }
            object.stream = handles[i].isStream();
            object.value = valueOf(handles[i], true);
            if (object.stream) {
                readStream(handles[i], object);
            }
        }
        refuseWarnings(m_pdf);
        return copy;
    }

    QPDF m_pdf;
    // The reader had to mend the file's structure (its cross-reference table, its trailer) to open it.
    bool m_repaired = false;
    // Objects the reader could not read whole, with what it found wrong in each.
    std::map<QPDFObjGen, std::string> m_damaged;
};

} // namespace

std::unique_ptr<PdfSource> OpenWithQpdf(const std::string& path, SourceFailure& failure)
{
    auto source = std::make_unique<QpdfSource>();
    if (!told([&] { source->open(path); }, failure)) {
        return nullptr;
    }
    return source;
}

} // namespace folian
