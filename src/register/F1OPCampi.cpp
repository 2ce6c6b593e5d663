// The register form's options and check boxes: the frames they show, the fonts and colours that mark
// a choice, and the list of subject types.

#include "F1OP.h"

#include "app/Dichiarazioni.h"
#include "app/ErroreEsecuzione.h"
#include "app/Testi.h"
#include "db/Recordset.h"
#include "ui/Controlli.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>

namespace ondavia {

namespace {

void grassetto(QWidget* controllo, bool attivo)
{
    QFont carattere = controllo->font();
    if (carattere.bold() != attivo) {
        carattere.setBold(attivo);
        controllo->setFont(carattere);
    }
}

void sfondo(QWidget* controllo, const QColor& colore)
{
    QPalette tavolozza = controllo->palette();
    tavolozza.setColor(controllo->backgroundRole(), colore);
    controllo->setPalette(tavolozza);
}

// Shows or hides a frame of boxes. A hidden frame forgets the box last used in it: its tab, brought to the front,
// would give that box the focus, and the keys would go where nobody sees them.
void mostraCornice(QWidget* cornice, bool visibile)
{
    cornice->setVisible(visibile);
    if (QWidget* ultima = cornice->focusWidget(); ultima && !visibile) {
        ultima->clearFocus();
    }
}

// The system's button-face colour.
QColor facciaPulsante()
{
    return QApplication::palette().color(QPalette::Button);
}

} // namespace

// Both kind-of-subject options run this: the frame of the chosen kind is shown, the other hidden.
void F1OP::o1_Click()
{
    const bool personaFisica = o2->isChecked();
    mostraCornice(FPNF, !personaFisica);
    mostraCornice(FPF, personaFisica);
}

void F1OP::AggiornaMotiviCancellazione()
{
    for (QRadioButton* motivo : {mc1, mc2, mc3}) {
        grassetto(motivo, motivo->isChecked());
    }
    // A merger names the incorporating company; any other cessation tells where the accounts are.
    mostraCornice(fSOCINC, mc2->isChecked());
    mostraCornice(fDisp, !mc2->isChecked());
}

void F1OP::AggiornaMotiviComunicazione()
{
    for (QCheckBox* sezione : {MOC1, MOC2, MOC3}) {
        grassetto(sezione, sezione->checkState() != Qt::Unchecked);
        sfondo(sezione, facciaPulsante());
    }
}

void F1OP::AggiornaTipoComunicazione()
{
    grassetto(TC1, TC1->isChecked());
    grassetto(TC2, TC2->isChecked());
    sfondo(TC1, facciaPulsante());
    sfondo(TC2, facciaPulsante());
    if (TC1->isChecked()) {
        sfondo(TC1, coloreQt(ColoreVerde));
    }
    if (TC2->isChecked()) {
        sfondo(TC2, coloreQt(ColoreRosso));
        mc1->setChecked(true);
    }
}

void F1OP::vITT_Click()
{
    grassetto(vITT1, vITT1->isChecked());
    grassetto(vITT2, vITT2->isChecked());
}

void F1OP::CaricaTipiSoggetto()
{
    CBrap->clear();
    SQL = QStringLiteral("SELECT * From CTAB where TIPO=") + Apici(QStringLiteral("TPI")) +
          QStringLiteral(" ORDER BY COD");
    db::Recordset tipi;
    if (!tipi.Open(SQL, Conn)) {
        throw ErroreEsecuzione(tipi.lastError());
    }
    QStringList voci;
    for (; !tipi.Eof(); tipi.MoveNext()) {
        voci << NoNull(tipi.Fields(QStringLiteral("cod")).Value()) + QLatin1Char('=') +
                    NoNull(tipi.Fields(QStringLiteral("des")).Value());
    }
    CBrap->addItems(voci);
    // An editable list shows its first entry once filled; the subject on screen decides what it shows.
    CBrap->setCurrentIndex(-1);
    CBrap->clearEditText();
}

} // namespace ondavia
