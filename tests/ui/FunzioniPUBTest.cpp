#include "shell/FunzioniPUB.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ondavia;

namespace {

TEST(Percorsi, DividiPercorsoSplitsAtTheLastSeparatorOfEitherKind)
{
    struct Caso {
        QString percorso, cartella, file;
    };
    const std::vector<Caso> casi{
        {"C:\\Programmi\\Ondavia\\OVIA.db", "C:\\Programmi\\Ondavia", "OVIA.db"},
        {"/home/operatore/Ondavia/DataBase/OVIA.db", "/home/operatore/Ondavia/DataBase", "OVIA.db"},
        {"C:\\Users/Public\\KELMARA/Assistenza-TVQS.exe", "C:\\Users/Public\\KELMARA", "Assistenza-TVQS.exe"},
        // A bare name is all file.
        {"OVIA.db", "", "OVIA.db"},
        // A lone leading separator leaves the folder empty and the file whole, separator included.
        {"\\OVIA.db", "", "\\OVIA.db"},
        {"/OVIA.db", "", "/OVIA.db"},
        {"\\\\OVIA.db", "\\", "OVIA.db"},
        {"ASSISTENZA_REMOTA\\", "ASSISTENZA_REMOTA", ""},
        {"", "", ""},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.percorso.toStdString());
        EXPECT_EQ(DividiPercorso(caso.percorso, true), caso.cartella);
        EXPECT_EQ(CartellaPadre(caso.percorso), caso.cartella);
        EXPECT_EQ(DividiPercorso(caso.percorso, false), caso.file);
    }
}

TEST(Percorsi, CreaCartellaMakesEveryMissingLevelAndLeavesWhatExists)
{
    QTemporaryDir radice;
    const QString profondo = radice.filePath("KELMARA/ASSISTENZA_REMOTA");
    CreaCartella(profondo);
    EXPECT_TRUE(QFileInfo(profondo).isDir());

    // Something of that name already there is left as it is, even a file.
    const QString file = radice.filePath("KELMARA/nota");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("resta");
    }
    CreaCartella(file);
    EXPECT_TRUE(QFileInfo(file).isFile());
    CreaCartella(profondo);
    EXPECT_TRUE(QFileInfo(profondo).isDir());

    // Folders that cannot be made end quietly: under a file, a name too long for the system, with or
    // without a separator before it, and nothing at all.
    CreaCartella(file + "/sotto/ancora");
    EXPECT_FALSE(QFileInfo::exists(file + "/sotto"));
    CreaCartella(QString(300, 'x'));
    CreaCartella("/" + QString(300, 'x'));
    CreaCartella("\\" + QString(300, 'x'));
    CreaCartella({});
    EXPECT_EQ(QDir(radice.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"KELMARA"});
}

TEST(Percorsi, EsisteFileIsTrueForFilesOnly)
{
    QTemporaryDir radice;
    const QString file = radice.filePath("Assistenza-TVQS.exe");
    EXPECT_FALSE(EsisteFile(file));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(EsisteFile(file));
    EXPECT_FALSE(EsisteFile(radice.path()));
    EXPECT_FALSE(EsisteFile({}));
}

} // namespace
