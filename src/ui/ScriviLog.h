#pragma once

#include <QString>

namespace ondavia {

// The log switch ("1" on) and the log file. Nothing in the program switches logging on.
inline QString LogAttivo;
inline QString FileLog;

// When LogAttivo is "1", appends `testo` as one line (CR LF, Windows-1252) to FileLog; otherwise does
// nothing. Returns false only when logging is on and the line could not be written.
bool ScriviLog(const QString& testo);

} // namespace ondavia
