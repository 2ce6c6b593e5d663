#include "ArchivioProva.h"

#include "app/Ricerche.h"
#include "app/Testi.h"

using namespace ondavia;

class SqlTest : public ArchivioProva {};

TEST_F(SqlTest, UnApostrofoDigitatoNonCambiaLeIstruzioniEDecodificaTabella)
{
    const QString digitato = QStringLiteral("X' OR '1'='1");
    esegui(QStringLiteral("INSERT INTO COPE (OCOD) VALUES ('RSSMRA85T10A562S'), ('X'' OR ''1''=''1')"));

    db::Recordset righe;
    ASSERT_TRUE(righe.Open(QStringLiteral("SELECT * From COPE WHERE OCOD=") + Apici(digitato), Conn));
    ASSERT_EQ(righe.RecordCount(), 1) << "only the row whose code is the typed text";
    EXPECT_EQ(righe.Fields(QStringLiteral("OCOD")).Value().toText(), digitato);

    // A text run whole must not run a second statement smuggled in a value.
    esegui(QStringLiteral("DELETE  From COPE WHERE OCOD=") + Apici(QStringLiteral("Z'; DELETE FROM CTAB; --")));
    EXPECT_EQ(ContaRecord(QStringLiteral("COPE"), QString()), 2);
    EXPECT_EQ(ContaRecord(QStringLiteral("COPE"), digitato), 1);
    EXPECT_GT(ContaRecord(QStringLiteral("CTAB"), QString()), 0);

    // A table's description: cut at 50 characters, found by a code with an apostrophe, empty for a NULL.
    const QString lunga = QString(80, QLatin1Char('d'));
    esegui(QStringLiteral("INSERT INTO CTAB (TIPO, COD, des) VALUES ('TPI', '99', '%1'), ('ITT', 'D''A', 'Con "
                          "apostrofo'), ('ITT', 'NUL', NULL)")
               .arg(lunga));
    EXPECT_EQ(DecodificaTabella(QStringLiteral("TPI"), QStringLiteral("99")), lunga.left(50));
    EXPECT_EQ(DecodificaTabella(QStringLiteral("ITT"), QStringLiteral("D'A")), QStringLiteral("Con apostrofo"));
    EXPECT_EQ(DecodificaTabella(QStringLiteral("ITT"), QStringLiteral("NUL")), QString());

    EXPECT_EQ(ContaRecord(QStringLiteral("NONCE"), QString()), 0) << "a missing table";

    esegui(QStringLiteral("DROP TABLE CTAB"));
    QString errore;
    EXPECT_EQ(DecodificaTabella(QStringLiteral("TPI"), QStringLiteral("99"), &errore), std::nullopt);
    EXPECT_FALSE(errore.isEmpty());
}

TEST(TestiTest, NormalizzaTestoESoloLettere)
{
    QString t = QStringLiteral("perché (1)");
    EXPECT_EQ(NormalizzaTesto(t), QStringLiteral("PERCHE  1 "));
    EXPECT_EQ(t, QStringLiteral("PERCHE  1 ")) << "the argument is rewritten";
    // clang-format off
    for (auto [prima, dopo] : {
             std::pair<QString, QString>{"a(b)c<d>e[f]g;h|i,j\"k'l.m", "A B C D E F G H I J K'L.M"},
             {"àòèéìÊùç", "AOEEIEUC"}, {"François Ça", "FRANCOIS CA"},
             // Windows-1252 191-255; upper case never leaves the code page (µ) nor changes the length (ß).
             {"¿ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞß", "¿AAAAAAACEEEEIIIIÐNOOOOO×ØUUUUÝÞß"},
             {"àáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ", "AAAAAAACEEEEIIIIÐNOOOOO÷ØUUUUÝÞŸ"}, {"µšœž", "µŠŒŽ"},
             // line breaks, tabs and other control characters: one blank for each run
             {"alfa\r\nspa", "ALFA SPA"}, {"via\troma\u2028 1\n", "VIA ROMA  1 "},
             {QString::fromUtf8("a\0b\x7f\u0085c", 7), "A B C"}}) {
        // clang-format on
        EXPECT_EQ(NormalizzaTesto(prima), dopo);
    }
    QString nome = QStringLiteral(" l'aquila 2 ");
    EXPECT_EQ(SoloLettere(nome, 5), QStringLiteral("LAQUI"));
    EXPECT_EQ(nome, QStringLiteral("L'AQUILA 2")) << "upper-cased and trimmed in place";
}

TEST(ZeriSinistraTest, RiempimentoEArgomenti)
{
    const struct {
        QString valore;
        int larghezza;
        std::optional<QString> risultato;
        QString riscritto;
    } casi[] = {
        {"7", 3, "007", "7"},     {"-5", 4, "  -5", "-5"},           {" 12.9 ", 3, "012", "12"},
        {"-7,9", 3, " -7", "-7"}, {"1000", 3, std::nullopt, "1000"}, {"1a", 3, std::nullopt, "1a"},
    };
    for (auto caso : casi) {
        EXPECT_EQ(ZeriSinistra(caso.valore, caso.larghezza), caso.risultato) << caso.riscritto.toStdString();
        EXPECT_EQ(caso.valore, caso.riscritto);
    }
    QString v = QStringLiteral("7");
    int larghezza = 0;
    EXPECT_EQ(ZeriSinistra(v, larghezza), QStringLiteral("000007"));
    EXPECT_EQ(larghezza, 6) << "a width of 0 becomes 6 for the caller too";
}
