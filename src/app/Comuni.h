#pragma once

#include <QString>

#include <optional>

namespace ondavia {

// A municipality of today (a row of T_COMUNI): its name and its province.
struct Comune {
    QString nome;
    QString provincia;
};

// The searches below run on rsComuni, which they load with CaricaComuni the first time; they leave it on
// the row found. Each returns false, with the reason in `errore`, only when the table cannot be loaded or
// searched; "not found" is an empty `trovato`.

// The municipality called `nome` (letter case ignored). Several provinces can have a municipality of the
// same name: the one of `provincia` is chosen when it is among them, else the first in alphabetical order.
bool cercaComune(const QString& nome, const QString& provincia, std::optional<Comune>* trovato,
                 QString* errore = nullptr);

// The first municipality, in alphabetical order, whose name begins with `prefisso` (letter case ignored).
// A prefix holding a wildcard of the searches ("%" or "*") matches nothing: no name holds one.
bool completaComune(const QString& prefisso, std::optional<Comune>* trovato, QString* errore = nullptr);

// A name as the municipality table writes it when it was typed with accents: a vowel with an accent that
// ends a word is the plain vowel and an apostrophe (CANTÙ is written CANTU'). Every other character stays.
QString apostrofiPerAccenti(const QString& nome);

} // namespace ondavia
