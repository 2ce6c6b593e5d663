#pragma once

#include <QIcon>
#include <QPixmap>

namespace ondavia {

// The program's own pictures, drawn at run time so that they follow the screen's density and the
// fonts installed.

// The program's emblem, a square of the given side in pixels.
QPixmap logoOndavia(int lato);

// The program's window icon: the emblem at 64 pixels, drawn when a window system first asks for it.
QIcon iconaOndavia();

// The welcome banner of the splash form.
QPixmap immagineBenvenuto();

// The explanation of the register's three sections ("ANAGRAFE RAPPORTI", "MONITORAGGIO FISCALE",
// "FACTA/CRS"), with the hint that a click opens the agency's questions and answers.
QPixmap immagineSezioniRei();

} // namespace ondavia
