// The main window's command dispatch.
#include "F0.h"

#include "Collegamenti.h"
#include "FSalva.h"
#include "FVer.h"
#include "FunzioniPUB.h"
#include "GestoreProtetto.h"
#include "KELM_BASE.h"

#include "app/Dichiarazioni.h"
#include "app/ErroreEsecuzione.h"
#include "app/MsgBox.h"
#include "app/Testi.h"
#include "printout/GuidaControlloFile.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace ondavia {

namespace {

const QString IntestazioneErrore = QStringLiteral("ERR COMMANDBARS EXECUTE: ");

const QString DocumentoModalita = QStringLiteral("02_Allegato+2+-Modalità+di+compilazione+e+trasmissione.pdf");
const QString DocumentoProvvedimento = QStringLiteral("Provv_PEC_10052017.pdf");
const QString DocumentoGuidaRei = QStringLiteral("guida REI COMPLETA.pdf");

const QString PaginaRei = QStringLiteral(
    "/wps/content/nsilib/nsi/schede/comunicazioni/registro+elettronico+degli+indirizzi+%28rei%29/scheda+info+rei");
const QString QueryPaginaRei = QStringLiteral("page=operatorientipa");
const QString QueryAggiornamenti = QStringLiteral("app_aggiornamenti=aggiornamenti");

// The program's own document: written at its first need, like the print-out's template.
void apriGuidaControlloFile()
{
    QString errore;
    if (!preparaGuidaControlloFile(&errore)) {
        msgBox(errore, MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Documento di aiuto"));
        return;
    }
    apriDocumentoAiuto(QString::fromLatin1(DocumentoControlloFile));
}

} // namespace

bool F0::passo(const std::function<void()>& azione)
{
    return eseguiProtetto(IntestazioneErrore, azione);
}

QString F0::nomeFormAttiva() const
{
    const QMdiSubWindow* finestra = m_area->currentSubWindow();
    if (!finestra || !finestra->widget() || finestra->isHidden()) {
        throw ErroreEsecuzione(QStringLiteral("nessuna finestra aperta nell'area di lavoro"));
    }
    return finestra->widget()->objectName();
}

void F0::CommandBars_Execute(int id, const QString& caption)
{
    // Each step runs on after a failure of the one before, so a command runs even when, say,
    // no child window is open to name the active form.
    passo([this] { FormAttiva = nomeFormAttiva(); });
    passo([] { CodiceCorrente = senzaSpazi(CodiceCorrente); });
    eseguiAzione(id, caption);
}

void F0::eseguiAzione(int id, const QString& caption)
{
    switch (id) {
    case ComandoCreaComunicazione:
        passo([this] { apriRegistro().CreaComunicazione(); });
        return;
    case ComandoControlloFile:
        passo([] { apriGuidaControlloFile(); });
        return;
    case ComandoPagineAgenzia:
        apriPagineAgenzia(caption);
        return;
    default:
        break;
    }
    if (id >= 700 && id <= 727) {
        eseguiComandoBase(id, caption);
    }
}

void F0::eseguiComandoBase(int id, const QString& caption)
{
    switch (id) {
    case ComandoRegistra:
        passo([this] { apriRegistro().Conferma(); });
        break;
    case ComandoAggiungi:
        passo([this] { apriRegistro().Aggiungi(); });
        break;
    case ComandoElimina:
        if (FormAttiva == QLatin1String("F1OP")) {
            passo([this] { apriRegistro().Elimina(); });
        }
        break;
    case ComandoStampa:
        passo([this] { apriRegistro().STAMPA(); });
        break;
    case ComandoIstruzioni:
        passo([] { apriDocumentoAiuto(DocumentoModalita); });
        break;
    case ComandoEsci:
        passo([this] { chiudiProgramma(); });
        break;
    case ComandoVersione:
        passo([this] {
            FVer versione(this);
            versione.exec();
        });
        break;
    case ComandoCopia:
        passo([this] { apriRegistro().Copia(); });
        break;
    case ComandoSalva:
        if (!CodiceCorrente.isEmpty()) {
            // The backup is made of the stored subjects: changes on screen are asked about first.
            if (m_registro && !m_registro->lasciaSoggetto()) {
                break;
            }
            SalvaTutti = false;
            if (caption == QLatin1String("Salva TUTTI")) {
                SalvaTutti = true;
            }
            ModoSalva = QStringLiteral("S");
            passo([this] { mostraArchivio(); });
            passo([this] { apriRegistro(); });
        }
        break;
    case ComandoRipristina:
        // The restore reads the list again over the subject on screen.
        if (m_registro && !m_registro->lasciaSoggetto()) {
            break;
        }
        ModoSalva = QStringLiteral("R");
        passo([this] { mostraArchivio(); });
        passo([this] { apriRegistro(); });
        break;
    case ComandoAggiornamenti:
        passo([] { apriPaginaProduttore(QStringLiteral("/"), QueryAggiornamenti); });
        break;
    case ComandoRichiestaAssistenza:
        passo([] {
            inviaMailUfficio(indirizzoMail(ChiaveMailAssistenza), QStringLiteral("Ufficio Tecnico"),
                             ChiaveMailAssistenza);
        });
        break;
    case ComandoAssistenzaRemota:
        passo([] { AssistenzaRemota(); });
        break;
    default:
        break;
    }
}

void F0::apriPagineAgenzia(const QString& caption)
{
    if (caption == QLatin1String("Agenzia Entrate - Provvedimento")) {
        passo([] { apriDocumentoAiuto(DocumentoProvvedimento); });
    }
    if (caption == QLatin1String("Agenzia Entrate - Pagina REI")) {
        passo([] { apriPaginaAgenzia(PaginaRei, QueryPaginaRei); });
    }
    if (caption == QLatin1String("Guida REI Completa (pdf)")) {
        passo([] { apriDocumentoAiuto(DocumentoGuidaRei); });
    }
}

void F0::mostraArchivio()
{
    FSalva archivio(this);
    archivio.esegui();
    if (archivio.ripristinoEseguito()) {
        passo([this] { apriRegistro().Lista(); });
    }
}

void F0::chiudiProgramma()
{
    if (confermaUscita()) {
        m_uscita();
    }
}

bool F0::confermaUscita()
{
    m_uscitaConfermata = msgBox(QStringLiteral("Vuoi chiudere il programma?"), MsgButtons::YesNo, MsgIcon::None,
                                QStringLiteral("Chiudi")) == MsgResult::Yes &&
                         (!m_registro || m_registro->lasciaSoggetto());
    return m_uscitaConfermata;
}

} // namespace ondavia
