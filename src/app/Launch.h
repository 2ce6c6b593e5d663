#pragma once

#include <QString>

#include <functional>

namespace ondavia {

// The program folder: the folder named by ONDAVIA_HOME when it is set, else the executable's folder.
// The configuration file, the database, the marker file, the help documents and the print template
// are all under it.
QString cartellaProgramma();

// The database file inside the program folder.
QString percorsoArchivio();

// The launch: reads the configuration, takes the program folder's lock (one program per register),
// opens the database (on a first start, creates it) and checks that it is a register, sets the shared
// state, runs the one-time upgrade and then calls `mostraFinestra` to show the main window.
// Returns false, after telling the user why, when another program holds the register or the database
// cannot be created, opened or upgraded; no window is shown then, the lock is released and a database
// that was already there is left as it was.
bool Main(const std::function<void()>& mostraFinestra);

} // namespace ondavia
