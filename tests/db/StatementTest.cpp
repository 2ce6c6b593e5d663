#include "db/Statement.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/SqliteValue.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

using namespace ondavia::db;

namespace {

QByteArray stored(const Value& value)
{
    std::string bytes;
    detail::appendStoredText(&bytes, value);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

TEST(StoredTextTest, TextsAreTheBytesOfToUtf8AndDatesTheirIsoText)
{
    for (char32_t u = 1; u <= 0xFFFF; ++u) {
        const QString text = QStringLiteral("a") + QChar(static_cast<char16_t>(u)) + QStringLiteral("b");
        ASSERT_EQ(stored(Value(text)), text.toUtf8()) << std::hex << static_cast<unsigned>(u);
    }
    const QChar high(char16_t(0xD83D));
    const QChar low(char16_t(0xDE00));
    for (const QString& text : {QString(high) + low, QString(high), QString(low) + high, QString(high) + high + low,
                                QStringLiteral("x") + high, QString(low) + QStringLiteral("x"), QString()}) {
        EXPECT_EQ(stored(Value(text)), text.toUtf8()) << text.size();
    }
    for (const QDate& date : {QDate(1, 1, 1), QDate(999, 12, 31), QDate(1899, 12, 30), QDate(2024, 2, 29),
                              QDate(9999, 12, 31), QDate(10000, 1, 1), QDate(-44, 3, 15), QDate()}) {
        EXPECT_EQ(stored(Value(date)), date.toString(Qt::ISODate).toUtf8()) << date.toJulianDay();
    }
}

TEST(StatementTest, EachValueIsStoredInItsOwnColumnRunAfterRun)
{
    QTemporaryDir dir;
    Connection conn;
    ASSERT_TRUE(conn.create(dir.filePath("t.db"))) << conn.lastError().toStdString();
    ASSERT_TRUE(conn.Execute("CREATE TABLE R (N INTEGER, A TEXT, B DATE, C INTEGER, D DOUBLE, E TEXT, F TEXT)"));
    Statement insert(conn, "INSERT INTO R VALUES (?, ?, ?, ?, ?, ?, ?)");
    ASSERT_TRUE(insert.isValid()) << insert.lastError().toStdString();
    // The second row's texts are shorter and fewer: nothing of the first may show through.
    const std::vector<std::vector<Value>> rows{
        {1, QStringLiteral("àé€ 😀"), QDate(2020, 2, 29), qint64{-7}, 2.5, QString(), QStringLiteral("fine")},
        {2, QStringLiteral("x"), Value(), qint64{9007199254740993}, Value(), QStringLiteral("é"), QString()},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(insert.run(row)) << insert.lastError().toStdString();
    }
    Recordset rs;
    ASSERT_TRUE(rs.Open("SELECT quote(A) || '|' || quote(B) || '|' || quote(C) || '|' || quote(D) || '|' || quote(E) "
                        "|| '|' || quote(F) AS R FROM R ORDER BY N",
                        conn));
    QStringList read;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        read << rs.Fields(0).Value().toText();
    }
    EXPECT_EQ(read, (QStringList{"'àé€ 😀'|'2020-02-29'|-7|2.5|''|'fine'", "'x'|NULL|9007199254740993|NULL|'é'|''"}));

    Statement find(conn, "SELECT 1 FROM R WHERE A = ? AND E = ?");
    ASSERT_TRUE(find.run({QStringLiteral("x"), QStringLiteral("é")}));
    EXPECT_TRUE(find.gaveRow());
    ASSERT_TRUE(find.run({QStringLiteral("x"), QStringLiteral("e")}));
    EXPECT_FALSE(find.gaveRow());
}
