#include "db/Recordset.h"
#include "db/Connection.h"
#include "db/Criterion.h"
#include "db/SqlDialect.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ondavia::db;

namespace {

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(conn.create(dir.filePath("t.db"))) << conn.lastError().toStdString();
        ASSERT_TRUE(
            conn.Execute("CREATE TABLE T_COMUNI (COMUNE TEXT COLLATE NOCASE, pro TEXT COLLATE NOCASE);"
                         "INSERT INTO T_COMUNI VALUES ('ROMA','RM'),('ACI SANT''ANTONIO','CT'),('ROCCA DI PAPA','RM'),"
                         "('ACIREALE','CT'),('ROCCA PRIORA','RM');"
                         "CREATE TABLE P (NOME TEXT(5) COLLATE NOCASE, IMPORTO DOUBLE, NATO DATE, PEZZI INTEGER);"))
            << conn.lastError().toStdString();
    }

    QTemporaryDir dir;
    Connection conn;
};

TEST_F(RecordsetTest, CountIsExactAtOnceAndFindSearchesForwardFromTheCurrentRow)
{
    Recordset rs;
    ASSERT_TRUE(rs.Open("SELECT * From T_COMUNI ORDER BY T_COMUNI.COMUNE", conn));
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_EQ(rs.Fields(0).Type(), adVarWChar);

    QStringList order;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        order << rs.Fields("comune").Value().toText(); // names ignore letter case
    }
    EXPECT_EQ(order, (QStringList{"ACI SANT'ANTONIO", "ACIREALE", "ROCCA DI PAPA", "ROCCA PRIORA", "ROMA"}));
    EXPECT_TRUE(rs.Fields("NOPE").Value().isNull());

    rs.MoveFirst();
    ASSERT_TRUE(rs.Find("COMUNE ='roma'"));
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Fields("pro").Value().toText(), "RM");

    // The search starts at the current row: a row behind it is not found.
    rs.MoveFirst();
    rs.MoveNext();
    rs.MoveNext();
    ASSERT_TRUE(rs.Find("COMUNE ='ACIREALE'"));
    EXPECT_TRUE(rs.Eof());

    // Equality uses the index; after a change the index must not go stale.
    rs.MoveFirst();
    ASSERT_TRUE(rs.Find("COMUNE ='ROMA'"));
    ASSERT_TRUE(rs.Fields("COMUNE").setValue("ROMA CAPITALE"));
    ASSERT_TRUE(rs.Update());
    rs.MoveFirst();
    ASSERT_TRUE(rs.Find("COMUNE ='ROMA'"));
    EXPECT_TRUE(rs.Eof());
    rs.MoveFirst();
    ASSERT_TRUE(rs.Find("COMUNE ='Roma Capitale'"));
    EXPECT_FALSE(rs.Eof());
}

// A prefix search reads an index of the column, not the rows one by one: from every row, for every
// prefix of every text (and a few that match nothing), it finds the row the plain scan finds. A pattern
// with two wildcards ("X%%") matches the same texts and is always searched by the scan.
TEST_F(RecordsetTest, PrefixSearchesFindWhatTheScanFinds)
{
    ASSERT_TRUE(conn.Execute("INSERT INTO T_COMUNI VALUES ('Roma','X'),(NULL,'N'),('ROMAGNANO','TO'),"
                             "('ROCCA DI PAPA','RM'),('D''ANNA','Z'),('','V'),('AÀ','Q'),('ROM%A','P')"));
    Recordset rs;
    ASSERT_TRUE(rs.Open("SELECT * From T_COMUNI", conn));
    QStringList prefissi = {"", "Z", "ROMX", "'", "à", "RO%"};
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const QString testo = rs.Fields("COMUNE").Value().toText();
        for (qsizetype n = 1; n <= testo.size(); ++n) {
            prefissi << testo.left(n) << testo.left(n).toLower();
        }
    }
    const auto trovato = [&rs](int da, const QString& criterio) {
        rs.MoveFirst();
        for (int i = 0; i < da; ++i) {
            rs.MoveNext();
        }
        EXPECT_TRUE(rs.Find(criterio)) << criterio.toStdString();
        return rs.position();
    };
    for (const QString& p : prefissi) {
        const QString doppio = QString(p).replace("'", "''");
        for (int da = 0; da <= rs.RecordCount(); ++da) {
            EXPECT_EQ(trovato(da, "COMUNE LIKE '" + doppio + "%'"), trovato(da, "COMUNE LIKE '" + doppio + "%%'"))
                << p.toStdString() << " from row " << da;
        }
    }
    EXPECT_EQ(trovato(0, "COMUNE LIKE 'ROMAG%'"), 7);

    // After a change the index does not go stale.
    ASSERT_TRUE(rs.Fields("COMUNE").setValue("ZAGAROLO"));
    ASSERT_TRUE(rs.Update());
    EXPECT_EQ(trovato(0, "COMUNE LIKE 'ROMAG%'"), rs.RecordCount());
    EXPECT_EQ(trovato(0, "COMUNE LIKE 'zag%'"), 7);
}

// Whatever the operator typed ends up inside a criterion: the parser takes any text, even text that is
// not well-formed (half of a character outside the basic plane), and a search for it simply finds nothing.
TEST_F(RecordsetTest, ACriterionTakesAnyTextBetweenItsApostrophes)
{
    const QString mezzaEmoji = QString(QChar(0xDE00)) + QStringLiteral("562");
    const QString testi[] = {mezzaEmoji, QString(QChar(0xD83D)), QStringLiteral("D''ANNA"), QString()};
    Recordset rs;
    ASSERT_TRUE(rs.Open("SELECT * From T_COMUNI ORDER BY COMUNE", conn));
    for (const QString& testo : testi) {
        for (const QString& criterio : {QStringLiteral("COMUNE ='%1'"), QStringLiteral("[COMUNE] LIKE '%1%'")}) {
            const QString completo = criterio.arg(testo);
            const Criterion c = Criterion::parse(completo);
            ASSERT_TRUE(c.isValid()) << completo.toStdString();
            EXPECT_EQ(c.column, "COMUNE");
            EXPECT_EQ(c.value, QString(testo).replace("''", "'") + (c.op == Criterion::Op::Like ? "%" : ""));
            rs.MoveFirst();
            ASSERT_TRUE(rs.Find(completo)) << rs.lastError().toStdString();
            // No name is any of these texts or begins with one, but every name begins with the empty text.
            const bool ogniNome = testo.isEmpty() && c.op == Criterion::Op::Like;
            EXPECT_EQ(rs.Eof(), !ogniNome) << completo.toStdString();
            if (ogniNome) {
                EXPECT_EQ(rs.position(), 0) << completo.toStdString();
            }
        }
    }
    // Still refused, leaving the position alone: what is not a criterion at all (a doubled apostrophe cut in
    // half leaves an unbalanced literal), or one on a column that is not there.
    rs.MoveFirst();
    rs.MoveNext();
    for (const char* malformato : {"COMUNE ='X", "COMUNE = X", "= 'X'", "COMUNE LIKE'X'", "COMUNE ='X' Y", "1C ='X'",
                                   "COMUNE LIKE 'ACI SANT'%'", "MISSING ='X'"}) {
        EXPECT_FALSE(rs.Find(QString::fromUtf8(malformato))) << malformato;
        EXPECT_FALSE(rs.lastError().isEmpty()) << malformato;
        EXPECT_EQ(rs.position(), 1) << malformato;
    }
}

TEST_F(RecordsetTest, AddNewUpdateAndEditRoundTripThroughTheFileAndRefuseWhatDoesNotFit)
{
    {
        Recordset rs;
        ASSERT_TRUE(rs.Open("SELECT * From P WHERE NOME='x'", conn));
        ASSERT_TRUE(rs.AddNew());
        EXPECT_FALSE(rs.Fields("NOME").setValue("ABCDEF")); // five characters at most
        EXPECT_FALSE(rs.Fields("IMPORTO").setValue("dodici"));
        EXPECT_FALSE(rs.Fields("NATO").setValue(""));
        EXPECT_FALSE(rs.Fields("NATO").setValue("31/02/2021"));
        EXPECT_FALSE(rs.Fields("MISSING").setValue("x"));
        EXPECT_TRUE(rs.Fields("NATO").setValue(0)); // a number of days: the zero date
        EXPECT_EQ(rs.Fields("NATO").Value().toText(), "00:00:00");
        // Reopening drops the row being added: none of the refused values reached the file.
        ASSERT_TRUE(rs.Open("SELECT * From P WHERE NOME='x'", conn));
        EXPECT_EQ(rs.RecordCount(), 0);

        ASSERT_TRUE(rs.AddNew());
        ASSERT_TRUE(rs.Fields("NOME").setValue("Abc"));
        ASSERT_TRUE(rs.Fields("IMPORTO").setValue("12,5"));
        ASSERT_TRUE(rs.Fields("NATO").setValue("09/01/2021"));
        ASSERT_TRUE(rs.Update()) << rs.lastError().toStdString();
    }
    Recordset rs;
    ASSERT_TRUE(rs.Open("SELECT * From P WHERE NOME='ABC'", conn)); // '=' ignores letter case
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields("NOME").Value().toText(), "Abc");
    EXPECT_EQ(rs.Fields("IMPORTO").Type(), adDouble);
    EXPECT_DOUBLE_EQ(rs.Fields("IMPORTO").Value().toDouble(), 12.5);
    EXPECT_EQ(rs.Fields("NATO").Type(), adDate);
    EXPECT_EQ(rs.Fields("NATO").Value().toDate(), QDate(2021, 1, 9));
    EXPECT_EQ(rs.Fields("PEZZI").Type(), adInteger);
    EXPECT_TRUE(rs.Fields(3).Value().isNull());

    ASSERT_TRUE(rs.Fields("PEZZI").setValue(4));
    ASSERT_TRUE(rs.Fields("NATO").setValue(Value::null()));
    ASSERT_TRUE(rs.Update());

    Recordset again;
    ASSERT_TRUE(again.Open("SELECT * From P", conn));
    ASSERT_EQ(again.RecordCount(), 1);
    EXPECT_EQ(again.Fields("PEZZI").Value().toInteger(), 4);
    EXPECT_TRUE(again.Fields("NATO").Value().isNull());
}

TEST_F(RecordsetTest, ExpressionColumnsAreReadOnlyAndTypedByTheirValues)
{
    Recordset rs;
    ASSERT_TRUE(conn.Execute("SELECT Count(*)  FROM T_COMUNI WHERE pro='rm'", &rs));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(0).Value().toInteger(), 3);
    EXPECT_EQ(rs.Fields(0).Type(), adInteger);
    EXPECT_FALSE(rs.AddNew());

    Recordset max;
    ASSERT_TRUE(max.Open("SELECT Max(T_COMUNI.pro) AS MaxDiAPROG FROM T_COMUNI where T_COMUNI.pro='XX'", conn));
    ASSERT_EQ(max.RecordCount(), 1);
    EXPECT_TRUE(max.Fields("MaxDiAPROG").Value().isNull());
}

TEST_F(RecordsetTest, FailuresAreReportedNotHidden)
{
    Recordset rs;
    EXPECT_FALSE(rs.Open("SELECT * From NOWHERE", conn));
    EXPECT_FALSE(rs.lastError().isEmpty());
    EXPECT_FALSE(conn.Execute("DELETE  From NOWHERE WHERE OCOD='X'"));
    EXPECT_TRUE(conn.lastError().contains("NOWHERE"));
}

TEST_F(RecordsetTest, AnUncommittedTransactionRollsBack)
{
    {
        Transaction t(conn);
        ASSERT_TRUE(conn.Execute("DELETE  From T_COMUNI"));
    }
    Recordset rs;
    ASSERT_TRUE(rs.Open("SELECT * From T_COMUNI", conn));
    EXPECT_EQ(rs.RecordCount(), 5);
}

// A double in a column of whole numbers, or of dates (a number of days after the zero date), is rounded half
// away from zero, as far as 64 bits hold it.
TEST_F(RecordsetTest, ADoubleIsRoundedHalfAwayFromZeroIntoWholeNumbersAndDates)
{
    EXPECT_EQ(Value(2.5).toInteger(), 3);
    EXPECT_EQ(Value(-2.5).toInteger(), -3);
    EXPECT_EQ(Value(2.49).toInteger(), 2);
    bool ok = true;
    EXPECT_EQ(Value(0x1p63).toInteger(&ok), 0);
    EXPECT_FALSE(ok);

    Recordset rs;
    ASSERT_TRUE(rs.Open("SELECT * From P", conn));
    ASSERT_TRUE(rs.AddNew());
    ASSERT_TRUE(rs.Fields("PEZZI").setValue(2.5));
    EXPECT_EQ(rs.Fields("PEZZI").Value().toText().toStdString(), "3");
    ASSERT_TRUE(rs.Fields("NATO").setValue(2.5));
    EXPECT_EQ(rs.Fields("NATO").Value().toText().toStdString(), "02/01/1900");
    ASSERT_TRUE(rs.Fields("NATO").setValue(-0.5));
    EXPECT_EQ(rs.Fields("NATO").Value().toText().toStdString(), "29/12/1899");
}

TEST(Value, OptionStatesAndDatesReadAsTheFormsExpect)
{
    for (const char* vero : {"-1", "True"}) {
        EXPECT_TRUE(Value(vero).toBool()) << vero;
    }
    for (const char* falso : {"0", "  ", "False"}) {
        EXPECT_FALSE(Value(falso).toBool()) << falso;
    }
    EXPECT_FALSE(Value::null().toBool());

    EXPECT_EQ(Value(QDate(2021, 3, 5)).toText(), "05/03/2021");
    EXPECT_EQ(parseDateText("5/3/2021"), QDate(2021, 3, 5));
    EXPECT_FALSE(parseDateText("29/02/2021").isValid());
    EXPECT_FALSE(parseDateText("2021").isValid());
}

TEST(SqlDialect, OnlyTheConstructsSqliteReadsDifferentlyChange)
{
    EXPECT_EQ(translateSql("UPDATE COPE SET COPE.ONPROG = '001';"), "UPDATE COPE SET ONPROG = '001';");
    EXPECT_EQ(translateSql("update cope set Cope.A = 'COPE.B', cope . C = 1 WHERE COPE.OCOD='x'"),
              "update cope set A = 'COPE.B', C = 1 WHERE OCOD='x'");
    EXPECT_EQ(translateSql("ALTER TABLE COPE ADD COLUMN ONPROG Text (3); "),
              "ALTER TABLE COPE ADD COLUMN ONPROG Text (3) COLLATE NOCASE; ");
    const QString untouched = "SELECT Max(COPE.ONPROG) AS MaxDiAPROG FROM COPE where COPE.OCOD='A'";
    EXPECT_EQ(translateSql(untouched), untouched);
    EXPECT_EQ(translateSql("UPDATE COPESX SET COPE.A = 1"), "UPDATE COPESX SET COPE.A = 1");
}

TEST(ConnectionOpen, RefusesAMissingFileWithoutCreatingItAndADatabaseLockedByAnotherProgram)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("OVIA.db");
    Connection other;
    EXPECT_FALSE(other.Open(path));
    EXPECT_FALSE(other.lastError().isEmpty());
    EXPECT_FALSE(QFile::exists(path));

    Connection holder;
    ASSERT_TRUE(holder.create(path));
    ASSERT_TRUE(holder.Execute("CREATE TABLE X (A TEXT); BEGIN EXCLUSIVE; INSERT INTO X VALUES ('a');"));
    EXPECT_FALSE(other.Open(path));
    EXPECT_TRUE(other.lastError().contains("bloccato")) << other.lastError().toStdString();

    ASSERT_TRUE(holder.Execute("COMMIT"));
    EXPECT_TRUE(other.Open(path)) << other.lastError().toStdString();
}

} // namespace
