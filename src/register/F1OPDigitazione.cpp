// The register form's help while typing: the next progressive of a registered code, the date boxes and
// their calendar, the responsible person's birth data read from his fiscal code, the help document on
// subject codes.

#include "F1OP.h"

#include "Costruttori.h"
#include "app/DatiNascita.h"
#include "app/Dichiarazioni.h"
#include "app/ErroreEsecuzione.h"
#include "app/Testi.h"
#include "db/Recordset.h"
#include "shell/Collegamenti.h"
#include "shell/GestoreProtetto.h"
#include "ui/CControl.h"
#include "ui/Controlli.h"
#include "ui/EventiCampo.h"
#include "ui/FCale.h"

#include <QLineEdit>
#include <QPushButton>

namespace ondavia {

using costruttori::mostraIntero;

namespace {

constexpr char kTabellaCodiciSoggetto[] = "03_Allegato+3+-+Tabella+dei+codici+soggetto+per+sezione+del+REI.pdf";

} // namespace

std::function<void()> F1OP::gestoreCampo(std::function<void()> gestore)
{
    return [this, gestore = std::move(gestore)] {
        if (m_operazioni == 0) {
            // The focus a handler moves (a field error, the surname after the birth data) does not run
            // the handlers of the fields it leaves: two wrong dates would send it back and forth.
            const Operazione operazione(*this);
            eseguiProtetto(QString(), gestore);
        }
    };
}

void F1OP::collegaCampi()
{
    EventiCampo::di(topiva)->uscita = gestoreCampo([this] { topiva_LostFocus(); });
    EventiCampo::di(vONDT)->uscita = gestoreCampo([this] { vONDT_LostFocus(); });
    EventiCampo::di(vREDTNAS)->uscita = gestoreCampo([this] { vREDTNAS_LostFocus(); });
    EventiCampo::di(vRECF)->uscita = gestoreCampo([this] { vRECF_LostFocus(); });
    collegaComuni();
    // The calendar is no field handler: the box being typed in is left, and checked, once it has begun.
    for (int i = 0; i < 5; ++i) {
        rdata[i]->setProperty("Index", i);
        const auto calendario = [this, i] { eseguiProtetto(QString(), [this, i] { rdata_Click(i); }); };
        connect(rdata[i], &QPushButton::clicked, this, calendario);
        EventiCampo::di(casellaData(i))->doppioClic = calendario;
    }
}

void F1OP::topiva_LostFocus()
{
    // A stored subject keeps its row: only a new subject's code gets a progressive of its own.
    if (m_registrato) {
        return;
    }
    const QString codice = topiva->text();
    SQL = QStringLiteral("SELECT * From COPE WHERE OCOD=") + Apici(codice);
    db::Recordset righe;
    if (!righe.Open(SQL, Conn)) {
        throw ErroreEsecuzione(righe.lastError());
    }
    // A code already registered gets its next free progressive, so that a save adds a row of its own.
    if (righe.RecordCount() > 0) {
        CodiceCorrente = codice;
        proponiProgressivo();
    }
    righe.Close();
}

void F1OP::vONDT_LostFocus()
{
    impostaSfondo(vONDT, ColoreBianco);
    dataLasciata(vONDT);
}

void F1OP::vREDTNAS_LostFocus()
{
    dataLasciata(vREDTNAS);
}

void F1OP::dataLasciata(QLineEdit* casella)
{
    if (!senzaSpazi(casella->text()).isEmpty()) {
        ControllaDataCampo(
            casella, [this](QWidget* campo, QString& messaggio) { mostraErrore(campo, messaggio); }, Secolo::Nascita);
    }
}

void F1OP::vRECF_LostFocus()
{
    if (!senzaSpazi(vRECF->text()).isEmpty()) {
        DeduciCF();
    }
}

void F1OP::DeduciCF()
{
    mostraIntero(vRECF, maiuscole(vRECF->text()));
    const std::optional<DatiNascita> letti = leggiDatiNascita(vRECF->text(), QDate::currentDate());
    if (!letti) {
        mostraErrore(vRECF, QStringLiteral("Codice Fiscale non corretto."));
        return;
    }
    DatiNascita dati = *letti;
    mostraIntero(vRESEX, dati.sesso);
    mostraIntero(vREDTNAS, dati.data);
    QString errore;
    if (!cercaLuogoNascita(dati, &errore)) {
        throw ErroreEsecuzione(errore);
    }
    if (dati.luogoTrovato) {
        mostraIntero(vRENCOM, dati.comune);
        mostraIntero(vRENPRO, dati.provincia);
        vRECOG->setFocus();
    }
}

QLineEdit* F1OP::casellaData(int indice) const
{
    QLineEdit* const caselle[] = {vONDT, vREDTNAS, vPEDATAI, vPEDATAF, vDTCANC};
    return indice >= 0 && indice < 5 ? caselle[indice] : nullptr;
}

void F1OP::rdata_Click(int indice)
{
    QLineEdit* casella = casellaData(indice);
    if (!casella) {
        return;
    }
    // The box being typed in is left first and runs its checks, as when a button takes the focus; when
    // one of them keeps the focus on a field to mend, the picker does not open over it.
    casella->setFocus(Qt::MouseFocusReason);
    if (casella->window()->focusWidget() != casella) {
        return;
    }
    ApriCalendario(casella, casella == vONDT || casella == vREDTNAS ? Secolo::Nascita : Secolo::Corrente);
    casella->setFocus();
}

void F1OP::PushButton2_Click()
{
    eseguiProtetto(QString(), [] { apriDocumentoAiuto(QLatin1String(kTabellaCodiciSoggetto)); });
}

} // namespace ondavia
