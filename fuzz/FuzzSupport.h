#pragma once

// What every fuzz target of the PDF writer shares: failing loudly, a scratch folder of its own,
// reproducible hooks, and writing the input to a file.
#include "FixedHooks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace fuzz {

// Stops the run, so that libFuzzer keeps the input.
[[noreturn]] inline void fail(const std::string& what)
{
    std::fprintf(stderr, "fuzz target: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void require(bool condition, const std::string& what)
{
    if (!condition) {
        fail(what);
    }
}

// One folder per process, so that parallel fuzzing jobs never share their files; removed at exit.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) == nullptr) {
            fail("cannot make a scratch folder in " + std::filesystem::temp_directory_path().string());
        }
        m_path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// A stopped clock and a fixed digit, so that a replayed input writes the same bytes again.
using folian::test::fixedHooks;

inline void writeFile(const std::filesystem::path& path, const uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    require(static_cast<bool>(out), "cannot write " + path.string());
}

// Runs one input through the target's checks, in a scratch folder of the process's own; an
// exception that escapes them is a failure too.
template <typename Exercise> int runInput(const std::string& folderPrefix, Exercise exercise)
{
    static const ScratchFolder folder(folderPrefix);
    try {
        exercise(folder.path());
    } catch (const std::exception& error) {
        fail(std::string("an exception escaped: ") + error.what());
    } catch (...) {
        fail("an exception of unknown type escaped");
    }
    return 0;
}

} // namespace fuzz
