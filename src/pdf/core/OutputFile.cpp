#include "core/OutputFile.h"

#include <cerrno>
#include <cstring>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace folian {

namespace {
// Large enough that a page of text goes out in a write or two, small beside a document.
constexpr std::size_t kBufferSize = 64 * 1024;

bool syncToDisk(std::FILE* file)
{
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}
} // namespace

OutputFile::~OutputFile()
{
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

bool OutputFile::open(const std::string& path)
{
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
    m_file = std::fopen(path.c_str(), "wb");
    m_used = 0;
    m_offset = 0;
    m_failed = false;
    m_error = 0;
    if (m_file == nullptr) {
        return false;
    }
    // The buffering is ours: stdio would copy every byte once more.
    std::setvbuf(m_file, nullptr, _IONBF, 0);
    m_buffer.resize(kBufferSize);
    return true;
}

bool OutputFile::diskFull(int code)
{
    return code == ENOSPC || code == EDQUOT || code == EFBIG;
}

void OutputFile::fail(int code)
{
    if (!m_failed) {
        m_error = code;
    }
    m_failed = true;
}

void OutputFile::flush()
{
    errno = 0;
    if (m_used != 0 && std::fwrite(m_buffer.data(), 1, m_used, m_file) != m_used) {
        fail(errno);
    }
    m_used = 0;
}

void OutputFile::write(const void* data, std::size_t size)
{
    if (m_file == nullptr) {
        fail(EBADF);
        return;
    }
    m_offset += static_cast<int64_t>(size);
    if (size <= kBufferSize - m_used) {
        if (size != 0) {
            std::memcpy(m_buffer.data() + m_used, data, size);
            m_used += size;
        }
        return;
    }
    flush();
    if (size < kBufferSize) {
        std::memcpy(m_buffer.data(), data, size);
        m_used = size;
    } else if (errno = 0; std::fwrite(data, 1, size, m_file) != size) {
        fail(errno);
    }
}

void OutputFile::overwriteStart(std::string_view text)
{
    if (m_file == nullptr) {
        fail(EBADF);
        return;
    }
    flush();
    errno = 0;
    if (std::fseek(m_file, 0, SEEK_SET) != 0 || std::fwrite(text.data(), 1, text.size(), m_file) != text.size() ||
        std::fseek(m_file, 0, SEEK_END) != 0) {
        fail(errno);
    }
}

bool OutputFile::close(bool sync)
{
    if (m_file == nullptr) {
        return false;
    }
    flush();
    m_synced = false;
    if (sync && !m_failed) {
        errno = 0;
        m_synced = std::fflush(m_file) == 0 && syncToDisk(m_file);
        if (!m_synced) {
            fail(errno);
        }
    }
    errno = 0;
    if (std::fclose(m_file) != 0) {
        fail(errno);
    }
    m_file = nullptr;
    std::vector<char>().swap(m_buffer);
    return !m_failed;
}

} // namespace folian
