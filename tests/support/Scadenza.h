#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace ondavia::test {

// While it lives, the work of a test must end within `tempo`: otherwise the test program says what did not
// end and stops with a failure, so that a wait that never ends (a named pipe, an endless device) fails the
// test instead of hanging the suite.
class Scadenza {
public:
    Scadenza(std::chrono::seconds tempo, const char* lavoro)
        : m_sorveglia([this, tempo, lavoro] {
              std::unique_lock<std::mutex> blocco(m_mutex);
              if (!m_fine.wait_for(blocco, tempo, [this] { return m_finito; })) {
                  std::fprintf(stderr, "Failure: %s did not end within %lld s\n", lavoro,
                               static_cast<long long>(tempo.count()));
                  std::fflush(stderr);
                  std::_Exit(1);
              }
          })
    {
    }
    ~Scadenza()
    {
        {
            const std::lock_guard<std::mutex> blocco(m_mutex);
            m_finito = true;
        }
        m_fine.notify_one();
        m_sorveglia.join();
    }
    Scadenza(const Scadenza&) = delete;
    Scadenza& operator=(const Scadenza&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_fine;
    bool m_finito = false;
    std::thread m_sorveglia; // last: it starts once the others are there
};

} // namespace ondavia::test
