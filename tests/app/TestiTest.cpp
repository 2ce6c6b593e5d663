#include "ArchivioProva.h"

#include "app/Ricerche.h"
#include "app/Testi.h"

using namespace ondavia;

TEST(ApiciTest, RaddoppiaGliApostrofiInterni)
{
    EXPECT_EQ(RaddoppiaApici(QStringLiteral("D'ANNA")), QStringLiteral("D''ANNA"));
    EXPECT_EQ(RaddoppiaApici(QStringLiteral("ROSSI")), QStringLiteral("ROSSI"));
    EXPECT_EQ(RaddoppiaApici(QStringLiteral("''")), QStringLiteral("''''"));
    EXPECT_EQ(Apici(QStringLiteral("RSSMRA85T10A562S")), QStringLiteral("'RSSMRA85T10A562S'"));
    EXPECT_EQ(Apici(QString()), QStringLiteral("''"));
    EXPECT_EQ(Apici(QStringLiteral("X' OR '1'='1")), QStringLiteral("'X'' OR ''1''=''1'"));
    EXPECT_EQ(Virgolette(QStringLiteral("https://www.agenziaentrate.gov.it")),
              QStringLiteral("\"https://www.agenziaentrate.gov.it\""));
}

class ApiciInSqlTest : public ArchivioProva {};

TEST_F(ApiciInSqlTest, UnApostrofoDigitatoNonCambiaLaQuery)
{
    const QString digitato = QStringLiteral("X' OR '1'='1");
    esegui(QStringLiteral("INSERT INTO COPE (OCOD, orag) VALUES ('RSSMRA85T10A562S', '001')"));
    esegui(QStringLiteral("INSERT INTO COPE (OCOD, orag) VALUES ('X'' OR ''1''=''1', '001')"));

    db::Recordset righe;
    ASSERT_TRUE(righe.Open(QStringLiteral("SELECT * From COPE WHERE OCOD=") + Apici(digitato), Conn))
        << righe.lastError().toStdString();
    ASSERT_EQ(righe.RecordCount(), 1) << "only the row whose code is the typed text";
    EXPECT_EQ(righe.Fields(QStringLiteral("OCOD")).Value().toText(), digitato);

    // A statement run whole must not run a second one smuggled in the value.
    ASSERT_TRUE(Conn.Execute(QStringLiteral("DELETE  From COPE WHERE OCOD=") +
                             Apici(QStringLiteral("Z'; DELETE FROM COPE; DELETE FROM CTAB; --"))))
        << Conn.lastError().toStdString();
    EXPECT_EQ(ContaRecord(QStringLiteral("COPE"), QString()), 2);
    EXPECT_GT(ContaRecord(QStringLiteral("CTAB"), QString()), 0);
    EXPECT_EQ(ContaRecord(QStringLiteral("COPE"), digitato), 1);
}

TEST(NoNullTest, NullDiventaVuoto)
{
    EXPECT_EQ(NoNull(db::Value::Null()), QString());
    EXPECT_EQ(NoNull(db::Value(QStringLiteral("ABC"))), QStringLiteral("ABC"));
    EXPECT_EQ(NoNull(db::Value(42)), QStringLiteral("42"));
    EXPECT_EQ(NoNull(db::Value(QDate(2021, 3, 5))), QStringLiteral("05/03/2021"));
}

TEST(NormalizzaTestoTest, PunteggiaturaEAccenti)
{
    QString t = QStringLiteral("perché (1)");
    EXPECT_EQ(NormalizzaTesto(t), QStringLiteral("PERCHE  1 "));
    EXPECT_EQ(t, QStringLiteral("PERCHE  1 ")) << "the argument is rewritten";

    QString segni = QStringLiteral("a(b)c<d>e[f]g;h|i,j\"k'l.m-n/o");
    EXPECT_EQ(NormalizzaTesto(segni), QStringLiteral("A B C D E F G H I J K'L.M-N/O"));

    QString minuscole = QStringLiteral("àòèéìÊùç");
    EXPECT_EQ(NormalizzaTesto(minuscole), QStringLiteral("AOEEIEUE"));
}

TEST(NormalizzaTestoTest, OgniLetteraAccentataDelCodice)
{
    // Windows-1252 191-255, upper and lower case: what the records of the tax agency may receive.
    QString maiuscoleAccentate = QStringLiteral("¿ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞß");
    EXPECT_EQ(NormalizzaTesto(maiuscoleAccentate), QStringLiteral("¿AAAAAAAEEEEEIIIIÐNOOOOO×ØUUUUÝÞß"));
    QString minuscoleAccentate = QStringLiteral("àáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ");
    EXPECT_EQ(NormalizzaTesto(minuscoleAccentate), QStringLiteral("AAAAAAAEEEEEIIIIÐNOOOOO÷ØUUUUÝÞŸ"));
    // Upper case never leaves the code page nor changes the length.
    QString speciali = QStringLiteral("µßšœž");
    EXPECT_EQ(NormalizzaTesto(speciali), QStringLiteral("µßŠŒŽ"));
}

TEST(SoloLettereTest, LettereDelNome)
{
    QString nome = QStringLiteral(" l'aquila 2 ");
    EXPECT_EQ(SoloLettere(nome, 5), QStringLiteral("LAQUI"));
    EXPECT_EQ(nome, QStringLiteral("L'AQUILA 2")) << "upper-cased and trimmed in place";

    QString societa = QStringLiteral("Rossi Mario & C. s.r.l.");
    EXPECT_EQ(SoloLettere(societa, 15), QStringLiteral("ROSSIMARIOCSRL"));
    QString accenti = QStringLiteral("Società Più");
    EXPECT_EQ(SoloLettere(accenti, 20), QStringLiteral("SOCIETPI"));
    QString vuoto = QStringLiteral("   ");
    EXPECT_EQ(SoloLettere(vuoto, 5), QString());
    EXPECT_EQ(vuoto, QString());
}

TEST(ZeriSinistraTest, RiempimentoEArgomenti)
{
    QString v = QStringLiteral("7");
    EXPECT_EQ(ZeriSinistra(v, 3), QStringLiteral("007"));

    v = QString();
    EXPECT_EQ(ZeriSinistra(v, 3), QStringLiteral("000"));
    EXPECT_EQ(v, QString());

    v = QStringLiteral("-5");
    EXPECT_EQ(ZeriSinistra(v, 4), QStringLiteral("  -5"));

    v = QStringLiteral(" 12.9 ");
    EXPECT_EQ(ZeriSinistra(v, 3), QStringLiteral("012"));
    EXPECT_EQ(v, QStringLiteral("12")) << "the value becomes its whole part";
    v = QStringLiteral("-7,9");
    EXPECT_EQ(ZeriSinistra(v, 3), QStringLiteral(" -7"));

    int larghezza = 0;
    v = QStringLiteral("7");
    EXPECT_EQ(ZeriSinistra(v, larghezza), QStringLiteral("000007"));
    EXPECT_EQ(larghezza, 6) << "a width of 0 becomes 6 for the caller too";

    v = QStringLiteral("1000");
    EXPECT_EQ(ZeriSinistra(v, 3), std::nullopt) << "longer than the width";
    v = QStringLiteral("1a");
    EXPECT_EQ(ZeriSinistra(v, 3), std::nullopt) << "not a number";
}

class RicercheTest : public ArchivioProva {};

TEST_F(RicercheTest, DecodificaTabella)
{
    const QString lunga = QStringLiteral("Descrizione di ottanta caratteri, ") + QString(46, QLatin1Char('x'));
    ASSERT_EQ(lunga.size(), 80);
    esegui(QStringLiteral("INSERT INTO CTAB (TIPO, COD, des) VALUES ('TPI', '99', '%1')").arg(lunga));
    esegui(QStringLiteral("INSERT INTO CTAB (TIPO, COD, des) VALUES ('ITT', 'D''A', 'Con apostrofo')"));
    esegui(QStringLiteral("INSERT INTO CTAB (TIPO, COD, des) VALUES ('ITT', 'NUL', NULL)"));

    EXPECT_EQ(DecodificaTabella(QStringLiteral("TPI"), QStringLiteral("99")), lunga.left(50));
    EXPECT_EQ(SQL, QStringLiteral("SELECT * From CTAB where TIPO='TPI' AND COD='99'"));
    EXPECT_EQ(DecodificaTabella(QStringLiteral("TPI"), QStringLiteral("98")), QString());
    EXPECT_EQ(DecodificaTabella(QStringLiteral("ITT"), QStringLiteral("D'A")), QStringLiteral("Con apostrofo"));
    EXPECT_EQ(DecodificaTabella(QStringLiteral("ITT"), QStringLiteral("NUL")), QString());

    esegui(QStringLiteral("DROP TABLE CTAB"));
    QString errore;
    EXPECT_EQ(DecodificaTabella(QStringLiteral("TPI"), QStringLiteral("99"), &errore), std::nullopt);
    EXPECT_FALSE(errore.isEmpty());
}

TEST_F(RicercheTest, ContaRecord)
{
    esegui(QStringLiteral("INSERT INTO COPE (OCOD, orag) VALUES ('AAA', '001'), ('AAA', '002'), ('BBB', '001')"));
    EXPECT_EQ(ContaRecord(QStringLiteral("COPE"), QString()), 3);
    EXPECT_EQ(SQL, QStringLiteral("SELECT Count(*)  FROM COPE"));
    EXPECT_EQ(ContaRecord(QStringLiteral("COPE"), QStringLiteral("AAA")), 2);
    EXPECT_EQ(SQL, QStringLiteral("SELECT Count(*)  FROM COPE WHERE OCOD='AAA'"));
    EXPECT_EQ(ContaRecord(QStringLiteral("COPE"), QStringLiteral("CCC")), 0);
    EXPECT_EQ(ContaRecord(QStringLiteral("NONCE"), QString()), 0) << "a missing table";
    Conn.Close();
    EXPECT_EQ(ContaRecord(QStringLiteral("COPE"), QString()), 0) << "no connection";
}
