#pragma once

#include <QString>

#include <functional>

namespace ondavia {

namespace db {
class Connection;
}

// Writes backup files (see FileBackup.h) from the register's tables.
//
// A file is written beside its target under a temporary name and renamed into place only when complete:
// a failure half-way (a full disk, no permission) leaves the target as it was and no half file. Rows are
// read one at a time, so a register of any size is written in little memory. A value the file cannot carry
// is refused before the file appears, naming the subject and the field: a character that is no
// Windows-1252 character or that the format forbids (the separator, a line end, NUL). In a scrambled
// backup, the fields that scrambling could not bring back are gathered over the whole register and named
// together, each by its tab and label on the register form.
class ScrittoreBackup {
public:
    struct Opzioni {
        bool cifra = false;          // scramble every line with ChiaveBackup
        QString soloSoggetto;        // when set, only the rows whose OCOD is this code
        std::function<void()> passo; // called once for each row written
    };

    explicit ScrittoreBackup(db::Connection& connessione);

    // Writes every row of `tabella` (or of one subject) to `percorso`, replacing that file when done.
    // A table with no rows gives an empty file. Returns false with a message for the user in *errore.
    bool ScriviTabella(const QString& percorso, const QString& tabella, const Opzioni& opzioni, QString* errore);

private:
    db::Connection& m_connessione;
};

} // namespace ondavia
