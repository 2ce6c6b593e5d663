// Times the completion of a municipality in the register form on the seeded T_COMUNI: from the release of
// a letter key in vONCOM to the proposed text in the box, for prefixes of 1 to 5 letters taken from the
// table's own names plus prefixes that match nothing. Median, 99th percentile and worst of every release
// in wall time, and the worst in the thread's CPU time: on a busy machine the wall time's worst is the
// scheduler's time slice, the CPU time's worst is the handler's. The first release of the run, which loads
// the table and builds its prefix index, is reported apart.
// Run: build/bench/register/completamento_bench [rounds]   (headless: QT_QPA_PLATFORM=offscreen)
#include "BancoRegistro.h"
#include "app/Dichiarazioni.h"
#include "db/Recordset.h"
#include "register/F1OP.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include <time.h>

using namespace ondavia;
using Clock = std::chrono::steady_clock;
using banco::percentile;

namespace {

constexpr int kPrefissiPerLunghezza = 400;

double microsecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// CPU time of this thread, in microseconds.
double cpuMicroseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

struct Tempo {
    double parete = 0; // wall time
    double cpu = 0;
};

// The distinct prefixes of `lunghezza` letters of the municipalities' names, a sample of them when many,
// and a few that no name begins with.
std::vector<QString> prefissi(const QStringList& nomi, int lunghezza, std::mt19937& caso)
{
    QSet<QString> visti;
    std::vector<QString> tutti;
    for (const QString& nome : nomi) {
        const QString p = nome.left(lunghezza);
        bool lettere = p.size() == lunghezza;
        for (const QChar c : p) {
            lettere = lettere && c >= u'A' && c <= u'Z';
        }
        if (lettere && !visti.contains(p)) {
            visti.insert(p);
            tutti.push_back(p);
        }
    }
    std::shuffle(tutti.begin(), tutti.end(), caso);
    if (tutti.size() > kPrefissiPerLunghezza) {
        tutti.resize(kPrefissiPerLunghezza);
    }
    for (const char* nessuno : {"ZZZZZ", "XQXQX", "QZ", "YY"}) {
        const QString p = QString::fromLatin1(nessuno).left(lunghezza);
        if (!visti.contains(p)) {
            tutti.push_back(p);
        }
    }
    return tutti;
}

// Puts `prefisso` in the box with the caret after it, as just typed, and times the release of its last
// letter until the handler has proposed its text.
Tempo rilascio(QLineEdit* casella, const QString& prefisso)
{
    casella->setText(prefisso);
    casella->setCursorPosition(static_cast<int>(prefisso.size()));
    const auto tasto = static_cast<Qt::Key>(Qt::Key_A + (prefisso.back().unicode() - u'A'));
    QKeyEvent evento(QEvent::KeyRelease, tasto, Qt::NoModifier, prefisso.right(1));
    const double cpu = cpuMicroseconds();
    const auto inizio = Clock::now();
    QApplication::sendEvent(casella, &evento);
    return {microsecondsSince(inizio), cpuMicroseconds() - cpu};
}

} // namespace

int main(int argc, char* argv[])
{
    int giri = 5;
    banco::BancoRegistro banco(argc, argv, giri);
    const ScriptedPlatform& scripted = banco.scripted;
    if (!banco.pronto()) {
        std::fprintf(stderr, "completamento_bench: cannot prepare the database\n");
        return 1;
    }
    auto form = std::make_unique<F1OP>();
    form->show();
    QApplication::processEvents();
    form->o2->setChecked(true);
    QLineEdit* casella = form->vONCOM;
    casella->setFocus();

    // The first release loads the municipality table (once for the whole run).
    const double primo = rilascio(casella, QStringLiteral("R")).parete;
    if (!ComuniCaricati || !casella->text().startsWith(QLatin1String("R")) || casella->text().size() < 2) {
        std::fprintf(stderr, "completamento_bench: no completion (%s)\n", qPrintable(casella->text()));
        return 1;
    }

    QStringList nomi;
    for (rsComuni.MoveFirst(); !rsComuni.Eof(); rsComuni.MoveNext()) {
        nomi << rsComuni.Fields(QStringLiteral("COMUNE")).Value().toText();
    }
    std::mt19937 caso(20201207);
    std::printf("municipalities in T_COMUNI: %lld\n", static_cast<long long>(nomi.size()));
    std::printf("first release of the run (loads the table): %.0f us\n", primo);
    std::printf("%-8s %9s %9s %10s %10s %10s %10s\n", "letters", "prefixes", "releases", "median us", "p99 us",
                "worst us", "worst cpu");
    double peggiore = 0;
    double peggioreCpu = 0;
    for (int lunghezza = 1; lunghezza <= 5; ++lunghezza) {
        const std::vector<QString> lista = prefissi(nomi, lunghezza, caso);
        std::vector<double> tempi;
        std::vector<double> cpu;
        for (int giro = 0; giro < giri; ++giro) {
            for (const QString& p : lista) {
                const Tempo t = rilascio(casella, p);
                tempi.push_back(t.parete);
                cpu.push_back(t.cpu);
                if (casella->text().size() > p.size() && !casella->text().startsWith(p)) {
                    std::fprintf(stderr, "completamento_bench: %s proposed %s\n", qPrintable(p),
                                 qPrintable(casella->text()));
                    return 1;
                }
            }
        }
        const double massimo = *std::max_element(tempi.begin(), tempi.end());
        const double massimoCpu = *std::max_element(cpu.begin(), cpu.end());
        peggiore = std::max(peggiore, massimo);
        peggioreCpu = std::max(peggioreCpu, massimoCpu);
        std::printf("%-8d %9zu %9zu %10.1f %10.1f %10.1f %10.1f\n", lunghezza, lista.size(), tempi.size(),
                    percentile(tempi, 0.5), percentile(tempi, 0.99), massimo, massimoCpu);
    }
    std::printf("worst release of all: %.1f us wall, %.1f us cpu (goal: under 2000 us)\n", peggiore, peggioreCpu);

    // The search alone, by the prefix index and by the row-by-row scan that a pattern with two wildcards
    // takes (it matches the same names), interleaved on the same prefixes.
    std::vector<double> indice;
    std::vector<double> scansione;
    for (int lunghezza = 1; lunghezza <= 5; ++lunghezza) {
        for (const QString& p : prefissi(nomi, lunghezza, caso)) {
            const QString doppio = QString(p).replace(QLatin1Char('\''), QLatin1String("''"));
            for (auto* tempi : {&indice, &scansione}) {
                const QString criterio = QStringLiteral("COMUNE LIKE '") + doppio +
                                         (tempi == &indice ? QStringLiteral("%'") : QStringLiteral("%%'"));
                const double cpu = cpuMicroseconds();
                rsComuni.MoveFirst();
                rsComuni.Find(criterio);
                tempi->push_back(cpuMicroseconds() - cpu);
            }
        }
    }
    std::printf("search alone, cpu us (median / worst): prefix index %.1f / %.1f, row-by-row scan %.1f / %.1f\n",
                percentile(indice, 0.5), *std::max_element(indice.begin(), indice.end()), percentile(scansione, 0.5),
                *std::max_element(scansione.begin(), scansione.end()));
    if (!scripted.messages.empty()) {
        std::fprintf(stderr, "completamento_bench: a message was shown: %s\n",
                     qPrintable(scripted.messages.back().text));
        return 1;
    }
    return 0;
}
