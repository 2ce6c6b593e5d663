#pragma once

// The application's shared state: the globals that more than one part of the program reads or writes.
// Texts start empty, numbers at 0, booleans false; resetDichiarazioni() puts them back there.

#include "db/Connection.h"
#include "db/Recordset.h"

#include <QDate>
#include <QString>

#include <cstdint>

namespace ondavia {

// Colours of the forms as 0xBBGGRR: blue in the high byte, red in the low byte.
using Colore = std::uint32_t;

inline db::Connection Conn; // the one connection, open for the whole run
inline QString StrConn;     // how Conn was opened, shown by the debug option
inline QString FileIni;     // the configuration file
inline QString SQL;         // the statement being run, built just before it runs

inline db::Recordset RsCope;     // the register's current rows of COPE
inline db::Recordset rsAppoggio; // scratch recordset
inline db::Recordset rsComuni;   // T_COMUNI by name, once loaded
inline db::Recordset rsComuniCF; // T_COMUNICF by name, once loaded
inline bool ComuniCaricati = false;

inline QString TipoDb;           // first character of TipoDb, upper-cased
inline QString DebugAttivo;      // first character of debug
inline QString AnaDimColAuto;    // Ana_DimColAuto as written
inline std::int16_t NumFile = 0; // the file number taken at launch; kept, though nothing reads it

inline QDate Oggi;              // the launch date
inline QString OggiTesto;       // the launch date as ddmmyyyy
inline QString CifreData;       // digits of the last date checked
inline QString DataFormattata;  // the last accepted date as dd/mm/yyyy
inline QString DataCalendario;  // date exchanged with the calendar picker
inline QString DataSalvataggio; // today as yyyymmdd, for backup file names

inline QString FormAttiva;     // name of the active form
inline QString CodiceCorrente; // fiscal code (OCOD) of the selected subject
inline QString NomeCorrente;   // display name of the selected subject
inline QString NomeFileScelto; // path chosen in the file dialog, empty after a cancel
inline QString ModoSalva;      // "S" save, "R" restore
inline bool SalvaTutti = false;
inline QString Separatore; // separator of the backup line being read

inline QString VersioneProgramma;
inline QString Release;

inline Colore ColoreFuoco = 0;  // background of the text box with the focus
inline Colore ColoreBianco = 0; // background of the other text boxes
inline Colore ColoreVerde = 0;  // chosen communication type: first sending or change
inline Colore ColoreRosso = 0;  // chosen communication type: cancellation

inline std::int16_t Ind = 0;      // the shared character-loop counter; kept, though every loop now has its own
inline std::int16_t IndCampo = 0; // the shared field-loop counter

// Closes the recordsets and the connection and empties every shared value.
void resetDichiarazioni();

} // namespace ondavia
