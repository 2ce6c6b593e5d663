#pragma once

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>

namespace ondavia {

// The years a backup brings a date back for: a restore reads "dd/mm/yyyy" only for them (TestoInData).
inline constexpr int PrimoAnnoBackup = 1900;
inline constexpr int UltimoAnnoBackup = 2099;

// How a date box reads a two-digit year: in this century, or as a birth date (annoNascita).
enum class Secolo { Corrente, Nascita };

// The four-digit year of a birth date written with two (`aa`, 0-99) and day `giorno` of month `mese`: of this
// century when the person would be at least 16 years old on `oggi`, else of the last. Birth dates are those
// of people of age, so 05 is 2005 only once 2005 is 16 years gone. A month or day of 0 counts as before any.
int annoNascita(int aa, int mese, int giorno, const QDate& oggi);

// Sets Oggi and OggiTesto (ddmmyyyy) from today's date; both keep the launch date for the whole run.
void InizializzaDate(const QDate& oggi = QDate::currentDate());

// Checks a typed date: day, month and year with or without separators, six digits (ddmmyy, the year
// read as 20yy, or by annoNascita on today for Secolo::Nascita) or eight (ddmmyyyy). Returns 0 for an
// empty date ("", "0.00.00", "00:00:00"), 1 for one that is not valid, 2 for a valid one. Sets
// DataFormattata to the date as dd/mm/yyyy when valid, else to "". Once the length is acceptable (6-10
// characters) and there are at most eight digits, `valore` is rewritten as those digits, blank-filled to
// eight characters; CifreData keeps them too.
// Any other number of digits is not a date (a day or month of one digit, a year of three); nor is a
// year before 1000, nor a 29 February outside leap years.
std::int16_t ValidaData(QString& valore, Secolo secolo = Secolo::Corrente);

// A typed date read by the same rule as ValidaData, as a calendar date; nothing for an empty text or one
// that is not a date. Touches no shared state.
std::optional<QDate> leggiData(const QString& valore, Secolo secolo = Secolo::Corrente);

// Days of a month (given as the text of a whole number): "31", "30", "29" for February, "30" past 12,
// "" for 0 or less or for a text that is no number. With a four-digit `anno`, February has "28" days
// outside leap years.
QString GiorniMese(const QString& mese, const QString& anno = {});

// A date box's text as ddmmyyyy for the communication file: "" for an empty date, nothing when it is
// not a date. It reads the text exactly as ValidaData does, so that every date the form accepts can be
// written and no other: "05/03/2021" and "050321" give 05032021, "1/2/1980" nothing.
std::optional<QString> DataGGMMAAAA(const QString& valore, Secolo secolo = Secolo::Corrente);

// Today (or `oggi`) as yyyymmdd, for file names.
QString OggiAAAAMMGG(const QDate& oggi = QDate::currentDate());

// The trimmed text left-padded with "0" to two characters; nothing when it is longer.
std::optional<QString> DueCifre(const QString& valore);

// Reads a date text of a backup. Trims `testo` in place. "dd/mm/19yy" or "dd/mm/20yy" give that date,
// "dd/mm/yy" (8 characters) the date with the two-digit year read as 1930-2029; a text starting with
// "00" or of any other shape gives the zero date 30/12/1899. Nothing when the day, month and year
// read do not make a date.
std::optional<QDate> TestoInData(QString& testo);

// "dd/mm/yyyy" to yyyymmdd and yyyymmdd to "dd/mm/yyyy" (told apart by a "/" in third place);
// "" for an empty text or one starting with "00". Kept with the other date helpers, though nothing
// in the program calls it today.
QString InvertiData(const QString& testo);

} // namespace ondavia
