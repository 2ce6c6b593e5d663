#include "IconaDisegnata.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

namespace ondavia {

namespace {

// The sides the toolbar and the menus show, in pixels; what a window manager that lists them is offered.
const QList<QSize> LatiConsueti{QSize(16, 16), QSize(24, 24), QSize(48, 48)};

int latoPer(const QSize& size)
{
    return qMax(0, qMin(size.width(), size.height()));
}

} // namespace

IconaDisegnata::IconaDisegnata(Disegno disegno) : m_disegno(std::move(disegno)) {}

QSize IconaDisegnata::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    const int lato = latoPer(size);
    return {lato, lato};
}

QPixmap IconaDisegnata::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    const int lato = latoPer(size);
    if (lato == 0) {
        return {};
    }
    const quint64 chiave = (static_cast<quint64>(lato) << 8) | static_cast<quint64>(mode);
    const auto trovata = m_disegnate.constFind(chiave);
    if (trovata != m_disegnate.constEnd()) {
        return *trovata;
    }
    QPixmap immagine;
    if (mode == QIcon::Normal) {
        immagine = QPixmap(lato, lato);
        immagine.fill(Qt::transparent);
        QPainter p(&immagine);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(lato / 24.0, lato / 24.0);
        m_disegno(p);
    } else {
        // Greyed (disabled) or highlighted (selected) as the style shows every other icon.
        immagine = pixmap(size, QIcon::Normal, state);
        if (const QStyle* stile = QApplication::style()) {
            QStyleOption opzioni(0);
            opzioni.palette = QGuiApplication::palette();
            const QPixmap generata = stile->generatedIconPixmap(mode, immagine, &opzioni);
            if (!generata.isNull()) {
                immagine = generata;
            }
        }
    }
    m_disegnate.insert(chiave, immagine);
    return immagine;
}

QPixmap IconaDisegnata::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    // `size` is already in device pixels; the caller sets the pixmap's density.
    Q_UNUSED(scale);
    return pixmap(size, mode, state);
}

void IconaDisegnata::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal densita = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap immagine = pixmap(rect.size() * densita, mode, state);
    immagine.setDevicePixelRatio(densita);
    const QSize lato = immagine.deviceIndependentSize().toSize();
    painter->drawPixmap(
        QRect(rect.topLeft() + QPoint((rect.width() - lato.width()) / 2, (rect.height() - lato.height()) / 2), lato),
        immagine);
}

QList<QSize> IconaDisegnata::availableSizes(QIcon::Mode, QIcon::State)
{
    return LatiConsueti;
}

QIconEngine* IconaDisegnata::clone() const
{
    return new IconaDisegnata(*this);
}

} // namespace ondavia
