#include "FiltroControlli.h"

#include "app/Testi.h"

#include <algorithm>

namespace ondavia {

QValidator::State FiltroControlli::validate(QString& testo, int& posizione) const
{
    if (primoControllo(testo) < 0) {
        return Acceptable;
    }
    // The caret stays after the same characters it followed.
    const qsizetype prima = std::clamp<qsizetype>(posizione, 0, testo.size());
    const QString davanti = senzaControlli(testo.left(prima));
    const QString pulito = senzaControlli(testo);
    posizione = static_cast<int>(std::min(davanti.size(), pulito.size()));
    testo = pulito;
    return Acceptable;
}

} // namespace ondavia
