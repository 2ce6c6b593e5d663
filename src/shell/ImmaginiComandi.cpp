#include "ImmaginiComandi.h"

#include "IconaDisegnata.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>
#include <map>

namespace ondavia {

namespace {

// Every picture is drawn on a 24 x 24 grid; the painter is scaled for other sizes.
using Disegno = IconaDisegnata::Disegno;

const QColor Blu(0x1f, 0x5f, 0xa8);
const QColor Verde(0x2e, 0x8b, 0x3a);
const QColor Rosso(0xc6, 0x28, 0x28);
const QColor Arancio(0xe0, 0x7b, 0x00);
const QColor Grigio(0x55, 0x5d, 0x66);
const QColor Carta(0xfb, 0xfb, 0xf8);

void foglio(QPainter& p, const QRectF& r, bool righe = true)
{
    const qreal piega = 5;
    QPainterPath sagoma;
    sagoma.moveTo(r.topLeft());
    sagoma.lineTo(r.right() - piega, r.top());
    sagoma.lineTo(r.right(), r.top() + piega);
    sagoma.lineTo(r.bottomRight());
    sagoma.lineTo(r.bottomLeft());
    sagoma.closeSubpath();
    p.setPen(QPen(Grigio, 1.2));
    p.setBrush(Carta);
    p.drawPath(sagoma);
    p.drawLine(QPointF(r.right() - piega, r.top()), QPointF(r.right() - piega, r.top() + piega));
    p.drawLine(QPointF(r.right() - piega, r.top() + piega), QPointF(r.right(), r.top() + piega));
    if (righe) {
        p.setPen(QPen(QColor(0x9a, 0xa4, 0xae), 1.2));
        for (qreal y = r.top() + 8; y < r.bottom() - 2; y += 3) {
            p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
        }
    }
}

void cerchio(QPainter& p, const QPointF& centro, qreal raggio, const QColor& colore)
{
    p.setPen(QPen(colore.darker(130), 1));
    p.setBrush(colore);
    p.drawEllipse(centro, raggio, raggio);
}

void segno(QPainter& p, const QList<QPointF>& punti, qreal spessore = 2.4, const QColor& colore = Qt::white)
{
    p.setPen(QPen(colore, spessore, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(punti.constData(), static_cast<int>(punti.size()));
}

void spunta(QPainter& p, const QPointF& c, qreal r)
{
    cerchio(p, c, r, Verde);
    segno(p, {c + QPointF(-r * 0.5, 0), c + QPointF(-r * 0.1, r * 0.4), c + QPointF(r * 0.55, -r * 0.45)});
}

void piu(QPainter& p, const QPointF& c, qreal r)
{
    cerchio(p, c, r, Verde);
    segno(p, {c + QPointF(-r * 0.55, 0), c + QPointF(r * 0.55, 0)});
    segno(p, {c + QPointF(0, -r * 0.55), c + QPointF(0, r * 0.55)});
}

void croce(QPainter& p, const QPointF& c, qreal r)
{
    cerchio(p, c, r, Rosso);
    segno(p, {c + QPointF(-r * 0.45, -r * 0.45), c + QPointF(r * 0.45, r * 0.45)});
    segno(p, {c + QPointF(r * 0.45, -r * 0.45), c + QPointF(-r * 0.45, r * 0.45)});
}

void freccia(QPainter& p, const QPointF& da, const QPointF& a, const QColor& colore)
{
    p.setPen(QPen(colore, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(da, a);
    const QPointF d = a - da;
    const qreal l = std::hypot(d.x(), d.y());
    const QPointF u = d / l;
    const QPointF n(-u.y(), u.x());
    segno(p, {a - u * 4.5 + n * 4, a, a - u * 4.5 - n * 4}, 2.6, colore);
}

void globo(QPainter& p, const QPointF& c, qreal r)
{
    cerchio(p, c, r, Blu);
    p.setPen(QPen(QColor(0xd6, 0xe6, 0xf7), 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(c - QPointF(r, 0), c + QPointF(r, 0));
    p.drawLine(c - QPointF(0, r), c + QPointF(0, r));
    p.drawLine(c + QPointF(-r * 0.85, -r * 0.5), c + QPointF(r * 0.85, -r * 0.5));
    p.drawLine(c + QPointF(-r * 0.85, r * 0.5), c + QPointF(r * 0.85, r * 0.5));
}

void schermo(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(Grigio, 1.2));
    p.setBrush(QColor(0x2b, 0x33, 0x3b));
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setBrush(QColor(0x6f, 0xb3, 0xe8));
    p.setPen(Qt::NoPen);
    p.drawRect(r.adjusted(1.5, 1.5, -1.5, -1.5));
    p.setPen(QPen(Grigio, 1.6));
    p.drawLine(QPointF(r.center().x(), r.bottom()), QPointF(r.center().x(), r.bottom() + 2.5));
    p.drawLine(QPointF(r.center().x() - 3, r.bottom() + 2.5), QPointF(r.center().x() + 3, r.bottom() + 2.5));
}

const std::map<int, Disegno>& disegni()
{
    static const std::map<int, Disegno> tabella{
        {700,
         [](QPainter& p) {
             spunta(p, {12, 12}, 10);
         }},
        {701,
         [](QPainter& p) {
             foglio(p, {3, 2, 14, 18});
             piu(p, {17, 17}, 6);
         }},
        {702,
         [](QPainter& p) {
             croce(p, {12, 12}, 10);
         }},
        {704,
         [](QPainter& p) {
             foglio(p, {6, 2, 12, 8}, false);
             p.setPen(QPen(Grigio, 1.2));
             p.setBrush(QColor(0x8a, 0x94, 0x9e));
             p.drawRoundedRect(QRectF(2, 9, 20, 9), 2, 2);
             p.setBrush(Carta);
             p.drawRect(QRectF(6, 15, 12, 7));
             p.setBrush(Verde);
             p.setPen(Qt::NoPen);
             p.drawEllipse(QPointF(18.5, 12), 1.2, 1.2);
         }},
        {706,
         [](QPainter& p) {
             p.setPen(QPen(Blu.darker(130), 1.2));
             p.setBrush(Blu);
             p.drawRoundedRect(QRectF(4, 2, 16, 20), 2, 2);
             p.setBrush(Carta);
             p.drawRect(QRectF(7, 4, 11, 16));
             p.setPen(QPen(Blu, 2.2, Qt::SolidLine, Qt::RoundCap));
             QFont f = p.font();
             f.setPixelSize(13);
             f.setBold(true);
             p.setFont(f);
             p.drawText(QRectF(7, 4, 11, 16), Qt::AlignCenter, QStringLiteral("?"));
         }},
        {708,
         [](QPainter& p) {
             p.setPen(QPen(Rosso, 2.8, Qt::SolidLine, Qt::RoundCap));
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(4, 5, 16, 16), 125 * 16, -250 * 16);
             p.drawLine(QPointF(12, 2.5), QPointF(12, 11));
         }},
        {712,
         [](QPainter& p) {
             cerchio(p, {12, 12}, 10, Blu);
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::white);
             p.drawEllipse(QPointF(12, 7), 1.8, 1.8);
             p.drawRoundedRect(QRectF(10.4, 10, 3.2, 8.5), 1, 1);
         }},
        {713,
         [](QPainter& p) {
             p.setPen(QPen(Grigio, 1.2));
             p.setBrush(Carta);
             p.drawRect(QRectF(2, 5, 20, 14));
             segno(p, {{2.5, 5.5}, {12, 13}, {21.5, 5.5}}, 1.4, Grigio);
             cerchio(p, {18, 17}, 5, Arancio);
             QFont f = p.font();
             f.setPixelSize(8);
             f.setBold(true);
             p.setFont(f);
             p.setPen(Qt::white);
             p.drawText(QRectF(13, 12, 10, 10), Qt::AlignCenter, QStringLiteral("?"));
         }},
        {718,
         [](QPainter& p) {
             foglio(p, {2, 2, 13, 16});
             foglio(p, {9, 6, 13, 16});
         }},
        {721,
         [](QPainter& p) {
             p.setPen(QPen(Blu.darker(140), 1.2));
             p.setBrush(Blu);
             p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
             p.setBrush(Carta);
             p.drawRect(QRectF(6, 3, 12, 7));
             p.setBrush(QColor(0xd0, 0xd6, 0xdc));
             p.drawRect(QRectF(7, 13, 10, 8));
             p.setBrush(Blu.darker(140));
             p.drawRect(QRectF(14, 4.5, 2.5, 4));
         }},
        {722,
         [](QPainter& p) {
             p.setPen(QPen(Verde, 2.8, Qt::SolidLine, Qt::RoundCap));
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(4, 4, 16, 16), 90 * 16, 270 * 16);
             segno(p, {{8.5, 1.5}, {12, 4}, {8.5, 7.5}}, 2.6, Verde);
         }},
        {726,
         [](QPainter& p) {
             globo(p, {10, 10}, 8);
             cerchio(p, {17.5, 17.5}, 5.5, Arancio);
             segno(p, {{17.5, 14.5}, {17.5, 20.5}}, 2);
             segno(p, {{15, 18}, {17.5, 20.5}, {20, 18}}, 2);
         }},
        {727,
         [](QPainter& p) {
             schermo(p, {1, 3, 12, 9});
             schermo(p, {11, 10, 12, 9});
             freccia(p, {6, 17}, {9, 20.5}, Arancio);
         }},
        {821,
         [](QPainter& p) {
             foglio(p, {2, 2, 14, 19});
             freccia(p, {11, 16}, {22, 16}, Arancio);
         }},
        {7061,
         [](QPainter& p) {
             foglio(p, {3, 2, 14, 18});
             spunta(p, {17, 17}, 6);
         }},
        {7062,
         [](QPainter& p) {
             globo(p, {12, 12}, 10);
         }},
    };
    return tabella;
}

} // namespace

QIcon ImmaginiComandi::icona(int id) const
{
    const auto trovato = disegni().find(id);
    if (trovato == disegni().end()) {
        return {};
    }
    return QIcon(new IconaDisegnata(trovato->second));
}

} // namespace ondavia
