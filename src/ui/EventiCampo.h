#pragma once

#include <QObject>

#include <functional>

class QFocusEvent;
class QKeyEvent;
class QWidget;

namespace ondavia {

// Hands the events of one control that a form reacts to over to the form's handlers: the focus leaving
// it (LostFocus), a key pressed (KeyDown) or released (KeyUp) in it, a double click (DblClick). Installed
// when the form is built, before the focus wrapper CControl, it hears of each event after the wrapper: a
// form reading the text of a box it left reads the cleaned text.
class EventiCampo : public QObject {
public:
    // The control's handlers, made on first use and owned by the control.
    static EventiCampo* di(QWidget* controllo);
    // Drops the handlers of every control inside `contenitore`: a form taken down calls them no more.
    static void rimuovi(QWidget* contenitore);

    // Not called when the control loses the focus because it went out of sight (its tab put behind, its
    // frame hidden): the operator did not leave it.
    std::function<void()> uscita;
    // A key pressed, before the control itself handles it.
    std::function<void(const QKeyEvent&)> tastoPremuto;
    std::function<void(const QKeyEvent&)> tastoRilasciato;
    // A double click handled here is not seen by the control itself.
    std::function<void()> doppioClic;

    // True when a focus loss leaves the control: not when another window takes the activation (a message
    // box, a menu) and the control stays its window's focus.
    static bool eUscita(const QFocusEvent& evento);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    explicit EventiCampo(QWidget* controllo);
};

} // namespace ondavia
