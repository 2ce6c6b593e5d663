#pragma once

// The reader of existing PDF files behind GetInfo and ImportPage, as the writer sees it: what a page
// needs, in values of its own. The reader itself (streams/QpdfSource.h) stands on libqpdf; the writer
// reaches it only through Hooks::openPdf, so a program can load it when it first reads a file.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace folian {

// An object's number and generation in the file it comes from.
using SourceId = std::pair<int, int>;

// A value of an existing file, as the writer copies it. An indirect object is a reference, unless it is
// null or missing: then it is null.
struct SourceValue {
    enum class Kind { Null, Boolean, Integer, Real, Name, String, Array, Dictionary, Reference };

    Kind kind = Kind::Null;
    bool boolean = false;
    long long integer = 0;
    // Real: the number as the file writes it. Name: in PDF notation, slash included. String: its bytes.
    std::string text;
    // Array: its items. Dictionary: its values, in the order of `keys`.
    std::vector<SourceValue> items;
    // Dictionary: its keys in PDF notation, in byte order.
    std::vector<std::string> keys;
    SourceId reference{};
};

// An object of the file that a page needs and the document does not hold yet.
struct SourceObject {
    SourceId id;
    // Written as null where it is referred to, and not copied: a page met on the way (an annotation's
    // page, say) or an object missing from the file.
    bool placeholder = false;
    bool stream = false;
    SourceValue value;                  // the object; for a stream, its dictionary
    std::vector<uint8_t> data;          // a stream's data, decoded as far as the reader can
    std::string keptFilters;            // the filters still needed by data the reader cannot decode ("/DCTDecode ")
    std::vector<SourceValue> keptParms; // their parameters: none, or one per filter
};

// One page, read whole and checked before anything of it is written.
struct SourcePage {
    // In the order the writer numbers them.
    std::vector<SourceObject> objects;
    // The page's content streams joined, each followed by a line feed.
    std::vector<uint8_t> content;
    SourceValue resources;
    SourceValue group;           // null when the page has none
    std::array<double, 4> box{}; // the box shown, x1 < x2 and y1 < y2
    int rotate = 0;              // 0, 90, 180 or 270
};

// An entry of a file's information dictionary.
struct InfoEntry {
    std::string value;
    bool utf8 = false; // a text string, given in UTF-8; otherwise a name without its slash, or a number as written
};

// Why a file could not be read: one of ErrorCode and its description.
struct SourceFailure {
    int32_t number = 0;
    std::string description;
};

// An existing PDF file open for reading. No member throws: each returns false, saying why in `failure`.
class PdfSource {
public:
    virtual ~PdfSource() = default;

    virtual bool encrypted() = 0;
    // The page count, and the information entries by key (without its slash).
    virtual bool information(int32_t& pages, std::map<std::string, InfoEntry>& entries, SourceFailure& failure) = 0;
    // Page `number` (from 1), with every object it needs that is not among `copied` (the objects of this
    // file the document already holds).
    virtual bool page(int32_t number, const std::map<SourceId, int32_t>& copied, SourcePage& page,
                      SourceFailure& failure) = 0;
};

// What a module holding a reader exports as "folian_open_pdf_source": opens an existing file, or returns
// nullptr saying why. The caller owns the result.
using OpenPdfSourceFunction = PdfSource* (*)(const std::string& path, SourceFailure& failure);

} // namespace folian
