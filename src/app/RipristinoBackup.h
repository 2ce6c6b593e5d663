#pragma once

#include "db/Recordset.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

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
// For each table and subject the file holds, the subject's rows are deleted once, when its first line is
// met, and the file's rows added; a subject whose code appears twice with the same progressive keeps
// the first row. Lines of CTAB update the coded lists in place. A value that cannot be stored is told
// (with the message the register always gave) and its column keeps its default; a line that cannot be
// stored is told and skipped. Anything that prevents the restore as a whole (a file that cannot be read,
// a table the register does not have, a failed delete or commit) leaves the register as it was.
class RipristinoBackup {
public:
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

    bool riga(const QStringList& campi, qint64 numero, QString* errore);
    Tabella* tabella(const QString& nome, qint64 numero, QString* errore);
    bool CancellaSoggetto(Tabella& t, const QString& codice, QString* errore);
    void RipristinaRiga(Tabella& t, const QStringList& campi, qint64 numero);
    bool valore(Tabella& t, int colonna, const QString& voce, QString* descrizione);
    void RipristinaCTAB(const QStringList& campi, qint64 numero);
    void avvisa(const QString& testo);

    db::Connection& m_connessione;
    Opzioni m_opzioni;
    QHash<QString, std::shared_ptr<Tabella>> m_tabelle; // by name, folded
};

} // namespace ondavia
