#include "Archivio.h"

#include "Dichiarazioni.h"
#include "Launch.h"
#include "db/Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

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

    db::Statement comuneCf(conn, QStringLiteral("INSERT INTO T_COMUNICF (KEY_TAB, DESCRIZION, CD_PROV) VALUES (?, ?, ?)"));
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

} // namespace

const QStringList& ColonneCopeIniziali()
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

bool CreaArchivio(const QString& percorso, const QString& ctabCsv, QString* errore)
{
    QString scarto;
    QString& motivo = errore ? *errore : scarto;
    const QString provvisorio = percorso + QStringLiteral(".new");
    QFile::remove(provvisorio);
    QDir().mkpath(QFileInfo(percorso).absolutePath());
    {
        db::Connection conn;
        if (!conn.Create(provvisorio)) {
            motivo = conn.lastError();
            return false;
        }
        db::Transaction transazione(conn);
        if (!transazione.isActive() || !conn.Execute(QString::fromUtf8(SchemaSql) + schemaCope()) ||
            !caricaSemi(conn, ctabCsv, &motivo) || !transazione.commit()) {
            if (motivo.isEmpty()) {
                motivo = conn.lastError();
            }
            conn.Close();
            QFile::remove(provvisorio);
            return false;
        }
    }
    if (!QFile::rename(provvisorio, percorso)) {
        motivo = QStringLiteral("impossibile creare %1").arg(percorso);
        QFile::remove(provvisorio);
        return false;
    }
    return true;
}

void AggiornaArchivio()
{
    const QString marcatore = QDir(CartellaProgramma()).filePath(QStringLiteral("onprog.txt"));
    if (QFileInfo::exists(marcatore)) {
        return;
    }
    // Each statement may fail (the columns are already there): the next one runs all the same.
    Conn.Execute(QStringLiteral("ALTER TABLE COPE ADD COLUMN ONPROG Text (3); "));
    Conn.Execute(QStringLiteral("UPDATE COPE SET COPE.ONPROG = '001';"));
    Conn.Execute(QStringLiteral("ALTER TABLE COPE ADD COLUMN OTIPOCOM1 Text (30); "));
    Conn.Execute(QStringLiteral("ALTER TABLE COPE ADD COLUMN OTIPOCOM2 Text (30); "));

    QSaveFile file(marcatore);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")).toLatin1() + "\r\n");
        file.commit();
    }
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

} // namespace ondavia
