// The help document on the communication file, written with the program's own PDF writer.
#include "GuidaControlloFile.h"

#include "DocumentoProprio.h"
#include "SchedaSoggetto.h"
#include "TestoPdf.h"
#include "app/Comunicazione.h"
#include "app/Dichiarazioni.h"
#include "app/Launch.h"
#include "core/Folian.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <string>

namespace ondavia {

using stampa::ansi;
using stampa::carattere;
using stampa::daPunti;

namespace {

// An A4 page in centimetres: the text column and where the footer stands.
constexpr float kSinistra = 2.2F;
constexpr float kLarghezza = 21.0256F - 2 * kSinistra;
constexpr float kAlto = 2.4F;
constexpr float kFondo = 26.9F;
constexpr float kPiede = 28.3F;
constexpr float kCorpoTesto = 10.0F;
constexpr float kCorpoSezione = 12.0F;
constexpr float kCorpoTitolo = 17.0F;
constexpr float kInterlinea = 1.35F;
constexpr float kRientroElenco = 0.55F;
constexpr char kPunto[] = "\x95"; // "•" in Windows-1252

// Lays the document out from the top of its first page: paragraphs wrapped at blanks inside the column,
// a new page whenever the next line would pass its foot.
class Impaginatore {
public:
    explicit Impaginatore(folian::Folian& pdf) : m_pdf(pdf) { nuovaPagina(); }

    void titolo(const QString& testo, const QString& sottotitolo)
    {
        colore(scheda::kColoreTitolo);
        blocco(testo, kCorpoTitolo, true, 0);
        colore(scheda::kColoreEtichetta);
        blocco(sottotitolo, kCorpoSezione, false, 0);
        m_y += 0.3F;
        m_pdf.SetColorFill(scheda::kColoreTitolo);
        m_pdf.DrawTextBox(kSinistra, m_y, kLarghezza, daPunti(1.2F), {}, 0, 0, 5);
        m_y += 0.6F;
    }

    void sezione(const QString& testo)
    {
        // A heading never stands alone at the foot of a page.
        if (m_y + 2.0F > kFondo) {
            nuovaPagina();
        }
        m_y += 0.35F;
        colore(scheda::kColoreTitolo);
        blocco(testo, kCorpoSezione, true, 0);
        m_y += 0.1F;
    }

    void paragrafo(const QString& testo)
    {
        colore(scheda::kColoreValore);
        blocco(testo, kCorpoTesto, false, 0);
        m_y += 0.2F;
    }

    // The program's own words, one line each, set in from the column.
    void citazione(const QStringList& righe)
    {
        colore(scheda::kColoreTitolo);
        for (const QString& riga : righe) {
            blocco(riga, kCorpoTesto, true, kRientroElenco);
        }
        m_y += 0.2F;
    }

    void elenco(const QStringList& voci)
    {
        colore(scheda::kColoreValore);
        for (const QString& voce : voci) {
            carattere(m_pdf, kCorpoTesto, false);
            spazioPer(interlinea(kCorpoTesto));
            m_pdf.DrawText(kSinistra + 0.15F, m_y + daPunti(kCorpoTesto), kPunto);
            blocco(voce, kCorpoTesto, false, kRientroElenco);
            m_y += 0.1F;
        }
        m_y += 0.15F;
    }

private:
    static float interlinea(float corpo) { return daPunti(corpo * kInterlinea); }

    void colore(const char* colore)
    {
        m_colore = colore;
        m_pdf.SetColorText(colore);
    }

    void spazioPer(float altezza)
    {
        if (m_y + altezza > kFondo) {
            nuovaPagina();
        }
    }

    void nuovaPagina()
    {
        m_pdf.BeginPage();
        ++m_pagina;
        m_y = kAlto;
        carattere(m_pdf, scheda::kCorpoPiede, false);
        m_pdf.SetColorText(scheda::kColoreEtichetta);
        m_pdf.DrawText(kSinistra, kPiede, ansi(QStringLiteral("Ondavia - %1").arg(Release)));
        m_pdf.DrawText(kSinistra + kLarghezza, kPiede, ansi(QStringLiteral("Pagina %1").arg(m_pagina)), 2);
        m_pdf.SetColorText(m_colore);
    }

    // The text's lines, each as wide as the column (less `rientro`) allows, from the current height down.
    void blocco(const QString& testo, float corpo, bool grassetto, float rientro)
    {
        carattere(m_pdf, corpo, grassetto);
        const float larghezza = kLarghezza - rientro;
        std::string riga;
        const auto scrivi = [&] {
            spazioPer(interlinea(corpo));
            carattere(m_pdf, corpo, grassetto);
            m_pdf.DrawText(kSinistra + rientro, m_y + daPunti(corpo), riga);
            m_y += interlinea(corpo);
            riga.clear();
        };
        for (const QString& parola : testo.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const std::string byte = ansi(parola);
            const std::string prova = riga.empty() ? byte : riga + ' ' + byte;
            if (!riga.empty() && m_pdf.TextLength(prova) > larghezza) {
                scrivi();
                riga = byte;
            } else {
                riga = prova;
            }
        }
        if (!riga.empty()) {
            scrivi();
        }
    }

    folian::Folian& m_pdf;
    const char* m_colore = scheda::kColoreValore;
    float m_y = 0;
    int m_pagina = 0;
};

// What the operator reads after writing the file, as the program says it, without the file's path.
QStringList messaggioDopoLaScrittura()
{
    const QString segnaposto = QStringLiteral("\x01");
    QStringList righe;
    for (const QString& riga : testoComunicazioneCreata(segnaposto).split(QStringLiteral("\r\n"))) {
        if (!riga.trimmed().isEmpty() && riga != QDir::toNativeSeparators(segnaposto)) {
            righe << riga.trimmed();
        }
    }
    return righe;
}

void scriviTesto(folian::Folian& pdf)
{
    Impaginatore pagina(pdf);
    pagina.titolo(QStringLiteral("Il file di comunicazione al REI"),
                  QStringLiteral("Che cosa contiene, dove viene salvato, che cosa controlla Ondavia e come si "
                                 "controlla e si invia"));

    pagina.sezione(QStringLiteral("A che cosa serve"));
    pagina.paragrafo(QStringLiteral(
        "Dai dati di un soggetto obbligato del registro, Ondavia scrive il file di comunicazione al Registro "
        "Elettronico degli Indirizzi (REI) dell'Agenzia delle Entrate: con il pulsante \"CREA COMUNICAZIONE\" "
        "della scheda del soggetto, oppure dal menu Funzioni con \"Crea Comunicazione\". Ondavia non invia "
        "nulla all'Agenzia: il file si controlla e si trasmette con il software dell'Agenzia, come spiegato "
        "in fondo a questo documento."));

    pagina.sezione(QStringLiteral("Che cosa contiene"));
    pagina.paragrafo(
        QStringLiteral(
            "Il file è un testo di %1 righe, dette record, ognuna lunga %2 caratteri e seguita da un a capo (CR LF); "
            "l'ultimo carattere di ogni record è \"A\". Ogni dato occupa posizioni fisse: un testo più corto del suo "
            "campo è completato da spazi, uno più lungo è tagliato, le date sono scritte come ggmmaaaa. I caratteri "
            "sono quelli della codifica Windows-1252. I record sono, nell'ordine:")
            .arg(NumeroRecord)
            .arg(LunghezzaRecord));
    pagina.elenco({
        QStringLiteral("Record \"0\", il soggetto e il tipo di comunicazione: la sigla \"0PEC00\", il tipo (0 primo "
                       "invio o variazione, 1 cancellazione) e il codice fiscale del soggetto; per una persona fisica "
                       "cognome, nome, sesso, data, comune e provincia di nascita; per una persona non fisica la "
                       "ragione sociale, il comune e la provincia della sede legale; il codice fiscale "
                       "dell'intermediario che trasmette e chi ha predisposto la comunicazione (1 il contribuente, "
                       "2 chi effettua l'invio)."),
        QStringLiteral("Record \"1\", il responsabile, la PEC e le sezioni del registro: codice fiscale, cognome, "
                       "nome, sesso, data, comune e provincia di nascita, e-mail e telefono del responsabile; per un "
                       "primo invio o una variazione l'indirizzo di posta elettronica certificata (PEC), il suo "
                       "gestore, la data di decorrenza e quella di cessazione; le tre sezioni del registro "
                       "(Anagrafe rapporti, Monitoraggio fiscale, FACTA/CRS), ognuna come 1 se scelta o 0."),
        QStringLiteral("Record \"2\", il tipo di soggetto e la cancellazione: il codice del tipo di soggetto e di "
                       "nuovo i dati del soggetto; per una cancellazione il motivo (1 cessazione senza confluenza, 2 "
                       "cessazione con confluenza in altro soggetto, 3 perdita dei requisiti soggettivi), la data di "
                       "cancellazione e, secondo il motivo, il codice fiscale della società incorporante (2) oppure "
                       "l'indirizzo, il comune e la provincia dove è disponibile la contabilità ordinaria (1 e 3)."),
        QStringLiteral("Record \"9\", la chiusura: due volte \"000000001\", perché un file porta sempre un solo "
                       "soggetto."),
    });

    pagina.sezione(QStringLiteral("Dove viene salvato"));
    pagina.paragrafo(QStringLiteral(
        "Ondavia chiede dove salvare il file in una finestra che si apre sul Desktop e propone come nome "
        "\"OVIA_\", le prime 15 lettere del nome del soggetto, \"_\", il progressivo e \".TXT\": per esempio "
        "OVIA_ROSSIMARIO_001.TXT. Se un file con quel nome esiste già, chiede se sostituirlo; rispondendo No "
        "si torna alla scelta del nome. Il file prende il suo nome solo quando è completo: se la scrittura non "
        "riesce, un file già presente con lo stesso nome resta com'era."));

    pagina.sezione(QStringLiteral("Che cosa controlla Ondavia"));
    pagina.paragrafo(QStringLiteral(
        "Con il pulsante \"CREA COMUNICAZIONE\" il soggetto viene prima controllato e registrato, e il file è "
        "scritto solo se i controlli sono superati. Ondavia si ferma sul primo campo che l'Agenzia scarterebbe, "
        "lo colora di rosso e spiega che cosa manca:"));
    pagina.elenco({
        QStringLiteral("il tipo di soggetto non indicato, un codice fiscale mancante o errato (del soggetto, del "
                       "responsabile o dell'intermediario);"),
        QStringLiteral("per una persona non fisica la ragione sociale, il comune o la provincia della sede legale; "
                       "per una persona fisica cognome, nome, sesso, data, comune o provincia di nascita;"),
        QStringLiteral("nessuna sezione del registro scelta come motivo della comunicazione;"),
        QStringLiteral("un dato del responsabile: codice fiscale, cognome, nome, sesso, data e luogo di nascita, "
                       "e-mail o telefono;"),
        QStringLiteral("per un primo invio o una variazione l'indirizzo PEC, il gestore o la data di decorrenza "
                       "mancanti, o una data non valida;"),
        QStringLiteral("per una cancellazione la data di cancellazione mancante o errata, o nessun motivo scelto."),
    });
    pagina.paragrafo(QStringLiteral(
        "Al momento di scrivere Ondavia rifiuta inoltre, indicando il campo, un valore che il file non può "
        "portare: una data che non è una data valida, o un carattere che la codifica del file non ha (lettere di "
        "altri alfabeti, alcuni simboli). In questi casi non viene scritto nessun file. Il comando \"Crea "
        "Comunicazione\" del menu Funzioni scrive i dati come sono sullo schermo, senza controllarli né "
        "registrarli: conviene usarlo per un soggetto già controllato."));

    pagina.sezione(QStringLiteral("Controllo e invio con Entratel o Fisconline"));
    pagina.paragrafo(QStringLiteral("Scritto il file, Ondavia mostra il messaggio \"%1\" con il percorso del file e "
                                    "questa indicazione:")
                         .arg(titoloComunicazioneCreata()));
    pagina.citazione(messaggioDopoLaScrittura());
    pagina.paragrafo(QStringLiteral(
        "Il file si controlla quindi con il programma di controllo dell'Agenzia per le comunicazioni al REI, nel "
        "Desktop Telematico, e si trasmette con Entratel o Fisconline secondo le istruzioni dell'Agenzia. Se il "
        "controllo segnala un errore, correggi il soggetto in Ondavia, registralo e crea di nuovo il file."));
}

// Writes the document to `percorso` (in place of any file there, only once it is complete).
bool scriviGuidaControlloFile(const QString& percorso, QString* errore)
{
    const DocumentoProprio guida{QStringLiteral("il documento di aiuto"), QStringLiteral("dei documenti di aiuto"),
                                 ansi(QStringLiteral("Ondavia - Il file di comunicazione al REI")),
                                 ansi(QStringLiteral("Controllo del file con Entratel o Fisconline")), "REI"};
    return scriviDocumentoProprio(percorso, guida, scriviTesto, errore);
}

} // namespace

bool preparaGuidaControlloFile(QString* errore)
{
    const QString percorso =
        QDir(cartellaProgramma()).filePath(QStringLiteral("Help/") + QLatin1String(DocumentoControlloFile));
    return QFileInfo::exists(percorso) || scriviGuidaControlloFile(percorso, errore);
}

} // namespace ondavia
