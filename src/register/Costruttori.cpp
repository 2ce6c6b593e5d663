#include "Costruttori.h"

#include "app/widgets/CControl.h"
#include "app/widgets/FiltroControlli.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace ondavia::costruttori {

namespace {

// The box's own limit, kept while a longer stored text is shown.
constexpr char kLunghezzaProgetto[] = "lunghezzaProgetto";

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
    return casella(genitore, nome, LunghezzaMassima(campo), centrata);
}

void mostraIntero(QLineEdit* casella, const QString& testo)
{
    const int progetto = casella->property(kLunghezzaProgetto).toInt();
    casella->setMaxLength(std::max<int>(progetto, static_cast<int>(testo.size())));
    casella->setText(testo);
}

void suggerimento(QLineEdit* casella, const QString& testo)
{
    casella->setToolTip(testo);
    casella->setProperty(ProprietaTag, testo);
}

QLabel* etichetta(QWidget* genitore, const QString& testo, QWidget* compagno)
{
    auto* e = new QLabel(testo, genitore);
    if (compagno) {
        e->setObjectName(QStringLiteral("lbl") + compagno->objectName());
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
