#include "Dates.h"

#include "Dichiarazioni.h"

namespace ondavia {

void InizializzaDate(const QDate& oggi)
{
    Oggi = oggi;
    OggiTesto = oggi.toString(QStringLiteral("ddMMyyyy"));
}

} // namespace ondavia
