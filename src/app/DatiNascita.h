#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace ondavia {

// What a personal fiscal code tells of its holder's birth.
struct DatiNascita {
    QString sesso;     // "M" or "F"
    QString data;      // dd/mm/yyyy as read; the month is "00" when its letter is not a month's
    QString catastale; // the birth place's cadastral code
    QString comune;    // the birth place and its province, when the cadastral code is known
    QString provincia;
    bool luogoTrovato = false;
};

// Reads sex, birth date and cadastral code out of a fiscal code of exactly 16 characters (letter case
// ignored); nothing for any other length. The check character is not examined.
// - Day 41-71 is a woman's day plus 40.
// - Digits that omocode codes write as letters (L M N P Q R S T U V for 0-9) are read back, in the date
//   and in the cadastral code.
// - A two-digit year is of this century when the person would be at least 16 years old on `oggi`, else
//   of the last: codes are those of people of age, so 05 is 2005 only once 2005 is 16 years gone.
std::optional<DatiNascita> leggiDatiNascita(const QString& codice, const QDate& oggi);

// Fills the birth place of `dati` from T_COMUNICF (scratch recordset rsAppoggio). A cadastral code can
// have several rows (a former name, a former province): the row of a municipality of today (in
// T_COMUNI) is preferred, then the first. An unknown code leaves `luogoTrovato` false. Returns false,
// with the reason in `errore`, when the tables cannot be read.
bool cercaLuogoNascita(DatiNascita& dati, QString* errore = nullptr);

} // namespace ondavia
