#pragma once

#include <QString>

namespace ondavia {

// Reads one key of the configuration file FileIni the way the program always has: section and key
// names ignore letter case, the first occurrence wins, blanks around the value and one pair of
// enclosing quotes are dropped, and the value is cut to 127 characters. A missing file (or something
// else in its place, such as a folder or a named pipe), section or key reads as "".
QString LeggiIni(const QString& sezione, const QString& chiave);

// The same, on a named file.
QString leggiIniDa(const QString& file, const QString& sezione, const QString& chiave);

} // namespace ondavia
