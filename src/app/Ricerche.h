#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace ondavia {

// Look-ups on the shared connection Conn; each builds its statement in the shared SQL text.

// The description (at most 50 characters) of the coded-list row `tipo`/`codice` of CTAB, "" when there is
// no such row; nothing, with the reason in `errore`, when the table cannot be read.
std::optional<QString> DecodificaTabella(const QString& tipo, const QString& codice, QString* errore = nullptr);

// The number of rows of `tabella`, only those of the subject `codice` (OCOD) when it is not empty.
// 0 when the count cannot be made (a missing table, a closed connection). Kept with the other look-ups,
// though no part of the program counts rows this way today.
std::int32_t ContaRecord(const QString& tabella, const QString& codice);

} // namespace ondavia
