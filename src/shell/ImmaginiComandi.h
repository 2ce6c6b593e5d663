#pragma once

#include <QIcon>
#include <QList>

namespace ondavia {

// The command icons, one per command id, drawn by the program itself at 24 by 24 pixels (and at twice
// that for high-density screens).
class ImmaginiComandi {
public:
    // The icon registered under an id; a null icon for an id that has none.
    QIcon icona(int id) const;
};

} // namespace ondavia
