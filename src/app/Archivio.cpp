#include "Archivio.h"

#include "Dichiarazioni.h"
#include "Launch.h"
#include "Testi.h"
#include "db/Recordset.h"
#include "db/Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <system_error>

namespace ondavia {

namespace {

struct Colonna {
    const char* nome;
    const char* tipo;
};

// COPE as first created. Widths are given where the register fixes them or the form limits typing;
// a longer value is refused by the database layer rather than cut.
constexpr Colonna ColonneCope[] = {
    {"OCOD", "TEXT(16) COLLATE NOCASE"},
    {"OTIPOSOGD", "TEXT COLLATE NOCASE"},
    {"oTIPOSOG", "TEXT(2) COLLATE NOCASE"},
    {"OSTP", "TEXT(1) COLLATE NOCASE"},
    {"orag", "TEXT(70) COLLATE NOCASE"},
    {"OSCOM", "TEXT(35) COLLATE NOCASE"},
    {"OSPRO", "TEXT(2) COLLATE NOCASE"},
    {"ODES", "TEXT(70) COLLATE NOCASE"},
    {"OCOG", "TEXT COLLATE NOCASE"},
    {"ONOME", "TEXT COLLATE NOCASE"},
    {"OSEX", "TEXT COLLATE NOCASE"},
    {"ONDT", "DATE"},
    {"oncom", "TEXT(35) COLLATE NOCASE"},
    {"onpro", "TEXT(2) COLLATE NOCASE"},
    {"ORECF", "TEXT(16) COLLATE NOCASE"},
    {"ORECOG", "TEXT COLLATE NOCASE"},
    {"ORENOME", "TEXT COLLATE NOCASE"},
    {"ORESEX", "TEXT COLLATE NOCASE"},
    {"OREDTNAS", "TEXT COLLATE NOCASE"},
    {"oRENCOM", "TEXT COLLATE NOCASE"},
    {"oREnpro", "TEXT(2) COLLATE NOCASE"},
    {"OREEMAIL", "TEXT COLLATE NOCASE"},
    {"ORETEL", "TEXT COLLATE NOCASE"},
    {"OPEEMAIL", "TEXT COLLATE NOCASE"},
    {"OPEDATAI", "TEXT COLLATE NOCASE"},
    {"OPEDATAF", "TEXT COLLATE NOCASE"},
    {"OPEGESTORE", "TEXT COLLATE NOCASE"},
    {"odtcanc", "TEXT COLLATE NOCASE"},
    {"OMC1", "TEXT COLLATE NOCASE"},
    {"OMC2", "TEXT COLLATE NOCASE"},
    {"OMC3", "TEXT COLLATE NOCASE"},
    {"OMOC1", "INTEGER"},
    {"OMOC2", "INTEGER"},
    {"OMOC3", "INTEGER"},
    {"OSICF", "TEXT COLLATE NOCASE"},
    {"OSIRAG", "TEXT COLLATE NOCASE"},
    {"OSICOM", "TEXT COLLATE NOCASE"},
    {"OSIPRO", "TEXT(2) COLLATE NOCASE"},
    {"OITTCF", "TEXT(16) COLLATE NOCASE"},
    {"oitt1", "TEXT COLLATE NOCASE"},
    {"oitt2", "TEXT COLLATE NOCASE"},
    {"Ocf", "TEXT COLLATE NOCASE"},
};

// Text columns compare and sort without regard to letter case, as the register always has.
const char* const SchemaSql = R"(
CREATE TABLE CTAB (
    TIPO TEXT COLLATE NOCASE,
    COD TEXT COLLATE NOCASE,
    des TEXT COLLATE NOCASE
);
CREATE INDEX CTAB_TIPO_COD ON CTAB (TIPO, COD);
CREATE TABLE T_COMUNI (
    COMUNE TEXT COLLATE NOCASE,
    pro TEXT COLLATE NOCASE
);
CREATE TABLE T_COMUNICF (
    KEY_TAB TEXT COLLATE NOCASE,
    DESCRIZION TEXT COLLATE NOCASE,
    CD_PROV TEXT COLLATE NOCASE
);
)";

QString schemaCope()
{
    QStringList colonne;
    for (const Colonna& c : ColonneCope) {
        colonne << QStringLiteral("    %1 %2").arg(QLatin1String(c.nome), QLatin1String(c.tipo));
    }
    return QStringLiteral("CREATE TABLE COPE (\n%1\n);\nCREATE INDEX COPE_OCOD ON COPE (OCOD);\n"
                          "CREATE INDEX COPE_ODES ON COPE (ODES, Ocf);\n")
        .arg(colonne.join(QStringLiteral(",\n")));
}

// Reads a seed file: UTF-8, ";" between fields, a header line first.
bool leggiCsv(const QString& file, int campi, QList<QStringList>* righe, QString* errore)
{
    QFile csv(file);
    if (!csv.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *errore = QStringLiteral("%1: %2").arg(file, csv.errorString());
        return false;
    }
    QTextStream in(&csv);
    in.setEncoding(QStringConverter::Utf8);
    in.readLine();
    int numero = 1;
    while (!in.atEnd()) {
        const QString riga = in.readLine();
        ++numero;
        if (riga.trimmed().isEmpty()) {
            continue;
        }
        QStringList parti = riga.split(QLatin1Char(';'));
        if (parti.size() < campi) {
            *errore = QStringLiteral("%1, riga %2: attesi %3 campi").arg(file).arg(numero).arg(campi);
            return false;
        }
        righe->append(parti);
    }
    return true;
}

bool caricaSemi(db::Connection& conn, const QString& ctabCsv, QString* errore)
{
    QList<QStringList> comuni;
    if (!leggiCsv(QStringLiteral(":/ondavia/data/comuni.csv"), 4, &comuni, errore)) {
        return false;
    }
    QList<QStringList> tabelle;
    const QString origineCtab = QFileInfo::exists(ctabCsv) ? ctabCsv : QStringLiteral(":/ondavia/data/ctab.csv");
    if (!leggiCsv(origineCtab, 3, &tabelle, errore)) {
        return false;
    }

    db::Statement comuneCf(conn,
                           QStringLiteral("INSERT INTO T_COMUNICF (KEY_TAB, DESCRIZION, CD_PROV) VALUES (?, ?, ?)"));
    db::Statement comune(conn, QStringLiteral("INSERT INTO T_COMUNI (COMUNE, pro) VALUES (?, ?)"));
    db::Statement voce(conn, QStringLiteral("INSERT INTO CTAB (TIPO, COD, des) VALUES (?, ?, ?)"));
    for (const QStringList& r : comuni) {
        if (!comuneCf.run({r[0], r[2], r[1]}) || (r[3] == QLatin1String("1") && !comune.run({r[2], r[1]}))) {
            *errore = comuneCf.lastError() + comune.lastError();
            return false;
        }
    }
    for (const QStringList& r : tabelle) {
        // The description may itself hold the separator.
        const QString descrizione = r.mid(2).join(QLatin1Char(';'));
        if (!voce.run({r[0].trimmed(), r[1].trimmed(), descrizione.trimmed()})) {
            *errore = voce.lastError();
            return false;
        }
    }
    return true;
}

// Tables and columns a register must have before the launch opens it: those the upgrade does not add.
struct Tabella {
    const char* nome;
    const QStringList* colonne; // null: COPE's columns before the upgrade
};

const QStringList ColonneCtab{QStringLiteral("TIPO"), QStringLiteral("COD"), QStringLiteral("des")};
const QStringList ColonneComuni{QStringLiteral("COMUNE"), QStringLiteral("pro")};
const QStringList ColonneComuniCf{QStringLiteral("KEY_TAB"), QStringLiteral("DESCRIZION"), QStringLiteral("CD_PROV")};

const Tabella TabelleRegistro[] = {
    {"COPE", nullptr},
    {"CTAB", &ColonneCtab},
    {"T_COMUNI", &ColonneComuni},
    {"T_COMUNICF", &ColonneComuniCf},
};

// The columns the upgrade appends to COPE, in their order, with the statement that adds each.
struct ColonnaAggiunta {
    const char* nome;
    const char* istruzione;
};

constexpr ColonnaAggiunta ColonneAggiunte[] = {
    {"ONPROG", "ALTER TABLE COPE ADD COLUMN ONPROG Text (3); "},
    {"OTIPOCOM1", "ALTER TABLE COPE ADD COLUMN OTIPOCOM1 Text (30); "},
    {"OTIPOCOM2", "ALTER TABLE COPE ADD COLUMN OTIPOCOM2 Text (30); "},
};

// Moves the finished database into place. Only an empty file found there may be replaced; anything
// else that appeared meanwhile is kept and the move fails.
bool metteAlPosto(const QString& provvisorio, const QString& percorso, bool sostituisciVuoto)
{
    if (!sostituisciVuoto) {
        return QFile::rename(provvisorio, percorso);
    }
    const QFileInfo esistente(percorso);
    if (esistente.isSymLink() || !esistente.isFile() || esistente.size() != 0) {
        return false;
    }
    std::error_code errore;
    std::filesystem::rename(std::filesystem::path(provvisorio.toStdU16String()),
                            std::filesystem::path(percorso.toStdU16String()), errore);
    return !errore;
}

} // namespace

const QStringList& colonneCopeIniziali()
{
    static const QStringList colonne = [] {
        QStringList nomi;
        for (const Colonna& c : ColonneCope) {
            nomi << QLatin1String(c.nome);
        }
        return nomi;
    }();
    return colonne;
}

bool creaArchivio(const QString& percorso, const QString& ctabCsv, QString* errore, bool sostituisciVuoto)
{
    QString scarto;
    QString& motivo = errore ? *errore : scarto;
    const QString cartella = QFileInfo(percorso).absolutePath();
    const bool cartellaNuova = !QFileInfo(cartella).exists() && !QFileInfo(cartella).isSymLink();
    if (!QDir().mkpath(cartella)) {
        motivo = QFileInfo(cartella).exists() || QFileInfo(cartella).isSymLink()
                     ? QStringLiteral("%1 non è una cartella").arg(QDir::toNativeSeparators(cartella))
                     : QStringLiteral("la cartella %1 non può essere creata").arg(QDir::toNativeSeparators(cartella));
        return false;
    }
    // A failed creation leaves the place as it found it.
    const auto rinuncia = [&] {
        if (cartellaNuova) {
            QDir().rmdir(cartella);
        }
        return false;
    };
    const QString provvisorio = percorso + QStringLiteral(".new");
    QFile::remove(provvisorio);
    {
        db::Connection conn;
        if (!conn.create(provvisorio)) {
            motivo = conn.lastError();
            return rinuncia();
        }
        db::Transaction transazione(conn);
        if (!transazione.isActive() || !conn.Execute(QString::fromUtf8(SchemaSql) + schemaCope()) ||
            !caricaSemi(conn, ctabCsv, &motivo) || !transazione.commit()) {
            if (motivo.isEmpty()) {
                motivo = conn.lastError();
            }
            conn.Close();
            QFile::remove(provvisorio);
            return rinuncia();
        }
    }
    if (!metteAlPosto(provvisorio, percorso, sostituisciVuoto)) {
        motivo = QStringLiteral("impossibile creare %1").arg(QDir::toNativeSeparators(percorso));
        QFile::remove(provvisorio);
        return rinuncia();
    }
    return true;
}

bool verificaArchivio(db::Connection& conn, QString* errore)
{
    for (const Tabella& tabella : TabelleRegistro) {
        const QString nome = QLatin1String(tabella.nome);
        QStringList presenti;
        if (!conn.columns(nome, &presenti)) {
            *errore = conn.lastError().isEmpty()
                          ? QStringLiteral("il file non è un archivio di Ondavia: manca la tabella %1").arg(nome)
                          : conn.lastError();
            return false;
        }
        const QStringList richieste = tabella.colonne ? *tabella.colonne : colonneCopeIniziali();
        for (const QString& colonna : richieste) {
            if (!presenti.contains(colonna, Qt::CaseInsensitive)) {
                *errore = QStringLiteral("il file non è un archivio di Ondavia: alla tabella %1 manca la colonna %2")
                              .arg(nome, colonna);
                return false;
            }
        }
    }
    return true;
}

bool AggiornaArchivio(QString* errore)
{
    QString scarto;
    QString& motivo = errore ? *errore : scarto;
    QStringList colonne;
    if (!Conn.columns(QStringLiteral("COPE"), &colonne)) {
        motivo = Conn.lastError();
        return false;
    }
    const auto manca = [&](const char* colonna) {
        return !colonne.contains(QLatin1String(colonna), Qt::CaseInsensitive);
    };
    const QString marcatore = QDir(cartellaProgramma()).filePath(QStringLiteral("onprog.txt"));
    const bool senzaMarcatore = !QFileInfo::exists(marcatore);
    // A marker may also stand beside a database that never got the columns (an upgrade that failed and
    // was marked done all the same): the columns decide too.
    if (!senzaMarcatore && std::none_of(std::begin(ColonneAggiunte), std::end(ColonneAggiunte),
                                        [&](const ColonnaAggiunta& c) { return manca(c.nome); })) {
        return true;
    }

    // The marker is made ready first and put in place only after the change is committed: the upgrade is
    // done whole and marked, or not done and tried again at the next launch.
    QSaveFile file(marcatore);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")).toLatin1() + "\r\n") < 0) {
        motivo = QStringLiteral("il file %1 non può essere scritto: %2")
                     .arg(QDir::toNativeSeparators(marcatore), file.errorString());
        return false;
    }
    const auto fallito = [&] {
        motivo = QStringLiteral("la modifica della tabella COPE non è riuscita: %1").arg(Conn.lastError());
        return false;
    };
    {
        db::Transaction transazione(Conn);
        if (!transazione.isActive()) {
            return fallito();
        }
        for (const ColonnaAggiunta& colonna : ColonneAggiunte) {
            if (manca(colonna.nome) && !Conn.Execute(QLatin1String(colonna.istruzione))) {
                return fallito();
            }
        }
        // Rows without a progressive get '001': every row when the column has just been added. A progressive
        // already stored is kept even when the marker was lost: setting it back to '001' would give two rows
        // of one subject the same key, and deleting one of them would delete both.
        if (!Conn.Execute(QStringLiteral("UPDATE COPE SET COPE.ONPROG = '001' "
                                         "WHERE ONPROG IS NULL OR Trim(ONPROG) = '';")) ||
            !transazione.commit()) {
            return fallito();
        }
    }
    if (!file.commit()) {
        motivo = QStringLiteral("la tabella COPE è aggiornata, ma il file %1 non può essere scritto: %2")
                     .arg(QDir::toNativeSeparators(marcatore), file.errorString());
        return false;
    }
    return true;
}

std::optional<qint64> ultimoProgressivo(db::Connection& conn, const QString& codice, QString* errore)
{
    // Compared as numbers: as texts "1" would come after "002", and the next one proposed would be a
    // progressive the subject already has.
    db::Recordset righe;
    if (!righe.Open(QStringLiteral("SELECT ONPROG From COPE WHERE OCOD=") + Apici(codice), conn)) {
        *errore = righe.lastError();
        return std::nullopt;
    }
    qint64 ultimo = 0;
    for (; !righe.Eof(); righe.MoveNext()) {
        const QString testo = senzaSpazi(NoNull(righe.Fields(0).Value()));
        const bool cifre = !testo.isEmpty() &&
                           std::all_of(testo.cbegin(), testo.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        bool numero = false;
        const qint64 progressivo = cifre ? testo.toLongLong(&numero) : 0;
        if (numero) {
            ultimo = std::max(ultimo, progressivo);
        }
    }
    return ultimo;
}

bool CaricaComuni(QString* errore)
{
    SQL = QStringLiteral("SELECT * From T_COMUNI ORDER BY T_COMUNI.COMUNE");
    if (!rsComuni.Open(SQL, Conn)) {
        if (errore) {
            *errore = rsComuni.lastError();
        }
        return false;
    }
    ComuniCaricati = true;
    SQL = QStringLiteral("SELECT * From T_COMUNICF ORDER BY DESCRIZION");
    if (!rsComuniCF.Open(SQL, Conn)) {
        if (errore) {
            *errore = rsComuniCF.lastError();
        }
        return false;
    }
    return true;
}

QString condizioneSoggetto(const QString& codice, const QString& progressivo)
{
    const QString condizione = QStringLiteral("OCOD=") + Apici(codice) + QStringLiteral(" AND ");
    return senzaSpazi(progressivo).isEmpty() ? condizione + QStringLiteral("(ONPROG IS NULL OR ONPROG='')")
                                             : condizione + QStringLiteral("ONPROG=") + Apici(progressivo);
}

} // namespace ondavia
