#pragma once

namespace ondavia {

// Points the PDF writer at the program: the selected subject's name and the launch date for every new
// document, and the system's viewer (through the platform layer) for OpenDoc. Run once at start-up.
void collegaScrittorePdf();

} // namespace ondavia
