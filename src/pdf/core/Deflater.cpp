#include "core/Deflater.h"

#include "core/Error.h"

#include <libdeflate.h>

#include <climits>
#include <cstring>

namespace folian {

namespace {

// libdeflate's level for each effort, measured on pages of tables, of lines and of prose against
// zlib's levels 2 to 5 (the levels whose header reads 78 5E), as libdeflate makes them faster. Levels
// 1 to 3 make every kind of page at most as large as zlib's 2 to 4 (level 2 a page of a table alone
// 0.3 % larger than zlib's 3). Level 5 is a third faster than zlib's 5 on pages of 4 to 12 KB, makes
// pages of tables and lines smaller and pages of justified prose up to 1.5 % larger; its levels 6
// and 7, as small, are no faster than zlib on short pages.
constexpr int kLevels[] = {1, 2, 3, 5};

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

void Deflater::compress(std::initializer_list<std::string_view> parts, int quality, std::vector<uint8_t>& out)
{
    const int level = kLevels[quality < 0 ? 0 : (quality > 3 ? 3 : quality)];
    std::size_t total = 0;
    for (std::string_view part : parts) {
        total += part.size();
    }
    if (total > static_cast<std::size_t>(UINT_MAX / 2)) {
        throw Error(ErrorCode::Overflow, "Overflow: stream too large to compress");
    }
    const std::size_t size = deflate(joined(parts, total), total, level);
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

const uint8_t* Deflater::joined(std::initializer_list<std::string_view> parts, std::size_t total)
{
    static constexpr uint8_t nothing = 0;
    if (total == 0) {
        return &nothing;
    }
    if (parts.size() == 1) {
        return reinterpret_cast<const uint8_t*>(parts.begin()->data());
    }
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
    return m_joined.get();
}

std::size_t Deflater::deflate(const uint8_t* data, std::size_t total, int level)
{
    if (m_compressorLevel != level) {
        m_compressor.reset(libdeflate_alloc_compressor(level));
        if (!m_compressor) {
            compressionFailed();
        }
        m_compressorLevel = level;
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
