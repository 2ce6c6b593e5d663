#include "core/TextBuffer.h"

#include "core/Formatting.h"

namespace folian {

void TextBuffer::reserveFor(std::size_t extra)
{
    const std::size_t end = m_text.size() + extra;
    if (end > m_text.capacity()) {
        // Grow by the new end again, so the reserve at least doubles what is used.
        m_text.reserve(m_text.capacity() + end);
    }
}

void TextBuffer::BufferAppend(std::string_view text)
{
    reserveFor(text.size());
    m_text.append(text);
}

void TextBuffer::BufferAppendByte(uint8_t byte)
{
    reserveFor(1);
    m_text.push_back(static_cast<char>(byte));
}

void TextBuffer::appendReal(float x)
{
    folian::appendReal(m_text, x);
}

void TextBuffer::appendColorRGB(uint32_t rgb)
{
    folian::appendColorRGB(m_text, rgb);
}

char* TextBuffer::extend(std::size_t most)
{
    if (m_scratch.size() < most) {
        m_scratch.resize(most);
    }
    reserveFor(most);
    return m_scratch.data();
}

void TextBuffer::BufferReset()
{
    // The storage of an ordinary page serves the next one, so that every page does not grow
    // its buffer again; an exceptionally large one is given back.
    if (m_text.capacity() > kKeptCapacity) {
        std::string().swap(m_text);
    } else {
        m_text.clear();
    }
}

} // namespace folian
