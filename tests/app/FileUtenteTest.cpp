#include "app/FileUtente.h"
#include "platform/ScriptedPlatform.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ondavia;

namespace {

bool scriviFile(const QString& percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::WriteOnly) && f.write("x") == 1;
}

} // namespace

TEST(ChiediSovrascritturaTest, ChiedeSoloPerUnFileCheEsiste)
{
    ScriptedPlatform scripted;
    PlatformScope scope(scripted);
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath(QStringLiteral("OVIA_ROSSI_001.TXT"));
    EXPECT_FALSE(ChiediSovrascrittura(percorso));
    EXPECT_FALSE(ChiediSovrascrittura(cartella.path())) << "a folder is no document";
    EXPECT_TRUE(scripted.messages.empty());

    ASSERT_TRUE(scriviFile(percorso));
    // No keeps it; what Yes does is seen where a print-out replaces a file.
    scripted.answers = {MsgResult::No};
    EXPECT_TRUE(ChiediSovrascrittura(percorso));
    ASSERT_EQ(scripted.messages.size(), 1u);
    const MessageRequest& domanda = scripted.messages.front();
    EXPECT_EQ(domanda.text,
              QStringLiteral("Il documento \r\n \r\n%1\r\n \r\nesiste già. Vuoi sostituirlo?  ").arg(percorso));
    EXPECT_EQ(domanda.buttons, MsgButtons::YesNo);
}
