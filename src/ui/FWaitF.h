#pragma once

#include <QDialog>
#include <QList>
#include <QPixmap>

#include <cstdint>

class QLabel;
class QTimer;

namespace ondavia {

// The wait form: an animation of twelve frames, one every 200 ms while the form is shown, under the
// title "Elaborazione in corso...". Kept for a long operation to show, calling Update() inside its loop;
// no operation of the program shows it today.
class FWaitF : public QDialog {
public:
    explicit FWaitF(QWidget* parent = nullptr);

    // Lets the form repaint in the middle of a long loop.
    void Update();

    // One tick of Timer1: shows the current frame and moves to the next, back to 1 after 12.
    void Timer1_Timer();

    QLabel* Image1;
    QList<QPixmap> ImageList1;
    QLabel* fwSto;
    QLabel* lblTitle;
    QTimer* Timer1;

protected:
    void showEvent(QShowEvent* evento) override;
    void hideEvent(QHideEvent* evento) override;

private:
    std::int16_t m_fotogramma = 1;
};

} // namespace ondavia
