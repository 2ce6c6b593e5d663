#pragma once

#include <QString>

namespace ondavia {

// Columns of COPE before the upgrade appends ONPROG, OTIPOCOM1 and OTIPOCOM2, in their fixed order.
// Backups list a row's values in the table's column order and restores put them back by position,
// so this order may never change: new columns can only be appended.
const QStringList& ColonneCopeIniziali();

// Creates a new database file with the register's tables, filled with the seed data: the municipality
// tables and the coded lists. The coded lists come from `ctabCsv` when that file exists, else from the
// copy built into the program. The file appears only when complete.
bool CreaArchivio(const QString& percorso, const QString& ctabCsv, QString* errore);

// The one-time upgrade of COPE, run at launch while the marker file onprog.txt is missing in the
// program folder: appends ONPROG (set to '001' in every row), OTIPOCOM1 and OTIPOCOM2, ignoring any
// statement that fails, then writes the marker.
void AggiornaArchivio();

// Opens rsComuni (by name) and rsComuniCF (by name) on Conn and sets ComuniCaricati.
bool CaricaComuni(QString* errore = nullptr);

} // namespace ondavia
