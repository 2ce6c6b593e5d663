#pragma once

#include <QString>

#include <optional>

namespace ondavia {

// Whether another program holds the file: false when it can be opened and locked exclusively, true when
// another program holds a lock on it or access is refused, nothing when it is missing or cannot be
// opened for any other reason (callers read nothing as false).
// Only programs that lock the files they open can be seen; many viewers on Linux take no lock.
std::optional<bool> FileInUso(const QString& percorso);

} // namespace ondavia
