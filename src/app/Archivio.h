#pragma once

#include "db/Connection.h"

#include <QString>

#include <optional>

namespace ondavia {

// Columns of COPE before the upgrade appends ONPROG, OTIPOCOM1 and OTIPOCOM2, in their fixed order.
// Backups list a row's values in the table's column order and restores put them back by position,
// so this order may never change: new columns can only be appended.
const QStringList& colonneCopeIniziali();

// Creates a new database file with the register's tables, filled with the seed data: the municipality
// tables and the coded lists. The coded lists come from `ctabCsv` when that file exists, else from the
// copy built into the program. The file appears only when complete; with `sostituisciVuoto` it may
// take the place of an empty file, never of anything else. A failure leaves the place as it was.
bool creaArchivio(const QString& percorso, const QString& ctabCsv, QString* errore, bool sostituisciVuoto = false);

// Checks that an open database holds the register: its tables with the columns the upgrade does not add.
// Otherwise false, with the reason.
bool verificaArchivio(db::Connection& conn, QString* errore);

// The one-time upgrade of COPE, run at launch while the marker file onprog.txt is missing in the program
// folder (or COPE lacks an upgrade column): appends those of ONPROG, OTIPOCOM1 and OTIPOCOM2 that are
// missing and sets ONPROG to '001' in every row that has none; all in one transaction, after which
// the marker is written. False, with the reason, when any of it fails: the database is then as before
// and the upgrade runs again at the next launch.
bool AggiornaArchivio(QString* errore = nullptr);

// The highest progressive of the subject `codice` in COPE, read as a number; 0 when it has none. A
// progressive that is not a whole number ("", a text typed by hand) is passed over: it can never be the
// three digits of a new one. Nothing, with the reason, when the table cannot be read.
std::optional<qint64> ultimoProgressivo(db::Connection& conn, const QString& codice, QString* errore);

// The condition of the row of a subject and progressive in COPE. An empty progressive picks the rows stored
// without one (Null or empty), which restores of damaged backups once left: they can be shown and deleted.
QString condizioneSoggetto(const QString& codice, const QString& progressivo);

// Opens rsComuni (by name) and rsComuniCF (by name) on Conn and sets ComuniCaricati.
bool CaricaComuni(QString* errore = nullptr);

} // namespace ondavia
