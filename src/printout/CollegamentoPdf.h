#pragma once

namespace ondavia {

// Points the PDF writer at the program: the selected subject's name and the launch date for every new
// document, the system's viewer (through the platform layer) for OpenDoc, and the reader of existing PDF
// files in its module (LettorePdf.h). Run once at start-up.
void collegaScrittorePdf();

} // namespace ondavia
