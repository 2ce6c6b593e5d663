#include "ScatolaMessaggio.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

namespace ondavia {

ScatolaMessaggio::ScatolaMessaggio(QWidget* parent) : QMessageBox(parent)
{
    setObjectName(QStringLiteral("scatolaMessaggio"));
}

int ScatolaMessaggio::larghezzaPerTitolo() const
{
    // Title bars commonly show their text in bold; the icon and the three buttons are about as wide as the
    // bar is high, each, and the frame takes the rest of a fifth.
    QFont carattere = QApplication::font("QMdiSubWindowTitleBar");
    carattere.setBold(true);
    const int barra =
        qMax(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this), QFontMetrics(carattere).height() + 8);
    int larghezza = QFontMetrics(carattere).horizontalAdvance(windowTitle()) + 5 * barra;
    if (const QScreen* schermo = screen()) {
        larghezza = qMin(larghezza, schermo->availableGeometry().width());
    }
    return larghezza;
}

void ScatolaMessaggio::showEvent(QShowEvent* event)
{
    // Qt fixes the box's size as it is shown; it is only widened, the text keeping the lines Qt gave it.
    QMessageBox::showEvent(event);
    const int larghezza = larghezzaPerTitolo();
    if (width() < larghezza) {
        setFixedWidth(larghezza);
    }
}

} // namespace ondavia
