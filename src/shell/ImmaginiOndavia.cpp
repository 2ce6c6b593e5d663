#include "ImmaginiOndavia.h"

#include "IconaDifferita.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ondavia {

namespace {

const QColor BluScuro(0x0d, 0x3b, 0x66);
const QColor BluMedio(0x1f, 0x5f, 0xa8);
const QColor Azzurro(0x6f, 0xb3, 0xe8);

QFont carattere(int pixel, bool grassetto = false)
{
    QFont f(QStringLiteral("Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixel);
    f.setBold(grassetto);
    return f;
}

// Three waves across a rectangle: the emblem of the program's name.
void onde(QPainter& p, const QRectF& r, const QColor& colore, qreal spessore)
{
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        const qreal y = r.top() + r.height() * (0.3 + 0.22 * i);
        const qreal a = r.height() * 0.1;
        QPainterPath onda;
        onda.moveTo(r.left(), y);
        const qreal passo = r.width() / 4;
        for (int k = 0; k < 4; ++k) {
            const qreal x = r.left() + passo * k;
            onda.cubicTo(x + passo * 0.3, y - a, x + passo * 0.7, y + a, x + passo, y);
        }
        QColor c = colore;
        c.setAlphaF(1.0 - 0.25 * i);
        p.setPen(QPen(c, spessore, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(onda);
    }
}

QPixmap tela(int larghezza, int altezza)
{
    QPixmap immagine(larghezza, altezza);
    immagine.fill(Qt::transparent);
    return immagine;
}

} // namespace

QPixmap logoOndavia(int lato)
{
    QPixmap immagine = tela(lato, lato);
    QPainter p(&immagine);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, lato - 1.0, lato - 1.0);
    QLinearGradient sfondo(r.topLeft(), r.bottomRight());
    sfondo.setColorAt(0, BluMedio);
    sfondo.setColorAt(1, BluScuro);
    p.setPen(Qt::NoPen);
    p.setBrush(sfondo);
    p.drawRoundedRect(r, lato * 0.2, lato * 0.2);
    onde(p, r.adjusted(lato * 0.15, lato * 0.1, -lato * 0.15, -lato * 0.1), Qt::white, qMax(1.5, lato / 16.0));
    return immagine;
}

QIcon iconaOndavia()
{
    return QIcon(new IconaDifferita([] { return logoOndavia(64); }, {QSize(64, 64)}));
}

QPixmap immagineBenvenuto()
{
    const int larghezza = 560;
    const int altezza = 220;
    QPixmap immagine = tela(larghezza, altezza);
    QPainter p(&immagine);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sfondo(0, 0, larghezza, altezza);
    sfondo.setColorAt(0, BluScuro);
    sfondo.setColorAt(1, BluMedio);
    p.fillRect(immagine.rect(), sfondo);
    onde(p, QRectF(0, altezza * 0.56, larghezza, altezza * 0.5), Azzurro, 3);

    p.setPen(Qt::white);
    p.setFont(carattere(54, true));
    p.drawText(QRectF(32, 24, larghezza - 64, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Ondavia"));
    p.setFont(carattere(19));
    p.drawText(QRectF(34, 94, larghezza - 64, 28), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Registro Elettronico degli Indirizzi"));
    p.setFont(carattere(13));
    p.setPen(QColor(0xd6, 0xe6, 0xf7));
    p.drawText(QRectF(34, 122, larghezza - 64, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Comunicazioni degli operatori finanziari all'Agenzia delle Entrate"));
    return immagine;
}

QPixmap immagineSezioniRei()
{
    struct Sezione {
        QString nome;
        QString spiegazione;
        QColor colore;
    };
    const Sezione sezioni[] = {
        {QStringLiteral("ANAGRAFE RAPPORTI"),
         QStringLiteral("Da spuntare se il soggetto è tenuto alle comunicazioni all'Archivio dei rapporti "
                        "finanziari dell'Anagrafe tributaria (art. 7, commi 6 e 11, D.P.R. 605/1973): "
                        "rapporti e operazioni finanziarie dei clienti."),
         QColor(0x1f, 0x5f, 0xa8)},
        {QStringLiteral("MONITORAGGIO FISCALE"),
         QStringLiteral("Da spuntare se il soggetto è tenuto alle comunicazioni di monitoraggio fiscale dei "
                        "trasferimenti di denaro e valori da e verso l'estero (D.L. 167/1990)."),
         QColor(0x2e, 0x8b, 0x3a)},
        {QStringLiteral("FACTA/CRS"),
         QStringLiteral("Da spuntare se il soggetto è un'istituzione finanziaria tenuta alle comunicazioni per "
                        "lo scambio automatico di informazioni sui conti finanziari: FATCA (accordo tra Italia e "
                        "Stati Uniti) e CRS (standard comune OCSE), legge 95/2015."),
         QColor(0xb8, 0x5c, 0x00)},
    };

    const int larghezza = 760;
    const int altezza = 580;
    QPixmap immagine = tela(larghezza, altezza);
    QPainter p(&immagine);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(immagine.rect(), QColor(0xf7, 0xf9, 0xfc));

    p.fillRect(QRectF(0, 0, larghezza, 64), BluScuro);
    p.drawPixmap(18, 12, logoOndavia(40));
    p.setPen(Qt::white);
    p.setFont(carattere(22, true));
    p.drawText(QRectF(72, 0, larghezza - 90, 64), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Motivi della comunicazione: le sezioni del REI"));

    p.setPen(QColor(0x22, 0x2b, 0x33));
    p.setFont(carattere(15));
    p.drawText(QRectF(24, 78, larghezza - 48, 66), Qt::TextWordWrap,
               QStringLiteral("Il Registro Elettronico degli Indirizzi raccoglie gli indirizzi di posta elettronica "
                              "certificata (PEC) a cui l'Agenzia delle Entrate invia agli operatori finanziari "
                              "richieste e comunicazioni. Per ogni soggetto si spuntano le sezioni per cui "
                              "l'indirizzo vale: una, due o tutte e tre."));

    qreal y = 152;
    for (const Sezione& sezione : sezioni) {
        const QRectF riquadro(24, y, larghezza - 48, 116);
        p.setPen(QPen(sezione.colore, 1.5));
        p.setBrush(Qt::white);
        p.drawRoundedRect(riquadro, 8, 8);
        p.setPen(Qt::NoPen);
        p.setBrush(sezione.colore);
        p.drawRoundedRect(QRectF(riquadro.left(), riquadro.top(), 10, riquadro.height()), 4, 4);

        p.setPen(sezione.colore);
        p.setFont(carattere(18, true));
        p.drawText(QRectF(riquadro.left() + 26, riquadro.top() + 10, riquadro.width() - 40, 26),
                   Qt::AlignLeft | Qt::AlignVCenter, sezione.nome);
        p.setPen(QColor(0x22, 0x2b, 0x33));
        p.setFont(carattere(14));
        p.drawText(QRectF(riquadro.left() + 26, riquadro.top() + 42, riquadro.width() - 44, 64), Qt::TextWordWrap,
                   sezione.spiegazione);
        y += 128;
    }

    p.setPen(BluMedio);
    p.setFont(carattere(14, true));
    p.drawText(QRectF(24, altezza - 52, larghezza - 48, 44), Qt::AlignCenter | Qt::TextWordWrap,
               QStringLiteral("Fare clic sull'immagine per aprire le domande frequenti (FAQ) sul REI "
                              "nel sito dell'Agenzia delle Entrate."));
    return immagine;
}

} // namespace ondavia
