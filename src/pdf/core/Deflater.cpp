#include "core/Deflater.h"

#include "core/Error.h"

#include <climits>

namespace folian {

Deflater::~Deflater()
{
    if (m_level >= 0) {
        deflateEnd(&m_stream);
    }
}

void Deflater::compress(std::initializer_list<std::string_view> parts, int quality, std::vector<uint8_t>& out)
{
    // Levels 2 to 5 are the ones whose zlib header reads 78 5E; the quality picks among them.
    const int level = 2 + (quality < 0 ? 0 : (quality > 3 ? 3 : quality));
    std::size_t total = 0;
    for (std::string_view part : parts) {
        total += part.size();
    }
    if (total > static_cast<std::size_t>(UINT_MAX / 2)) {
        throw Error(ErrorCode::Overflow, "Overflow: stream too large to compress");
    }
    if (m_level >= 0 && m_level != level) {
        deflateEnd(&m_stream);
        m_level = -1;
    }
    if (m_level < 0) {
        m_stream = z_stream{};
        if (deflateInit(&m_stream, level) != Z_OK) {
            throw Error(ErrorCode::Overflow, "The stream could not be compressed");
        }
        m_level = level;
    } else if (deflateReset(&m_stream) != Z_OK) {
        throw Error(ErrorCode::Overflow, "The stream could not be compressed");
    }

    // Room for the whole stream in a buffer kept from stream to stream, which is not filled with
    // zeros each time as `out` would be; only the compressed bytes are copied out.
    const std::size_t bound = deflateBound(&m_stream, static_cast<uLong>(total));
    if (m_roomSize < bound) {
        m_room = std::make_unique<uint8_t[]>(bound);
        m_roomSize = bound;
    }
    m_stream.next_out = m_room.get();
    m_stream.avail_out = static_cast<uInt>(bound);
    std::size_t left = parts.size();
    int status = Z_OK;
    for (std::string_view part : parts) {
        --left;
        m_stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(part.data()));
        m_stream.avail_in = static_cast<uInt>(part.size());
        status = deflate(&m_stream, left == 0 ? Z_FINISH : Z_NO_FLUSH);
        // An empty part before the last one leaves zlib nothing to do, which it reports as
        // Z_BUF_ERROR; the output always has room for the whole stream.
        if (status == Z_STREAM_ERROR || (left != 0 && status != Z_OK && status != Z_BUF_ERROR)) {
            break;
        }
    }
    if (status != Z_STREAM_END) {
        throw Error(ErrorCode::Overflow, "The stream could not be compressed");
    }
    out.assign(m_room.get(), m_room.get() + m_stream.total_out);
}

} // namespace folian
