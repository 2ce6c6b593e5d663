#pragma once

#include "streams/PdfSource.h"

namespace folian {

// Opens an existing PDF file with libqpdf, reading all its objects at once. A file whose structure the
// reader had to mend opens all the same; its pages that need an object it could not read whole are
// refused. nullptr, saying why, when the file cannot be opened.
std::unique_ptr<PdfSource> OpenWithQpdf(const std::string& path, SourceFailure& failure);

} // namespace folian
