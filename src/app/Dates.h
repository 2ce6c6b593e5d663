#pragma once

#include <QDate>
#include <QString>

namespace ondavia {

// Sets Oggi and OggiTesto (ddmmyyyy) from today's date; both keep the launch date for the whole run.
void InizializzaDate(const QDate& oggi = QDate::currentDate());

} // namespace ondavia
