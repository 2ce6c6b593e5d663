#pragma once

#include <QString>

namespace ondavia {

// Asks the user, in the platform's file dialog, for the file the program is about to write or read, and
// leaves the chosen path in NomeFileScelto (empty when the user cancels).
//  - "C": the communication file; save dialog on the Desktop proposing "OVIA_" + the first 15 letters of
//    `nome` + "_" + `suffisso` (the progressive) + ".TXT".
//  - "S": a backup to save; save dialog on the Desktop proposing "SAVE_" + the first 20 letters of `nome`
//    + `suffisso` + ".REI".
//  - "R": a backup to restore; open dialog, nothing proposed, opening where it was last used.
// For "C" and "S" an existing file is returned only once the user agrees to replace it; a refusal shows
// the dialog again on the refused path. These two kinds upper-case and trim `nome` in place while taking
// its letters, even when the user cancels; "R" and any other kind leave it alone (another kind shows
// no dialog and leaves NomeFileScelto empty).
void DimmiIlNome(const QString& tipo, QString& nome, const QString& suffisso);

} // namespace ondavia
