#include "ScrittoreBackup.h"

#include "Cifratura.h"
#include "FileBackup.h"
#include "FileUtente.h"
#include "Testi.h"
#include "Windows1252.h"
#include "db/Connection.h"
#include "db/Cursor.h"

#include <QDir>
#include <QSaveFile>

#include <string_view>
#include <vector>

namespace ondavia {

namespace {

// Bytes gathered before each write: few system calls, little memory.
constexpr qsizetype kBlocco = 1 << 18;

// Appends a text given in UTF-8, without its leading and trailing blanks, as testoVoceBackup and accoda
// would write it once decoded, for the characters of one or two UTF-8 bytes. False, with the line as it
// was, at any other character or one no line can carry: the text then takes the general way.
bool accodaUtf8(QByteArray* linea, std::string_view testo)
{
    while (!testo.empty() && testo.front() == ' ') {
        testo.remove_prefix(1);
    }
    while (!testo.empty() && testo.back() == ' ') {
        testo.remove_suffix(1);
    }
    const qsizetype inizio = linea->size();
    linea->resize(inizio + static_cast<qsizetype>(testo.size()));
    char* scritto = linea->data() + inizio;
    for (std::size_t i = 0; i < testo.size(); ++i) {
        char16_t u = static_cast<unsigned char>(testo[i]);
        if (u >= 0x80) {
            const auto seguito = i + 1 < testo.size() ? static_cast<unsigned char>(testo[i + 1]) : 0;
            if (u < 0xC2 || u > 0xDF || (seguito & 0xC0) != 0x80) {
                linea->truncate(inizio);
                return false;
            }
            u = static_cast<char16_t>(((u & 0x1F) << 6) | (seguito & 0x3F));
            ++i;
        }
        const int b = byteVoceBackup(QChar(u));
        if (b < 0) {
            linea->truncate(inizio);
            return false;
        }
        *scritto++ = static_cast<char>(b);
    }
    linea->truncate(scritto - linea->data());
    return true;
}

// Appends the bytes of a value to a line; -1 when all of it went in, else the first character that no line
// can carry, after which the line is incomplete.
qsizetype accoda(QByteArray* linea, const QString& valore)
{
    const qsizetype inizio = linea->size();
    linea->resize(inizio + valore.size());
    char* scritto = linea->data() + inizio;
    for (qsizetype i = 0; i < valore.size(); ++i) {
        const int b = byteVoceBackup(valore[i]);
        if (b < 0) {
            return i;
        }
        *scritto++ = static_cast<char>(b);
    }
    return -1;
}

// Where the operator finds a column of the register on the register form: its tab and its label. A column
// that the form does not show (or one of another table) is named by its table and its own name.
QString doveSulModulo(const QString& tabella, const QString& colonna)
{
    struct Posto {
        const char* colonna;
        const char* scheda; // null: the list of subjects above the tabs
        const char* etichetta;
    };
    static constexpr Posto posti[] = {
        {"OCOD", "SOGGETTO", "Codice Fiscale"},
        {"ONPROG", "SOGGETTO", "Progressivo"},
        {"OTIPOSOGD", "SOGGETTO", "Tipo Soggetto"},
        {"oTIPOSOG", "SOGGETTO", "Tipo Soggetto"},
        {"OSTP", "SOGGETTO", "PNF / PF"},
        {"orag", "SOGGETTO", "Ragione Sociale"},
        {"OSCOM", "SOGGETTO", "Sede legale (Località)"},
        {"OSPRO", "SOGGETTO", "Prov. della sede legale"},
        {"ODES", nullptr, "Soggetto Obbligato"},
        {"OCOG", "SOGGETTO", "Cognome"},
        {"ONOME", "SOGGETTO", "Nome"},
        {"OSEX", "SOGGETTO", "Sesso (M/F)"},
        {"ONDT", "SOGGETTO", "Data di nascita"},
        {"oncom", "SOGGETTO", "Comune di nascita"},
        {"onpro", "SOGGETTO", "Prov. di nascita"},
        {"OMOC1", "SOGGETTO", "ANAGRAFE RAPPORTI"},
        {"OMOC2", "SOGGETTO", "MONITORAGGIO FISCALE"},
        {"OMOC3", "SOGGETTO", "FACTA/CRS"},
        {"OTIPOCOM1", "SOGGETTO", "PRIMO INVIO o VARIAZIONE"},
        {"OTIPOCOM2", "SOGGETTO", "CANCELLAZIONE"},
        {"ORECF", "RESPONSABILE", "Codice Fiscale del Responsabile"},
        {"ORECOG", "RESPONSABILE", "Cognome"},
        {"ORENOME", "RESPONSABILE", "Nome"},
        {"ORESEX", "RESPONSABILE", "Sesso (M/F)"},
        {"OREDTNAS", "RESPONSABILE", "Data di nascita"},
        {"oRENCOM", "RESPONSABILE", "Comune di nascita"},
        {"oREnpro", "RESPONSABILE", "Prov."},
        {"OREEMAIL", "RESPONSABILE", "E-mail personale"},
        {"ORETEL", "RESPONSABILE", "Telefono"},
        {"OPEEMAIL", "POSTA ELETTRONICA", "Indirizzo PEC"},
        {"OPEDATAI", "POSTA ELETTRONICA", "Data DECORRENZA"},
        {"OPEDATAF", "POSTA ELETTRONICA", "Data CESSAZIONE"},
        {"OPEGESTORE", "POSTA ELETTRONICA", "Gestore PEC"},
        {"odtcanc", "CANCELLAZIONE PEC", "Data CANCELLAZIONE"},
        {"OMC1", "CANCELLAZIONE PEC", "Cessazione SENZA confluenza in altro soggetto"},
        {"OMC2", "CANCELLAZIONE PEC", "Cessazione CON confluenza in altro soggetto"},
        {"OMC3", "CANCELLAZIONE PEC", "Perdita requisiti soggettivi"},
        {"OSICF", "CANCELLAZIONE PEC", "Codice Fiscale della società incorporante"},
        {"OSIRAG", "CANCELLAZIONE PEC", "Indirizzo"},
        {"OSICOM", "CANCELLAZIONE PEC", "Comune Sede Legale"},
        {"OSIPRO", "CANCELLAZIONE PEC", "Prov."},
        {"OITTCF", "IMPEGNO ALLA TRASMISSIONE", "Codice Fiscale Intermediario"},
        {"oitt1", "IMPEGNO ALLA TRASMISSIONE", "Dal CONTRIBUENTE"},
        {"oitt2", "IMPEGNO ALLA TRASMISSIONE", "Da chi EFFETTUA L'INVIO"},
    };
    for (const Posto& posto : posti) {
        if (tabella.compare(TabellaSoggetti, Qt::CaseInsensitive) == 0 &&
            colonna.compare(QLatin1String(posto.colonna), Qt::CaseInsensitive) == 0) {
            return posto.scheda ? QStringLiteral("scheda %1, \"%2\"")
                                      .arg(QLatin1String(posto.scheda), QString::fromUtf8(posto.etichetta))
                                : QStringLiteral("elenco dei soggetti, \"%1\"").arg(QLatin1String(posto.etichetta));
        }
    }
    return QStringLiteral("tabella %1, campo %2").arg(tabella, colonna);
}

// Subjects listed one by one in the message of a scrambled backup refused; the others are counted.
constexpr qsizetype kSoggettiElencati = 15;

class Scrittura {
public:
    Scrittura(db::Cursor& righe, const QString& tabella, const ScrittoreBackup::Opzioni& opzioni)
        : m_righe(righe), m_tabella(tabella), m_opzioni(opzioni), m_codice(righe.fieldIndex(QStringLiteral("OCOD"))),
          m_nome(righe.fieldIndex(QStringLiteral("ODES")))
    {
        for (int c = 0; c < righe.FieldCount(); ++c) {
            m_tipi.push_back(righe.Type(c));
        }
        m_intestazione = cp1252::encode(QString(QChar(SeparatoreBackup)) + tabella);
    }

    // The current row's line, encoded. False with the reason when the row cannot be written at all; a row
    // that only scrambling cannot carry is gathered for nonCifrabili() and the writing goes on, so that one
    // message can name every such field.
    bool riga(QByteArray* uscita, QString* errore)
    {
        // A plain line goes straight into the bytes written; a scrambled one is scrambled as a whole first.
        if (!m_opzioni.cifra) {
            uscita->append(m_intestazione);
            for (int c = 0; c < static_cast<int>(m_tipi.size()); ++c) {
                uscita->append(static_cast<char>(SeparatoreBackup));
                std::string_view testo;
                if (m_righe.storedText(c, &testo) && accodaUtf8(uscita, testo)) {
                    continue;
                }
                const QString valore = testoVoceBackup(m_righe.value(c), m_tipi[c]);
                if (const qsizetype i = accoda(uscita, valore); i >= 0) {
                    return rifiuta(c, valore, i, errore);
                }
            }
            uscita->append("\r\n", 2);
            return true;
        }
        m_linea.clear();
        m_linea += QChar(SeparatoreBackup);
        m_linea += m_tabella;
        for (int c = 0; c < static_cast<int>(m_tipi.size()); ++c) {
            const QString valore = testoVoceBackup(m_righe.value(c), m_tipi[c]);
            if (const qsizetype i = primoCarattereNonSalvabile(valore); i >= 0) {
                return rifiuta(c, valore, i, errore);
            }
            m_linea += QChar(SeparatoreBackup);
            m_linea += valore;
        }
        NonCifrabili scarti;
        m_linea = CifraRiga(m_linea, QStringLiteral("Scrivi"), ChiaveBackup, &scarti);
        if (!scarti.isEmpty()) {
            QStringList campi;
            for (const CarattereNonCifrabile& scarto : scarti) {
                const int colonna = scarto.voce - 2;
                const QString campo = colonna >= 0 ? doveSulModulo(m_tabella, m_righe.name(colonna)) : m_tabella;
                if (!campi.contains(campo)) {
                    campi << campo;
                }
            }
            m_nonCifrabili << QStringLiteral("%1: %2").arg(soggetto(), campi.join(QStringLiteral("; ")));
            return true;
        }
        uscita->append(cp1252::encode(m_linea));
        uscita->append("\r\n", 2);
        return true;
    }

    // The message for the rows scrambling could not carry; empty when there were none.
    QString nonCifrabili() const
    {
        if (m_nonCifrabili.isEmpty()) {
            return {};
        }
        QString elenco = QStringLiteral("- ") + m_nonCifrabili.mid(0, kSoggettiElencati).join(QStringLiteral("\r\n- "));
        if (m_nonCifrabili.size() > kSoggettiElencati) {
            elenco += QStringLiteral("\r\n... e altri %1 soggetti").arg(m_nonCifrabili.size() - kSoggettiElencati);
        }
        return QStringLiteral(
                   "Impossibile creare il backup cifrato: la cifratura non può riportare indietro intatto il "
                   "testo di questi campi (troppo lungo, o con caratteri che la cifratura altera):\r\n%1\r\n"
                   "Creare un backup non cifrato (senza la spunta su \"Cripta\"), oppure accorciare o "
                   "correggere i campi indicati: nessun file è stato scritto.")
            .arg(elenco);
    }

private:
    bool rifiuta(int colonna, const QString& valore, qsizetype i, QString* errore)
    {
        // The field named as in the message of a scrambled backup refused, by its place on the form.
        *errore = QStringLiteral("Impossibile creare il file di backup: questo campo contiene %1, che un file di "
                                 "backup non può contenere:\r\n- %2: %3\r\nCorreggere il campo e ripetere il "
                                 "salvataggio: nessun file è stato scritto.")
                      .arg(descriviCarattere(valore, i), soggetto(), doveSulModulo(m_tabella, m_righe.name(colonna)));
        return false;
    }

    QString soggetto()
    {
        const QString codice = m_codice >= 0 ? senzaSpazi(NoNull(m_righe.value(m_codice))) : QString();
        const QString nome = m_nome >= 0 ? senzaSpazi(NoNull(m_righe.value(m_nome))) : QString();
        const QString chi = codice.isEmpty() ? QStringLiteral("senza codice fiscale") : codice;
        return nome.isEmpty() ? chi : QStringLiteral("%1 (%2)").arg(chi, nome);
    }

    db::Cursor& m_righe;
    const QString& m_tabella;
    const ScrittoreBackup::Opzioni& m_opzioni;
    const int m_codice;
    const int m_nome;
    std::vector<int> m_tipi;
    QByteArray m_intestazione; // the separator and the table's name, which begin every plain line
    QString m_linea;
    QStringList m_nonCifrabili;
};

} // namespace

ScrittoreBackup::ScrittoreBackup(db::Connection& connessione) : m_connessione(connessione) {}

bool ScrittoreBackup::ScriviTabella(const QString& percorso, const QString& tabella, const Opzioni& opzioni,
                                    QString* errore)
{
    QString sql = QStringLiteral("SELECT * From ") + tabella;
    if (!opzioni.soloSoggetto.isNull()) {
        sql += QStringLiteral(" WHERE OCOD=") + Apici(opzioni.soloSoggetto);
    }
    // Row by row: a register of any size is written without holding it in memory.
    db::Cursor righe;
    if (!righe.Open(sql, m_connessione)) {
        *errore = QStringLiteral("Impossibile leggere l'archivio (tabella %1): %2").arg(tabella, righe.lastError());
        return false;
    }

    const QString mostrato = QDir::toNativeSeparators(percorso);
    QSaveFile file(percorso);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *errore = QStringLiteral("Impossibile creare il file di backup\r\n%1\r\nLa cartella non esiste o non "
                                 "consente la scrittura (errore del sistema: %2).")
                      .arg(mostrato, file.errorString());
        return false;
    }
    const QString interrotto = QStringLiteral("Impossibile completare il file di backup\r\n%1\r\nLa scrittura si è "
                                              "interrotta (errore del sistema: %2): il file non è stato creato e un "
                                              "file già presente con lo stesso nome è rimasto com'era.");

    // An uncommitted QSaveFile removes its temporary file: the target is either complete or untouched.
    Scrittura scrittura(righe, tabella, opzioni);
    QByteArray blocco;
    blocco.reserve(kBlocco + 64 * 1024);
    while (righe.next()) {
        if (opzioni.passo) {
            opzioni.passo();
        }
        if (!scrittura.riga(&blocco, errore)) {
            return false;
        }
        if (blocco.size() >= kBlocco) {
            if (!scriviTutto(file, blocco)) {
                *errore = interrotto.arg(mostrato, file.errorString());
                return false;
            }
            blocco.clear();
        }
    }
    if (!righe.lastError().isEmpty()) {
        *errore = QStringLiteral("Impossibile leggere l'archivio (tabella %1): %2").arg(tabella, righe.lastError());
        return false;
    }
    if (const QString nonCifrabili = scrittura.nonCifrabili(); !nonCifrabili.isEmpty()) {
        *errore = nonCifrabili;
        return false;
    }
    if (!scriviTutto(file, blocco) || !file.commit()) {
        *errore = interrotto.arg(mostrato, file.errorString());
        return false;
    }
    return true;
}

} // namespace ondavia
