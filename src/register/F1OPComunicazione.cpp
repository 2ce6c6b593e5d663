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

namespace ondavia {

namespace {

QString testo(const QLineEdit* casella)
{
    return casella->text();
}

int spunta(const QCheckBox* casella)
{
    return casella->isChecked() ? 1 : 0;
}

} // namespace

DatiComunicazione F1OP::datiComunicazione() const
{
    DatiComunicazione d;
    d.topiva = testo(topiva);
    d.CBrap = CBrap->currentText();
    d.torag = testo(torag);
    d.vOSCOM = testo(vOSCOM);
    d.vOSPRO = testo(vOSPRO);
    d.vOCOG = testo(vOCOG);
    d.vONOME = testo(vONOME);
    d.vOSEX = testo(vOSEX);
    d.vONDT = testo(vONDT);
    d.vONCOM = testo(vONCOM);
    d.vONPRO = testo(vONPRO);
    d.vRECF = testo(vRECF);
    d.vRECOG = testo(vRECOG);
    d.vRENOME = testo(vRENOME);
    d.vRESEX = testo(vRESEX);
    d.vREDTNAS = testo(vREDTNAS);
    d.vRENCOM = testo(vRENCOM);
    d.vRENPRO = testo(vRENPRO);
    d.vREEMAIL = testo(vREEMAIL);
    d.vRETEL = testo(vRETEL);
    d.vPEEMAIL = testo(vPEEMAIL);
    d.vPEGESTORE = testo(vPEGESTORE);
    d.vPEDATAI = testo(vPEDATAI);
    d.vPEDATAF = testo(vPEDATAF);
    d.vDTCANC = testo(vDTCANC);
    d.vSICF = testo(vSICF);
    d.vSIRAG = testo(vSIRAG);
    d.vSICOM = testo(vSICOM);
    d.vSIPRO = testo(vSIPRO);
    d.vITTCF = testo(vITTCF);
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
    // Blanks around a value never reach the file, and the form shows what was written. The editable
    // subject-type list has a text box of its own inside: combo boxes are left as they are.
    for (QLineEdit* casella : findChildren<QLineEdit*>()) {
        if (!qobject_cast<QComboBox*>(casella->parentWidget())) {
            casella->setText(senzaSpazi(casella->text()));
        }
    }

    // The proposed file name carries the subject on screen. The shared name is set only when a subject is
    // loaded, so after a new subject, or one retyped, it would name a different subject.
    if (o2->isChecked()) {
        NomeCorrente = senzaSpazi(vOCOG->text()) + QLatin1Char(' ') + senzaSpazi(vONOME->text());
    } else if (o1->isChecked()) {
        NomeCorrente = senzaSpazi(torag->text());
    }
    DimmiIlNome(QStringLiteral("C"), NomeCorrente, vONPROG->text());
    if (NomeFileScelto.isEmpty()) {
        return;
    }

    QString errore;
    if (!ScriviComunicazione(NomeFileScelto, datiComunicazione(), &errore)) {
        throw ErroreEsecuzione(errore);
    }
    MsgBox(TestoComunicazioneCreata(NomeFileScelto), MsgButtons::Ok, MsgIcon::Information,
           TitoloComunicazioneCreata());
}

void F1OP::STAMPA()
{
    StampaSoggetto(CodiceCorrente, senzaSpazi(vONPROG->text()));
}

} // namespace ondavia
