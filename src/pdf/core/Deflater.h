#pragma once

#include <zlib.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

namespace folian {

// One deflate compressor for every stream of a document: its state is made once and reset
// between streams, instead of being made and freed for each of them. The bytes are those of a
// compressor made afresh for every stream.
class Deflater {
public:
    Deflater() = default;
    ~Deflater();
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // Replaces `out` by the zlib stream (header 78 5E) of the parts taken one after the other,
    // at effort 0 to 3 (deflate levels 2 to 5; other values are brought into that range).
    // Raises Overflow when the data are too large or zlib fails.
    void compress(std::initializer_list<std::string_view> parts, int quality, std::vector<uint8_t>& out);

private:
    z_stream m_stream{};
    int m_level = -1; // -1: no state made yet
    std::unique_ptr<uint8_t[]> m_room;
    std::size_t m_roomSize = 0;
};

} // namespace folian
