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
        {"C:\\Users/Public\\KELMARA/Assistenza-TVQS.exe", "C:\\Users/Public\\KELMARA", "Assistenza-TVQS.exe"},
        {"OVIA.db", "", "OVIA.db"},
        // A lone leading separator leaves the folder empty and the file whole, separator included.
        {"/OVIA.db", "", "/OVIA.db"},
        {"\\\\OVIA.db", "\\", "OVIA.db"},
        {"ASSISTENZA_REMOTA\\", "ASSISTENZA_REMOTA", ""},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.percorso.toStdString());
        EXPECT_EQ(DividiPercorso(caso.percorso, true), caso.cartella);
        EXPECT_EQ(DividiPercorso(caso.percorso, false), caso.file);
    }
}

TEST(Percorsi, CreaCartellaMakesEveryMissingLevelAndLeavesWhatExists)
{
    QTemporaryDir radice;
    const QString profondo = radice.filePath("KELMARA/ASSISTENZA_REMOTA");
    CreaCartella(profondo);
    EXPECT_TRUE(QFileInfo(profondo).isDir());

    // Something of that name already there is left as it is, even a file; under a file nothing is made.
    const QString file = radice.filePath("KELMARA/nota");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    CreaCartella(file);
    EXPECT_TRUE(QFileInfo(file).isFile());
    CreaCartella(file + "/sotto/ancora");
    // A name too long for the system, and nothing at all, end quietly.
    CreaCartella(radice.filePath(QString(300, 'x')));
    CreaCartella({});
    EXPECT_EQ(QDir(radice.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"KELMARA"});
    EXPECT_EQ(QDir(radice.filePath("KELMARA")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{"ASSISTENZA_REMOTA", "nota"}));
}

} // namespace
