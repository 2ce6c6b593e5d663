#include "F0.h"

#include "app/Dichiarazioni.h"

#include <QMdiArea>

namespace ondavia {

F0::F0(QWidget* parent) : QMainWindow(parent), m_area(new QMdiArea(this))
{
    setObjectName(QStringLiteral("F0"));
    m_area->setObjectName(QStringLiteral("areaLavoro"));
    setCentralWidget(m_area);
    setWindowTitle(QStringLiteral("Ondavia - Registro Elettronico Indirizzi ") + Release);
    resize(1200, 800);
}

} // namespace ondavia
