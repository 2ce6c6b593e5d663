#pragma once

#include "streams/PdfSource.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace folian {

// An existing PDF file read by GetInfo or ImportPage. It stays open until the document ends,
// with the numbers that its objects were given when they were copied into the document, so
// that objects shared by several imported pages are copied once.
struct ImportSource {
    std::string path;
    std::unique_ptr<PdfSource> file;
    std::map<SourceId, int32_t> copied; // 0: written as null (a page, or a missing object)
};

} // namespace folian
