#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

#include <filesystem>

namespace ondavia::test {

// While it lives, no file can be made in `cartella`, as for an operator without the right to write there: the
// folder is read-only and, when the tests run as root (whom no mode stops), this thread reaches files as the
// unprivileged user, for whom the folder above is made passable.
class SenzaPermessi {
public:
    explicit SenzaPermessi(std::filesystem::path cartella)
        : m_cartella(std::move(cartella)), m_sopra(m_cartella.parent_path()),
          m_modo(std::filesystem::status(m_cartella).permissions()),
          m_modoSopra(std::filesystem::status(m_sopra).permissions())
    {
        namespace fs = std::filesystem;
        fs::permissions(m_cartella, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
        if (::geteuid() == 0) {
            fs::permissions(m_sopra, fs::perms::others_exec, fs::perm_options::add);
            ::setfsgid(kUtenteRidotto);
            ::setfsuid(kUtenteRidotto);
            m_ridotto = true;
        }
    }
    ~SenzaPermessi()
    {
        if (m_ridotto) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
        std::filesystem::permissions(m_cartella, m_modo);
        std::filesystem::permissions(m_sopra, m_modoSopra);
    }
    SenzaPermessi(const SenzaPermessi&) = delete;
    SenzaPermessi& operator=(const SenzaPermessi&) = delete;

private:
    static constexpr uid_t kUtenteRidotto = 65534;
    std::filesystem::path m_cartella;
    std::filesystem::path m_sopra;
    std::filesystem::perms m_modo;
    std::filesystem::perms m_modoSopra;
    bool m_ridotto = false;
};

} // namespace ondavia::test
