#include "ImmagineCliccabile.h"

#include <QMouseEvent>

namespace ondavia {

ImmagineCliccabile::ImmagineCliccabile(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ImmagineCliccabile::mouseReleaseEvent(QMouseEvent* evento)
{
    QLabel::mouseReleaseEvent(evento);
    if (evento->button() == Qt::LeftButton && rect().contains(evento->position().toPoint()) && m_azione) {
        m_azione();
    }
}

} // namespace ondavia
