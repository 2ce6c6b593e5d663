#pragma once

// What the register's benchmarks share: a headless application on a fresh database in a temporary
// program folder, message boxes answered by a scripted platform, and the figures they report.

#include "app/Launch.h"
#include "platform/ScriptedPlatform.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace ondavia::banco {

class BancoRegistro {
public:
    // `ripetizioni` takes the first argument, when there is one.
    BancoRegistro(int& argc, char** argv, int& ripetizioni) : m_applicazione(argc, argv)
    {
        if (argc > 1) {
            ripetizioni = std::max(1, std::atoi(argv[1]));
        }
        qputenv("ONDAVIA_HOME", m_cartella.path().toUtf8());
        m_pronto = Main([] {});
    }

    // The launch opened the fresh database.
    bool pronto() const { return m_pronto; }

    ScriptedPlatform scripted;

private:
    struct SenzaSchermo {
        SenzaSchermo()
        {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
            }
        }
    } m_senzaSchermo;
    QApplication m_applicazione;
    QTemporaryDir m_cartella;
    PlatformScope m_scope{scripted};
    bool m_pronto = false;
};

// The value below which a fraction `p` of the values lie (0.5: the median).
inline double percentile(std::vector<double> valori, double p)
{
    std::sort(valori.begin(), valori.end());
    const auto posto = static_cast<std::size_t>(p * static_cast<double>(valori.size()));
    return valori[std::min(valori.size() - 1, posto)];
}

} // namespace ondavia::banco
