// The register form's record life: loading a row, preparing a new subject, writing the form back.

#include "F1OP.h"

#include "Costruttori.h"
#include "app/Archivio.h"
#include "app/Dichiarazioni.h"
#include "app/ErroreEsecuzione.h"
#include "app/MsgBox.h"
#include "app/Ricerche.h"
#include "app/Testi.h"
#include "db/Recordset.h"
#include "ui/CControl.h"
#include "ui/Controlli.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

namespace ondavia {

using costruttori::impostaOpzione;
using costruttori::mostraIntero;

namespace {

QString chiaveRiga(const QString& codice, const QString& progressivo)
{
    return QStringLiteral("SELECT * From COPE WHERE ") + condizioneSoggetto(codice, progressivo);
}

// Showing a field of the current row of RsCope. A field the table lacks, or a value the control cannot
// take, leaves the control as it was.
void mostra(QLineEdit* casella, const char* campo)
{
    const db::Field f = RsCope.Fields(QLatin1String(campo));
    if (f.isValid()) {
        mostraIntero(casella, NoNull(f.Value()));
    }
}

void mostra(QCheckBox* spunta, const char* campo)
{
    const db::Field f = RsCope.Fields(QLatin1String(campo));
    if (!f.isValid()) {
        return;
    }
    bool numero = true;
    const qint64 stato = f.Value().isNull() ? 0 : f.Value().toInteger(&numero);
    if (numero && (stato == 0 || stato == 1)) {
        spunta->setCheckState(stato == 1 ? Qt::Checked : Qt::Unchecked);
    }
}

void mostra(QRadioButton* opzione, const char* campo)
{
    const db::Field f = RsCope.Fields(QLatin1String(campo));
    if (f.isValid()) {
        impostaOpzione(opzione, f.Value().toBool());
    }
}

void segnalaRegistrazione(const QString& descrizione)
{
    msgBox(QStringLiteral("Errore Registrazione: ") + descrizione);
}

// The values of the row being written that the database refused.
int campiRifiutati = 0;

// Assigns one field of the row being written; a value the database refuses is reported and left out.
void scrivi(const char* campo, const db::Value& valore)
{
    if (!RsCope.Fields(QLatin1String(campo)).setValue(valore)) {
        ++campiRifiutati;
        segnalaRegistrazione(RsCope.lastError());
    }
}

void scrivi(const char* campo, const QLineEdit* casella)
{
    scrivi(campo, db::Value(casella->text()));
}

// Option states as the register stores them: "-1" chosen, "0" not.
void scrivi(const char* campo, const QRadioButton* opzione)
{
    scrivi(campo, db::Value(opzione->isChecked() ? "-1" : "0"));
}

void scrivi(const char* campo, const QCheckBox* spunta)
{
    scrivi(campo, db::Value(spunta->checkState() == Qt::Checked ? 1 : 0));
}

} // namespace

void F1OP::Dettaglio()
{
    const Operazione operazione(*this);
    SQL = chiaveRiga(CodiceCorrente, senzaSpazi(vONPROG->text()));
    if (!RsCope.Open(SQL, Conn)) {
        throw ErroreEsecuzione(RsCope.lastError());
    }
    if (RsCope.RecordCount() < 1) {
        nuovoSoggetto();
        RsCope.Close();
        return;
    }

    mostra(torag, "orag");
    mostra(topiva, "OCOD");
    const QString tipo = NoNull(RsCope.Fields(QStringLiteral("oTIPOSOG")).Value());
    if (!tipo.isEmpty()) {
        QString errore;
        const auto descrizione = DecodificaTabella(QStringLiteral("TPI"), tipo, &errore);
        if (!descrizione) {
            throw ErroreEsecuzione(errore);
        }
        QString voce = tipo + QLatin1Char('=') + *descrizione;
        // The stored text of this code is shown as it was saved: the description looked up is cut to 50
        // characters, and a type typed by the operator is not in the coded list at all, so either would
        // change the stored text at the next save of an unchanged subject.
        const QString salvata = NoNull(RsCope.Fields(QStringLiteral("OTIPOSOGD")).Value());
        if (senzaSpazi(salvata).left(2).compare(tipo, Qt::CaseInsensitive) == 0) {
            voce = salvata;
        }
        CBrap->setCurrentIndex(CBrap->findText(voce, Qt::MatchExactly));
        if (CBrap->currentIndex() < 0) {
            CBrap->setEditText(voce);
        }
    } else {
        // A row without a type (restored from another installation's backup) shows none: the type of the
        // subject shown before would be saved into it.
        CBrap->setCurrentIndex(-1);
        CBrap->clearEditText();
    }
    if (NoNull(RsCope.Fields(QStringLiteral("OSTP")).Value()) == QLatin1String("0")) {
        mostra(vOCOG, "OCOG");
        mostra(vONOME, "ONOME");
        mostra(vOSEX, "OSEX");
        mostra(vONDT, "ONDT");
        mostra(vONCOM, "oncom");
        mostra(vONPRO, "onpro");
        o2->setChecked(true);
        o1_Click();
        NomeCorrente = senzaSpazi(vOCOG->text()) + QLatin1Char(' ') + senzaSpazi(vONOME->text());
    } else {
        mostra(vOSCOM, "OSCOM");
        mostra(vOSPRO, "OSPRO");
        o1->setChecked(true);
        o1_Click();
        NomeCorrente = senzaSpazi(torag->text());
    }
    // A stored subject keeps its code and its progressive: a correction is saved into its own row, never into
    // a new one (Copia makes a new progressive).
    topiva->setEnabled(false);
    vONPROG->setEnabled(false);

    mostra(MOC1, "OMOC1");
    mostra(MOC2, "OMOC2");
    mostra(MOC3, "OMOC3");
    for (const auto& [casella, campo] : {std::pair{vRECF, "ORECF"},
                                         {vRECOG, "ORECOG"},
                                         {vRENOME, "ORENOME"},
                                         {vRESEX, "ORESEX"},
                                         {vREDTNAS, "OREDTNAS"},
                                         {vRENCOM, "oRENCOM"},
                                         {vRENPRO, "oREnpro"},
                                         {vREEMAIL, "OREEMAIL"},
                                         {vRETEL, "ORETEL"},
                                         {vPEEMAIL, "OPEEMAIL"},
                                         {vPEDATAI, "OPEDATAI"},
                                         {vPEDATAF, "OPEDATAF"},
                                         {vPEGESTORE, "OPEGESTORE"},
                                         {vDTCANC, "odtcanc"}}) {
        mostra(casella, campo);
    }
    // Choosing "CANCELLAZIONE" chooses the first reason; the stored reason then takes its place.
    mostra(TC1, "OTIPOCOM1");
    mostra(TC2, "OTIPOCOM2");
    mostra(mc1, "OMC1");
    mostra(mc2, "OMC2");
    mostra(mc3, "OMC3");
    mostra(vSICF, "OSICF");
    mostra(vSIRAG, "OSIRAG");
    mostra(vSICOM, "OSICOM");
    mostra(vSIPRO, "OSIPRO");
    mostra(vITTCF, "OITTCF");
    mostra(vITT1, "oitt1");
    mostra(vITT2, "oitt2");
    mostra(vONPROG, "ONPROG");
    m_registrato = Chiave{NoNull(RsCope.Fields(QStringLiteral("OCOD")).Value()), vONPROG->text()};
    RsCope.Close();
    dimenticaComuni();
    m_statoCaricato = statoForm();
}

void F1OP::Aggiungi()
{
    if (chiediModifiche()) {
        nuovoSoggetto();
    }
}

void F1OP::nuovoSoggetto()
{
    const Operazione operazione(*this);
    m_registrato.reset();
    PulisciForm(this);
    // Each box gets back its own limit, raised while a longer stored text was shown.
    for (QLineEdit* casella : findChildren<QLineEdit*>()) {
        if (CControl::eCasellaDiTesto(casella)) {
            mostraIntero(casella, QString());
        }
    }
    CBrap->setCurrentIndex(-1);
    CBrap->clearEditText();
    // The list's row stays chosen no more: the subject it names is off the screen, and choosing it again
    // must load it.
    IGOpe->selectionModel()->clear();
    vONPROG->setText(QStringLiteral("001"));
    vONPROG->setEnabled(true);
    topiva->setEnabled(true);
    // The code box is in view when it takes the focus: typed on a tab behind, the keys would go where nobody sees.
    SSTab1->setCurrentIndex(0);
    topiva->setFocus();
    o1->setChecked(true);
    TC1->setChecked(true);
    dimenticaComuni();
    m_statoCaricato = statoForm();
}

void F1OP::Aggiorna()
{
    const Operazione operazione(*this);
    comuniInSospeso();
    for (QLineEdit* casella : findChildren<QLineEdit*>()) {
        if (CControl::eCasellaDiTesto(casella)) {
            casella->setText(maiuscole(senzaSpaziIniziali(senzaControlli(casella->text()))));
        }
    }
    // The progressive names the row, and every load, copy and print-out looks it up without blanks: stored
    // as "01 ", the subject just saved could never be shown again.
    vONPROG->setText(senzaSpazi(vONPROG->text()));
    try {
        controlla();
    } catch (const ErroreEsecuzione& errore) {
        DatiValidi = false;
        segnalaRegistrazione(errore.descrizione());
    }
    if (!DatiValidi) {
        return;
    }

    CodiceCorrente = topiva->text();
    SQL = chiaveRiga(CodiceCorrente, vONPROG->text());
    bool salvatoIntero = false;
    if (!RsCope.Open(SQL, Conn)) {
        segnalaRegistrazione(RsCope.lastError());
    } else {
        if (RsCope.RecordCount() > 0 && !soggettoRegistrato() && !sostituireRegistrato()) {
            // Nothing is written: DatiValidi tells the callers not to go on as after a save.
            RsCope.Close();
            DatiValidi = false;
            return;
        }
        if (RsCope.RecordCount() < 1 && !RsCope.AddNew()) {
            segnalaRegistrazione(RsCope.lastError());
        } else {
            campiRifiutati = 0;
            scriviCampi();
            if (!RsCope.Update()) {
                segnalaRegistrazione(RsCope.lastError());
            } else {
                m_registrato = Chiave{CodiceCorrente, vONPROG->text()};
                salvatoIntero = campiRifiutati == 0;
                if (salvatoIntero) {
                    m_statoCaricato = statoForm();
                }
            }
        }
        RsCope.Close();
    }
    const QModelIndex corrente = IGOpe->currentIndex();
    RigaGriglia = corrente.isValid() ? corrente.row() + 1 : 0;
    // A row the database did not take whole is no save to go on from: loading the stored row would put it
    // over what the operator typed, and a communication would carry what the register does not hold.
    if (!salvatoIntero) {
        DatiValidi = false;
    }
}

// A new subject, or one whose code or progressive was changed, names a row that already holds another
// subject: it is never written over it unasked. The next free progressive is proposed; the operator
// keeps the existing one only by answering Yes.
bool F1OP::sostituireRegistrato()
{
    const QString esistente = vONPROG->text();
    QString domanda =
        QStringLiteral("Il soggetto %1 progressivo %2 esiste già. Sostituirlo?").arg(CodiceCorrente, esistente);
    if (proponiProgressivo()) {
        domanda += QStringLiteral("\n\nNo: il nuovo soggetto riceve il progressivo %1; premere di nuovo REGISTRA per "
                                  "registrarlo.")
                       .arg(vONPROG->text());
    }
    if (msgBox(domanda, MsgButtons::YesNo, MsgIcon::Question, QStringLiteral("Richiesta conferma"), 2) !=
        MsgResult::Yes) {
        return false;
    }
    vONPROG->setText(esistente);
    return true;
}

void F1OP::scriviCampi()
{
    scrivi("OCOD", topiva);
    const QString tipo = CBrap->currentText();
    if (!tipo.isEmpty()) {
        scrivi("OTIPOSOGD", db::Value(tipo));
        scrivi("oTIPOSOG", db::Value(senzaSpazi(tipo).left(2)));
    }
    const QString vuoto;
    if (o1->isChecked()) {
        scrivi("OSTP", db::Value("1"));
        scrivi("orag", torag);
        scrivi("OSCOM", vOSCOM);
        scrivi("OSPRO", vOSPRO);
        scrivi("ODES", torag);
    } else {
        for (const char* campo : {"orag", "OSCOM", "OSPRO"}) {
            scrivi(campo, db::Value(vuoto));
        }
    }
    if (o2->isChecked()) {
        scrivi("OSTP", db::Value("0"));
        scrivi("OCOG", vOCOG);
        scrivi("ONOME", vONOME);
        scrivi("OSEX", vOSEX);
        scrivi("ONDT", vONDT);
        scrivi("oncom", vONCOM);
        scrivi("onpro", vONPRO);
        scrivi("ODES", db::Value((vOCOG->text() + QLatin1Char(' ') + vONOME->text()).left(70)));
    } else {
        for (const char* campo : {"OCOG", "ONOME", "OSEX"}) {
            scrivi(campo, db::Value(vuoto));
        }
        scrivi("ONDT", db::Value::null());
        scrivi("oncom", db::Value(vuoto));
        scrivi("onpro", db::Value(vuoto));
    }
    for (const auto& [campo, casella] : {std::pair{"ORECF", vRECF},
                                         {"ORECOG", vRECOG},
                                         {"ORENOME", vRENOME},
                                         {"ORESEX", vRESEX},
                                         {"OREDTNAS", vREDTNAS},
                                         {"oRENCOM", vRENCOM},
                                         {"oREnpro", vRENPRO},
                                         {"OREEMAIL", vREEMAIL},
                                         {"ORETEL", vRETEL},
                                         {"OPEEMAIL", vPEEMAIL},
                                         {"OPEDATAI", vPEDATAI},
                                         {"OPEDATAF", vPEDATAF},
                                         {"OPEGESTORE", vPEGESTORE},
                                         {"odtcanc", vDTCANC}}) {
        scrivi(campo, casella);
    }
    scrivi("OMC1", mc1);
    scrivi("OMC2", mc2);
    scrivi("OMC3", mc3);
    scrivi("OMOC1", MOC1);
    scrivi("OMOC2", MOC2);
    scrivi("OMOC3", MOC3);
    scrivi("OSICF", vSICF);
    scrivi("OSIRAG", vSIRAG);
    scrivi("OSICOM", vSICOM);
    scrivi("OSIPRO", vSIPRO);
    scrivi("OITTCF", vITTCF);
    scrivi("oitt1", vITT1);
    scrivi("oitt2", vITT2);
    scrivi("OTIPOCOM1", TC1);
    scrivi("OTIPOCOM2", TC2);
    scrivi("ONPROG", vONPROG);
}

void F1OP::Conferma()
{
    Aggiorna();
    if (DatiValidi) {
        listaSelezionando(Chiave{CodiceCorrente, vONPROG->text()});
    }
}

} // namespace ondavia
