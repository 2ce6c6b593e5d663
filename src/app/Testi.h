#pragma once

#include "db/Value.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace ondavia {

// Text and SQL-quoting helpers shared by the forms, the communication file and the backup.
// "Blanks" are the space character only: tabs and other white space are kept, as the register
// always trimmed its texts.

QString senzaSpazi(const QString& testo);         // leading and trailing blanks removed
QStringView senzaSpazi(QStringView testo);        // the same, as a view into the text
QString senzaSpaziIniziali(const QString& testo); // leading blanks removed

// Upper case character by character, never changing a text's length (ß stays ß) and never turning a
// character that a Windows-1252 file can hold into one it cannot (µ stays µ).
QString maiuscole(const QString& testo);

// "" for Null, otherwise the value as the forms show it.
QString NoNull(const db::Value& valore);

// The text between double quotes, for addresses handed to the shell.
QString Virgolette(const QString& testo);

// An SQL text literal: the text between apostrophes with every apostrophe inside doubled, so that a
// typed value can neither break a statement nor change what it does.
QString Apici(const QString& testo);

// The text with every apostrophe doubled, for search criteria written around it.
QString RaddoppiaApici(const QString& testo);

// True for a character no register value may hold: a line break (CR, LF, the Unicode line and paragraph
// separators), a tab or any other control character. A pasted one would split a record of the
// communication file.
bool eControllo(QChar carattere);

// The position of the first such character, or -1.
qsizetype primoControllo(QStringView testo);

// The text with each run of control characters replaced by one blank: "ALFA\r\nSPA" gives "ALFA SPA".
QString senzaControlli(const QString& testo);

// Cleans a typed text: each run of control characters becomes one blank, the characters ( ) < > [ ] ; | ,
// and " become blanks, the text is upper-cased and accented capitals (Ç too) become plain ones. Rewrites `testo`
// and returns the result.
QString NormalizzaTesto(QString& testo);

// Upper-cases and trims `testo` in place, then returns its first `n` letters A-Z (everything else
// dropped), for default file names.
QString SoloLettere(QString& testo, int n);

// The whole part of `valore` padded on the left to `larghezza` characters: with "0" for zero or more,
// with blanks for a negative number. Rewrites `valore` as the whole number's text (empty stays empty
// and counts as 0) and a `larghezza` of 0 as 6. Nothing, with `valore` trimmed, when the value is not a
// number or does not fit the width.
std::optional<QString> ZeriSinistra(QString& valore, int& larghezza);
std::optional<QString> ZeriSinistra(QString& valore, int&& larghezza);

} // namespace ondavia
