#pragma once

#include <QString>

namespace ondavia {

// The program's own help document on the communication file (Aiuto > "Controllo con Entratel/Fisconline"):
// what the file holds, where it is saved, what the program refuses and how the file is then checked and
// sent with the agency's software. This file in the Help folder of the program folder.
inline constexpr char DocumentoControlloFile[] = "ONDAVIA_CONTROLLOFILE.pdf";

// Writes the document when it is missing; an office's own copy in its place is left alone. False, with a
// message for the operator naming the file and the reason, when it cannot be written.
bool preparaGuidaControlloFile(QString* errore);

} // namespace ondavia
