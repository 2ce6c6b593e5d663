#include "FailingAllocation.h"

#include "db/Connection.h"
#include "db/Cursor.h"
#include "db/Recordset.h"
#include "db/Statement.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <functional>
#include <new>

using namespace ondavia::db;
using namespace ondavia::test;

namespace {

struct Sweep {
    int failures = 0;              // runs in which an allocation failed
    int failuresWithStatement = 0; // of them, those that struck while a statement was prepared
    long firstLeft = -1;           // the first failing allocation after which a statement stayed prepared
    bool lastRunOk = false;        // the run in which no allocation failed succeeded
};

// An operation calls `from` where its allocations may start failing.
using Operation = std::function<bool(const std::function<void()>& from)>;

// Runs `operation` once for each allocation it makes, that allocation failing (as when memory runs out), then
// once more with all of them succeeding. After each failure, once the operation's objects are gone, the
// connection must hold no prepared statement: one left behind keeps its table busy and its memory.
Sweep failEachAllocation(Connection& conn, const Operation& operation)
{
    Sweep sweep;
    for (long n = 0; n < 200000; ++n) {
        bool ok = false;
        try {
            ok = operation([n] { failAllocation(n); });
        } catch (const std::bad_alloc&) {
        }
        const bool failed = allocationFailed();
        const bool withStatement = allocationFailedWithStatement();
        failAllocation(-1);
        if (!failed) {
            sweep.lastRunOk = ok;
            return sweep;
        }
        ++sweep.failures;
        sweep.failuresWithStatement += withStatement ? 1 : 0;
        if (sweep.firstLeft < 0 && sqlite3_next_stmt(conn.handle(), nullptr) != nullptr) {
            sweep.firstLeft = n;
        }
    }
    return sweep;
}

class AllocationFailureTest : public ::testing::Test {
protected:
    // A new database for each operation, so that what one leaves behind is not blamed on the next.
    void reopen()
    {
        conn.Close();
        QFile::remove(dir.filePath("t.db"));
        ASSERT_TRUE(conn.create(dir.filePath("t.db"))) << conn.lastError().toStdString();
        // Texts too long to be kept inside a string object, so that reading and binding them allocates.
        ASSERT_TRUE(conn.Execute("CREATE TABLE K (ID INTEGER, NOME TEXT, ALTRO TEXT DEFAULT 'predefinito');"
                                 "WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 40) "
                                 "INSERT INTO K (ID, NOME) SELECT I, 'un nome lungo quanto basta n. ' || I FROM N;"))
            << conn.lastError().toStdString();
        watchConnection(conn.handle());
    }

    void TearDown() override { watchConnection(nullptr); }

    QTemporaryDir dir;
    Connection conn;
};

TEST_F(AllocationFailureTest, NoStatementOutlivesAnOperationThatRanOutOfMemory)
{
    const QString lungo = QStringLiteral("un testo più lungo di una stringa breve");
    struct Case {
        const char* what;
        Operation operation;
        bool failsWithStatement; // whether the operation allocates while a statement of it is prepared
    };
    const Case cases[] = {
        {"reading a table whole",
         [&](const auto& from) {
             from();
             Recordset rs;
             return rs.Open("SELECT * FROM K ORDER BY ID", conn) && rs.RecordCount() == 40;
         },
         true},
        {"changing a row",
         [&](const auto& from) {
             Recordset rs;
             if (!rs.Open("SELECT * FROM K WHERE ID = 3", conn) || !rs.Fields("NOME").setValue(lungo)) {
                 return false;
             }
             from();
             return rs.Update();
         },
         true},
        {"adding rows that assign different columns",
         [&](const auto& from) {
             Recordset rs;
             bool ok = rs.Open("SELECT * FROM K WHERE ID = 0", conn);
             from();
             for (int i = 0; ok && i < 3; ++i) {
                 ok = rs.AddNew() && rs.Fields("ID").setValue(100 + i) && rs.Fields("NOME").setValue(lungo) &&
                      (i != 1 || rs.Fields("ALTRO").setValue(lungo)) && rs.Update();
             }
             return ok;
         },
         true},
        {"reading a table row by row",
         [&](const auto& from) {
             from();
             Cursor rows;
             int count = 0;
             if (!rows.Open("SELECT NOME FROM K", conn)) {
                 return false;
             }
             while (rows.next()) {
                 count += rows.value(0).toText().isEmpty() ? 0 : 1;
             }
             return count >= 40;
         },
         true},
        {"writing rows through one statement",
         [&](const auto& from) {
             from();
             Statement insert(conn, QStringLiteral("INSERT INTO K (ID, NOME) VALUES (?, ?)"));
             return insert.run({200, lungo}) && insert.run({201, lungo + lungo});
         },
         true},
        {"running statements and reading columns",
         [&](const auto& from) {
             from();
             QStringList names;
             return conn.Execute("UPDATE K SET ALTRO = 'x' WHERE ID = 1; UPDATE K SET ALTRO = 'y' WHERE ID = 2") &&
                    conn.columns("K", &names) && names.size() == 3;
         },
         false},
    };
    for (const Case& c : cases) {
        ASSERT_NO_FATAL_FAILURE(reopen()) << c.what;
        const Sweep sweep = failEachAllocation(conn, c.operation);
        EXPECT_TRUE(sweep.lastRunOk) << c.what;
        EXPECT_GT(sweep.failures, 0) << c.what;
        EXPECT_EQ(sweep.firstLeft, -1) << c.what << ": a statement stayed prepared after allocation " << sweep.firstLeft
                                       << " failed";
        if (c.failsWithStatement) {
            EXPECT_GT(sweep.failuresWithStatement, 0) << c.what;
        }
    }
}

} // namespace
