// The validation before a save: every message in its order, with the tab left in front and the control
// that holds the focus afterwards.

#include "RegistroProva.h"

#include "app/Dichiarazioni.h"

#include <QApplication>
#include <QButtonGroup>
#include <QTabWidget>

#include <functional>

using namespace ondavia;
using ondavia::test::RegistroProva;

namespace {

class Validazione : public RegistroProva {
protected:
    void cancellazione() const
    {
        form->TC2->setChecked(true);
        form->vDTCANC->setText(QStringLiteral("31/12/2021"));
    }
    static void nessunaScelta(QRadioButton* o)
    {
        o->group()->setExclusive(false);
        o->setChecked(false);
        o->group()->setExclusive(true);
    }
};

struct Caso {
    const char* messaggio;
    const char* controllo;
    int scheda;
    std::function<void(F1OP&)> guasto;
};

} // namespace

TEST_F(Validazione, StopsAtTheFirstFaultOnItsTab)
{
    auto vuota = [](const char* nome) {
        return [nome](F1OP& f) { f.findChild<QLineEdit*>(QLatin1String(nome))->setText(QStringLiteral("   ")); };
    };
    auto testo = [](const char* nome, const char* t) {
        return [nome, t](F1OP& f) { f.findChild<QLineEdit*>(QLatin1String(nome))->setText(QString::fromUtf8(t)); };
    };
    const Caso casi[] = {
        {"Indicare il tipo di soggetto", "CBrap", 0, [](F1OP& f) { f.CBrap->setCurrentIndex(-1); }},
        {"Codice Fiscale non indicato.", "topiva", 0, vuota("topiva")},
        {"Codice Fiscale errato.", "topiva", 0, testo("topiva", "1234567890A")},
        {"Codice Fiscale errato.", "topiva", 0, testo("topiva", "12345-67890")},
        {"Codice Fiscale errato.", "topiva", 0, testo("topiva", "12345'78901")},
        {"Ragione Sociale - campo non valido.", "torag", 0, vuota("torag")},
        {"Indicare il comune della sede legale", "vOSCOM", 0, vuota("vOSCOM")},
        {"Indicare la provincia della sede legale", "vOSPRO", 0, vuota("vOSPRO")},
        {"Indicare il cognome", "vOCOG", 0, vuota("vOCOG")},
        {"Indicare almeno UN MOTIVO per la comunicazione", "MOC1", 0, [](F1OP& f) { f.MOC1->setChecked(false); }},
        {"Responsabile: campo CODICE FISCALE obbligatorio", "vRECF", 1, testo("vRECF", "")},
        {"Codice Fiscale RESPONSABILE errato.", "vRECF", 1, testo("vRECF", "RSSMRA80A01H501A")},
        {"Responsabile: campo COGNOME obbligatorio", "vRECOG", 1, testo("vRECOG", "")},
        {"Data Nascita Responsabile non valida", "vREDTNAS", 1, testo("vREDTNAS", "30/02/1980")},
        {"POSTA ELETTRONICA: campo INDIRIZZO EMAIL obbligatorio", "vPEEMAIL", 2, testo("vPEEMAIL", "")},
        {"POSTA ELETTRONICA: campo DATA DECORRENZA obbligatorio", "vPEDATAI", 2, testo("vPEDATAI", "")},
        {"DATA DECORRENZA non valida", "vPEDATAI", 2, testo("vPEDATAI", "32/01/2020")},
        {"DATA CESSAZIONE non valida", "vPEDATAF", 2, testo("vPEDATAF", "01/13/2020")},
        {"POSTA ELETTRONICA: campo GESTORE obbligatorio", "vPEGESTORE", 2, testo("vPEGESTORE", "")},
        {"DATA CANCELLAZIONE obbligatoria", "vDTCANC", 3, testo("vDTCANC", "")},
        {"DATA CANCELLAZIONE errata", "vDTCANC", 3, testo("vDTCANC", "29/02/2021")},
        {"Indicare almeno UN MOTIVO per la cancellazione", "mc1", 3, [](F1OP& f) { nessunaScelta(f.mc1); }},
        {"Codice Fiscale errato.", "vITTCF", 4, testo("vITTCF", "RSSMRA80A01H501")},
    };
    apri();
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.messaggio);
        compilaValido();
        const QByteArray controllo(caso.controllo);
        if (controllo == "vOCOG") {
            form->o2->setChecked(true); // a natural person instead of the company of compilaValido
        }
        if (controllo == "vDTCANC" || controllo == "mc1") {
            cancellazione();
        }
        caso.guasto(*form);
        scripted.messages.clear();
        form->Aggiorna();
        EXPECT_FALSE(form->DatiValidi);
        ASSERT_EQ(scripted.messages.size(), 1u);
        EXPECT_EQ(scripted.messages[0].text.trimmed(), QString::fromUtf8(caso.messaggio));
        EXPECT_EQ(form->SSTab1->currentIndex(), caso.scheda);
        QWidget* atteso = trova(caso.controllo);
        QWidget* fuoco = QApplication::focusWidget();
        EXPECT_TRUE(fuoco == atteso || (fuoco && atteso->isAncestorOf(fuoco)))
            << (fuoco ? fuoco->objectName().toStdString() : "nessuno");
    }
    EXPECT_EQ(righe(), 0);
}

TEST_F(Validazione, PassesWhatItDoesNotCheckAndNormalisesDates)
{
    apri();
    // Cancellation: the PEC boxes may be empty, the dates are rewritten as dd/mm/yyyy.
    compilaValido();
    cancellazione();
    for (QLineEdit* c : {form->vPEEMAIL, form->vPEDATAI, form->vPEGESTORE}) {
        c->clear();
    }
    form->vDTCANC->setText(QStringLiteral("31.12.21"));
    form->vITTCF->setText(QStringLiteral("12345678901"));
    form->vSIPRO->setText(QStringLiteral("??"));
    form->controlla();
    EXPECT_TRUE(form->DatiValidi) << messaggio().toStdString();
    EXPECT_EQ(form->vDTCANC->text(), QStringLiteral("31/12/2021"));
    EXPECT_EQ(form->SSTab1->currentIndex(), 0);

    // First sending: the cancellation date may be empty, the end of the PEC address too.
    compilaValido();
    form->vPEDATAI->setText(QStringLiteral("01022020"));
    form->controlla();
    EXPECT_TRUE(form->DatiValidi) << messaggio().toStdString();
    EXPECT_EQ(form->vPEDATAI->text(), QStringLiteral("01/02/2020"));
}
