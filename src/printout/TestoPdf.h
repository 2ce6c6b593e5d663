#pragma once

// Small helpers shared by the drawing of the card's template and of its values.

#include <QString>

#include <string>

namespace folian {
class Folian;
}

namespace ondavia::stampa {

// A text as the PDF writer takes it: Windows-1252 bytes. A character the code page lacks prints as "?",
// and control characters (a tab or a line end left in a stored value) as blanks.
std::string ansi(const QString& testo);

// Selects the card's font family at `corpo` points, bold when asked.
void carattere(folian::Folian& pdf, float corpo, bool grassetto);

// A length given in points, in the card's unit (centimetres).
float daPunti(float punti);

} // namespace ondavia::stampa
