#include "FWaitF.h"

#include "platform/Platform.h"

#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

namespace ondavia {

namespace {

constexpr int kFotogrammi = 12;
constexpr int kLato = 48;

// Frame n of the animation: a ring of twelve dots with the n-th one dark and the two before it fading.
QPixmap fotogrammaAnimazione(int n)
{
    QPixmap immagine(kLato, kLato);
    immagine.fill(Qt::transparent);
    QPainter pittore(&immagine);
    pittore.setRenderHint(QPainter::Antialiasing);
    pittore.setPen(Qt::NoPen);
    const double raggio = kLato / 2.0 - 6;
    for (int i = 0; i < kFotogrammi; ++i) {
        const int distanza = (n - 1 - i + kFotogrammi) % kFotogrammi;
        const int grigio = distanza == 0 ? 40 : distanza == 1 ? 110 : distanza == 2 ? 170 : 215;
        pittore.setBrush(QColor(grigio, grigio, grigio));
        const double angolo = 2 * std::numbers::pi * i / kFotogrammi - std::numbers::pi / 2;
        const QPointF centro(kLato / 2.0 + raggio * std::cos(angolo), kLato / 2.0 + raggio * std::sin(angolo));
        pittore.drawEllipse(centro, 4.0, 4.0);
    }
    return immagine;
}

} // namespace

FWaitF::FWaitF(QWidget* parent)
    : QDialog(parent), Image1(new QLabel(this)), fwSto(new QLabel(this)),
      lblTitle(new QLabel(QStringLiteral("Elaborazione in corso..."), this)), Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("FWaitF"));
    setWindowTitle(QStringLiteral("Attendere prego......"));
    setModal(true);
    Image1->setObjectName(QStringLiteral("Image1"));
    fwSto->setObjectName(QStringLiteral("fwSto"));
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Image1->setAlignment(Qt::AlignCenter);
    lblTitle->setAlignment(Qt::AlignCenter);
    QFont grassetto = lblTitle->font();
    grassetto.setBold(true);
    lblTitle->setFont(grassetto);

    auto* colonna = new QVBoxLayout(this);
    colonna->addWidget(lblTitle);
    colonna->addWidget(Image1);
    colonna->addWidget(fwSto);

    for (int n = 1; n <= kFotogrammi; ++n) {
        ImageList1 << fotogrammaAnimazione(n);
    }
    m_fotogramma = 1;
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &FWaitF::Timer1_Timer);
}

void FWaitF::Update()
{
    repaint();
    platform().processEvents();
    repaint();
}

void FWaitF::Timer1_Timer()
{
    Image1->setPixmap(ImageList1.value(m_fotogramma - 1));
    fwSto->clear();
    m_fotogramma = static_cast<std::int16_t>(m_fotogramma % kFotogrammi + 1);
}

void FWaitF::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    Timer1->start();
}

void FWaitF::hideEvent(QHideEvent* evento)
{
    Timer1->stop();
    QDialog::hideEvent(evento);
}

} // namespace ondavia
