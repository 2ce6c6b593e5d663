#pragma once

#include "../support/TempHome.h"

#include "app/Dichiarazioni.h"
#include "app/Launch.h"
#include "db/Recordset.h"
#include "platform/ScriptedPlatform.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace ondavia::test {

// The columns of a table of the open register, in order.
inline QStringList columnsOf(const QString& table)
{
    QStringList names;
    EXPECT_TRUE(Conn.columns(table, &names)) << Conn.lastError().toStdString();
    return names;
}

// The first field of the first row of a query on the open register.
inline int countOf(const QString& sql)
{
    db::Recordset rs;
    EXPECT_TRUE(Conn.Execute(sql, &rs)) << Conn.lastError().toStdString();
    return static_cast<int>(rs.Fields(0).Value().toInteger());
}

// A launch in this process on a throw-away program folder, with the desktop scripted.
class LaunchFixture : public ::testing::Test {
protected:
    bool launch()
    {
        shown = false;
        return Main([this] { shown = true; });
    }

    // A database as an older installation has it: COPE without the three appended columns, with rows.
    void createOldDatabaseWithRows()
    {
        home.createDatabase();
        ASSERT_TRUE(Conn.Open(home.file("DataBase/OVIA.db")));
        ASSERT_TRUE(Conn.Execute("INSERT INTO COPE (OCOD, ODES) VALUES ('RSSMRA80A01H501U', 'ROSSI MARIO');"
                                 "INSERT INTO COPE (OCOD, ODES) VALUES ('01234567890', 'ALFA SPA');"));
        Conn.Close();
    }

    // Runs SQL on the register's file without the launch.
    void change(const QString& sql)
    {
        db::Connection conn;
        ASSERT_TRUE(conn.Open(home.file("DataBase/OVIA.db"))) << conn.lastError().toStdString();
        ASSERT_TRUE(conn.Execute(sql)) << conn.lastError().toStdString();
    }

    // The one message of a launch that ended.
    const MessageRequest& theMessage() const
    {
        static const MessageRequest none;
        EXPECT_EQ(desktop.messages.size(), 1u) << desktop.messageTexts().join(" | ").toStdString();
        return desktop.messages.empty() ? none : desktop.messages.back();
    }

    TempHome home;
    ScriptedPlatform desktop;
    PlatformScope scope{desktop};
    bool shown = false;
};

} // namespace ondavia::test
