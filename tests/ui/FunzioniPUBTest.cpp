#include "shell/FunzioniPUB.h"

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
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.percorso.toStdString());
        EXPECT_EQ(DividiPercorso(caso.percorso, true), caso.cartella);
        EXPECT_EQ(DividiPercorso(caso.percorso, false), caso.file);
    }
}

} // namespace
