#include "IconaDifferita.h"

namespace ondavia {

IconaDifferita::IconaDifferita(std::function<QPixmap()> disegna, QList<QSize> lati)
    : m_disegna(std::move(disegna)), m_lati(std::move(lati))
{
}

const QIcon& IconaDifferita::icona()
{
    if (!m_icona) {
        m_icona = QIcon(m_disegna());
    }
    return *m_icona;
}

void IconaDifferita::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    icona().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QSize IconaDifferita::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return icona().actualSize(size, mode, state);
}

QPixmap IconaDifferita::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return icona().pixmap(size, mode, state);
}

QPixmap IconaDifferita::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    // `size` is already in device pixels; the caller sets the pixmap's density.
    Q_UNUSED(scale);
    return icona().pixmap(size, mode, state);
}

QList<QSize> IconaDifferita::availableSizes(QIcon::Mode, QIcon::State)
{
    return m_lati;
}

QIconEngine* IconaDifferita::clone() const
{
    return new IconaDifferita(*this);
}

} // namespace ondavia
