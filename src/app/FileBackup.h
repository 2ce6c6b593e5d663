#pragma once

// The backup file of the register: one text line per row of a table, in Windows-1252, each ended by CR LF,
// with no header, trailer or count. A line is the separator 0xA6, the table's name, then for each column,
// in the table's column order, the separator and the column's value:
//
//     ¦COPE¦RSSMRA80A01H501U¦13=OICR¦13¦0¦...
//
// Splitting a line at its first character gives item 0 (empty), item 1 (the table) and the columns from
// item 2 on. Values are not escaped, so no value may hold the separator, a line end or a NUL; the writer
// refuses such values and the reader refuses them in an item. Restores put values back by position, so
// the table's column order is part of the format.

#include "Windows1252.h"
#include "db/Value.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace ondavia {

inline constexpr char16_t SeparatoreBackup = 0xA6;

// The shift key of scrambled backups (see CifraTesto), the same for every file, written and read.
// A different key would make every scrambled backup written before it unreadable.
inline constexpr std::int16_t ChiaveBackup = 3;

// The table of the subjects: the table every backup this program writes holds, and the one the first
// line of a backup must name.
inline const QString TabellaSoggetti = QStringLiteral("COPE");

// A line longer than this is no backup line (a row of the register takes a few kilobytes at most): it is
// refused as a whole rather than read into memory.
inline constexpr qsizetype LunghezzaMassimaRiga = 1 << 20;

// Characters that cannot stand in a value: the separator, CR, LF and NUL.
inline bool carattereVietatoBackup(QChar c)
{
    return c == QChar(SeparatoreBackup) || c == u'\r' || c == u'\n' || c == u'\0';
}

// The byte of a character in a backup line, or -1 when no line can carry it: a character that Windows-1252
// lacks, or one that cannot stand in a value.
inline int byteVoceBackup(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= 0x20 && u < 0x80) || (u >= 0xA0 && u <= 0xFF && u != SeparatoreBackup)) {
        return u;
    }
    return carattereVietatoBackup(c) ? -1 : cp1252::codeOf(c);
}

// The position of the first character of `testo` that no backup line can carry, or -1: a value that holds
// one can never be backed up.
qsizetype primoCarattereNonSalvabile(QStringView testo);
// The character at `i` of `testo`, as a message names it: "il carattere "¦"" (a character outside the basic
// plane whole), "un a capo", "un carattere nullo".
QString descriviCarattere(const QString& testo, qsizetype i);

// The text of a value in a backup line. A column of type double is written with the Italian decimal comma,
// at most two decimals rounded half away from zero, no thousands separator and no leading zero, so that
// 12.5 gives "12,5", 0.25 ",25", 12 "12," and 0 a bare ","; any other value as its text, without leading
// and trailing blanks: whole numbers in decimal, dates "dd/mm/yyyy" and the zero date "00:00:00".
// Null gives "".
QString testoVoceBackup(const db::Value& valore, int tipoColonna);

// A double item read back: "," is 0; the decimal comma (or a point) separates the decimals. Nothing
// when the item is not a number.
std::optional<double> numeroVoceBackup(const QString& voce);

// File names: "SAVE_ONDAVIA_" + date + ".REI" for a backup, "SAVEtu_" + code + "_" + the first 20 letters
// of the name + "_" + date + ".REI" for one subject's file of a save-all (`nome` is upper-cased and
// trimmed in place), "BFRR_" + code + "_" + date + ".REI" for the safety copy a restore writes first.
// Dates are yyyymmdd. Characters of the code that a file name cannot hold become "_", so a code read
// from a file can never lead the name out of its folder, and only its first 40 characters are taken, so
// that no code makes a name longer than a file system allows.
QString nomeBackupPredefinito(const QString& data);
QString nomeBackupSoggetto(const QString& codice, QString& nome, const QString& data);
QString nomeCopiaSicurezza(const QString& codice, const QString& data);

// The filter of the backup dialogs: "BackUp ONDAVIA (*.REI)|*.REI".
QString filtroBackup();

} // namespace ondavia
