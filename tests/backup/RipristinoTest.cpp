// Restoring backups: round trips, replaced subjects, value conversions, the coded lists, and the failures
// that leave the register as it was.
#include "BackupProva.h"

#include "app/Dichiarazioni.h"
#include "app/FileBackup.h"
#include "app/RipristinoBackup.h"
#include "db/Recordset.h"

#include <QRegularExpression>

#include <limits>

using namespace ondavia;
using namespace ondavia::test;

namespace {

const QByteArray Sep("\xA6");

class RipristinoTest : public BackupProva {
protected:
    bool ripristina(const QString& percorso, bool dataZeroNulla = false)
    {
        m_avvisi.clear();
        m_errore.clear();
        RipristinoBackup ripristino(
            Conn, {dataZeroNulla, [this](const QString& a) { m_avvisi << a; }, [this] { ++m_passi; }});
        return ripristino.RipristinaArchivio(percorso, &m_errore);
    }

    // A file of the given lines, items separated by the broken bar.
    void scriviRighe(const QString& percorso, const QList<QByteArray>& righe)
    {
        QByteArray contenuto;
        for (const QByteArray& r : righe) {
            contenuto += r + "\r\n";
        }
        scrivi(percorso, contenuto);
    }

    // A COPE line with the given items in front and empty items for the other columns.
    static QByteArray lineaCope(const QList<QByteArray>& primi, const QList<std::pair<QString, QByteArray>>& altri = {})
    {
        QList<QByteArray> voci(colonne().size());
        for (int i = 0; i < primi.size(); ++i) {
            voci[i] = primi[i];
        }
        for (const auto& [colonna, voce] : altri) {
            voci[colonne().indexOf(colonna)] = voce;
        }
        return Sep + "COPE" + Sep + voci.join(Sep);
    }

    QString valore(const QString& codice, const QString& colonna)
    {
        db::Recordset rs;
        EXPECT_TRUE(rs.Open("SELECT * FROM COPE WHERE OCOD='" + codice + "'", Conn));
        return descrivi({rs.Fields(colonna).Value()});
    }

    QStringList m_avvisi;
    int m_passi = 0;
};

} // namespace

TEST_F(RipristinoTest, UnRegistroCasualeTornaUgualeInChiaroECifrato)
{
    for (const bool cifra : {false, true}) {
        SCOPED_TRACE(cifra ? "scrambled" : "plain");
        esegui("DELETE FROM COPE");
        std::mt19937 caso(cifra ? 2 : 1);
        QList<Riga> soggetti;
        for (int i = 0; i < 60; ++i) {
            const QString codice = QStringLiteral("CF%1'X").arg(i, 6, 10, QChar('0'));
            soggetti << soggettoCasuale(caso, codice, "001", cifra);
            if (i % 5 == 0) {
                soggetti << soggettoCasuale(caso, codice, "002", cifra);
            }
        }
        aggiungi("COPE", soggetti);
        const QStringList prima = righe();
        const QStringList ctab = righe("CTAB");
        const QString percorso = file(cifra ? "CIFRATO.REI" : "CHIARO.REI");
        ASSERT_TRUE(salva(percorso, {cifra, QString(), {}})) << m_errore.toStdString();
        EXPECT_EQ(leggi(percorso).contains(Sep + "COPE"), !cifra) << "a scrambled line does not show its table";

        esegui("DELETE FROM COPE");
        m_passi = 0;
        ASSERT_TRUE(ripristina(percorso)) << m_errore.toStdString();
        EXPECT_TRUE(m_avvisi.isEmpty()) << m_avvisi.join('\n').toStdString();
        EXPECT_EQ(m_passi, prima.size());
        EXPECT_EQ(righe().join('\n').toStdString(), prima.join('\n').toStdString());

        // The same backup again: every subject is replaced, none doubled. The connection's settings stay.
        ASSERT_TRUE(Conn.Execute("PRAGMA cache_size = -3000"));
        ASSERT_TRUE(ripristina(percorso)) << m_errore.toStdString();
        db::Recordset cache;
        ASSERT_TRUE(cache.Open("PRAGMA cache_size", Conn));
        EXPECT_EQ(cache.Fields(0).Value().toText(), "-3000");
        EXPECT_EQ(righe().join('\n').toStdString(), prima.join('\n').toStdString());
        EXPECT_TRUE(righe("CTAB") == ctab);
    }
}

TEST_F(RipristinoTest, DateVuoteZeroEConTipoDbS)
{
    scriviRighe(file("DATE.REI"), {lineaCope({"A", "", "", "0"}, {{"ONDT", "00:00:00"}, {"ONPROG", "001"}}),
                                   lineaCope({"B"}, {{"ONDT", ""}, {"ONPROG", "001"}}),
                                   lineaCope({"D"}, {{"ONDT", "  05/03/80 "}, {"ONPROG", "001"}}),
                                   lineaCope({"E"}, {{"ONDT", "30/12/1899"}, {"ONPROG", "001"}}),
                                   lineaCope({"F"}, {{"ONDT", "0"}, {"ONPROG", "001"}})});
    for (const bool tipoDbS : {false, true}) {
        SCOPED_TRACE(tipoDbS);
        ASSERT_TRUE(ripristina(file("DATE.REI"), tipoDbS)) << m_errore.toStdString();
        EXPECT_EQ(valore("A", "ONDT"), tipoDbS ? "NULL" : "D:1899-12-30");
        EXPECT_EQ(valore("B", "ONDT"), "NULL") << "an empty item is the Null it was written from";
        EXPECT_EQ(valore("D", "ONDT"), "D:1980-03-05");
        EXPECT_EQ(valore("E", "ONDT"), tipoDbS ? "NULL" : "D:1899-12-30");
        ASSERT_EQ(m_avvisi.size(), 1);
        EXPECT_EQ(m_avvisi[0], "Errore: COPE registrazione: indice 13 valore 0 Errore: Tipo di dati non corrispondente "
                               "per il campo ONDT: \"0\" non è una data");
        EXPECT_EQ(valore("F", "ONDT"), "NULL");
    }
}

TEST_F(RipristinoTest, LeListeCodificateSiAggiornanoEItt)
{
    esegui("INSERT INTO CTAB (TIPO, COD, des) VALUES ('TPI', '77', 'VECCHIA')");
    scriviRighe(file("CTAB.REI"),
                {lineaCope({"A"}, {{"ONPROG", "001"}}), Sep + "CTAB" + Sep + "TPI" + Sep + "77" + Sep + "NUOVA",
                 Sep + "CTAB" + Sep + "ITT" + Sep + "01" + Sep + "12345678901XF01/02/2020",
                 Sep + "CTAB" + Sep + "ITT" + Sep + "02" + Sep + "12345678901F01/02/2020",
                 Sep + "CTAB" + Sep + "ITT" + Sep + "03" + Sep + "GIA' IMPAGINATA",
                 Sep + "CTAB" + Sep + "XYZ" + Sep + "04" + Sep + "12345678901XF01/02/2020"});
    ASSERT_TRUE(ripristina(file("CTAB.REI"))) << m_errore.toStdString();
    // Code, 10 blanks, the flag and the date in characters 23-32, from either older layout.
    EXPECT_EQ(
        righe("CTAB WHERE TIPO IN ('ITT', 'XYZ') OR (TIPO = 'TPI' AND COD = '77')"),
        (QStringList{"T:ITT|T:01|T:12345678901          F01/02/2020", "T:ITT|T:02|T:12345678901          F01/02/2020",
                     "T:ITT|T:03|T:GIA' IMPAGINATA", "T:TPI|T:77|T:NUOVA", "T:XYZ|T:04|T:12345678901XF01/02/2020"}));
    EXPECT_TRUE(m_avvisi.isEmpty()) << m_avvisi.join('\n').toStdString();
}

TEST_F(RipristinoTest, QuelloCheFermaIlRipristinoLasciaIlRegistroComEra)
{
    std::mt19937 caso(8);
    aggiungi("COPE", {soggettoCasuale(caso, "AAA", "001", false), soggettoCasuale(caso, "BLOCCATO", "001", false)});
    const QStringList prima = righe();

    EXPECT_FALSE(ripristina(file("NON_ESISTE.REI")));
    EXPECT_TRUE(m_errore.startsWith("Impossibile leggere il file\r\n" + file("NON_ESISTE.REI")))
        << m_errore.toStdString();

    // A delete the database refuses, after rows of another subject went in.
    esegui("CREATE TRIGGER NO_DELETE BEFORE DELETE ON COPE WHEN old.OCOD = 'BLOCCATO' "
           "BEGIN SELECT RAISE(ABORT, 'soggetto protetto'); END");
    const QList<std::pair<QString, QByteArray>> primo{{"ONPROG", "001"}};
    scriviRighe(file("BLOCCATO.REI"),
                {lineaCope({"NUOVO"}, primo), lineaCope({"AAA"}, primo), lineaCope({"BLOCCATO"}, primo)});
    EXPECT_FALSE(ripristina(file("BLOCCATO.REI")));
    EXPECT_EQ(m_errore, "Impossibile eliminare i dati del soggetto BLOCCATO dalla tabella COPE: soggetto protetto\r\n"
                        "Il ripristino è stato annullato: l'archivio non è stato modificato.");
    EXPECT_EQ(righe(), prima);

    // A table without subjects' codes.
    scriviRighe(file("COMUNI.REI"), {lineaCope({"NUOVO"}), Sep + "T_COMUNI" + Sep + "ROMA" + Sep + "RM"});
    EXPECT_FALSE(ripristina(file("COMUNI.REI")));
    EXPECT_TRUE(m_errore.startsWith("La riga 2 del file nomina la tabella T_COMUNI, che non contiene i dati dei "
                                    "soggetti"))
        << m_errore.toStdString();
}

TEST_F(RipristinoTest, NumeriDecimaliInteriETabelleSenzaProgressivo)
{
    // The largest whole number and one past the 53 bits of a double come back as they were.
    Riga grande = soggettoCasuale(*std::make_unique<std::mt19937>(4), "MAX", "001", false);
    grande[colonne().indexOf("OMOC1")] = db::Value(std::numeric_limits<qint64>::max());
    grande[colonne().indexOf("OMOC2")] = db::Value(qint64{9007199254740993});
    grande[colonne().indexOf("OMOC3")] = db::Value(std::numeric_limits<qint64>::min());
    aggiungi("COPE", {grande});
    const QStringList prima = righe();
    ASSERT_TRUE(salva(file("MAX.REI"))) << m_errore.toStdString();
    esegui("DELETE FROM COPE");
    ASSERT_TRUE(ripristina(file("MAX.REI"))) << m_errore.toStdString();
    EXPECT_EQ(righe(), prima);

    // A table of the subjects' codes without progressives: every line is a row; the decimal comma, a 16-bit
    // range, and codes that differ only by the case of an accented or a Greek letter.
    esegui("DELETE FROM COPE");
    esegui("CREATE TABLE PROVA (OCOD TEXT COLLATE NOCASE, IMPORTO DOUBLE, N SMALLINT)");
    esegui("INSERT INTO PROVA VALUES ('x', 1, 1), ('Y', 2, 2), ('àbc', 3, 3), ('αβγ', 4, 4)");
    esegui("INSERT INTO COPE (OCOD, ONPROG) VALUES ('ΑΒΓ', '001'), ('àbc', '001')");
    scriviRighe(file("PROVA.REI"), {lineaCope({"\xC0"
                                               "BC"},
                                              {{"ONPROG", "001"}}),
                                    Sep + "PROVA" + Sep + "X" + Sep + "12,5" + Sep + "7",
                                    Sep + "PROVA" + Sep + "X" + Sep + "," + Sep + "-32768",
                                    Sep + "PROVA" + Sep + "X" + Sep + "SEI" + Sep + "32768",
                                    Sep + "PROVA" + Sep +
                                        "\xC0"
                                        "BC" +
                                        Sep + "-0,5" + Sep + "2,5"});
    for (int volta = 1; volta <= 2; ++volta) {
        SCOPED_TRACE(volta);
        ASSERT_TRUE(ripristina(file("PROVA.REI"))) << m_errore.toStdString();
        EXPECT_EQ(m_avvisi, (QStringList{"Errore: PROVA registrazione: indice 3 valore SEI Errore: Tipo di dati non "
                                         "corrispondente per il campo IMPORTO",
                                         "Errore: PROVA registrazione: indice 4 valore 32768 Errore: Il valore 32768 è "
                                         "fuori dell'intervallo del campo N (da -32768 a 32767)"}));
        EXPECT_EQ(righe("PROVA"), (QStringList{"T:X|N:0|N:-32768", "T:X|N:12.5|N:7", "T:X|NULL|NULL", "T:Y|N:2|N:2",
                                               "T:ÀBC|N:-0.5|N:3", "T:àbc|N:3|N:3", "T:αβγ|N:4|N:4"}));
        EXPECT_EQ(righe().filter("|T:001|").size(), 3) << righe().join('\n').toStdString();
        EXPECT_EQ(righe().filter(QRegularExpression("^T:(ΑΒΓ|àbc|ÀBC)\\|")).size(), 3)
            << righe().join('\n').toStdString();
    }
}

TEST_F(RipristinoTest, UnaRigaLungaQuantoIlLimiteSiLeggeUnaDiPiuNo)
{
    const QByteArray inizio = lineaCope({"A"}, {{"ONPROG", "001"}, {"OPEGESTORE", "G"}});
    const QByteArray riempimento(LunghezzaMassimaRiga - inizio.size(), 'G');
    QByteArray alLimite = inizio;
    alLimite.insert(alLimite.indexOf(Sep + "G" + Sep) + 2, riempimento);
    ASSERT_EQ(alLimite.size(), LunghezzaMassimaRiga);
    QByteArray oltre = alLimite;
    oltre.replace(Sep + "A" + Sep, Sep + "B" + Sep);
    oltre.insert(oltre.indexOf(Sep + "G") + 1, "G");
    scriviRighe(file("LIMITE.REI"), {alLimite, oltre});
    ASSERT_TRUE(ripristina(file("LIMITE.REI"))) << m_errore.toStdString();
    EXPECT_EQ(m_avvisi, QStringList{QStringLiteral("La riga 2 del file è lunga %1 byte, troppo per una riga di backup: "
                                                   "non è stata ripristinata.")
                                        .arg(LunghezzaMassimaRiga + 1)});
    EXPECT_EQ(valore("A", "OPEGESTORE").size(), 2 + riempimento.size() + 1);
    EXPECT_TRUE(righe("COPE WHERE OCOD = 'B'").isEmpty());
}

TEST_F(RipristinoTest, UnaCancellazioneRifiutataSiDiceAllaFineDopoGliAvvisiDelleRigheSeguenti)
{
    std::mt19937 caso(9);
    aggiungi("COPE", {soggettoCasuale(caso, "AAA", "001", false), soggettoCasuale(caso, "BLOCCATO", "001", false)});
    const QStringList prima = righe();
    esegui("CREATE TRIGGER NO_DELETE BEFORE DELETE ON COPE WHEN old.OCOD = 'BLOCCATO' "
           "BEGIN SELECT RAISE(ABORT, 'soggetto protetto'); END");
    scriviRighe(file("BLOCCATO.REI"),
                {lineaCope({"BLOCCATO"}, {{"ONPROG", "001"}}), lineaCope({"AAA"}, {{"ONPROG", "001"}}),
                 lineaCope({"NUOVO"}, {{"ONPROG", "001"}, {"ONDT", "31/02/1980"}}),
                 lineaCope({""}, {{"ONPROG", "001"}})});
    EXPECT_FALSE(ripristina(file("BLOCCATO.REI")));
    EXPECT_EQ(m_errore, "Impossibile eliminare i dati del soggetto BLOCCATO dalla tabella COPE: soggetto protetto\r\n"
                        "Il ripristino è stato annullato: l'archivio non è stato modificato.");
    ASSERT_EQ(m_avvisi.size(), 2) << m_avvisi.join('\n').toStdString();
    EXPECT_TRUE(m_avvisi[0].contains("ONDT")) << m_avvisi[0].toStdString();
    EXPECT_TRUE(m_avvisi[1].startsWith("La riga 4 del file (tabella COPE) non ha il codice fiscale"))
        << m_avvisi[1].toStdString();
    EXPECT_EQ(righe(), prima);
}

TEST_F(RipristinoTest, RipristinareGliStessiSoggettiNonRaddoppiaIlFileDelRegistro)
{
    std::mt19937 caso(10);
    QList<Riga> soggetti;
    for (int i = 0; i < 1500; ++i) {
        soggetti << soggettoCasuale(caso, QStringLiteral("S%1").arg(i, 6, 10, QChar('0')), "001", false);
    }
    aggiungi("COPE", soggetti);
    ASSERT_TRUE(salva(file("TUTTI.REI"))) << m_errore.toStdString();
    const auto pagine = [] {
        db::Recordset rs;
        EXPECT_TRUE(rs.Open("PRAGMA page_count", Conn));
        return rs.Fields(0).Value().toInteger();
    };
    const qint64 prima = pagine();
    const QStringList righePrima = righe();
    ASSERT_TRUE(ripristina(file("TUTTI.REI"))) << m_errore.toStdString();
    EXPECT_EQ(righe(), righePrima);
    // Each subject's earlier row goes as its new one comes: the pages it leaves take the rows that follow.
    EXPECT_LT(pagine(), prima * 5 / 4) << prima;
}

TEST_F(RipristinoTest, UnNumeroInteroSiLeggeDalleSueCifreEUnTestoCheNonLoENonSiRegistra)
{
    // Each item goes into one column; the expected value, or "NULL" when the item is told and not stored.
    struct Caso {
        const char* colonna;
        const char* voce;
        const char* atteso;
    };
    const std::vector<Caso> casi{{"I", "1234567890123456789.4", "N:1234567890123456789"},
                                 {"I", "123456789012345678.5", "N:123456789012345679"},
                                 {"I", "0.49999999999999999", "N:0"},
                                 {"I", "-0,5", "N:-1"},
                                 {"I", "+-5", "NULL"},
                                 {"I", "-+5", "NULL"},
                                 {"I", "007", "N:7"},
                                 {"I", "-0", "N:0"},
                                 {"I", "+12", "N:12"},
                                 {"I", "12,5", "N:13"},
                                 {"I", "12.5", "N:13"},
                                 {"I", "-12.5", "N:-13"},
                                 {"I", "1e3", "N:1000"},
                                 {"I", "2.5e-1", "N:0"},
                                 {"I", "25E-1", "N:3"},
                                 {"I", " 5 ", "N:5"},
                                 {"I", "5 5", "NULL"},
                                 {"I", "12,5,0", "NULL"},
                                 {"I", "1e", "NULL"},
                                 {"I", "1e400", "NULL"},
                                 {"I", "9223372036854775807", "N:9223372036854775807"},
                                 {"I", "9223372036854775807.0", "N:9223372036854775807"},
                                 {"I", "9223372036854775807.5", "NULL"},
                                 {"I", "9223372036854775808", "NULL"},
                                 {"I", "-9223372036854775808", "N:-9223372036854775808"},
                                 {"I", "-9223372036854775808.0", "N:-9223372036854775808"},
                                 {"I", "-9223372036854775808.4", "N:-9223372036854775808"},
                                 {"I", "-9223372036854775809", "NULL"},
                                 {"L", "2147483647", "N:2147483647"},
                                 {"L", "2147483647.0", "N:2147483647"},
                                 {"L", "2147483648", "NULL"},
                                 {"L", "-2147483648", "N:-2147483648"},
                                 {"L", "-2147483648.0", "N:-2147483648"},
                                 {"L", "-2147483649", "NULL"},
                                 {"S", "32767", "N:32767"},
                                 {"S", "32767.0", "N:32767"},
                                 {"S", "32767.5", "NULL"},
                                 {"S", "32768", "NULL"},
                                 {"S", "-32768", "N:-32768"},
                                 {"S", "-32768.0", "N:-32768"},
                                 {"S", "-32768.5", "NULL"},
                                 {"S", "-32769", "NULL"},
                                 {"B", "-1", "N:-1"},
                                 {"B", "32767.0", "N:32767"},
                                 {"B", "-32769", "NULL"}};
    esegui("CREATE TABLE PROVA (OCOD TEXT, S SMALLINT, L LONG, I INTEGER, B BOOLEAN)");
    const QStringList colonne{"OCOD", "S", "L", "I", "B"};
    // A backup begins with a subject's row.
    QList<QByteArray> linee{lineaCope({"A"}, {{"ONPROG", "001"}})};
    QStringList attesi;
    QStringList avvisi;
    for (std::size_t n = 0; n < casi.size(); ++n) {
        QList<QByteArray> voci(colonne.size());
        voci[0] = QByteArray::number(qulonglong(n));
        const int indice = static_cast<int>(colonne.indexOf(casi[n].colonna));
        voci[indice] = casi[n].voce;
        linee << Sep + "PROVA" + Sep + voci.join(Sep);
        QStringList valori(colonne.size(), "NULL");
        valori[0] = "T:" + voci[0];
        valori[indice] = casi[n].atteso;
        attesi << valori.join('|');
        if (valori[indice] == "NULL") {
            avvisi << QStringLiteral("indice %1 valore %2 ").arg(indice + 2).arg(casi[n].voce);
        }
    }
    scriviRighe(file("INTERI.REI"), linee);
    ASSERT_TRUE(ripristina(file("INTERI.REI"))) << m_errore.toStdString();
    attesi.sort();
    EXPECT_EQ(righe("PROVA").join('\n').toStdString(), attesi.join('\n').toStdString());
    // Each value not stored is told, and only those.
    ASSERT_EQ(m_avvisi.size(), avvisi.size()) << m_avvisi.join('\n').toStdString();
    for (qsizetype i = 0; i < avvisi.size(); ++i) {
        EXPECT_TRUE(m_avvisi[i].contains(avvisi[i])) << m_avvisi[i].toStdString();
    }
}
