#include "GestoreProtetto.h"

#include "app/ErroreEsecuzione.h"
#include "app/MsgBox.h"

#include <exception>

namespace ondavia {

namespace {

void segnala(const QString& testo)
{
    // The report itself must not fail the handler a second time.
    try {
        msgBox(testo);
    } catch (...) {
    }
}

} // namespace

bool eseguiProtetto(const QString& intestazione, const std::function<void()>& passo)
{
    try {
        passo();
        return true;
    } catch (const ErroreEsecuzione& errore) {
        segnala(intestazione + errore.descrizione());
    } catch (const std::exception& errore) {
        segnala(intestazione + QString::fromLocal8Bit(errore.what()));
    } catch (...) {
        segnala(intestazione + QStringLiteral("errore non previsto"));
    }
    return false;
}

} // namespace ondavia
