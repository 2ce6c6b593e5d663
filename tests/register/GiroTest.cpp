// The register form walked as an operator walks it: long random runs of clicks, keys and answers, after each
// of which the list and the form show one subject, the table holds exactly what was saved, and only the
// control with the focus wears the focus colour.
//
// ONDAVIA_GIRO_PASSI sets how many steps to walk (a few seconds' worth by default), ONDAVIA_GIRO_SEME the
// seed of the first walk. A failure names the seed and the steps of its walk, so that
//     ONDAVIA_GIRO_SEME=<seed> ONDAVIA_GIRO_PASSI=<steps> ctest -R Giro
// walks the same road again.

#include "Giro.h"
#include "RegistroProva.h"

#include <QtGlobal>

#include <iostream>

using namespace ondavia;
using ondavia::test::Giro;
using ondavia::test::RegistroProva;

namespace {

// The walks in the suite: short enough for a sanitized build, long enough to pass the roads that have hidden
// faults before.
constexpr int kPassiNellaSuite = 600;
constexpr std::uint64_t kSemeNellaSuite = 1;
// Each walk starts again from the same register: short walks try many first moves, long ones reach a register
// the operator has worked on for a while.
int passiDelGiro(std::uint64_t seme)
{
    return 40 + 40 * static_cast<int>(seme % 4);
}
// Replays spent shortening the steps of a failure.
constexpr int kProveRiduzione = 120;

std::uint64_t daAmbiente(const char* nome, std::uint64_t altrimenti)
{
    bool numero = false;
    const std::uint64_t valore = qEnvironmentVariable(nome).toULongLong(&numero);
    return numero ? valore : altrimenti;
}

class GiroOperatore : public RegistroProva {
protected:
    void SetUp() override
    {
        RegistroProva::SetUp();
        form.reset();
    }
};

} // namespace

TEST_F(GiroOperatore, TheListTheFormAndTheTableAgreeAfterEveryStep)
{
    const auto passi = static_cast<int>(daAmbiente("ONDAVIA_GIRO_PASSI", kPassiNellaSuite));
    const std::uint64_t seme = daAmbiente("ONDAVIA_GIRO_SEME", kSemeNellaSuite);
    Giro giro(scripted);
    int fatti = 0;
    for (std::uint64_t s = seme; fatti < passi; ++s) {
        const int quanti = std::min(passiDelGiro(s), passi - fatti);
        const QString guasto = giro.cammina(s, quanti);
        ASSERT_FALSE(HasFatalFailure());
        const std::vector<test::Passo> fino = giro.passi();
        fatti += static_cast<int>(fino.size());
        if (!guasto.isEmpty()) {
            const std::vector<test::Passo> ridotti = giro.riduci(fino, Giro::regolaDi(guasto), kProveRiduzione);
            const QString ridotto = giro.ripeti(ridotti);
            FAIL() << "seme " << s << ", passo " << fino.size() << ": " << guasto.toStdString()
                   << "\nDi nuovo: ONDAVIA_GIRO_SEME=" << s << " ONDAVIA_GIRO_PASSI=" << fino.size() << "\n"
                   << Giro::elenco(fino).toStdString() << "\nGli stessi, ridotti a " << giro.passi().size()
                   << " passi: " << ridotto.toStdString() << "\n"
                   << Giro::elenco(giro.passi()).toStdString();
        }
    }
    std::cout << "passi: " << fatti << ", dal seme " << seme << "\n";
}
