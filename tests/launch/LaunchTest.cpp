#include "LaunchFixture.h"

#include "app/Archivio.h"
#include "app/Dichiarazioni.h"
#include "app/Ini.h"
#include "app/Launch.h"
#include "platform/ScriptedPlatform.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace ondavia;
using ondavia::test::columnsOf;
using ondavia::test::countOf;
using ondavia::test::TempHome;

namespace {

using LaunchTest = ondavia::test::LaunchFixture;

TEST_F(LaunchTest, AFirstStartCreatesTheSeededDatabaseAndUpgradesIt)
{
    ASSERT_TRUE(launch());
    EXPECT_TRUE(shown);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_FALSE(QFile::exists(home.file("DataBase/OVIA.db.new")));
    EXPECT_TRUE(QFile::exists(home.file("onprog.txt")));

    const QStringList cope = columnsOf("COPE");
    ASSERT_EQ(cope.size(), colonneCopeIniziali().size() + 3);
    EXPECT_EQ(cope.mid(cope.size() - 3), (QStringList{"ONPROG", "OTIPOCOM1", "OTIPOCOM2"}));

    EXPECT_GE(countOf("SELECT Count(*)  FROM T_COMUNI"), 7800);
    EXPECT_GE(countOf("SELECT Count(*)  FROM T_COMUNICF"), 13000);
    EXPECT_EQ(countOf("SELECT Count(*)  FROM CTAB WHERE TIPO='TPI' AND COD='13'"), 1);
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE"), 0);
    EXPECT_EQ(OggiTesto, QDate::currentDate().toString("ddMMyyyy"));
}

// A marker left by an upgrade that failed hides no missing column, and a marker lost changes no stored
// progressive.
TEST_F(LaunchTest, AnOldDatabaseIsUpgradedWithoutLosingAStoredProgressive)
{
    createOldDatabaseWithRows();
    home.write("onprog.txt", "07/12/2020\r\n");
    ASSERT_TRUE(launch());
    EXPECT_EQ(columnsOf("COPE").mid(columnsOf("COPE").size() - 3), (QStringList{"ONPROG", "OTIPOCOM1", "OTIPOCOM2"}));
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE WHERE ONPROG='001'"), 2);
    EXPECT_EQ(home.read("onprog.txt"), QDate::currentDate().toString("dd/MM/yyyy").toLatin1() + "\r\n");

    // One subject with two progressives (the second row's code in small letters: keys compare without regard
    // to letter case), one with its progressive lost.
    ASSERT_TRUE(Conn.Execute("UPDATE COPE SET ONPROG = '005' WHERE OCOD='RSSMRA80A01H501U';"
                             "INSERT INTO COPE (OCOD, ODES, ONPROG) VALUES ('rssmra80a01h501u', 'ROSSI MARIO', '002');"
                             "UPDATE COPE SET ONPROG = ' ' WHERE OCOD='01234567890'"));
    Conn.Close();
    ASSERT_TRUE(QFile::remove(home.file("onprog.txt")));
    ASSERT_TRUE(launch());
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(columnsOf("COPE").size(), colonneCopeIniziali().size() + 3);
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE WHERE OCOD='RSSMRA80A01H501U' AND ONPROG='005'"), 1);
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE WHERE OCOD='RSSMRA80A01H501U' AND ONPROG='002'"), 1);
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE WHERE OCOD='01234567890' AND ONPROG='001'"), 1);
    EXPECT_TRUE(QFile::exists(home.file("onprog.txt")));

    // A register that has ONPROG but lacks a later column gets that column and keeps its progressives.
    Conn.Close();
    change("ALTER TABLE COPE DROP COLUMN OTIPOCOM2");
    ASSERT_TRUE(launch());
    EXPECT_TRUE(columnsOf("COPE").contains("OTIPOCOM2"));
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE WHERE ONPROG='005'"), 1);
}

TEST_F(LaunchTest, AnInstalledSubjectTypeTableReplacesTheBuiltInOne)
{
    home.write("DataBase/ctab.csv", "TIPO;COD;des\nTPI;01;Banche\nTPI;02;Poste; e altro\n");
    ASSERT_TRUE(launch());
    EXPECT_EQ(countOf("SELECT Count(*)  FROM CTAB"), 2);
    db::Recordset rs;
    ASSERT_TRUE(rs.Open("SELECT * From CTAB where TIPO='TPI' AND COD='02'", Conn));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields("des").Value().toText(), "Poste; e altro");
}

TEST_F(LaunchTest, ConfigurationOptionsAreReadAtLaunch)
{
    home.write("configurazione.ini", "; Ondavia\r\n[Altro]\r\nTipoDb=X\r\n[OPZIONI]\r\ntipodb = sql\r\n"
                                     "Debug=10\r\nAna_DimColAuto=\"off\"\r\nTipoDb=Z\r\n");
    ASSERT_TRUE(launch());
    EXPECT_EQ(TipoDb, "S");
    EXPECT_EQ(DebugAttivo, "1");
    EXPECT_EQ(AnaDimColAuto, "off");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].text.startsWith("Connessione "));
    EXPECT_TRUE(desktop.messages[0].text.contains("OVIA.db"));
}

// Sections, letter case, blanks and quotes are read at launch; here, what the launch's options never meet.
TEST(LeggiIni, CutsAValueTo127Characters)
{
    TempHome home;
    home.write("c.ini", ("[opzioni]\nvuota=\nlunga=" + QString(200, 'a') + "\n").toUtf8());
    EXPECT_EQ(leggiIniDa(home.file("c.ini"), "opzioni", "lunga"), QString(127, 'a'));
    EXPECT_EQ(leggiIniDa(home.file("c.ini"), "opzioni", "vuota"), "");
}

} // namespace
