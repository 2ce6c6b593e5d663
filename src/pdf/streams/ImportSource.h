#pragma once

#include <qpdf/QPDFObjGen.hh>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class QPDF;

namespace folian {

// An existing PDF file read by GetInfo or ImportPage. It stays open until the document ends,
// with the numbers that its objects were given when they were copied into the document, so
// that objects shared by several imported pages are copied once.
struct ImportSource {
    ImportSource();
    ~ImportSource();
    ImportSource(const ImportSource&) = delete;
    ImportSource& operator=(const ImportSource&) = delete;

    std::string path;
    std::unique_ptr<QPDF> pdf;
    std::map<QPDFObjGen, int32_t> copied; // 0: written as null (a page, or a missing object)
    // The reader had to mend the file's structure (its cross-reference table, its trailer) to open it.
    bool repaired = false;
    // Objects the reader could not read whole, with what it found wrong in each.
    std::map<QPDFObjGen, std::string> damaged;
};

} // namespace folian
