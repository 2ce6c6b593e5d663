// The register form's outputs: the communication file and the print-out of the subject on screen.

#include "F1OP.h"

#include "app/Comunicazione.h"
#include "app/Dichiarazioni.h"
#include "app/DimmiIlNome.h"
#include "app/ErroreEsecuzione.h"
#include "app/MsgBox.h"
#include "app/Testi.h"
#include "printout/Stampa.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

namespace ondavia {

namespace {

int spunta(const QCheckBox* casella)
{
    return casella->isChecked() ? 1 : 0;
}

} // namespace

std::vector<std::pair<TestoComunicazione, QLineEdit*>> F1OP::caselleComunicazione() const
{
    using D = DatiComunicazione;
    return {
        {&D::topiva, topiva},         {&D::torag, torag},       {&D::vOSCOM, vOSCOM},     {&D::vOSPRO, vOSPRO},
        {&D::vOCOG, vOCOG},           {&D::vONOME, vONOME},     {&D::vOSEX, vOSEX},       {&D::vONDT, vONDT},
        {&D::vONCOM, vONCOM},         {&D::vONPRO, vONPRO},     {&D::vRECF, vRECF},       {&D::vRECOG, vRECOG},
        {&D::vRENOME, vRENOME},       {&D::vRESEX, vRESEX},     {&D::vREDTNAS, vREDTNAS}, {&D::vRENCOM, vRENCOM},
        {&D::vRENPRO, vRENPRO},       {&D::vREEMAIL, vREEMAIL}, {&D::vRETEL, vRETEL},     {&D::vPEEMAIL, vPEEMAIL},
        {&D::vPEGESTORE, vPEGESTORE}, {&D::vPEDATAI, vPEDATAI}, {&D::vPEDATAF, vPEDATAF}, {&D::vDTCANC, vDTCANC},
        {&D::vSICF, vSICF},           {&D::vSIRAG, vSIRAG},     {&D::vSICOM, vSICOM},     {&D::vSIPRO, vSIPRO},
        {&D::vITTCF, vITTCF},
    };
}

QWidget* F1OP::controlloDi(TestoComunicazione campo) const
{
    if (campo == &DatiComunicazione::CBrap) {
        return CBrap;
    }
    for (const auto& [membro, casella] : caselleComunicazione()) {
        if (membro == campo) {
            return casella;
        }
    }
    return nullptr;
}

DatiComunicazione F1OP::datiComunicazione() const
{
    DatiComunicazione d;
    for (const auto& [membro, casella] : caselleComunicazione()) {
        d.*membro = casella->text();
    }
    d.CBrap = CBrap->currentText();
    d.o1 = o1->isChecked();
    d.o2 = o2->isChecked();
    d.TC1 = TC1->isChecked();
    d.TC2 = TC2->isChecked();
    d.mc1 = mc1->isChecked();
    d.mc2 = mc2->isChecked();
    d.mc3 = mc3->isChecked();
    d.vITT1 = vITT1->isChecked();
    d.vITT2 = vITT2->isChecked();
    d.MOC1 = spunta(MOC1);
    d.MOC2 = spunta(MOC2);
    d.MOC3 = spunta(MOC3);
    return d;
}

void F1OP::CreaComunicazione()
{
    comuniInSospeso();
    // Blanks around a value never reach the file, and the form shows what was written. The editable
    // subject-type list has a text box of its own inside: combo boxes are left as they are.
    for (QLineEdit* casella : findChildren<QLineEdit*>()) {
        if (!qobject_cast<QComboBox*>(casella->parentWidget())) {
            casella->setText(senzaSpazi(casella->text()));
        }
    }

    // The main window's command writes the form unvalidated; but with no subject on screen its file would
    // hold nothing but blanks, and the operator would be told it was made.
    if (topiva->text().isEmpty()) {
        SSTab1->setCurrentIndex(0);
        mostraErrore(topiva, QStringLiteral("Codice Fiscale non indicato: la comunicazione non è stata creata."));
        return;
    }

    // Record 2 takes the first two characters of the subject type as its code: a text that is no code would
    // send the agency a code nobody chose.
    if (tipoRifiutato()) {
        return;
    }

    // A value the file cannot carry is refused before the operator is asked where to write it.
    const DatiComunicazione dati = datiComunicazione();
    QString errore;
    if (!comunicazioneScrivibile(dati, &errore)) {
        throw ErroreEsecuzione(errore);
    }

    // The proposed file name carries the subject on screen, which may be new or typed over. The shared name stays
    // the stored subject's: the delete and the copy name with it the row they act on.
    QString nome = NomeCorrente;
    if (o2->isChecked()) {
        nome = senzaSpazi(vOCOG->text()) + QLatin1Char(' ') + senzaSpazi(vONOME->text());
    } else if (o1->isChecked()) {
        nome = senzaSpazi(torag->text());
    }
    DimmiIlNome(QStringLiteral("C"), nome, vONPROG->text());
    if (NomeFileScelto.isEmpty()) {
        return;
    }

    if (!scriviComunicazione(NomeFileScelto, dati, &errore)) {
        throw ErroreEsecuzione(errore);
    }
    msgBox(testoComunicazioneCreata(NomeFileScelto), MsgButtons::Ok, MsgIcon::Information, titoloComunicazioneCreata());
}

void F1OP::STAMPA()
{
    // The card shows the stored row: changes on screen are saved first or, on No, left on screen unsaved, since
    // the print-out puts nothing over them.
    if (!chiediModifiche()) {
        return;
    }
    // The card is of a stored subject: with a new subject on screen, or one whose code or progressive was
    // retyped, the shared code and the progressive box would name another row, printed under the
    // operator's eyes as if it were the one he sees. No code is then told as no subject selected.
    stampaSoggetto(soggettoRegistrato() ? CodiceCorrente : QString(), senzaSpazi(vONPROG->text()));
}

} // namespace ondavia
