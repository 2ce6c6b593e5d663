#pragma once

#include <QString>

#include <functional>

namespace ondavia {

// Runs one step of an event handler under an error trap: a failure of any kind (ErroreEsecuzione,
// another exception, or anything thrown) is shown in a plain message box as `intestazione` followed
// by its description, and the caller goes on. No exception ever leaves a handler into Qt's event loop.
// Returns true when the step ran to its end.
bool eseguiProtetto(const QString& intestazione, const std::function<void()>& passo);

} // namespace ondavia
