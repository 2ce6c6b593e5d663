#pragma once

#include "app/Dichiarazioni.h"

#include <QObject>
#include <QPointer>

#include <QLineEdit>

namespace ondavia {

// The dynamic property that holds a control's tag: the text a wrapped text box shows as its tool tip.
inline constexpr char ProprietaTag[] = "tag";

// One wrapped text box. While the wrapper lives, the box takes the focus colour when it gets the focus,
// the plain colour when it loses it (its text then trimmed, upper-cased and cleaned with NormalizzaTesto),
// and shows its tag as tool tip when the mouse moves over it. The wrapper sees the box's events before
// the box itself does, so a form reacting to the box's focus loss reads the cleaned text.
class CControl : public QObject {
public:
    CControl() = default;
    ~CControl() override;
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    // Binds the wrapper to `controllo` and returns true when it is a text box; false for any other control.
    bool SetVbControl(QWidget* controllo);
    static void ShowToolTips(QWidget* controllo, const QString& testo);
    // ColoreFuoco with the focus, ColoreBianco without.
    static Colore ColoreSfondo(bool fuoco);

    // The text a wrapped box shows once left holding `testo`: trimmed, upper-cased and cleaned with
    // NormalizzaTesto.
    static QString testoLasciato(const QString& testo);

    // A text box of a form: a line edit that is not the editor inside a combo or spin box.
    static bool eCasellaDiTesto(const QWidget* controllo);

    QLineEdit* casella() const { return ctTextBox; }

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void ctTextBox_GotFocus();
    void ctTextBox_LostFocus();
    void ctTextBox_MouseMove();

    QPointer<QLineEdit> ctTextBox;
    QMetaObject::Connection m_fuocoAltrove;
};

// Gives a control the background colour `colore`, leaving its text colour alone.
void impostaSfondo(QWidget* controllo, Colore colore);

} // namespace ondavia
