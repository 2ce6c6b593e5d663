#pragma once

// What the print-out's tests read back from a PDF with the system's own readers.

#include "printout/SchedaSoggetto.h"

#include <QString>

#include <vector>

namespace ondavia::test {

// A word as pdftotext places it, in centimetres from the page's top-left corner.
struct Parola {
    scheda::Rettangolo box;
    QString testo;
};
std::vector<Parola> paroleDi(const QString& pdf);

// Whether `interno` lies wholly inside `esterno`, `tolleranza` allowed on every side.
bool contiene(const scheda::Rettangolo& esterno, const scheda::Rettangolo& interno, float tolleranza = 0);
// Whether the two overlap by more than an edge.
bool interseca(const scheda::Rettangolo& a, const scheda::Rettangolo& b);

} // namespace ondavia::test
