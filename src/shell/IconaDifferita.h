#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QList>
#include <QPixmap>

#include <functional>
#include <optional>

namespace ondavia {

// An icon made of one picture, as QIcon(pixmap) is, whose picture is drawn only when a window system first
// asks for it: the program's window icon, which some (X11) take when a window is made and others never show.
class IconaDifferita : public QIconEngine {
public:
    // `lati`: the sides of the picture `disegna` makes, told to whoever asks before it is drawn.
    IconaDifferita(std::function<QPixmap()> disegna, QList<QSize> lati);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    bool isNull() override { return false; }
    QIconEngine* clone() const override;

private:
    const QIcon& icona();

    std::function<QPixmap()> m_disegna;
    QList<QSize> m_lati;
    std::optional<QIcon> m_icona;
};

} // namespace ondavia
