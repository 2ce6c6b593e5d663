// The LZW encoder: codes of 9 to 12 bits, most significant bit first, as LZWDecode reads them
// with its default early change.
#include "core/Folian.h"

#include <algorithm>

namespace folian {

namespace {

constexpr uint32_t kClear = 256;
constexpr uint32_t kEnd = 257;
constexpr uint32_t kFirstFree = 258;

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : m_out(out) {}

    void put(uint32_t code, int width)
    {
        m_bits = (m_bits << width) | code;
        m_count += width;
        while (m_count >= 8) {
            m_count -= 8;
            m_out.push_back(static_cast<uint8_t>(m_bits >> m_count));
        }
        m_bits &= (uint64_t{1} << m_count) - 1;
    }

    // The last byte is filled up with zero bits.
    void flush()
    {
        if (m_count > 0) {
            m_out.push_back(static_cast<uint8_t>(m_bits << (8 - m_count)));
        }
        m_bits = 0;
        m_count = 0;
    }

private:
    std::vector<uint8_t>& m_out;
    uint64_t m_bits = 0;
    int m_count = 0;
};

// The strings of the dictionary, each a known string (its code) followed by one byte, found by
// open addressing in a table twice the size of the dictionary.
class Dictionary {
public:
    explicit Dictionary(uint32_t entries) : m_mask(entries * 2 - 1), m_keys(entries * 2), m_codes(entries * 2) {}

    void clear() { std::fill(m_keys.begin(), m_keys.end(), 0u); }

    // The code of `prefix` followed by `byte`, or 0 when the dictionary lacks it; `slot` is
    // where it would be added.
    uint32_t find(uint32_t prefix, uint8_t byte, uint32_t& slot) const
    {
        const uint32_t key = ((prefix << 8) | byte) + 1; // 0 marks a free slot
        slot = (key * 2654435761u >> 12) & m_mask;
        while (m_keys[slot] != 0) {
            if (m_keys[slot] == key) {
                return m_codes[slot];
            }
            slot = (slot + 1) & m_mask;
        }
        return 0;
    }

    void add(uint32_t slot, uint32_t prefix, uint8_t byte, uint32_t code)
    {
        m_keys[slot] = ((prefix << 8) | byte) + 1;
        m_codes[slot] = static_cast<uint16_t>(code);
    }

private:
    uint32_t m_mask;
    std::vector<uint32_t> m_keys;
    std::vector<uint16_t> m_codes;
};

} // namespace

void Folian::EncodeLZW(std::vector<uint8_t>& data, int32_t CompressionQuality)
{
    // The effort sets the dictionary's size: 512 strings (9-bit codes only) at 0 up to the
    // 4,096 that 12-bit codes reach at 3. A full dictionary starts again after a clear code.
    const int quality = std::clamp(CompressionQuality, 0, 3);
    const uint32_t limit = 512u << quality;

    std::vector<uint8_t> out;
    out.reserve(data.size() / 2 + 16);
    BitWriter bits(out);
    Dictionary dictionary(limit);
    int width = 9;
    uint32_t next = kFirstFree;
    bits.put(kClear, width);

    // The reader adds each string one code later than the writer and widens its codes when its
    // next free code plus one reaches a power of two; in the writer's count that is when the
    // next free code itself does.
    const auto added = [&width, &next] {
        ++next;
        if (next >= (1u << width) && width < 12) {
            ++width;
        }
    };

    if (!data.empty()) {
        uint32_t current = data[0];
        for (std::size_t i = 1; i < data.size(); ++i) {
            const uint8_t byte = data[i];
            uint32_t slot = 0;
            const uint32_t code = dictionary.find(current, byte, slot);
            if (code != 0) {
                current = code;
                continue;
            }
            bits.put(current, width);
            dictionary.add(slot, current, byte, next);
            added();
            if (next == limit) {
                bits.put(kClear, width);
                dictionary.clear();
                next = kFirstFree;
                width = 9;
            }
            current = byte;
        }
        bits.put(current, width);
        // The reader adds a string for that last code before it reads the end code.
        added();
    }
    bits.put(kEnd, width);
    bits.flush();
    data.swap(out);
}

} // namespace folian
