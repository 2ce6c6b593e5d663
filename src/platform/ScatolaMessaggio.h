#pragma once

#include <QMessageBox>

namespace ondavia {

// Qt's message box, wide enough for its whole title. Qt sizes a box by its text and leaves the title only a
// little room beside it, so that a window manager with an icon and three buttons in the title bar cuts a
// title longer than the text ("Controllo…ocumento"). The text itself Qt wraps, anywhere when it must.
class ScatolaMessaggio : public QMessageBox {
public:
    explicit ScatolaMessaggio(QWidget* parent = nullptr);

    // The width that shows the whole title beside the title bar's icon and buttons, within the screen.
    int larghezzaPerTitolo() const;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace ondavia
