// The launch as an operator meets it: whole processes, offscreen, from their start to the first pause
// of their event loop, for Ondavia on an existing register against a bare Qt window (a main window with
// a menu bar and a label, and one without them). The programs are started in turn, in an order that
// changes every round, and each round gives the ratio of each program to the bare window of the same
// round; the table shows the medians and the spread of those ratios.
//
// Both programs are ended by the same watcher, preloaded into each (FirstIdle.cpp): the executable measured
// is the one an operator starts, with its own libraries, and it has no switch of any kind for the benchmark.
//
// Run: build/bench/launch/launch_process_bench [rounds] [--also EXECUTABLE]...
// --also adds another build of the program (say, one of an earlier commit) to the same rounds.
#include "../Cronometro.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

using ondavia::bench::median;
using ondavia::bench::monotonicNs;

namespace {

struct Program {
    std::string label;
    std::vector<std::string> argv;
    std::string home; // empty: no program folder
    std::vector<double> ms;
    std::vector<double> ratios;
};

[[noreturn]] void fail(const std::string& what)
{
    std::fprintf(stderr, "launch_process_bench: %s\n", what.c_str());
    std::exit(1);
}

// Starts the program with the first-pause watcher preloaded; the milliseconds from just before the
// start to the pause.
double launch(const Program& program)
{
    int channel[2];
    if (pipe(channel) != 0) {
        fail(std::string("pipe: ") + std::strerror(errno));
    }
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        bool ours = false;
        for (const char* name : {"LD_PRELOAD=", "ONDAVIA_HOME=", "QT_QPA_PLATFORM=", "ONDAVIA_BENCH_IDLE_FD="}) {
            ours = ours || entry.rfind(name, 0) == 0;
        }
        if (!ours) {
            env.push_back(entry);
        }
    }
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back(std::string("LD_PRELOAD=") + ONDAVIA_FIRST_IDLE);
    env.push_back("ONDAVIA_BENCH_IDLE_FD=" + std::to_string(channel[1]));
    if (!program.home.empty()) {
        env.push_back("ONDAVIA_HOME=" + program.home);
    }
    std::vector<char*> envp;
    for (std::string& entry : env) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> args = program.argv;
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, channel[0]);
    // What the programs print (Qt's notes on the offscreen platform) would bury the table.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const long long start = monotonicNs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(channel[1]);
    if (spawned != 0) {
        fail("cannot start " + program.argv[0] + ": " + std::strerror(spawned));
    }
    std::string report;
    char buffer[128];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno != EINTR) {
            break;
        }
        if (n > 0) {
            report.append(buffer, static_cast<size_t>(n));
        }
    }
    close(channel[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long pausedAt = 0;
    int paints = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(report.c_str(), "%lld %d", &pausedAt, &paints) != 2) {
        fail(program.label + " did not reach its event loop (status " + std::to_string(status) +
             "); start it by hand to see what it says");
    }
    if (paints == 0) {
        fail(program.label + " paused before it painted anything");
    }
    return static_cast<double>(pausedAt - start) / 1e6;
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5)];
}

std::string temporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "ondavia-launch-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        fail(std::string("mkdtemp: ") + std::strerror(errno));
    }
    return pattern;
}

} // namespace

int main(int argc, char* argv[])
{
    int rounds = 40;
    std::vector<Program> programs{
        {"bare window (menu bar, label)", {ONDAVIA_BARE_WINDOW}, {}, {}, {}},
        {"bare window, no text", {ONDAVIA_BARE_WINDOW, "--no-text"}, {}, {}, {}},
        {"ondavia", {ONDAVIA_EXECUTABLE}, {}, {}, {}},
    };
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--also") == 0 && i + 1 < argc) {
            programs.push_back({std::string("ondavia ") + argv[i + 1], {argv[i + 1]}, {}, {}, {}});
            ++i;
        } else {
            rounds = std::max(1, std::atoi(argv[i]));
        }
    }
    std::vector<std::string> homes;
    for (Program& program : programs) {
        if (program.argv[0] != ONDAVIA_BARE_WINDOW) {
            program.home = temporaryFolder();
            homes.push_back(program.home);
            launch(program); // the first start creates the register: every timed launch finds it
        }
    }
    for (Program& program : programs) {
        launch(program); // warms the file cache
    }
    for (int round = 0; round < rounds; ++round) {
        std::vector<double> times(programs.size());
        for (size_t k = 0; k < programs.size(); ++k) {
            const size_t i = (k + static_cast<size_t>(round)) % programs.size();
            times[i] = launch(programs[i]);
        }
        for (size_t i = 0; i < programs.size(); ++i) {
            programs[i].ms.push_back(times[i]);
            programs[i].ratios.push_back(times[i] / times[0]);
        }
    }

    std::printf("%d interleaved rounds; each program from its start to the first pause of its event loop\n", rounds);
    std::printf("%-40s %10s   %-37s\n", "", "median ms", "ratio to the bare window: median [p10-p90] (min-max)");
    for (const Program& program : programs) {
        std::printf("%-40s %10.2f   %6.2f [%4.2f-%4.2f] (%4.2f-%4.2f)\n", program.label.c_str(), median(program.ms),
                    median(program.ratios), percentile(program.ratios, 0.1), percentile(program.ratios, 0.9),
                    percentile(program.ratios, 0.0), percentile(program.ratios, 1.0));
    }
    for (const std::string& home : homes) {
        std::filesystem::remove_all(home);
    }
    return 0;
}
