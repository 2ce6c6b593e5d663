#include "RipristinoBackup.h"

#include "Dates.h"
#include "FileBackup.h"
#include "LettoreBackup.h"
#include "Testi.h"
#include "db/Connection.h"
#include "db/Statement.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace ondavia {

namespace {

const QString Annullato = QStringLiteral("\r\nIl ripristino è stato annullato: l'archivio non è stato modificato.");

// A value shown in a message: long ones are cut, so that a damaged line does not fill the screen, and
// control characters are shown by their code, since a message box would not show them.
QString mostra(const QString& voce)
{
    constexpr qsizetype kMassimo = 80;
    QString testo;
    for (QChar c : voce.left(kMassimo)) {
        testo += c.unicode() < 0x20 ? QStringLiteral("<%1>").arg(c.unicode()) : QString(c);
    }
    return voce.size() <= kMassimo ? testo : testo + QStringLiteral("…");
}

bool nomeTabellaValido(const QString& nome)
{
    static const QRegularExpression identificatore(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return identificatore.match(nome).hasMatch();
}

// A field of `larghezza` characters: cut, or filled with blanks on the right.
QString campoFisso(const QString& testo, qsizetype larghezza)
{
    return testo.left(larghezza).leftJustified(larghezza, QLatin1Char(' '));
}

// Characters `da` to `a` (1-based, inclusive) of a text, as far as it has them.
QString caratteri(const QString& testo, qsizetype da, qsizetype a)
{
    return testo.mid(da - 1, a - da + 1);
}

// Descriptions of the coded list "ITT" are laid out in 32 characters: the code, blanks, a flag and a date
// at the end. Older descriptions held the date a character or two earlier; each of the two tests moves
// such a date into place, and after the first one character 15 is a blank, so at most one applies.
QString impaginaITT(QString d)
{
    if (caratteri(d, 16, 16) == QLatin1String("/")) {
        d = campoFisso(caratteri(d, 1, 11) + QStringLiteral("     "), 16) + QStringLiteral("     ") +
            caratteri(d, 13, 13) + campoFisso(caratteri(d, 14, 23), 10);
    }
    if (caratteri(d, 15, 15) == QLatin1String("/")) {
        d = campoFisso(caratteri(d, 1, 11) + QStringLiteral("     "), 16) + QStringLiteral("     ") +
            caratteri(d, 12, 12) + campoFisso(caratteri(d, 13, 22), 10);
    }
    return d;
}

// A restore changes every page of the subjects' table and of its indexes: with SQLite's usual cache they
// would be written out and read back again half-way. The connection's own cache size comes back after.
class CacheAmpia {
public:
    explicit CacheAmpia(db::Connection& connessione) : m_connessione(connessione)
    {
        db::Recordset attuale;
        if (attuale.Open(QStringLiteral("PRAGMA cache_size"), connessione) && attuale.RecordCount() == 1) {
            m_prima = attuale.Fields(0).Value().toText();
            connessione.Execute(QStringLiteral("PRAGMA cache_size = -%1").arg(RipristinoBackup::CacheKiB));
        }
    }
    ~CacheAmpia()
    {
        if (!m_prima.isEmpty()) {
            m_connessione.Execute(QStringLiteral("PRAGMA cache_size = ") + m_prima);
        }
    }
    CacheAmpia(const CacheAmpia&) = delete;
    CacheAmpia& operator=(const CacheAmpia&) = delete;

private:
    db::Connection& m_connessione;
    QString m_prima;
};

} // namespace

struct RipristinoBackup::Tabella {
    QString nome;
    db::Recordset colonne; // no rows: the table's columns, in their order, and their conversions
    int colonnaCodice = -1;
    int colonnaProgressivo = -1;
    // Rows up to this rowid were there before the restore; the rows it adds come after them.
    qint64 ultimaRigaPrecedente = 0;
    // One statement for every row added, with a value for each column: a restore adds thousands.
    std::unique_ptr<db::Statement> inserisci;
    // Whether a row of this restore already has the code and progressive, as the database compares them.
    std::unique_ptr<db::Statement> doppione;
    // The rows from before the restore of one subject, given its code: of the row just added, or of each
    // subject in turn when the delete at the end is refused.
    std::unique_ptr<db::Statement> cancellaPrecedenti;
    // A delete of cancellaPrecedenti failed: the rows from before of every restored subject are deleted at
    // the end, all at once, and a refusal is told there.
    bool cancellaAllaFine = false;
    std::vector<db::Value> valori;
};

RipristinoBackup::RipristinoBackup(db::Connection& connessione, Opzioni opzioni)
    : m_connessione(connessione), m_opzioni(std::move(opzioni))
{
}

RipristinoBackup::~RipristinoBackup() = default;

void RipristinoBackup::avvisa(const QString& testo)
{
    if (m_opzioni.avviso) {
        m_opzioni.avviso(testo);
    }
}

bool RipristinoBackup::RipristinaArchivio(const QString& percorso, QString* errore)
{
    m_tabelle.clear();
    LettoreBackup lettore;
    if (!lettore.apri(percorso, errore)) {
        *errore += Annullato;
        return false;
    }

    const CacheAmpia cache(m_connessione);
    db::Transaction transazione(m_connessione);
    if (!transazione.isActive()) {
        *errore = QStringLiteral("Impossibile iniziare il ripristino: %1").arg(m_connessione.lastError()) + Annullato;
        return false;
    }
    bool prima = true;
    bool cifrato = false;
    QString testo;
    QList<QStringView> voci;
    for (;;) {
        const LettoreBackup::Esito esito = lettore.prossima(&testo);
        if (esito == LettoreBackup::Esito::Fine) {
            break;
        }
        if (esito == LettoreBackup::Esito::Errore) {
            *errore = lettore.errore() + Annullato;
            return false;
        }
        if (prima) {
            if (!primaRigaDiBackup(testo, &cifrato)) {
                *errore = messaggioNonBackup();
                return false;
            }
            prima = false;
        }
        if (esito == LettoreBackup::Esito::RigaTroppoLunga) {
            avvisa(QStringLiteral("La riga %1 del file è lunga %2 byte, troppo per una riga di backup: non è stata "
                                  "ripristinata.")
                       .arg(lettore.numeroRiga())
                       .arg(lettore.lunghezzaRiga()));
            continue;
        }
        // Blank lines are skipped before unscrambling, which would turn them into a row of empty items.
        if (senzaSpazi(testo).isEmpty()) {
            continue;
        }
        // What a disk gives back in place of a lost end of file.
        if (std::all_of(testo.cbegin(), testo.cend(), [](QChar c) { return c == u'\0' || c == u' '; })) {
            avvisa(QStringLiteral("La riga %1 del file contiene solo caratteri nulli, come la parte rovinata di un "
                                  "file: è stata ignorata.")
                       .arg(lettore.numeroRiga()));
            continue;
        }
        vociRigaLetta(&testo, cifrato, &voci);
        if (!riga(voci, lettore.numeroRiga(), errore)) {
            return false;
        }
    }
    if (prima) {
        *errore = messaggioNonBackup();
        return false;
    }
    for (const std::shared_ptr<Tabella>& t : std::as_const(m_tabelle)) {
        if (t->cancellaAllaFine && !cancellaSoggetti(*t, errore)) {
            return false;
        }
    }
    m_tabelle.clear();
    if (!transazione.commit()) {
        *errore = QStringLiteral("Impossibile completare il ripristino: %1").arg(m_connessione.lastError()) + Annullato;
        return false;
    }
    return true;
}

bool RipristinoBackup::riga(const Voci& campi, qint64 numero, QString* errore)
{
    const QString nome = campi.value(1).toString();
    if (nome == QLatin1String("CTAB")) {
        RipristinaCTAB(campi, numero);
        return true;
    }
    Tabella* t = tabella(nome, numero, errore);
    if (!t) {
        return false;
    }
    return RipristinaRiga(*t, campi, numero, errore);
}

RipristinoBackup::Tabella* RipristinoBackup::tabella(const QString& nome, qint64 numero, QString* errore)
{
    const QString chiave = nome.toCaseFolded();
    if (const auto trovata = m_tabelle.constFind(chiave); trovata != m_tabelle.constEnd()) {
        return trovata->get();
    }
    if (!nomeTabellaValido(nome)) {
        *errore = QStringLiteral("La riga %1 del file non è una riga di backup di ONDAVIA (il nome della tabella, "
                                 "\"%2\", non è valido).")
                      .arg(numero)
                      .arg(mostra(nome)) +
                  Annullato;
        return nullptr;
    }
    auto t = std::make_shared<Tabella>();
    t->nome = nome;
    if (!t->colonne.Open(QStringLiteral("SELECT * From ") + nome + QStringLiteral(" WHERE 0 = 1"), m_connessione)) {
        *errore = QStringLiteral("La riga %1 del file nomina la tabella %2, che l'archivio non contiene (%3).")
                      .arg(numero)
                      .arg(nome, t->colonne.lastError()) +
                  Annullato;
        return nullptr;
    }
    t->colonnaCodice = t->colonne.fieldIndex(QStringLiteral("OCOD"));
    t->colonnaProgressivo = t->colonne.fieldIndex(QStringLiteral("ONPROG"));
    if (t->colonnaCodice < 0) {
        *errore = QStringLiteral("La riga %1 del file nomina la tabella %2, che non contiene i dati dei soggetti: non "
                                 "ha il campo OCOD.")
                      .arg(numero)
                      .arg(nome) +
                  Annullato;
        return nullptr;
    }
    QStringList nomi;
    QStringList segni;
    for (int c = 0; c < t->colonne.FieldCount(); ++c) {
        nomi << QLatin1Char('"') + t->colonne.Fields(c).name() + QLatin1Char('"');
        segni << QStringLiteral("?");
    }
    t->inserisci = std::make_unique<db::Statement>(
        m_connessione, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(nome, nomi.join(QLatin1Char(',')), segni.join(QLatin1Char(','))));
    if (!t->inserisci->isValid()) {
        *errore =
            QStringLiteral("Impossibile aggiungere righe alla tabella %1: %2").arg(nome, t->inserisci->lastError()) +
            Annullato;
        return nullptr;
    }
    // A new row takes the rowid after the highest, as long as that is not the highest there can be.
    db::Recordset ultima;
    bool letta = ultima.Open(QStringLiteral("SELECT Max(rowid) AS N FROM ") + nome, m_connessione);
    if (letta) {
        t->ultimaRigaPrecedente = ultima.Fields(0).Value().toInteger(&letta);
        letta = letta || ultima.Fields(0).Value().isNull();
    }
    if (!letta || t->ultimaRigaPrecedente > std::numeric_limits<qint64>::max() / 2) {
        *errore = QStringLiteral("La tabella %1 non può essere ripristinata: le sue righe non sono numerate come "
                                 "l'archivio le numera (%2).")
                      .arg(nome, ultima.lastError()) +
                  Annullato;
        return nullptr;
    }
    if (t->colonnaProgressivo >= 0) {
        t->doppione = std::make_unique<db::Statement>(
            m_connessione, QStringLiteral("SELECT 1 FROM %1 WHERE rowid > %2 AND OCOD = ? AND ONPROG = ? LIMIT 1")
                               .arg(nome)
                               .arg(t->ultimaRigaPrecedente));
        if (!t->doppione->isValid()) {
            *errore = QStringLiteral("Impossibile confrontare le righe della tabella %1: %2")
                          .arg(nome, t->doppione->lastError()) +
                      Annullato;
            return nullptr;
        }
    }
    // Given the code the row just added was stored with, compared by the rule of the column like doppione.
    t->cancellaPrecedenti = std::make_unique<db::Statement>(
        m_connessione,
        QStringLiteral("DELETE FROM %1 WHERE rowid <= %2 AND OCOD = ?").arg(nome).arg(t->ultimaRigaPrecedente));
    t->cancellaAllaFine = !t->cancellaPrecedenti->isValid();
    return m_tabelle.insert(chiave, std::move(t))->get();
}

bool RipristinoBackup::cancellaSoggetti(Tabella& t, QString* errore)
{
    // The rows there before the restore of every subject the restore added rows of, in one statement. The
    // database compares the codes, by the rule of the column, as the register's own searches do.
    const QString sql = QStringLiteral("DELETE  From %1 WHERE rowid <= %2 AND OCOD IN (SELECT OCOD FROM %1 WHERE "
                                       "rowid > %2)")
                            .arg(t.nome)
                            .arg(t.ultimaRigaPrecedente);
    if (m_connessione.Execute(sql)) {
        return true;
    }
    const QString motivo = m_connessione.lastError();
    // Subject by subject, to tell which one the database refuses.
    db::Recordset codici;
    if (codici.Open(
            QStringLiteral("SELECT DISTINCT OCOD FROM %1 WHERE rowid > %2").arg(t.nome).arg(t.ultimaRigaPrecedente),
            m_connessione)) {
        db::Statement& cancella = *t.cancellaPrecedenti;
        for (codici.MoveFirst(); !codici.Eof(); codici.MoveNext()) {
            const db::Value codice = codici.Fields(0).Value();
            if (!cancella.run({codice})) {
                *errore = QStringLiteral("Impossibile eliminare i dati del soggetto %1 dalla tabella %2: %3")
                              .arg(codice.toText(), t.nome, cancella.lastError()) +
                          Annullato;
                return false;
            }
        }
    }
    *errore = QStringLiteral("Impossibile eliminare dalla tabella %1 i dati dei soggetti ripristinati: %2")
                  .arg(t.nome, motivo) +
              Annullato;
    return false;
}

bool RipristinoBackup::RipristinaRiga(Tabella& t, const Voci& campi, qint64 numero, QString* errore)
{
    t.valori.assign(static_cast<std::size_t>(t.colonne.FieldCount()), db::Value());
    if (m_opzioni.passo) {
        m_opzioni.passo();
    }
    const QString parte = t.nome == QLatin1String("CTANA") ? QStringLiteral("anagrafica: indice ")
                                                           : QStringLiteral("registrazione: indice ");
    for (qsizetype i = 2; i < campi.size(); ++i) {
        QString descrizione;
        if (!valore(t, static_cast<int>(i - 2), campi[i], &descrizione)) {
            avvisa(QStringLiteral("Errore: ") + t.nome + QLatin1Char(' ') + parte + QString::number(i) +
                   QStringLiteral(" valore ") + mostra(campi[i].toString()) + QStringLiteral(" Errore: ") +
                   descrizione);
        }
    }
    const auto valoreIn = [&t](int colonna) -> const db::Value& { return t.valori[static_cast<std::size_t>(colonna)]; };
    const QString codice = senzaSpazi(NoNull(valoreIn(t.colonnaCodice)));
    const bool conProgressivo = t.colonnaProgressivo >= 0;
    const QString progressivo = conProgressivo ? senzaSpazi(NoNull(valoreIn(t.colonnaProgressivo))) : QString();
    // A row without its key would be a subject the register can neither show nor delete.
    QString scarto;
    if (codice.isEmpty()) {
        scarto = senzaSpazi(campi.value(2 + t.colonnaCodice)).isEmpty()
                     ? QStringLiteral("non ha il codice fiscale del soggetto")
                     : QStringLiteral("non ha un codice fiscale che l'archivio possa registrare");
    } else if (conProgressivo && progressivo.isEmpty()) {
        scarto = QStringLiteral("non ha il progressivo del soggetto %1").arg(codice);
    } else if (conProgressivo && !t.doppione->run({valoreIn(t.colonnaCodice), valoreIn(t.colonnaProgressivo)})) {
        scarto = QStringLiteral("non può essere confrontata con le righe già ripristinate (%1)")
                     .arg(t.doppione->lastError());
    } else if (conProgressivo && t.doppione->gaveRow()) {
        scarto = QStringLiteral("ripete il soggetto %1 con il progressivo %2, già ripristinato da una riga precedente")
                     .arg(codice, progressivo);
    } else if (!t.inserisci->run(t.valori)) {
        scarto = QStringLiteral("non può essere registrata (%1)").arg(t.inserisci->lastError());
    }
    if (!scarto.isEmpty()) {
        avvisa(QStringLiteral("La riga %1 del file (tabella %2) %3: non è stata ripristinata.")
                   .arg(numero)
                   .arg(t.nome, scarto));
        return true;
    }
    // The subject's rows from before go as soon as its first new row is in, rather than all at the end: the
    // table and its indexes then never hold both, which would double their size on disk and the pages
    // written at the commit.
    if (!t.cancellaAllaFine && !t.cancellaPrecedenti->run({valoreIn(t.colonnaCodice)})) {
        t.cancellaAllaFine = true;
        // Some failures end the transaction itself: nothing more may be written outside it.
        if (!m_connessione.inTransaction()) {
            *errore = QStringLiteral("Impossibile eliminare i dati del soggetto %1 dalla tabella %2: %3")
                          .arg(codice, t.nome, t.cancellaPrecedenti->lastError()) +
                      Annullato;
            return false;
        }
    }
    if (campi.size() - 2 < t.colonne.FieldCount()) {
        avvisa(QStringLiteral("La riga %1 del file (tabella %2, soggetto %3) ha %4 valori invece di %5: i campi "
                              "mancanti sono rimasti vuoti.")
                   .arg(numero)
                   .arg(t.nome, codice)
                   .arg(campi.size() - 2)
                   .arg(t.colonne.FieldCount()));
    }
    return true;
}

bool RipristinoBackup::valore(Tabella& t, int colonna, QStringView voce, QString* descrizione)
{
    db::Field campo = t.colonne.Fields(colonna);
    if (!campo.isValid()) {
        *descrizione = QStringLiteral("Elemento non trovato nell'insieme (la tabella non ha un campo in questa "
                                      "posizione)");
        return false;
    }
    // A plain line cannot hold a separator or a line end inside an item, but unscrambling can make one,
    // and a NUL can stand anywhere: stored, the value could never be backed up again.
    if (const auto vietato = std::find_if(voce.cbegin(), voce.cend(), carattereVietatoBackup); vietato != voce.cend()) {
        *descrizione = *vietato == u'\0' ? QStringLiteral("il valore contiene un carattere nullo")
                                         : QStringLiteral("il valore contiene un carattere (codice %1) che un file di "
                                                          "backup non può contenere")
                                               .arg(vietato->unicode());
        return false;
    }
    std::optional<db::Value> v;
    const int tipo = campo.Type();
    const QString pulita = senzaSpazi(voce).toString();
    if (pulita.isEmpty()) {
        // An empty item is a Null or an empty text the backup wrote: text columns take the empty text, any
        // other column Null. Blanks alone are no value either: kept, a code of blanks would be a subject that
        // no later restore of its own backup (which writes it empty) could replace.
        v = tipo == db::adVarWChar ? db::Value(QString()) : db::Value::null();
    } else if (tipo == db::adDouble) {
        if (const auto numero = numeroVoceBackup(pulita)) {
            v = db::Value(*numero);
        }
    } else if (tipo == db::adDate || tipo == db::adDBTimeStamp) {
        QString testo = voce.toString();
        const std::optional<QDate> data = TestoInData(testo);
        // Any text that is no date reads as the zero date: only "00..." and the zero date itself may.
        const bool zero = data && *data == db::zeroDate();
        if (data && (!zero || testo.startsWith(QLatin1String("00")) || testo == QLatin1String("30/12/1899"))) {
            v = zero && m_opzioni.dataZeroNulla ? db::Value::null() : db::Value(*data);
        } else {
            *descrizione = QStringLiteral("Tipo di dati non corrispondente per il campo %1: \"%2\" non è una data")
                               .arg(campo.name(), mostra(pulita));
            return false;
        }
    } else {
        v = db::Value(pulita);
    }
    if (!v) {
        *descrizione = QStringLiteral("Tipo di dati non corrispondente per il campo %1").arg(campo.name());
        return false;
    }
    if (!t.colonne.convertValue(colonna, *v, &t.valori[static_cast<std::size_t>(colonna)])) {
        *descrizione = t.colonne.lastError();
        return false;
    }
    return true;
}

void RipristinoBackup::RipristinaCTAB(const Voci& campi, qint64 numero)
{
    if (campi.size() < 5) {
        avvisa(QStringLiteral("La riga %1 del file (tabella CTAB) ha %2 valori invece di 3: non è stata ripristinata.")
                   .arg(numero)
                   .arg(campi.size() - 2));
        return;
    }
    const QString tipo = campi[2].toString();
    const QString codice = campi[3].toString();
    const QString descrizione = tipo == QLatin1String("ITT") ? impaginaITT(campi[4].toString()) : campi[4].toString();
    db::Recordset appoggio;
    bool fatto = appoggio.Open(QStringLiteral("SELECT *  FROM CTAB WHERE TIPO=") + Apici(tipo) +
                                   QStringLiteral(" AND COD=") + Apici(codice),
                               m_connessione);
    if (fatto && appoggio.RecordCount() > 0) {
        fatto = appoggio.Fields(QStringLiteral("des")).setValue(descrizione) && appoggio.Update();
    } else if (fatto) {
        fatto = appoggio.AddNew() && appoggio.Fields(QStringLiteral("tipo")).setValue(tipo) &&
                appoggio.Fields(QStringLiteral("cod")).setValue(codice) &&
                appoggio.Fields(QStringLiteral("des")).setValue(descrizione) && appoggio.Update();
    }
    if (!fatto) {
        avvisa(QStringLiteral("La riga %1 del file (tabella CTAB, %2 %3) non può essere registrata: %4")
                   .arg(numero)
                   .arg(tipo, codice, appoggio.lastError()));
    }
}

} // namespace ondavia
