#pragma once

#include <csignal>
#include <sys/resource.h>

namespace ondavia::test {

// While it lives, the process may write no file past `byte` bytes, as on a full disk: a write beyond the
// limit fails (its signal is ignored) instead of ending the test.
class LimiteFile {
public:
    explicit LimiteFile(rlim_t byte)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_prima);
        rlimit limite = m_prima;
        limite.rlim_cur = byte;
        m_segnale = std::signal(SIGXFSZ, SIG_IGN);
        m_attivo = ::setrlimit(RLIMIT_FSIZE, &limite) == 0;
    }
    ~LimiteFile()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_prima);
        std::signal(SIGXFSZ, m_segnale);
    }
    LimiteFile(const LimiteFile&) = delete;
    LimiteFile& operator=(const LimiteFile&) = delete;

    bool attivo() const { return m_attivo; }

private:
    rlimit m_prima{};
    void (*m_segnale)(int) = SIG_DFL;
    bool m_attivo = false;
};

} // namespace ondavia::test
