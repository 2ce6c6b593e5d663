#include "core/Deflater.h"

#include "core/Error.h"

#include <libdeflate.h>

#include <climits>
#include <cstring>

namespace folian {

namespace {

struct Engine {
    bool libdeflate;
    int level;
};

// The compressor of each effort, measured on pages of tables, of lines and of prose against
// zlib's level 2 to 5 (the levels whose header reads 78 5E). Efforts 0 and 2: the libdeflate
// level that makes every kind of page at most as large, and faster. Effort 1 stays with zlib:
// libdeflate's level 2, the first as small, is slower on short pages (4 KB). Effort 3:
// libdeflate's level 5, a third faster than zlib's 5 on pages of 4 to 12 KB, smaller on pages
// of tables and lines, up to 1.5 % larger on pages of justified prose; its levels 6 and 7, as
// small, are no faster than zlib on short pages.
constexpr Engine kEngines[] = {{true, 1}, {false, 3}, {true, 3}, {true, 5}};

// The zlib stream's first two bytes: deflate with a 32 KiB window, "fast" compression.
constexpr uint8_t kHeader[] = {0x78, 0x5E};
// It ends with the Adler-32 sum of the data, most significant byte first.
constexpr std::size_t kTrailerSize = 4;

[[noreturn]] void compressionFailed()
{
    throw Error(ErrorCode::Overflow, "The stream could not be compressed");
}

} // namespace

void Deflater::FreeCompressor::operator()(libdeflate_compressor* compressor) const
{
    libdeflate_free_compressor(compressor);
}

Deflater::~Deflater()
{
    if (m_zlibLevel >= 0) {
        deflateEnd(&m_stream);
    }
}

void Deflater::compress(std::initializer_list<std::string_view> parts, int quality, std::vector<uint8_t>& out)
{
    const Engine engine = kEngines[quality < 0 ? 0 : (quality > 3 ? 3 : quality)];
    std::size_t total = 0;
    for (std::string_view part : parts) {
        total += part.size();
    }
    if (total > static_cast<std::size_t>(UINT_MAX / 2)) {
        throw Error(ErrorCode::Overflow, "Overflow: stream too large to compress");
    }
    const std::size_t size =
        engine.libdeflate ? withLibdeflate(parts, total, engine.level) : withZlib(parts, total, engine.level);
    out.assign(m_room.get(), m_room.get() + size);
}

uint8_t* Deflater::room(std::size_t size)
{
    // Kept from stream to stream, and not filled with zeros each time as `out` would be; only the
    // compressed bytes are copied out.
    if (m_roomSize < size) {
        m_room = std::make_unique_for_overwrite<uint8_t[]>(size);
        m_roomSize = size;
    }
    return m_room.get();
}

std::size_t Deflater::withZlib(std::initializer_list<std::string_view> parts, std::size_t total, int level)
{
    if (m_zlibLevel >= 0 && m_zlibLevel != level) {
        deflateEnd(&m_stream);
        m_zlibLevel = -1;
    }
    if (m_zlibLevel < 0) {
        m_stream = z_stream{};
        if (deflateInit(&m_stream, level) != Z_OK) {
            compressionFailed();
        }
        m_zlibLevel = level;
    } else if (deflateReset(&m_stream) != Z_OK) {
        compressionFailed();
    }

    // Room for the whole stream, so that zlib never waits for more.
    const std::size_t bound = deflateBound(&m_stream, static_cast<uLong>(total));
    m_stream.next_out = room(bound);
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
        compressionFailed();
    }
    return m_stream.total_out;
}

std::size_t Deflater::withLibdeflate(std::initializer_list<std::string_view> parts, std::size_t total, int level)
{
    if (m_compressorLevel != level) {
        m_compressor.reset(libdeflate_alloc_compressor(level));
        if (!m_compressor) {
            compressionFailed();
        }
        m_compressorLevel = level;
    }
    static constexpr uint8_t nothing = 0;
    const uint8_t* data = &nothing;
    if (parts.size() == 1 && total > 0) {
        data = reinterpret_cast<const uint8_t*>(parts.begin()->data());
    } else if (total > 0) {
        if (m_joinedSize < total) {
            m_joined = std::make_unique_for_overwrite<uint8_t[]>(total);
            m_joinedSize = total;
        }
        std::size_t at = 0;
        for (std::string_view part : parts) {
            if (!part.empty()) {
                std::memcpy(m_joined.get() + at, part.data(), part.size());
                at += part.size();
            }
        }
        data = m_joined.get();
    }

    // libdeflate's own zlib wrapper marks its fastest level as such (78 01), while every stream
    // of the writer reads 78 5E; so its raw deflate data are wrapped here.
    const std::size_t bound =
        sizeof kHeader + libdeflate_deflate_compress_bound(m_compressor.get(), total) + kTrailerSize;
    uint8_t* out = room(bound);
    std::memcpy(out, kHeader, sizeof kHeader);
    const std::size_t deflated = libdeflate_deflate_compress(m_compressor.get(), data, total, out + sizeof kHeader,
                                                             bound - sizeof kHeader - kTrailerSize);
    if (deflated == 0) {
        compressionFailed();
    }
    const uint32_t sum = libdeflate_adler32(1, data, total);
    uint8_t* trailer = out + sizeof kHeader + deflated;
    for (std::size_t i = 0; i < kTrailerSize; ++i) {
        trailer[i] = static_cast<uint8_t>(sum >> (8 * (kTrailerSize - 1 - i)));
    }
    return sizeof kHeader + deflated + kTrailerSize;
}

} // namespace folian
