#pragma once

#include "streams/PdfSource.h"

#include <QString>

#include <memory>
#include <string>

namespace ondavia {

// The reader of existing PDF files that the print-out needs (the template page: its version read by
// GetInfo, its copy by ImportPage). The program's lives in a module beside the executable, loaded at the
// first print-out, so that a launch goes without libqpdf.

// Opens a file through the module: the PDF writer's Hooks::openPdf that collegaScrittorePdf installs.
std::unique_ptr<folian::PdfSource> apriPdfConModulo(const std::string& percorso, folian::SourceFailure& esito);

// Whether the writer can read existing files: true when its reader is not the module's, or the module is
// there and loads. Otherwise false, with a message for the operator naming the module's file.
bool preparaLettorePdf(QString* errore);

} // namespace ondavia
