// Times the print-out of one subject from command 704 to the closed PDF file: the row read, the save dialog
// (answered at once), the in-use check, the template page imported and the values drawn over it, the file
// written. The viewer is not started. The first print-out, which also writes the template page into a fresh
// program folder, is reported on its own.
// Then the same command for a subject whose PEC address holds one word of 1,000, 100,000 and 1,000,000
// characters (as a restored backup may hold), in interleaved rounds: the median of each length, its spread,
// and how the time grows from one length to the next (linear layout: about the ratio of the lengths, less
// the fixed cost of the card).
// Run: build/bench/printout/stampa_bench [repetitions]   (headless: QT_QPA_PLATFORM=offscreen)
#include "../Cronometro.h"
#include "SocietaCompleta.h"
#include "app/Dichiarazioni.h"
#include "app/Launch.h"
#include "core/Hooks.h"
#include "db/Recordset.h"
#include "platform/ScriptedPlatform.h"
#include "printout/CollegamentoPdf.h"
#include "register/CreaRegistro.h"
#include "register/F1OP.h"
#include "shell/F0.h"
#include "streams/QpdfSource.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <vector>

using namespace ondavia;
using namespace ondavia::bench;

namespace {

// The company of the print-out's tests, under progressive `progressivo`.
bool inserisciSoggetto(const char* progressivo)
{
    db::Recordset rs;
    if (!rs.Open(QStringLiteral("SELECT * FROM COPE WHERE 1=0"), Conn) || !rs.AddNew()) {
        return false;
    }
    for (const auto& [campo, valore] : test::societaCompleta(QString::fromLatin1(progressivo))) {
        if (!rs.Fields(campo).setValue(valore)) {
            return false;
        }
    }
    return rs.Update();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int ripetizioni = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    QTemporaryDir cartella;
    qputenv("ONDAVIA_HOME", cartella.path().toUtf8());
    ScriptedPlatform scripted;
    scripted.desktop = QDir(cartella.path()).filePath(QStringLiteral("Desktop"));
    QDir().mkpath(scripted.desktop);
    PlatformScope scope(scripted);
    collegaScrittorePdf();
    // The reader linked in, as the program's module holds it: a benchmark has no module beside it.
    folian::Hooks hooks = folian::DefaultHooks();
    hooks.openPdf = folian::OpenWithQpdf;
    folian::SetDefaultHooks(std::move(hooks));
    if (!Main([] {}) || !inserisciSoggetto("001") || !inserisciSoggetto("002")) {
        std::fprintf(stderr, "stampa_bench: cannot prepare the database\n");
        return 1;
    }

    F0 finestra(creaRegistro);
    finestra.show();
    auto* registro = dynamic_cast<F1OP*>(&finestra.apriRegistro());
    QApplication::processEvents();
    CodiceCorrente = QStringLiteral("01234567897");
    registro->vONPROG->setText(QStringLiteral("001"));
    registro->Dettaglio();

    const auto stampa = [&](int n) {
        const QString pdf = QDir(scripted.desktop).filePath(QStringLiteral("scheda%1.pdf").arg(n));
        QFile::remove(pdf);
        scripted.saveAnswers.push_back(pdf);
        const auto inizio = Clock::now();
        finestra.CommandBars_Execute(ComandoStampa, QStringLiteral("Stampa"));
        const double ms = millisecondsSince(inizio);
        return QFileInfo(pdf).size() > 0 ? ms : -1.0;
    };

    const double prima = stampa(0);
    std::vector<double> tempi;
    for (int i = 1; i <= ripetizioni; ++i) {
        tempi.push_back(stampa(i));
    }
    if (prima < 0 || std::any_of(tempi.begin(), tempi.end(), [](double t) { return t < 0; }) ||
        !scripted.messages.empty()) {
        std::fprintf(stderr, "stampa_bench: a print-out failed: %s\n",
                     scripted.messages.empty() ? "no file" : qPrintable(scripted.messages.back().text));
        return 1;
    }
    std::sort(tempi.begin(), tempi.end());
    std::printf("first print-out, writing the template too: %.1f ms\n", prima);
    std::printf("command 704 to the closed file:            %.1f ms median of %d (min %.1f, max %.1f)\n",
                tempi[tempi.size() / 2], ripetizioni, tempi.front(), tempi.back());
    std::printf(
        "size of one print-out:                     %lld bytes\n",
        static_cast<long long>(QFileInfo(QDir(scripted.desktop).filePath(QStringLiteral("scheda1.pdf"))).size()));

    // One long word: the layout measures it once per size tried, whatever its length.
    const std::size_t lunghezze[] = {1000, 100000, 1000000};
    std::vector<std::vector<double>> lunghi(std::size(lunghezze));
    const int giri = std::max(3, ripetizioni / 4);
    for (int giro = 0; giro < giri; ++giro) {
        for (std::size_t i = 0; i < std::size(lunghezze); ++i) {
            const QString valore = QString(static_cast<qsizetype>(lunghezze[i]), QLatin1Char('A'));
            if (!Conn.Execute(QStringLiteral("UPDATE COPE SET OPEEMAIL='%1' WHERE ONPROG='002'").arg(valore))) {
                std::fprintf(stderr, "stampa_bench: cannot store the long value\n");
                return 1;
            }
            registro->vONPROG->setText(QStringLiteral("002"));
            registro->Dettaglio();
            lunghi[i].push_back(stampa(1000 + static_cast<int>(i)));
        }
    }
    if (!scripted.messages.empty()) {
        std::fprintf(stderr, "stampa_bench: %s\n", qPrintable(scripted.messages.back().text));
        return 1;
    }
    std::printf("\none word of N characters in the PEC address, %d interleaved rounds:\n", giri);
    double precedente = 0;
    for (std::size_t i = 0; i < std::size(lunghezze); ++i) {
        if (std::any_of(lunghi[i].begin(), lunghi[i].end(), [](double t) { return t < 0; })) {
            std::fprintf(stderr, "stampa_bench: a long print-out failed\n");
            return 1;
        }
        const double m = median(lunghi[i]);
        const auto [minimo, massimo] = std::minmax_element(lunghi[i].begin(), lunghi[i].end());
        std::printf("  N = %7zu: %8.1f ms median (min %.1f, max %.1f)", lunghezze[i], m, *minimo, *massimo);
        if (precedente > 0) {
            std::printf("   x%.1f for x%zu characters", m / precedente, lunghezze[i] / lunghezze[i - 1]);
        }
        std::printf("\n");
        precedente = m;
    }
    return 0;
}
