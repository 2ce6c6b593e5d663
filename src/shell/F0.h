#pragma once

#include <QMainWindow>

class QMdiArea;

namespace ondavia {

// The main window: the register and the other forms open inside its work area.
class F0 : public QMainWindow {
public:
    explicit F0(QWidget* parent = nullptr);

    QMdiArea* areaLavoro() const { return m_area; }

private:
    QMdiArea* m_area;
};

} // namespace ondavia
