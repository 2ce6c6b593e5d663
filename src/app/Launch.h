#pragma once

#include <QString>

#include <functional>

namespace ondavia {

// The program folder: the folder named by ONDAVIA_HOME when it is set, else the executable's folder.
// The configuration file, the database, the marker file, the help documents and the print template
// are all under it.
QString CartellaProgramma();

// The database file inside the program folder.
QString PercorsoArchivio();

// The launch: reads the configuration, opens (on a first start, creates) the database, sets the shared
// state, runs the one-time upgrade and then calls `mostraFinestra` to show the main window.
// Returns false, after telling the user why, when the database cannot be opened; no window is shown then.
bool Main(const std::function<void()>& mostraFinestra);

} // namespace ondavia
