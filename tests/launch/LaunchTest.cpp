#include "LaunchFixture.h"

#include "app/Archivio.h"
#include "app/Dichiarazioni.h"
#include "app/Ini.h"
#include "app/Launch.h"
#include "platform/ScriptedPlatform.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace ondavia;
using ondavia::test::TempHome;
using ondavia::test::columnsOf;
using ondavia::test::countOf;

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
    ASSERT_EQ(cope.size(), ColonneCopeIniziali().size() + 3);
    EXPECT_EQ(cope.mid(0, ColonneCopeIniziali().size()), ColonneCopeIniziali());
    EXPECT_EQ(cope.mid(cope.size() - 3), (QStringList{"ONPROG", "OTIPOCOM1", "OTIPOCOM2"}));

    EXPECT_GE(countOf("SELECT Count(*)  FROM T_COMUNI"), 7800);
    EXPECT_GE(countOf("SELECT Count(*)  FROM T_COMUNICF"), 13000);
    EXPECT_EQ(countOf("SELECT Count(*)  FROM CTAB WHERE TIPO='TPI' AND COD='13'"), 1);
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE"), 0);
    EXPECT_EQ(OggiTesto, QDate::currentDate().toString("ddMMyyyy"));
}

TEST_F(LaunchTest, AnOldDatabaseIsUpgradedOnceWithEveryProgressiveSetToOne)
{
    createOldDatabaseWithRows();
    ASSERT_FALSE(QFile::exists(home.file("onprog.txt")));
    ASSERT_TRUE(launch());
    EXPECT_EQ(columnsOf("COPE").mid(columnsOf("COPE").size() - 3), (QStringList{"ONPROG", "OTIPOCOM1", "OTIPOCOM2"}));
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE WHERE ONPROG='001'"), 2);
    EXPECT_TRUE(home.read("onprog.txt").endsWith("\r\n"));

    // With the marker present, the next launch leaves the progressives alone.
    ASSERT_TRUE(Conn.Execute("UPDATE COPE SET COPE.ONPROG = '002' WHERE OCOD='01234567890'"));
    Conn.Close();
    ASSERT_TRUE(launch());
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE WHERE ONPROG='002'"), 1);
}

TEST_F(LaunchTest, ADeletedMarkerKeepsEveryStoredProgressiveAndAddsNoColumn)
{
    createOldDatabaseWithRows();
    ASSERT_TRUE(launch());
    // One subject with two progressives, one with its progressive lost.
    ASSERT_TRUE(Conn.Execute("UPDATE COPE SET ONPROG = '005' WHERE OCOD='RSSMRA80A01H501U';"
                             "INSERT INTO COPE (OCOD, ODES, ONPROG) VALUES ('RSSMRA80A01H501U', 'ROSSI MARIO', '002');"
                             "UPDATE COPE SET ONPROG = ' ' WHERE OCOD='01234567890'"));
    const int columns = static_cast<int>(columnsOf("COPE").size());
    Conn.Close();
    ASSERT_TRUE(QFile::remove(home.file("onprog.txt")));

    ASSERT_TRUE(launch());
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(columnsOf("COPE").size(), columns);
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE WHERE OCOD='RSSMRA80A01H501U' AND ONPROG='005'"), 1);
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE WHERE OCOD='RSSMRA80A01H501U' AND ONPROG='002'"), 1);
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE WHERE OCOD='01234567890' AND ONPROG='001'"), 1);
    EXPECT_TRUE(QFile::exists(home.file("onprog.txt")));
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
    ASSERT_TRUE(launch());
    EXPECT_EQ(TipoDb, "");
    EXPECT_EQ(DebugAttivo, "");
    EXPECT_EQ(AnaDimColAuto, "");
    Conn.Close();

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

TEST_F(LaunchTest, KeysOfTheRegisterCompareWithoutRegardToLetterCase)
{
    createOldDatabaseWithRows();
    ASSERT_TRUE(launch());
    ASSERT_TRUE(Conn.Execute("UPDATE COPE SET COPE.ONPROG = '001';"));
    ASSERT_TRUE(Conn.Execute("INSERT INTO COPE (OCOD, ODES, ONPROG, orag) VALUES ('rssmra80a01h501u', 'ROSSI MARIO', '002', 'B')"));

    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE WHERE OCOD='RSSMRA80A01H501U'"), 2);
    db::Recordset max;
    ASSERT_TRUE(max.Open("SELECT Max(COPE.ONPROG) AS MaxDiAPROG FROM COPE where COPE.OCOD='RSSMRA80A01H501U'", Conn));
    EXPECT_EQ(max.Fields("MaxDiAPROG").Value().toText(), "002");

    ASSERT_TRUE(Conn.Execute("DELETE  From COPE WHERE OCOD='RSSMRA80A01H501U' AND ONPROG='002'"));
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE"), 2);
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
