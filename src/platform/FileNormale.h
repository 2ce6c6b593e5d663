#pragma once

#include <QFile>
#include <QString>

namespace ondavia {

// How apriFileNormale went.
struct AperturaFile {
    bool aperto = false;
    // What the path names when it is not a file of data: "una cartella", "una pipe con nome",
    // "un dispositivo", "un socket", or "un oggetto speciale del sistema"; empty otherwise.
    QString genere;
    // Why the file could not be opened, in the system's words; empty when it was opened or `genere` says why.
    QString errore;
};

// Opens `percorso` into `file` for reading only when it is a file of data. Whatever else a path can name
// (a folder, a named pipe, a device, a socket) is refused at once, without being read and without waiting:
// a named pipe would keep the open waiting for a writer, and a device such as /dev/zero never ends. The
// opened file is checked again, so that one put in the path's place in between is refused too.
AperturaFile apriFileNormale(QFile& file, const QString& percorso);

} // namespace ondavia
