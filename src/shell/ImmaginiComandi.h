#pragma once

#include <QIcon>
#include <QList>

namespace ondavia {

// The command icons, one per command id, drawn by the program itself at the size each is shown at (24 by 24
// pixels in the toolbar, twice that on high-density screens), when it is first shown.
class ImmaginiComandi {
public:
    // The icon registered under an id; a null icon for an id that has none.
    QIcon icona(int id) const;
};

} // namespace ondavia
