#include "EventiCampo.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

namespace ondavia {

namespace {

constexpr char kNome[] = "EventiCampo";

} // namespace

EventiCampo::EventiCampo(QWidget* controllo) : QObject(controllo)
{
    setObjectName(QLatin1String(kNome));
    controllo->installEventFilter(this);
}

EventiCampo* EventiCampo::di(QWidget* controllo)
{
    if (auto* esistenti = controllo->findChild<EventiCampo*>(QLatin1String(kNome), Qt::FindDirectChildrenOnly)) {
        return esistenti;
    }
    return new EventiCampo(controllo);
}

void EventiCampo::rimuovi(QWidget* contenitore)
{
    qDeleteAll(contenitore->findChildren<QObject*>(QLatin1String(kNome)));
}

bool EventiCampo::eUscita(const QFocusEvent& evento)
{
    return evento.reason() != Qt::ActiveWindowFocusReason && evento.reason() != Qt::PopupFocusReason;
}

bool EventiCampo::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (oggetto != parent()) {
        return false;
    }
    switch (evento->type()) {
    case QEvent::FocusOut:
        // A control that went out of sight with its tab or frame was not left by the operator.
        if (uscita && eUscita(*static_cast<QFocusEvent*>(evento)) && static_cast<QWidget*>(oggetto)->isVisible()) {
            uscita();
        }
        break;
    case QEvent::KeyPress:
        if (tastoPremuto) {
            tastoPremuto(*static_cast<QKeyEvent*>(evento));
        }
        break;
    case QEvent::KeyRelease:
        if (tastoRilasciato) {
            tastoRilasciato(*static_cast<QKeyEvent*>(evento));
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (doppioClic) {
            doppioClic();
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace ondavia
