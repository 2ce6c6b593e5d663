#pragma once

#include <QString>

#include <cstdint>

namespace ondavia {

// The PDF writer records its failures by number, in its own words; the operator reads these instead.

// Why a document (the card, or the template page) could not be written at `percorso`, from the writer's
// error number: a sentence naming what the operator can do about it.
QString motivoScrittura(int32_t numero, const QString& percorso);

// Why the template page could not be read, from the error number of the writer's import.
QString motivoModello(int32_t numero);

} // namespace ondavia
