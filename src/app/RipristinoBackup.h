#pragma once

#include "db/Recordset.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <memory>

namespace ondavia {

namespace db {
class Connection;
}

// Puts the rows of a backup file (see FileBackup.h) back into the register, all in one transaction: the
// register ends either as it was or with every row that could be read, never in between, whatever
// stops the program half-way.
//
// For each table, the file's rows are added, and the rows the table held before of every subject the file
// restored are deleted, each subject's as soon as its first row from the file is in; codes and
// progressives compare as the database compares them in their columns, the rule of every search of the
// register. A subject whose code appears twice with the same progressive keeps the first row. Lines of
// CTAB update the coded lists in place. A value that cannot be stored is told (with the message the
// register always gave) and its column keeps its default, Null; a line without a fiscal code, or without a
// progressive in a table that has them, or that cannot be stored is told and skipped, and leaves the
// subject's rows as they were. Anything that prevents the restore as a whole (a file that cannot be read,
// a table the register does not have, a failed delete or commit) leaves the register as it was.
class RipristinoBackup {
public:
    // The page cache of the database while a restore runs, in KiB (the connection's own comes back after).
    static constexpr int CacheKiB = 256 * 1024;

    struct Opzioni {
        // The configuration's TipoDb is "S": a zero date ("00:00:00") is stored as Null.
        bool dataZeroNulla = false;
        // Told each problem of a single line or value, already worded for the user.
        std::function<void(const QString&)> avviso;
        // Called once for each row added.
        std::function<void()> passo;
    };

    RipristinoBackup(db::Connection& connessione, Opzioni opzioni);
    ~RipristinoBackup();
    RipristinoBackup(const RipristinoBackup&) = delete;
    RipristinoBackup& operator=(const RipristinoBackup&) = delete;

    // Restores the file. False, with the reason in *errore, when nothing was restored.
    bool RipristinaArchivio(const QString& percorso, QString* errore);

private:
    struct Tabella;
    using Voci = QList<QStringView>;

    bool riga(const Voci& campi, qint64 numero, QString* errore);
    Tabella* tabella(const QString& nome, qint64 numero, QString* errore);
    bool cancellaSoggetti(Tabella& t, QString* errore);
    bool RipristinaRiga(Tabella& t, const Voci& campi, qint64 numero, QString* errore);
    bool valore(Tabella& t, int colonna, QStringView voce, QString* descrizione);
    void RipristinaCTAB(const Voci& campi, qint64 numero);
    void avvisa(const QString& testo);

    db::Connection& m_connessione;
    Opzioni m_opzioni;
    QHash<QString, std::shared_ptr<Tabella>> m_tabelle; // by name, folded
};

} // namespace ondavia
