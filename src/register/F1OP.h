#pragma once

#include "app/Comunicazione.h"
#include "shell/Registro.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QTableView;

namespace ondavia {

class CForm;
class GrigliaSoggetti;

// The register form "Elenco Soggetti Obbligati": the grid IGOpe of every subject of COPE above the five
// tabs of SSTab1 with the fields of the selected subject.
//
// The form loads on its first show (Form_Load); from then on every text box is wrapped by a CForm.
// The public operations work on the database through the shared connection Conn. Those the main
// window's commands call let any failure they do not handle themselves travel as ErroreEsecuzione;
// the form's own buttons, options and grid catch every failure and show it in a plain message.
class F1OP : public QWidget, public Registro {
public:
    explicit F1OP(QWidget* parent = nullptr);
    ~F1OP() override;

    // Registro
    QWidget* form() override { return this; }
    // Rebuilds the grid from COPE and loads the row remembered in RigaGriglia (the last row when the
    // list has fewer rows), or prepares a new subject when the table is empty.
    void Lista() override;
    // Aggiorna, then the list when the subject was saved, reselecting it.
    void Conferma() override;
    // Empties the form for a new subject: progressive "001", "PNF" and "PRIMO INVIO o VARIAZIONE"; no row of
    // the list stays chosen. Changes on screen not yet saved are asked about first (lasciaSoggetto).
    void Aggiungi() override;
    // Asks, then deletes the row of CodiceCorrente and vONPROG and rebuilds the list.
    void Elimina() override;
    // Asks, then copies the row on screen to the next free progressive of its fiscal code, and shows the copy.
    // Changes on screen not yet saved are asked about first.
    void Copia() override;
    // Writes the communication file from the form's fields as they stand: weighs a municipality box still being
    // typed in as when it is left, trims the text boxes, asks where to write, writes the four records and reports it.
    // With no fiscal code on screen it says so and writes nothing; a cancelled dialog ends it quietly; a failure
    // travels as ErroreEsecuzione.
    void CreaComunicazione() override;
    // The values of the form's fields that the communication file carries, as they stand now.
    DatiComunicazione datiComunicazione() const;
    // Prints the card of the subject of CodiceCorrente and vONPROG, as stored, to a PDF the user names, and
    // opens it in the system's viewer. Changes on screen not yet saved are asked about first: Sì saves them (a
    // refused save prints nothing), No prints the stored subject and leaves them on screen, Annulla prints
    // nothing. A subject not in the table, or a form that shows no stored subject (a new one, or one whose
    // code or progressive was changed), travels as ErroreEsecuzione.
    void STAMPA() override;
    // Asks "Il soggetto … è stato modificato. Registrare le modifiche?" when the form holds changes not yet
    // saved: Sì saves as REGISTRA does, No goes on without saving them (the action that follows drops them by
    // putting something over them, or leaves them on screen), Annulla (the default) stays. A failure is shown
    // and counts as Annulla.
    bool lasciaSoggetto() override;
    // The form holds changes not yet saved: its boxes, lists or options differ from the subject last loaded,
    // saved or emptied by Aggiungi. Boxes are compared as a box left is cleaned.
    bool modificato() const;

    // What the form does when it is first shown: wraps the text boxes, fills the subject-type list, runs
    // Lista. Runs once; the first show calls it when nobody has. Failures travel as ErroreEsecuzione.
    void Form_Load();
    bool caricato() const { return m_caricato; }

    // Loads the row of CodiceCorrente and vONPROG, its code and progressive boxes locked; prepares a new subject
    // when there is none.
    void Dettaglio();
    // Cleans the text boxes, validates and, when valid, writes the row. Write failures are shown as
    // "Errore Registrazione: " and the description, and the rest of the row is still written; DatiValidi is
    // then false, as after a failed validation, so that no caller goes on as after a save.
    void Aggiorna();
    // Validates the form; stops at the first fault, shown on its field with its tab in front. A new subject's
    // progressive is rewritten with three digits.
    void controlla();
    // Shares the list's whole width among the shown grid columns, in the proportions of their design widths.
    void FitCols();
    // The grid's row choice: loads the subject of the current row.
    void IGOpe_RigaScelta();
    // The row the operator chose in the grid: asks first when the form holds changes (Annulla, or a refused
    // save, puts the list back on the subject on screen), then loads it.
    void rigaScelta(const QModelIndex& scelta);
    // Fills the responsible person's sex, birth date, birth place and province from the fiscal code in
    // vRECF (upper-cased in the box); the focus goes to vRECOG when the place is known. A code that is
    // not 16 characters long is shown as a field error. Failures travel as ErroreEsecuzione.
    void DeduciCF();

    // Hooks the main window sets. Section help: the modal help on the three register sections.
    std::function<void()> mostraAiutoSezioni;
    // Called while the form loads: switches on the main window's "Versione Programma" toolbar button.
    std::function<void()> attivaVersioneProgramma;

    // Controls, named as their object names.
    QTableView* IGOpe = nullptr;
    QTabWidget* SSTab1 = nullptr;

    QLineEdit* topiva = nullptr;
    QLineEdit* vONPROG = nullptr;
    QRadioButton* o1 = nullptr;
    QRadioButton* o2 = nullptr;
    QComboBox* CBrap = nullptr;
    QPushButton* PushButton2 = nullptr;
    QGroupBox* FPNF = nullptr;
    QLineEdit* torag = nullptr;
    QLineEdit* vOSCOM = nullptr;
    QLineEdit* vOSPRO = nullptr;
    QGroupBox* FPF = nullptr;
    QLineEdit* vOCOG = nullptr;
    QLineEdit* vONOME = nullptr;
    QLineEdit* vOSEX = nullptr;
    QLineEdit* vONDT = nullptr;
    QLineEdit* vONCOM = nullptr;
    QLineEdit* vONPRO = nullptr;
    QCheckBox* MOC1 = nullptr;
    QCheckBox* MOC2 = nullptr;
    QCheckBox* MOC3 = nullptr;
    QPushButton* bSEZ = nullptr;
    QRadioButton* TC1 = nullptr;
    QRadioButton* TC2 = nullptr;
    QPushButton* CREACOM = nullptr;
    QPushButton* bregistra[5] = {};

    QLineEdit* vRECF = nullptr;
    QLineEdit* vRECOG = nullptr;
    QLineEdit* vRENOME = nullptr;
    QLineEdit* vRESEX = nullptr;
    QLineEdit* vREDTNAS = nullptr;
    QLineEdit* vRENCOM = nullptr;
    QLineEdit* vRENPRO = nullptr;
    QLineEdit* vREEMAIL = nullptr;
    QLineEdit* vRETEL = nullptr;

    QLineEdit* vPEEMAIL = nullptr;
    QLineEdit* vPEDATAI = nullptr;
    QLineEdit* vPEDATAF = nullptr;
    QLineEdit* vPEGESTORE = nullptr;

    QRadioButton* mc1 = nullptr;
    QRadioButton* mc2 = nullptr;
    QRadioButton* mc3 = nullptr;
    QLineEdit* vDTCANC = nullptr;
    QGroupBox* fSOCINC = nullptr;
    QLineEdit* vSICF = nullptr;
    QGroupBox* fDisp = nullptr;
    QLineEdit* vSIRAG = nullptr;
    QLineEdit* vSICOM = nullptr;
    QLineEdit* vSIPRO = nullptr;

    QRadioButton* vITT1 = nullptr;
    QRadioButton* vITT2 = nullptr;
    QLineEdit* vITTCF = nullptr;

    // The calendar buttons of vONDT, vREDTNAS, vPEDATAI, vPEDATAF and vDTCANC, by Index.
    QPushButton* rdata[5] = {};

    // Design width of each grid column, by column number from 1.
    std::vector<std::int32_t> LarghezzeColonne;
    // The grid row (from 1; 0 none) to select when the list is rebuilt.
    std::int32_t RigaGriglia = 0;
    // The last validation passed.
    bool DatiValidi = false;

    GrigliaSoggetti* modelloGriglia() const { return m_griglia; }

protected:
    void showEvent(QShowEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    struct Chiave {
        QString codice;
        QString progressivo;
    };

    // Form building, one tab at a time.
    void costruisciGriglia();
    QWidget* costruisciSoggetto();
    QWidget* costruisciResponsabile();
    QWidget* costruisciPostaElettronica();
    QWidget* costruisciCancellazione();
    QWidget* costruisciImpegno();
    void collegaGestori();

    // The list, reselecting `chiave` when it is in it.
    void listaSelezionando(const std::optional<Chiave>& chiave);
    // The list's row (from 0) of `chiave`, code and progressive compared without regard to case; -1 when none.
    int rigaDi(const Chiave& chiave) const;
    void Form_Resize();
    void ridimensionato();

    // Field behaviour.
    void o1_Click();
    void AggiornaMotiviCancellazione();
    void AggiornaMotiviComunicazione();
    void AggiornaTipoComunicazione();
    void vITT_Click();
    void CaricaTipiSoggetto();

    // Typing help: what the form does when a field is left, a key is released in it or it is double
    // clicked. Each handler shows its failures in a plain message and the form goes on.
    void collegaCampi();
    void topiva_LostFocus();
    void vONDT_LostFocus();
    void vREDTNAS_LostFocus();
    // A birth-date box left with a text: a date is rewritten as dd/mm/yyyy, a two-digit year read as a birth
    // year; anything else is a field error.
    void dataLasciata(QLineEdit* casella);
    void vRECF_LostFocus();
    // A municipality box with the province box it fills, and what the form remembers of the typing in it.
    struct CasellaComune {
        QLineEdit* comune = nullptr;
        QLineEdit* provincia = nullptr;
        // Looked up by its whole name whenever it is left (vOSCOM, vONCOM).
        bool cercataInUscita = false;
        // The letters pressed without Ctrl, Alt or Meta and not yet released: only their release completes.
        std::vector<int> lettere;
        // The province box holds what the completion proposed, not what the operator typed or a subject stored.
        bool provinciaProposta = false;
        // The text as the operator last typed or pasted it, before the box left cleaned it.
        QString digitato;
    };
    void collegaComuni();
    // Forgets what was proposed and typed in the municipality boxes: a subject loaded or emptied keeps its own.
    void dimenticaComuni();
    // A municipality box left. vOSCOM and vONCOM (vOSCOM_LostFocus, vONCOM_LostFocus) fill the province of the
    // municipality typed; vRENCOM and vSICOM do so only when the completion proposed their province or the name
    // was typed with a final accent. A proposed province is emptied when no municipality has the name left.
    void comuneLasciato(CasellaComune& casella);
    // The municipality boxes typed in and not left since (a save from the main window takes no focus) are
    // weighed as when they are left. Failures travel as ErroreEsecuzione.
    void comuniInSospeso();
    // vOSCOM_KeyUp and its three twins, on a letter typed: completes the municipality from the letters before
    // the caret.
    void comuneDigitato(CasellaComune& casella);
    // rdata_Click and the double click in a date box: the date picker on that box.
    void rdata_Click(int indice);
    QLineEdit* casellaData(int indice) const;

    // Buttons.
    void bregistra_Click(int indice);
    void CREACOM_Click();
    void bSEZ_Click();
    void PushButton2_Click();

    // The boxes whose texts the communication file carries, each with its member of DatiComunicazione.
    std::vector<std::pair<TestoComunicazione, QLineEdit*>> caselleComunicazione() const;
    // The control that holds the value of a member of DatiComunicazione.
    QWidget* controlloDi(TestoComunicazione campo) const;
    // Shows on the subject-type list why its text gives no code, and says true: it is empty, or neither an
    // entry of the list nor a code of two letters or digits, alone or followed by "=" and a description.
    bool tipoRifiutato();
    // Shows the first value on tab `scheda` that the communication file could not carry, and says true.
    bool rifiutatoDalFile(int scheda);
    // Shows the first value on tab `scheda` that the row would store and no backup could carry, and says true.
    bool rifiutatoDalBackup(int scheda);

    // Shows a field error (MostraErrore) on a field first scrolled into view.
    void mostraErrore(QWidget* campo, const QString& messaggio);
    // Asks whether a stored subject may be replaced by the one on screen; on No the box of the progressive
    // holds the next free one.
    bool sostituireRegistrato();
    // Writes the form into the current row of RsCope.
    void scriviCampi();
    // The next free progressive of CodiceCorrente; nothing, after telling the user, past "999".
    std::optional<QString> ProssimoProgressivo();
    // Proposes the next free progressive of CodiceCorrente in vONPROG, as for a code already registered;
    // false, leaving the box alone, when the code has none left.
    bool proponiProgressivo();
    // The form shows a stored subject: the code box, CodiceCorrente and the progressive still name the row
    // last loaded or saved. Not so after Aggiungi, nor once the code or the progressive has been changed.
    bool soggettoRegistrato() const;
    void DuplicaProgressivo();

    // Aggiungi without the question: the form's own loads use it.
    void nuovoSoggetto();
    // The question on unsaved changes, when there are any: true when the caller may go on. Failures travel.
    bool chiediModifiche();
    // What the form shows, compared to tell a change; remembered when a subject is loaded, saved or emptied.
    QStringList statoForm() const;
    // Puts the grid's chosen row on the subject on screen (no row for a new subject), without loading it.
    void scegliRigaSoggetto();

    // While the form's own operations run (loading a subject, a new subject, a save), the focus they move
    // (a tab brought to the front, the code box locked) is not the operator leaving a field: the field
    // handlers stay quiet.
    struct Operazione {
        explicit Operazione(F1OP& form) : m_form(form) { ++m_form.m_operazioni; }
        ~Operazione() { --m_form.m_operazioni; }
        Operazione(const Operazione&) = delete;
        Operazione& operator=(const Operazione&) = delete;
        F1OP& m_form;
    };
    int m_operazioni = 0;
    // A field handler: quiet while an operation or another field handler runs; a failure is shown in a
    // plain message.
    std::function<void()> gestoreCampo(std::function<void()> gestore);

    CasellaComune m_comuni[4];
    // The row whose data the form shows, when it shows a stored subject.
    std::optional<Chiave> m_registrato;
    QStringList m_statoCaricato;
    GrigliaSoggetti* m_griglia = nullptr;
    QScrollArea* m_scorrimento = nullptr;
    std::unique_ptr<CForm> m_cform;
    bool m_caricato = false;
    bool m_riempimentoGriglia = false;
};

} // namespace ondavia
