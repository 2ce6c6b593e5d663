// The register form's outputs: the communication file and the print-out of the subject on screen.

#include "F1OP.h"

#include "app/ErroreEsecuzione.h"

namespace ondavia {

void F1OP::CreaComunicazione()
{
    throw ErroreEsecuzione(QStringLiteral("La creazione della comunicazione non è ancora disponibile."));
}

void F1OP::STAMPA()
{
    throw ErroreEsecuzione(QStringLiteral("La stampa del soggetto non è ancora disponibile."));
}

} // namespace ondavia
