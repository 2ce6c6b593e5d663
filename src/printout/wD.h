#pragma once

#include "SchedaSoggetto.h"

#include <QDate>

#include <string>
#include <vector>

namespace folian {
class Folian;
}

namespace ondavia {

class DatiScheda;

// Draws the subject's values over the card on the open page of `pdf` (unit centimetres, no margins): every
// field inside its cell, a cross in every box whose field holds the box's value, and the print date after
// its caption in the footer.
void wD(folian::Folian& pdf, const DatiScheda& dati, const QDate& dataStampa);

// A value laid out for its area: the size chosen and its lines, Windows-1252 bytes.
struct TestoAdattato {
    float corpo = 0;
    std::vector<std::string> righe;
    bool tagliato = false; // the text did not fit even at the smallest size and ends with "…"
};

// Lays `testo` out in `area`: at the largest size from `corpoMassimo` down to the card's smallest at which
// its lines fit, broken at blanks (a word wider than the area is broken where it reaches the edge, after
// "@", ".", "-", "_" or "/" when one is near). What fits in no size is cut, and its last line ends with "…".
// Leaves that size selected.
TestoAdattato adattaTesto(folian::Folian& pdf, const std::string& testo, const scheda::Rettangolo& area,
                          float corpoMassimo, bool grassetto);

} // namespace ondavia
