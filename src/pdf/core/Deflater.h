#pragma once

#include <zlib.h>

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
    ~Deflater();
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // Replaces `out` by the zlib stream (header 78 5E) of the parts taken one after the other,
    // at effort 0 to 3 (other values are brought into that range). Each effort makes the
    // writer's pages at most as large as zlib's level 2 to 5 would, with whichever of zlib and
    // libdeflate does so faster. Raises Overflow when the data are too large or compression fails.
    void compress(std::initializer_list<std::string_view> parts, int quality, std::vector<uint8_t>& out);

private:
    struct FreeCompressor {
        void operator()(libdeflate_compressor* compressor) const;
    };

    // Each compresses the parts into the room and returns how many bytes it wrote there.
    std::size_t withZlib(std::initializer_list<std::string_view> parts, std::size_t total, int level);
    std::size_t withLibdeflate(std::initializer_list<std::string_view> parts, std::size_t total, int level);
    // The kept room for `size` bytes of output.
    uint8_t* room(std::size_t size);

    z_stream m_stream{};
    int m_zlibLevel = -1; // -1: no zlib state made yet
    std::unique_ptr<libdeflate_compressor, FreeCompressor> m_compressor;
    int m_compressorLevel = -1;
    std::unique_ptr<uint8_t[]> m_room;
    std::size_t m_roomSize = 0;
    // libdeflate takes its input in one piece: the parts are joined here.
    std::unique_ptr<uint8_t[]> m_joined;
    std::size_t m_joinedSize = 0;
};

} // namespace folian
