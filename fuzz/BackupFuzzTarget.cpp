// Fuzz target for the backup reader and the restore. The input is written to a file and restored into a
// small register. Whatever the bytes, nothing may crash, and:
//  - a file the first-line check refuses is refused by the restore too, with the same message;
//  - a restore that fails leaves the register exactly as it was;
//  - after a restore no subject has two rows with the same progressive, and every message has a text;
//  - a subject no file can name (its code has no Windows-1252 form) keeps its row;
//  - whatever was restored can be backed up again, plain, and that backup restores to the same register;
//    a scrambled backup, when the scrambling can carry it, restores to the same register too.
#include "FuzzSupport.h"
#include "app/Archivio.h"
#include "app/Dichiarazioni.h"
#include "app/LettoreBackup.h"
#include "app/RipristinoBackup.h"
#include "app/ScrittoreBackup.h"
#include "app/Testi.h"
#include "db/Connection.h"
#include "db/Recordset.h"

#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

using namespace ondavia;
using fuzz::require;

namespace {

const QString CodiceGreco = QStringLiteral("ΑΒΓΔ");

void esegui(const char* sql)
{
    require(Conn.Execute(QString::fromLatin1(sql)), std::string(sql) + ": " + Conn.lastError().toStdString());
}

// Every row of COPE and CTAB as text, in a fixed order, as a backup carries it: texts trimmed, and a Null
// text the same as an empty one.
QString istantanea()
{
    QString testo;
    for (const char* sql : {"SELECT * FROM COPE ORDER BY OCOD, ONPROG, rowid", "SELECT * FROM CTAB ORDER BY rowid"}) {
        db::Recordset rs;
        require(rs.Open(QString::fromLatin1(sql), Conn), rs.lastError().toStdString());
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            for (int c = 0; c < rs.FieldCount(); ++c) {
                const db::Value v = rs.Fields(c).Value();
                const bool nulla = v.isNull() && rs.Fields(c).Type() != db::adVarWChar;
                testo += nulla ? QStringLiteral("<null>") : senzaSpazi(v.toText());
                testo += QLatin1Char('|');
            }
            testo += QLatin1Char('\n');
        }
    }
    return testo;
}

// The register every input starts from: two subjects and the coded lists of a new database.
void registroIniziale()
{
    esegui("BEGIN");
    esegui("DELETE FROM COPE");
    esegui("DELETE FROM CTAB WHERE NOT (TIPO = 'TPI' AND COD IN ('13', '14'))");
    esegui("UPDATE CTAB SET des = 'OICR' WHERE COD = '13'");
    esegui("UPDATE CTAB SET des = 'SGR' WHERE COD = '14'");
    esegui("INSERT INTO COPE (OCOD, ONPROG, ODES, ONDT, OMOC1) VALUES ('RSSMRA80A01H501U', '001', 'ROSSI MARIO', "
           "'1980-03-05', 1)");
    esegui("INSERT INTO COPE (OCOD, ONPROG, ODES, OMOC1) VALUES ('01234567890', '001', 'ACQUA SRL', 0)");
    // Codes that differ only by the case of an accented letter, and one no backup file can name.
    const QString accentati = QStringLiteral("INSERT INTO COPE (OCOD, ONPROG, ODES) VALUES ('ÀBC', '001', 'A GRAVE'), "
                                             "('àBC', '002', 'A GRAVE'), ('ŒUVRE', '001', 'OE'), ('%1', '001', "
                                             "'GRECO')")
                                  .arg(CodiceGreco);
    require(Conn.Execute(accentati), Conn.lastError().toStdString());
    esegui("COMMIT");
}

// The register of the process, made once in its scratch folder.
class Banco {
public:
    explicit Banco(const std::filesystem::path& cartella) : m_cartella(QString::fromStdString(cartella.string()))
    {
        qputenv("ONDAVIA_HOME", m_cartella.path().toUtf8());
        QString errore;
        const QString archivio = file("OVIA.db");
        require(creaArchivio(archivio, QString(), &errore), errore.toStdString());
        require(Conn.Open(archivio), Conn.lastError().toStdString());
        AggiornaArchivio();
        // Nothing here needs to survive a power cut or another process; the municipalities are not read by
        // a restore. A journal in memory still rolls back a failed restore.
        esegui("PRAGMA synchronous = OFF");
        esegui("PRAGMA journal_mode = MEMORY");
        esegui("PRAGMA locking_mode = EXCLUSIVE");
        esegui("DELETE FROM T_COMUNI");
        esegui("DELETE FROM T_COMUNICF");
        esegui("VACUUM");
    }

    QString file(const char* nome) const { return m_cartella.filePath(QLatin1String(nome)); }

private:
    QDir m_cartella;
};

bool ripristina(const QString& percorso, QString* errore, int* avvisi)
{
    RipristinoBackup ripristino(Conn, {false,
                                       [avvisi](const QString& testo) {
                                           require(!testo.isEmpty(), "an empty message");
                                           ++*avvisi;
                                       },
                                       {}});
    return ripristino.RipristinaArchivio(percorso, errore);
}

void esercita(const Banco& banco, const uint8_t* data, std::size_t size)
{
    registroIniziale();
    const QString prima = istantanea();
    const QString ingresso = banco.file("input.REI");
    {
        QFile f(ingresso);
        require(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the input");
        require(f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) == static_cast<qint64>(size),
                "cannot write the input");
    }

    const ControlloBackup controllo = ControllaFileBackup(ingresso);
    require(controllo.stato != ControlloBackup::Stato::Illeggibile, "the input cannot be read");
    QString errore;
    int avvisi = 0;
    const bool fatto = ripristina(ingresso, &errore, &avvisi);
    if (controllo.stato == ControlloBackup::Stato::NonBackup) {
        require(!fatto && errore == messaggioNonBackup(), "a file the check refuses was restored");
    }
    if (!fatto) {
        require(!errore.isEmpty(), "a failed restore without a reason");
        require(istantanea() == prima, "a failed restore changed the register");
        return;
    }

    db::Recordset doppi;
    require(
        doppi.Open(QStringLiteral("SELECT OCOD, ONPROG, count(*) AS n FROM COPE GROUP BY OCOD, ONPROG HAVING n > 1"),
                   Conn),
        doppi.lastError().toStdString());
    require(doppi.RecordCount() == 0, "two rows with the same code and progressive");
    doppi.Close();

    // A file of Windows-1252 text cannot name the Greek subject, so its row stays; a backup could not carry
    // it either, and it leaves before the backups below.
    db::Recordset greco;
    require(greco.Open(QStringLiteral("SELECT * FROM COPE WHERE OCOD = '%1' AND ONPROG = '001' AND ODES = 'GRECO'")
                           .arg(CodiceGreco),
                       Conn) &&
                greco.RecordCount() == 1,
            "a subject the file does not name was changed");
    greco.Close();
    require(Conn.Execute(QStringLiteral("DELETE FROM COPE WHERE OCOD = '%1'").arg(CodiceGreco)),
            Conn.lastError().toStdString());

    const QString ripristinato = istantanea();
    for (const bool cifra : {false, true}) {
        const QString copia = banco.file(cifra ? "cifrato.REI" : "chiaro.REI");
        ScrittoreBackup scrittore(Conn);
        if (!scrittore.ScriviTabella(copia, QStringLiteral("COPE"), {cifra, QString(), {}}, &errore)) {
            require(cifra, "what was restored cannot be backed up: " + errore.toStdString());
            continue;
        }
        int altriAvvisi = 0;
        require(ripristina(copia, &errore, &altriAvvisi),
                "a backup of the register cannot be restored: " + errore.toStdString());
        require(altriAvvisi == 0, "a backup of the register gives messages");
        require(istantanea() == ripristinato, cifra ? "the scrambled backup restores to another register"
                                                    : "the backup restores to another register");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    return fuzz::runInput("ondavia-backup-fuzz", [data, size](const std::filesystem::path& cartella) {
        static const Banco banco(cartella);
        esercita(banco, data, size);
    });
}
