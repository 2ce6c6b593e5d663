// Times the launch to the main window (first start and existing database) and the municipality
// look-ups the checks rely on. Run: build/bench/launch/launch_bench [repetitions]
#include "../Cronometro.h"
#include "app/Archivio.h"
#include "app/Dichiarazioni.h"
#include "app/Launch.h"
#include "platform/ScriptedPlatform.h"
#include "shell/F0.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

using namespace ondavia;
using namespace ondavia::bench;

namespace {

double launchOnce()
{
    std::unique_ptr<F0> window;
    const auto start = Clock::now();
    Main([&] {
        window = std::make_unique<F0>();
        window->show();
    });
    QApplication::processEvents();
    const double elapsed = millisecondsSince(start);
    window.reset();
    resetDichiarazioni();
    return elapsed;
}

} // namespace

int main(int argc, char* argv[])
{
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const auto appStart = Clock::now();
    QApplication app(argc, argv);
    const double appMs = millisecondsSince(appStart);
    ScriptedPlatform desktop;
    setPlatform(&desktop);

    std::vector<double> firstStarts;
    std::vector<double> existing;
    for (int i = 0; i < repetitions; ++i) {
        QTemporaryDir home;
        qputenv("ONDAVIA_HOME", home.path().toUtf8());
        firstStarts.push_back(launchOnce());
        existing.push_back(launchOnce());
    }
    std::printf("QApplication construction:          %8.2f ms\n", appMs);
    std::printf("launch to window, first start:      %8.2f ms (median of %d)\n", median(firstStarts), repetitions);
    std::printf("launch to window, existing database: %7.2f ms (median of %d)\n", median(existing), repetitions);

    QTemporaryDir home;
    qputenv("ONDAVIA_HOME", home.path().toUtf8());
    Main([] {});
    std::vector<double> opens;
    std::vector<double> finds;
    for (int i = 0; i < repetitions; ++i) {
        auto start = Clock::now();
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT * From T_COMUNICF ORDER BY DESCRIZION"), Conn);
        opens.push_back(millisecondsSince(start));

        QStringList codes;
        for (rs.MoveFirst(); !rs.Eof() && codes.size() < 1000; rs.MoveNext()) {
            codes << rs.Fields(QStringLiteral("KEY_TAB")).Value().toText();
        }
        std::reverse(codes.begin(), codes.end());
        int found = 0;
        start = Clock::now();
        for (const QString& code : codes) {
            rs.MoveFirst();
            rs.Find(QStringLiteral("KEY_TAB ='%1'").arg(code));
            found += rs.Eof() ? 0 : 1;
        }
        finds.push_back(millisecondsSince(start));
        if (found != codes.size()) {
            std::fprintf(stderr, "only %d of %lld codes found\n", found, static_cast<long long>(codes.size()));
            return 1;
        }
    }
    std::printf("open T_COMUNICF (%d rows):        %8.2f ms (median)\n", 13670, median(opens));
    std::printf("1,000 Finds by cadastral code:      %8.2f ms (median; first includes the index build)\n",
                median(finds));
    return 0;
}
