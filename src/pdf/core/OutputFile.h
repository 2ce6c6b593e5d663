#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace folian {

// The file a document is written to: small writes gather in one buffer that goes out in large
// writes, and writes larger than the buffer go straight from the caller's memory. Failures are
// remembered, not raised, so that a document can be finished and then reported as a whole.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates (or empties) the file; false with errno set when it cannot be opened.
    bool open(const std::string& path);
    bool isOpen() const { return m_file != nullptr; }
    void write(const void* data, std::size_t size);
    void write(std::string_view text) { write(text.data(), text.size()); }
    // Bytes written so far, the buffered ones included.
    int64_t offset() const { return m_offset; }
    bool failed() const { return m_failed; }
    // The system's error number of the first failure since the file was opened; 0 when none is known.
    int error() const { return m_error; }
    // Whether a system error number says that the disk (or the user's share of it) has no room left.
    static bool diskFull(int code);
    // Writes `text` over the beginning of the file, leaving the rest and the offset as they are.
    void overwriteStart(std::string_view text);
    // Writes out what is buffered and, when `sync`, waits until the system has the bytes on
    // disk; then closes the file. True when every byte written reached it.
    bool close(bool sync);
    // Whether the last close waited for the disk and the disk took the bytes.
    bool synced() const { return m_synced; }

private:
    void flush();
    // Records a failure with the system's error number (0 when none is known).
    void fail(int code);

    std::FILE* m_file = nullptr;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    int64_t m_offset = 0;
    bool m_failed = false;
    int m_error = 0;
    bool m_synced = false;
};

} // namespace folian
