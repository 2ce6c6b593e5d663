#include "BackupProva.h"

#include "app/Archivio.h"
#include "app/Dichiarazioni.h"
#include "db/Connection.h"
#include "db/Recordset.h"

#include <QFile>

#include <algorithm>
#include <memory>

namespace ondavia::test {

namespace {

std::unique_ptr<QTemporaryDir> g_modello;

QString percorsoModello()
{
    return QDir(g_modello->path()).filePath(QStringLiteral("OVIA.db"));
}

// Widths the register fixes; other texts are kept to 40 characters.
int larghezza(const QString& colonna)
{
    static const QHash<QString, int> fisse{
        {"OCOD", 16},   {"oTIPOSOG", 2}, {"OSTP", 1},       {"orag", 70},      {"OSCOM", 35},  {"OSPRO", 2},
        {"ODES", 70},   {"oncom", 35},   {"onpro", 2},      {"ORECF", 16},     {"oREnpro", 2}, {"OSIPRO", 2},
        {"OITTCF", 16}, {"ONPROG", 3},   {"OTIPOCOM1", 30}, {"OTIPOCOM2", 30},
    };
    return fisse.value(colonna, 40);
}

} // namespace

void BackupProva::SetUpTestSuite()
{
    g_modello = std::make_unique<QTemporaryDir>();
    const QByteArray casa = qgetenv("ONDAVIA_HOME");
    qputenv("ONDAVIA_HOME", g_modello->path().toUtf8());
    QString errore;
    ASSERT_TRUE(creaArchivio(percorsoModello(), QString(), &errore)) << errore.toStdString();
    ASSERT_TRUE(Conn.Open(percorsoModello()));
    AggiornaArchivio();
    resetDichiarazioni();
    qputenv("ONDAVIA_HOME", casa);
}

void BackupProva::TearDownTestSuite()
{
    g_modello.reset();
}

void BackupProva::SetUp()
{
    const QString archivio = file(QStringLiteral("OVIA.db"));
    ASSERT_TRUE(QFile::copy(percorsoModello(), archivio));
    ASSERT_TRUE(Conn.Open(archivio)) << Conn.lastError().toStdString();
    // Waiting for the disk at each commit would only guard against a power cut, which no test makes.
    esegui("PRAGMA synchronous = OFF");
}

void BackupProva::TearDown()
{
    resetDichiarazioni();
}

const QStringList& BackupProva::colonne()
{
    static const QStringList nomi = colonneCopeIniziali() + QStringList{"ONPROG", "OTIPOCOM1", "OTIPOCOM2"};
    return nomi;
}

Riga BackupProva::soggettoCasuale(std::mt19937& caso, const QString& codice, const QString& progressivo,
                                  bool perCifrare)
{
    static const QList<int> tipi = [] {
        db::Recordset vuoto;
        EXPECT_TRUE(vuoto.Open(QStringLiteral("SELECT * FROM COPE WHERE 0 = 1"), Conn));
        QList<int> t;
        for (int c = 0; c < vuoto.FieldCount(); ++c) {
            t << vuoto.Fields(c).Type();
        }
        return t;
    }();
    static const QString maiuscole = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 '-.@/ÀÈÉÌÒÙ€");
    static const QString tutte = maiuscole + QStringLiteral("abcdefghijklmnopqrstuvwxyzàèéìòù&%");
    const QString& alfabeto = perCifrare ? maiuscole : tutte;
    Riga riga;
    for (int c = 0; c < colonne().size(); ++c) {
        const QString& nome = colonne()[c];
        const int scelta = std::uniform_int_distribution<int>(0, 3)(caso);
        if (nome == QLatin1String("OCOD")) {
            riga << db::Value(codice);
        } else if (nome == QLatin1String("ONPROG")) {
            riga << db::Value(progressivo);
        } else if (tipi[c] == db::adDate) {
            const QDate data = QDate(1930, 1, 1).addDays(std::uniform_int_distribution<int>(0, 35000)(caso));
            riga << (scelta == 0 ? db::Value() : scelta == 1 ? db::Value(db::zeroDate()) : db::Value(data));
        } else if (tipi[c] == db::adInteger) {
            riga << (scelta == 0 ? db::Value() : db::Value(std::uniform_int_distribution<int>(-5, 1000)(caso)));
        } else if (scelta == 0) {
            riga << db::Value(QString());
        } else {
            const int massimo = larghezza(nome);
            const int lunghezza =
                std::uniform_int_distribution<int>(0, perCifrare ? std::min(massimo, 30) : massimo)(caso);
            QString testo;
            for (int i = 0; i < lunghezza; ++i) {
                testo += alfabeto[std::uniform_int_distribution<qsizetype>(0, alfabeto.size() - 1)(caso)];
            }
            // The backup keeps no leading or trailing blanks, as the register stores none.
            riga << db::Value(testo.trimmed());
        }
    }
    return riga;
}

void BackupProva::aggiungi(const QString& tabella, const QList<Riga>& righe)
{
    db::Transaction transazione(Conn);
    db::Recordset rs;
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM %1 WHERE 0 = 1").arg(tabella), Conn))
        << rs.lastError().toStdString();
    for (const Riga& riga : righe) {
        ASSERT_TRUE(rs.AddNew());
        for (int c = 0; c < riga.size(); ++c) {
            ASSERT_TRUE(rs.Fields(c).setValue(riga[c])) << rs.lastError().toStdString();
        }
        ASSERT_TRUE(rs.Update()) << rs.lastError().toStdString();
    }
    ASSERT_TRUE(transazione.commit());
}

QString BackupProva::descrivi(const Riga& riga)
{
    QStringList parti;
    for (const db::Value& v : riga) {
        switch (v.kind()) {
        case db::Value::Kind::Null:
            parti << QStringLiteral("NULL");
            break;
        case db::Value::Kind::Date:
            parti << QStringLiteral("D:") + v.toDate().toString(Qt::ISODate);
            break;
        case db::Value::Kind::Integer:
        case db::Value::Kind::Double:
            parti << QStringLiteral("N:") + v.toText();
            break;
        case db::Value::Kind::Text:
            parti << QStringLiteral("T:") + v.toText();
            break;
        }
    }
    return parti.join(QLatin1Char('|'));
}

QStringList BackupProva::righe(const QString& tabella)
{
    db::Recordset rs;
    EXPECT_TRUE(rs.Open(QStringLiteral("SELECT * FROM ") + tabella, Conn)) << rs.lastError().toStdString();
    QStringList tutte;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        Riga riga;
        for (int c = 0; c < rs.FieldCount(); ++c) {
            riga << rs.Fields(c).Value();
        }
        tutte << descrivi(riga);
    }
    tutte.sort();
    return tutte;
}

void BackupProva::esegui(const QString& sql)
{
    ASSERT_TRUE(Conn.Execute(sql)) << sql.toStdString() << ": " << Conn.lastError().toStdString();
}

bool BackupProva::salva(const QString& percorso, ScrittoreBackup::Opzioni opzioni, const QString& tabella)
{
    ScrittoreBackup scrittore(Conn);
    m_errore.clear();
    return scrittore.ScriviTabella(percorso, tabella, opzioni, &m_errore);
}

QByteArray BackupProva::leggi(const QString& percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(non esiste)");
}

void BackupProva::scrivi(const QString& percorso, const QByteArray& contenuto)
{
    QFile f(percorso);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(contenuto), contenuto.size());
}

} // namespace ondavia::test
