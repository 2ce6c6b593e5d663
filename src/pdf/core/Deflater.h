#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

struct libdeflate_compressor;

namespace folian {

// One deflate compressor for every stream of a document: its state is made once and kept
// between streams, instead of being made and freed for each of them. A stream's bytes depend
// only on its data and the effort, never on the streams compressed before it.
class Deflater {
public:
    Deflater() = default;
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // Replaces `out` by the zlib stream (header 78 5E) of the parts taken one after the other,
    // at effort 0 to 3 (other values are brought into that range), each about as small as zlib's
    // level 2 to 5 would make it, and faster. Raises Overflow when the data are too large or
    // compression fails.
    void compress(std::initializer_list<std::string_view> parts, int quality, std::vector<uint8_t>& out);

private:
    struct FreeCompressor {
        void operator()(libdeflate_compressor* compressor) const;
    };

    // The parts as one piece of `total` bytes: the only part itself, or the parts copied one after
    // the other (libdeflate takes its input whole).
    const uint8_t* joined(std::initializer_list<std::string_view> parts, std::size_t total);
    // Compresses the data into the room and returns how many bytes it wrote there.
    std::size_t deflate(const uint8_t* data, std::size_t total, int level);
    // The kept room for `size` bytes of output.
    uint8_t* room(std::size_t size);

    std::unique_ptr<libdeflate_compressor, FreeCompressor> m_compressor;
    int m_compressorLevel = -1;
    std::unique_ptr<uint8_t[]> m_room;
    std::size_t m_roomSize = 0;
    std::unique_ptr<uint8_t[]> m_joined;
    std::size_t m_joinedSize = 0;
};

} // namespace folian
