#include "Costruttori.h"

#include "ui/CControl.h"
#include "ui/FiltroControlli.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QToolTip>

#include <algorithm>

namespace ondavia::costruttori {

namespace {

// The box's own limit, kept while a longer stored text is shown.
constexpr char kLunghezzaProgetto[] = "lunghezzaProgetto";
// The box's own tool tip, without the word on its limit.
constexpr char kSuggerimento[] = "suggerimentoProgetto";
// The limit of a line edit left free.
constexpr int kSenzaLimite = 32767;

// A full box says so in its tool tip, and shows it when `avvisa`: the keys typed past the limit would otherwise
// go without effect and without a word. The tag follows, since the focus wrapper shows the tag as tool tip.
void aggiornaLimite(QLineEdit* c, bool avvisa)
{
    const int limite = c->property(kLunghezzaProgetto).toInt();
    const QString proprio = c->property(kSuggerimento).toString();
    const bool piena = limite < kSenzaLimite && c->text().size() >= limite;
    const QString limiteRaggiunto = QStringLiteral("massimo %1 caratteri").arg(limite);
    QString testo = proprio;
    if (piena) {
        testo = proprio.isEmpty() ? limiteRaggiunto : proprio + QLatin1Char('\n') + limiteRaggiunto;
    }
    if (c->toolTip() != testo) {
        c->setToolTip(testo);
        c->setProperty(ProprietaTag, testo);
    }
    if (piena && avvisa) {
        QToolTip::showText(c->mapToGlobal(QPoint(0, c->height())), testo, c);
    }
}

} // namespace

QLineEdit* casella(QWidget* genitore, const char* nome, int massimo, bool centrata)
{
    auto* c = new QLineEdit(genitore);
    c->setObjectName(QLatin1String(nome));
    if (massimo > 0) {
        c->setMaxLength(massimo);
    }
    c->setProperty(kLunghezzaProgetto, c->maxLength());
    c->setValidator(new FiltroControlli(c));
    QObject::connect(c, &QLineEdit::textChanged, c, [c] { aggiornaLimite(c, false); });
    QObject::connect(c, &QLineEdit::textEdited, c, [c] { aggiornaLimite(c, true); });
    QObject::connect(c, &QLineEdit::inputRejected, c, [c] { aggiornaLimite(c, true); });
    c->setAlignment(centrata ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    c->setFont(QFont(QLatin1String(kCarattere), kPuntiCaselle));
    // Short, centred values (provinces, sex, dates) need no more room than a date.
    if (centrata) {
        c->setMaximumWidth(massimo > 0 && massimo <= 3 ? 60 : 120);
    }
    return c;
}

QLineEdit* casella(QWidget* genitore, const char* nome, TestoComunicazione campo, bool centrata)
{
    return casella(genitore, nome, lunghezzaMassima(campo), centrata);
}

void mostraIntero(QLineEdit* casella, const QString& testo)
{
    const int progetto = casella->property(kLunghezzaProgetto).toInt();
    casella->setMaxLength(std::max<int>(progetto, static_cast<int>(testo.size())));
    casella->setText(testo);
}

void suggerimento(QLineEdit* casella, const QString& testo)
{
    casella->setProperty(kSuggerimento, testo);
    aggiornaLimite(casella, false);
}

QLabel* etichetta(QWidget* genitore, const QString& testo, QWidget* compagno)
{
    auto* e = new QLabel(testo, genitore);
    if (compagno) {
        const QWidget* nominato = compagno->focusProxy() ? compagno->focusProxy() : compagno;
        e->setObjectName(QStringLiteral("lbl") + nominato->objectName());
        e->setBuddy(compagno);
    }
    return e;
}

QRadioButton* opzione(QWidget* genitore, const char* nome, const QString& testo)
{
    auto* o = new QRadioButton(testo, genitore);
    o->setObjectName(QLatin1String(nome));
    return o;
}

QCheckBox* spunta(QWidget* genitore, const char* nome, const QString& testo)
{
    auto* s = new QCheckBox(testo, genitore);
    s->setObjectName(QLatin1String(nome));
    return s;
}

QGroupBox* cornice(QWidget* genitore, const char* nome, const QString& titolo)
{
    auto* c = new QGroupBox(titolo, genitore);
    c->setObjectName(QLatin1String(nome));
    return c;
}

QPushButton* pulsante(QWidget* genitore, const char* nome, const QString& testo)
{
    auto* p = new QPushButton(testo, genitore);
    p->setObjectName(QLatin1String(nome));
    p->setAutoDefault(false);
    if (testo.size() == 1) {
        p->setFixedWidth(32);
    }
    return p;
}

QButtonGroup* gruppo(QWidget* genitore, std::initializer_list<QRadioButton*> opzioni)
{
    auto* g = new QButtonGroup(genitore);
    for (QRadioButton* o : opzioni) {
        g->addButton(o);
    }
    return g;
}

void impostaOpzione(QRadioButton* opzione, bool scelta)
{
    if (scelta || !opzione->isChecked()) {
        opzione->setChecked(scelta);
        return;
    }
    // An exclusive group refuses to lose its last choice.
    QButtonGroup* g = opzione->group();
    if (g) {
        g->setExclusive(false);
    }
    const bool autoEsclusiva = opzione->autoExclusive();
    opzione->setAutoExclusive(false);
    opzione->setChecked(false);
    opzione->setAutoExclusive(autoEsclusiva);
    if (g) {
        g->setExclusive(true);
    }
}

namespace {

// A small wall calendar: a red band of rings over a white sheet of days.
QIcon iconaCalendario()
{
    QPixmap immagine(16, 16);
    immagine.fill(Qt::transparent);
    QPainter pittore(&immagine);
    pittore.setPen(QColor(80, 80, 80));
    pittore.setBrush(Qt::white);
    pittore.drawRect(1, 2, 13, 12);
    pittore.fillRect(2, 3, 12, 3, QColor(200, 30, 30));
    pittore.setPen(QColor(120, 120, 120));
    for (int y = 8; y <= 12; y += 2) {
        for (int x = 3; x <= 12; x += 3) {
            pittore.drawPoint(x, y);
            pittore.drawPoint(x + 1, y);
        }
    }
    pittore.setPen(QColor(60, 60, 60));
    pittore.drawLine(4, 1, 4, 3);
    pittore.drawLine(11, 1, 11, 3);
    return QIcon(immagine);
}

} // namespace

QWidget* conCalendario(QLineEdit* casella, QPushButton** pulsante, int indice)
{
    auto* riga = new QWidget(casella->parentWidget());
    riga->setObjectName(casella->objectName() + QStringLiteral("_riga"));
    auto* disposizione = new QHBoxLayout(riga);
    disposizione->setContentsMargins(0, 0, 0, 0);
    disposizione->setSpacing(2);
    auto* p = new QPushButton(riga);
    p->setObjectName(QStringLiteral("rdata_%1").arg(indice));
    p->setIcon(iconaCalendario());
    p->setToolTip(QStringLiteral("Calendario"));
    p->setAutoDefault(false);
    p->setFocusPolicy(Qt::NoFocus);
    p->setFixedWidth(28);
    disposizione->addWidget(casella);
    disposizione->addWidget(p);
    disposizione->addStretch();
    riga->setFocusProxy(casella);
    *pulsante = p;
    return riga;
}

QGridLayout* grigliaCampi(QWidget* contenitore, std::initializer_list<std::pair<QString, QWidget*>> campi)
{
    auto* griglia = new QGridLayout(contenitore);
    int posto = 0;
    for (const auto& [didascalia, campo] : campi) {
        const int riga = posto / 2;
        const int colonna = (posto % 2) * 2;
        griglia->addWidget(etichetta(contenitore, didascalia, campo), riga, colonna);
        griglia->addWidget(campo, riga, colonna + 1);
        ++posto;
    }
    griglia->setColumnStretch(1, 1);
    griglia->setColumnStretch(3, 1);
    return griglia;
}

QGridLayout* grigliaIndirizzo(QWidget* contenitore, const QString& didascalia, QWidget* ampio,
                              const QString& didascaliaComune, QWidget* comune, QWidget* provincia)
{
    auto* griglia = new QGridLayout(contenitore);
    griglia->addWidget(etichetta(contenitore, didascalia, ampio), 0, 0);
    griglia->addWidget(ampio, 0, 1, 1, 3);
    griglia->addWidget(etichetta(contenitore, didascaliaComune, comune), 1, 0);
    griglia->addWidget(comune, 1, 1);
    griglia->addWidget(etichetta(contenitore, QStringLiteral("Prov."), provincia), 1, 2);
    griglia->addWidget(provincia, 1, 3);
    griglia->setColumnStretch(1, 1);
    return griglia;
}

} // namespace ondavia::costruttori
