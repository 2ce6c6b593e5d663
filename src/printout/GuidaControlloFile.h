#pragma once

#include <QString>

namespace ondavia {

// The program's own help document on the communication file (Aiuto > "Controllo con Entratel/Fisconline"):
// what the file holds, where it is saved, what the program refuses and how the file is then checked and
// sent with the agency's software. Help/ONDAVIA_CONTROLLOFILE.pdf in the program folder.
QString percorsoGuidaControlloFile();

// Writes the document when it is missing; an office's own copy in its place is left alone. False, with a
// message for the operator naming the file and the reason, when it cannot be written.
bool preparaGuidaControlloFile(QString* errore);

// Writes the document to `percorso` (in place of any file there, only once it is complete).
bool scriviGuidaControlloFile(const QString& percorso, QString* errore);

} // namespace ondavia
