#pragma once

#include <QHash>
#include <QIconEngine>

#include <functional>

class QPainter;

namespace ondavia {

// An icon that draws its picture only when a size of it is first asked for, and keeps what it drew: a
// window full of commands costs nothing until their icons are shown. The picture is drawn on a 24 by 24
// grid, scaled to the pixels asked; a disabled or selected icon is the style's version of the normal one.
class IconaDisegnata : public QIconEngine {
public:
    using Disegno = std::function<void(QPainter&)>;

    explicit IconaDisegnata(Disegno disegno);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    bool isNull() override { return false; }
    QIconEngine* clone() const override;

private:
    Disegno m_disegno;
    QHash<quint64, QPixmap> m_disegnate; // by side and mode
};

} // namespace ondavia
