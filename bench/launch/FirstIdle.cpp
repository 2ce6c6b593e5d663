// Preloaded (LD_PRELOAD) into every program the process launch benchmark starts, the real one and the
// bare window alike, so that both end the same way: at the first pause of the event loop, the time is
// written to the descriptor named by ONDAVIA_BENCH_IDLE_FD and the process ends at once.
//
// A pause is the last time the loop was about to wait, when nothing then wakes it for QuietMs: the
// event dispatchers announce every wait, including waits that end at once on work already queued
// (a window's expose, a timer due now), and what a program has scheduled for right after its start
// belongs to its launch.
#include "../Cronometro.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

constexpr int QuietMs = 50;

// Counts the paints before the pause, so the benchmark can tell that the window was drawn.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return QObject::eventFilter(watched, event);
    }
};

void watchForTheFirstPause()
{
    const char* fd = std::getenv("ONDAVIA_BENCH_IDLE_FD");
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (fd == nullptr || dispatcher == nullptr) {
        return;
    }
    const int out = std::atoi(fd);
    auto* counter = new PaintCounter;
    QCoreApplication::instance()->installEventFilter(counter);
    auto* quiet = new QTimer;
    quiet->setSingleShot(true);
    quiet->setTimerType(Qt::PreciseTimer);
    quiet->setInterval(QuietMs);
    static long long pausedAt = 0;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, quiet, [quiet] {
        pausedAt = ondavia::bench::monotonicNs();
        quiet->start();
    });
    QObject::connect(quiet, &QTimer::timeout, [out, counter] {
        char line[64];
        const int length = std::snprintf(line, sizeof line, "%lld %d\n", pausedAt, counter->paints);
        const bool written = length > 0 && write(out, line, static_cast<size_t>(length)) == length;
        _exit(written ? 0 : 3);
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchForTheFirstPause)
