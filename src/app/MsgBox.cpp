#include "MsgBox.h"

namespace ondavia {

MsgResult msgBox(const QString& testo, MsgButtons pulsanti, MsgIcon icona, const QString& titolo,
                 int pulsantePredefinito)
{
    MessageRequest request;
    request.text = testo;
    request.title = titolo;
    request.icon = icona;
    request.buttons = pulsanti;
    request.defaultButton = pulsantePredefinito;
    return platform().messageBox(request);
}

} // namespace ondavia
