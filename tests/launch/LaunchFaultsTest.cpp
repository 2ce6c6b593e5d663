// Launches on damaged, foreign and half-upgraded program folders, in this process.
#include "LaunchFixture.h"

#include "../support/FolderSnapshot.h"

#include "app/Archivio.h"
#include "app/Ini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include <chrono>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ondavia;
using ondavia::test::countOf;
using ondavia::test::folderSnapshot;

namespace {

class LaunchFaults : public ondavia::test::LaunchFixture {
protected:
    // Launches on a folder that must be refused: the launch ends with one critical message that names
    // `what` and the file, shows no window, leaves no connection open and changes no file.
    void expectRefused(const char* what, const char* action = "aprire")
    {
        const auto before = folderSnapshot(home.path());
        EXPECT_FALSE(launch());
        EXPECT_FALSE(shown);
        EXPECT_FALSE(Conn.isOpen());
        const MessageRequest& message = theMessage();
        EXPECT_EQ(message.icon, MsgIcon::Critical);
        EXPECT_TRUE(message.text.startsWith(QStringLiteral("Impossibile %1 l'archivio\n").arg(action)))
            << message.text.toStdString();
        EXPECT_TRUE(message.text.contains(QDir::toNativeSeparators(home.file("DataBase/OVIA.db"))))
            << message.text.toStdString();
        EXPECT_TRUE(message.text.contains(what)) << message.text.toStdString();
        EXPECT_EQ(folderSnapshot(home.path()), before);
    }
};

TEST_F(LaunchFaults, ARegisterMissingATableOrAColumnIsRefused)
{
    const std::pair<const char*, const char*> damages[] = {
        {"DROP TABLE COPE", "Il file non è un archivio di Ondavia: manca la tabella COPE"},
        {"ALTER TABLE COPE DROP COLUMN OMC3", "alla tabella COPE manca la colonna OMC3"},
        // A view in the place of a table is no register either.
        {"ALTER TABLE CTAB RENAME TO CTAB_VERA; CREATE VIEW CTAB AS SELECT * FROM CTAB_VERA", "manca la tabella CTAB"},
    };
    for (const auto& [damage, reason] : damages) {
        SCOPED_TRACE(damage);
        QFile::remove(home.file("DataBase/OVIA.db"));
        desktop.messages.clear();
        home.createDatabase();
        change(damage);
        expectRefused(reason);
    }
}

TEST_F(LaunchFaults, AnEmptyFileIsBuiltOverOnlyWhenNoJournalCouldFillIt)
{
    home.write("DataBase/OVIA.db", {});
    ASSERT_TRUE(launch()) << desktop.messageTexts().join(" | ").toStdString();
    EXPECT_TRUE(shown);
    Conn.Close();

    for (const char* journal : {"DataBase/OVIA.db-journal", "DataBase/OVIA.db-wal"}) {
        SCOPED_TRACE(journal);
        desktop.messages.clear();
        ASSERT_TRUE(QFile::remove(home.file("DataBase/OVIA.db")));
        home.write("DataBase/OVIA.db", {});
        home.write(journal, QByteArray(2048, '\x5a'));
        expectRefused("modifiche non concluse");
        EXPECT_TRUE(theMessage().text.contains(QDir::toNativeSeparators(home.file(journal))));
        ASSERT_TRUE(QFile::remove(home.file(journal)));
    }
}

TEST_F(LaunchFaults, ALinkToNoFileAndAFileThatIsNoDatabaseAreRefused)
{
    ASSERT_TRUE(QDir().mkpath(home.file("DataBase")));
    const QString target = home.file("chiavetta/OVIA.db");
    ASSERT_TRUE(QFile::link(target, home.file("DataBase/OVIA.db")));
    expectRefused("collegamento");
    EXPECT_TRUE(theMessage().text.contains(QDir::toNativeSeparators(target)));

    ASSERT_TRUE(QFile::remove(home.file("DataBase/OVIA.db")));
    desktop.messages.clear();
    home.write("DataBase/OVIA.db", "not a register\0 but some other file of the folder"_qba.repeated(100));
    // The reason opens a sentence of its own.
    expectRefused("\n\nIl file non è un database");
}

TEST_F(LaunchFaults, AFailedFirstStartChangesNothingThatWasThere)
{
    // A DataBase that is a file: the database cannot be made, and the marker of the upgrade stays.
    home.write("onprog.txt", "07/12/2020\r\n");
    home.write("DataBase", "non una cartella");
    expectRefused("non è una cartella", "creare");

    // Something in the way of the temporary file: the folder is left as it was.
    ASSERT_TRUE(QFile::remove(home.file("DataBase")));
    desktop.messages.clear();
    ASSERT_TRUE(QDir().mkpath(home.file("DataBase/OVIA.db.new/occupato")));
    expectRefused("OVIA.db.new esiste già", "creare");
}

TEST(CreaArchivio, AFailedCreationRemovesTheFolderItMade)
{
    ondavia::test::TempHome home;
    home.write("ctab.csv", "TIPO;COD;des\nTPI;01\n");
    QString error;
    EXPECT_FALSE(creaArchivio(home.file("Nuova/DataBase/OVIA.db"), home.file("ctab.csv"), &error));
    EXPECT_TRUE(error.contains("attesi 3 campi")) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(home.file("Nuova/DataBase")));

    // A folder that was there stays, empty as it was.
    ASSERT_TRUE(QDir().mkpath(home.file("Vecchia")));
    EXPECT_FALSE(creaArchivio(home.file("Vecchia/OVIA.db"), home.file("ctab.csv"), &error));
    EXPECT_TRUE(QDir(home.file("Vecchia")).isEmpty());
}

TEST_F(LaunchFaults, AFailedUpgradeIsToldLeavesTheDatabaseAsItWasAndIsTriedAgain)
{
    createOldDatabaseWithRows();
    // A marker that cannot be written stops the upgrade before it starts.
    ASSERT_TRUE(QDir().mkpath(home.file("onprog.txt")));
    expectRefused("onprog.txt", "aggiornare");
    ASSERT_TRUE(QDir().rmdir(home.file("onprog.txt")));

    // Something in the database that makes the upgrade's last statement fail.
    desktop.messages.clear();
    change("CREATE TRIGGER BLOCCA BEFORE UPDATE ON COPE BEGIN SELECT RAISE(ABORT, 'aggiornamento vietato'); END");
    expectRefused("aggiornamento vietato", "aggiornare");
    EXPECT_TRUE(theMessage().text.contains("ripetuto al prossimo avvio")) << theMessage().text.toStdString();
    EXPECT_FALSE(QFile::exists(home.file("onprog.txt")));

    // Once the obstacle is gone the next launch does the whole upgrade.
    change("DROP TRIGGER BLOCCA");
    desktop.messages.clear();
    ASSERT_TRUE(launch()) << desktop.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(countOf("SELECT Count(*)  FROM COPE WHERE ONPROG='001'"), 2);
    EXPECT_TRUE(QFile::exists(home.file("onprog.txt")));
}

// The configuration as Windows editors save it.
TEST(LeggiIni, ReadsTheEncodingsWindowsEditorsSave)
{
    ondavia::test::TempHome home;
    const QString text = QStringLiteral("[opzioni]\r\nTipoDb=S\r\nMail_Assistenza=caffè€@esempio.it\r\n");
    const auto expectRead = [&](const QByteArray& bytes, const QString& value) {
        home.write("c.ini", bytes);
        EXPECT_EQ(leggiIniDa(home.file("c.ini"), "opzioni", "Mail_Assistenza"), value)
            << bytes.left(8).toHex().toStdString();
        EXPECT_EQ(leggiIniDa(home.file("c.ini"), "opzioni", "TipoDb"), value.isEmpty() ? "" : "S");
    };
    const QString mail = QStringLiteral("caffè€@esempio.it");
    const QByteArray le = "\xFF\xFE" + QByteArray(QStringEncoder(QStringEncoder::Utf16LE).encode(text));
    const QByteArray be = "\xFE\xFF" + QByteArray(QStringEncoder(QStringEncoder::Utf16BE).encode(text));
    expectRead(le, mail);
    expectRead(be, mail);
    expectRead("\xEF\xBB\xBF" + text.toUtf8(), mail);
    expectRead(text.toUtf8(), mail);
    expectRead("[opzioni]\r\nTipoDb=S\r\nMail_Assistenza=caff\xE8\x80@esempio.it\r\n", mail); // Windows-1252

    // A mark that the bytes after it belie keeps the defaults.
    expectRead(le + QByteArray(1, '\0'), "");
    expectRead("\xEF\xBB\xBF[opzioni]\r\nTipoDb=S\r\nMail_Assistenza=caff\xE8@esempio.it\r\n", "");
}

// Something else in the configuration's place reads as no configuration, and the launch does not wait on it.
TEST(LeggiIni, OnlyAFileIsRead)
{
    ondavia::test::TempHome home;
    const QString pipe = home.file("configurazione.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    auto letto = std::async(std::launch::async, [&] { return leggiIniDa(pipe, "opzioni", "TipoDb"); });
    const bool finito = letto.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!finito) {
        // A writer that comes and goes ends the reader's wait, so that the test itself ends.
        const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            ::close(fd);
        }
    }
    EXPECT_TRUE(finito) << "a named pipe blocks the reading";
    EXPECT_EQ(letto.get(), "");
}

} // namespace
