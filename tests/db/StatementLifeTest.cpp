#include "db/Connection.h"
#include "db/Cursor.h"
#include "db/Recordset.h"
#include "db/Statement.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace ondavia::db;

namespace {

// A statement left prepared keeps its table busy (a DROP fails) and, once the connection closes, its memory.
// Every operation, whether it succeeds or fails, must leave none behind once its objects are gone.
class StatementLifeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(conn.create(dir.filePath("t.db"))) << conn.lastError().toStdString();
        ASSERT_TRUE(conn.Execute("CREATE TABLE K (ID INTEGER UNIQUE, NOME TEXT, ALTRO TEXT DEFAULT 'd');"
                                 "INSERT INTO K (ID, NOME) VALUES (1, 'uno'), (2, 'due'), (3, 'tre');"))
            << conn.lastError().toStdString();
    }

    bool noStatementLeft() const { return sqlite3_next_stmt(conn.handle(), nullptr) == nullptr; }

    QTemporaryDir dir;
    Connection conn;
};

// Overflows when the row is read, not when the statement is prepared.
const char* const overflow = "abs(-9223372036854775807 - 1)";

TEST_F(StatementLifeTest, ConnectionLeavesNoStatementAndTellsSqliteReasons)
{
    struct Case {
        const char* sql;
        bool ok;
        const char* error;
    };
    const Case cases[] = {
        {"UPDATE K SET NOME = 'x' WHERE ID = 1; ; SELECT * FROM K;", true, ""},
        {"UPDATE K SET NOME = 'y' WHERE ID = 1; DELETE FROM NOWHERE; UPDATE K SET NOME = 'z'", false,
         "no such table: NOWHERE"},
        {"INSERT INTO K (ID) VALUES (4); INSERT INTO K (ID) VALUES (4)", false, "UNIQUE constraint failed: K.ID"},
        {"SELECT ID FROM K; SELECT abs(-9223372036854775807 - 1) FROM K", false, "integer overflow"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(conn.Execute(c.sql), c.ok) << c.sql;
        EXPECT_EQ(conn.lastError(), QString::fromUtf8(c.error)) << c.sql;
        EXPECT_TRUE(noStatementLeft()) << c.sql;
    }
    // The statements before the failing one stay done; none after it runs.
    Recordset rs;
    ASSERT_TRUE(rs.Open("SELECT NOME FROM K WHERE ID = 1", conn));
    EXPECT_EQ(rs.Fields(0).Value().toText(), "y");

    QStringList names;
    EXPECT_TRUE(conn.columns("k", &names));
    EXPECT_EQ(names, (QStringList{"ID", "NOME", "ALTRO"}));
    EXPECT_FALSE(conn.columns("NOWHERE", &names));
    EXPECT_TRUE(noStatementLeft());
}

TEST_F(StatementLifeTest, RecordsetLeavesNoStatementOnceClosedAndTellsSqliteReasons)
{
    {
        Recordset rs;
        EXPECT_FALSE(rs.Open("SELECT * FROM NOWHERE", conn));
        EXPECT_EQ(rs.lastError(), "no such table: NOWHERE");
        EXPECT_FALSE(rs.Open(QStringLiteral("SELECT ID, %1 AS X FROM K").arg(overflow), conn));
        EXPECT_EQ(rs.lastError(), "integer overflow");
        EXPECT_TRUE(noStatementLeft());

        ASSERT_TRUE(rs.Open("SELECT * FROM K ORDER BY ID", conn));
        EXPECT_EQ(rs.RecordCount(), 3);
        EXPECT_TRUE(noStatementLeft()); // the rows are read whole: nothing is held while they are used

        // A changed row that breaks a constraint is refused with SQLite's reason and stays unsaved.
        ASSERT_TRUE(rs.Fields("ID").setValue(2));
        EXPECT_FALSE(rs.Update());
        EXPECT_EQ(rs.lastError(), "UNIQUE constraint failed: K.ID");
        EXPECT_TRUE(noStatementLeft());
        ASSERT_TRUE(rs.Fields("ID").setValue(7));
        ASSERT_TRUE(rs.Update()) << rs.lastError().toStdString();

        // Rows added one after another share one insert; a refused one reports as a changed one does.
        for (int id : {5, 6}) {
            ASSERT_TRUE(rs.AddNew());
            ASSERT_TRUE(rs.Fields("ID").setValue(id));
            ASSERT_TRUE(rs.Fields("NOME").setValue(QStringLiteral("n%1").arg(id)));
            ASSERT_TRUE(rs.Update()) << rs.lastError().toStdString();
        }
        ASSERT_TRUE(rs.AddNew());
        ASSERT_TRUE(rs.Fields("ID").setValue(5));
        ASSERT_TRUE(rs.Fields("NOME").setValue(QStringLiteral("doppio")));
        EXPECT_FALSE(rs.Update());
        EXPECT_EQ(rs.lastError(), "UNIQUE constraint failed: K.ID");
        rs.Close();
        EXPECT_TRUE(noStatementLeft());
    }
    Recordset check;
    ASSERT_TRUE(check.Open("SELECT group_concat(ID || NOME || ALTRO, ' ') FROM (SELECT * FROM K ORDER BY ID)", conn));
    EXPECT_EQ(check.Fields(0).Value().toText(), "2dued 3tred 5n5d 6n6d 7unod");
}

TEST_F(StatementLifeTest, CursorLetsItsStatementGoAtTheLastRowOrAtAFailure)
{
    Cursor rows;
    EXPECT_FALSE(rows.Open("SELECT * FROM NOWHERE", conn));
    EXPECT_EQ(rows.lastError(), "no such table: NOWHERE");
    EXPECT_FALSE(rows.next());
    EXPECT_TRUE(noStatementLeft());

    ASSERT_TRUE(rows.Open("SELECT ID FROM K ORDER BY ID", conn));
    QStringList read;
    while (rows.next()) {
        read << rows.value(0).toText();
    }
    EXPECT_EQ(read, (QStringList{"1", "2", "3"}));
    EXPECT_TRUE(rows.lastError().isEmpty());
    EXPECT_TRUE(noStatementLeft()); // the cursor still exists, its statement no longer

    ASSERT_TRUE(rows.Open(
        QStringLiteral("SELECT CASE WHEN ID = 2 THEN %1 ELSE ID END FROM K ORDER BY ID").arg(overflow), conn));
    EXPECT_TRUE(rows.next());
    EXPECT_FALSE(rows.next());
    EXPECT_EQ(rows.lastError(), "integer overflow");
    EXPECT_FALSE(rows.next());
    EXPECT_TRUE(noStatementLeft());

    // A cursor abandoned halfway holds its statement only while it lives.
    {
        Cursor halfway;
        ASSERT_TRUE(halfway.Open("SELECT ID FROM K", conn));
        ASSERT_TRUE(halfway.next());
        EXPECT_FALSE(noStatementLeft());
    }
    EXPECT_TRUE(noStatementLeft());
    EXPECT_TRUE(conn.Execute("DROP TABLE K")) << conn.lastError().toStdString();
}

TEST_F(StatementLifeTest, StatementReportsItsFailuresAndIsGoneWithItsObject)
{
    {
        Statement broken(conn, QStringLiteral("INSERT INTO NOWHERE VALUES (?)"));
        EXPECT_FALSE(broken.isValid());
        EXPECT_EQ(broken.lastError(), "no such table: NOWHERE");
        EXPECT_FALSE(broken.run({1}));

        Statement insert(conn, QStringLiteral("INSERT INTO K (ID, NOME) VALUES (?, ?)"));
        ASSERT_TRUE(insert.isValid());
        EXPECT_FALSE(insert.run({1, QStringLiteral("di nuovo")}));
        EXPECT_EQ(insert.lastError(), "UNIQUE constraint failed: K.ID");
        EXPECT_TRUE(insert.run({8, QStringLiteral("otto")})) << insert.lastError().toStdString();
        EXPECT_FALSE(noStatementLeft());
    }
    EXPECT_TRUE(noStatementLeft());
}

} // namespace
