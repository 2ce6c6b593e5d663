#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace folian {

// Growable text of Windows-1252 bytes for content streams and other long texts. Appends are
// amortised constant time: the reserve at least doubles the used size whenever it runs out.
class TextBuffer {
public:
    void BufferAppend(std::string_view text);
    void BufferAppendByte(uint8_t byte);
    void BufferReset();
    // The used part only, never the reserve.
    const std::string& BufferGetText() const { return m_text; }

    // Content operators formatted straight into the buffer (see core/Formatting.h).
    void append(std::string_view text) { m_text.append(text); }
    void append(char c) { m_text.push_back(c); }
    void appendReal(float x);
    void appendColorRGB(uint32_t rgb);
    // Room for at most `most` more characters, written from the pointer returned; commit then
    // takes the end of what was written. Nothing else may be appended in between. The room is a
    // scratch area kept from call to call, so that it is not filled with zeros each time.
    char* extend(std::size_t most);
    void commit(const char* end)
    {
        append(std::string_view(m_scratch.data(), static_cast<std::size_t>(end - m_scratch.data())));
    }

private:
    static constexpr std::size_t kKeptCapacity = 1 << 20;

    void reserveFor(std::size_t extra);

    std::string m_text;
    std::vector<char> m_scratch;
};

} // namespace folian
