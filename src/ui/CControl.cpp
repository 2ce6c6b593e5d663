#include "CControl.h"

#include "Controlli.h"
#include "EventiCampo.h"
#include "app/Testi.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>

namespace ondavia {

void impostaSfondo(QWidget* controllo, Colore colore)
{
    QPalette tavolozza = controllo->palette();
    for (const auto gruppo : {QPalette::Active, QPalette::Inactive}) {
        tavolozza.setColor(gruppo, QPalette::Base, coloreQt(colore));
    }
    controllo->setPalette(tavolozza);
}

CControl::~CControl()
{
    if (ctTextBox) {
        ctTextBox->removeEventFilter(this);
    }
}

bool CControl::eCasellaDiTesto(const QWidget* controllo)
{
    if (!qobject_cast<const QLineEdit*>(controllo)) {
        return false;
    }
    const QWidget* contenitore = controllo->parentWidget();
    return !qobject_cast<const QComboBox*>(contenitore) && !qobject_cast<const QAbstractSpinBox*>(contenitore);
}

bool CControl::SetVbControl(QWidget* controllo)
{
    if (!eCasellaDiTesto(controllo)) {
        return false;
    }
    if (ctTextBox) {
        ctTextBox->removeEventFilter(this);
    }
    ctTextBox = static_cast<QLineEdit*>(controllo);
    // Without tracking a line edit hears of the mouse only while a button is held.
    ctTextBox->setMouseTracking(true);
    ctTextBox->installEventFilter(this);
    // A box may lose the focus unheard: moved by code while a message box held the activation, it reaches another
    // control when the window is activated again. Whatever control of its window has the focus, no other wears
    // its colour.
    disconnect(m_fuocoAltrove);
    m_fuocoAltrove = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* ora) {
        if (ctTextBox && ora && ora != ctTextBox && ora->window() == ctTextBox->window() &&
            ctTextBox->palette().color(QPalette::Active, QPalette::Base) == coloreQt(ColoreSfondo(true))) {
            impostaSfondo(ctTextBox, ColoreSfondo(false));
        }
    });
    return true;
}

void CControl::ShowToolTips(QWidget* controllo, const QString& testo)
{
    controllo->setToolTip(testo);
}

Colore CControl::ColoreSfondo(bool fuoco)
{
    return fuoco ? ColoreFuoco : ColoreBianco;
}

bool CControl::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (oggetto == ctTextBox) {
        switch (evento->type()) {
        case QEvent::FocusIn:
            ctTextBox_GotFocus();
            break;
        case QEvent::FocusOut:
            if (EventiCampo::eUscita(*static_cast<QFocusEvent*>(evento))) {
                ctTextBox_LostFocus();
            }
            break;
        case QEvent::MouseMove:
        case QEvent::Enter:
            ctTextBox_MouseMove();
            break;
        default:
            break;
        }
    }
    return false;
}

void CControl::ctTextBox_GotFocus()
{
    impostaSfondo(ctTextBox, ColoreSfondo(true));
}

QString CControl::testoLasciato(const QString& testo)
{
    QString pulito = senzaSpazi(maiuscole(testo));
    NormalizzaTesto(pulito);
    return pulito;
}

void CControl::ctTextBox_LostFocus()
{
    impostaSfondo(ctTextBox, ColoreSfondo(false));
    const QString testo = testoLasciato(ctTextBox->text());
    if (testo != ctTextBox->text()) {
        ctTextBox->setText(testo);
    }
}

void CControl::ctTextBox_MouseMove()
{
    ShowToolTips(ctTextBox, ctTextBox->property(ProprietaTag).toString());
}

} // namespace ondavia
