#pragma once

#include "platform/Platform.h"

namespace ondavia {

// Shows a message box through the platform in use and returns the user's answer.
// Without a title the box carries the program's name.
MsgResult msgBox(const QString& testo, MsgButtons pulsanti = MsgButtons::Ok, MsgIcon icona = MsgIcon::None,
                 const QString& titolo = {}, int pulsantePredefinito = 1);

} // namespace ondavia
