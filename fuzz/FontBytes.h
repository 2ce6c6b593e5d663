#pragma once

// Big-endian reads and writes on font bytes, for the tools that make fuzzing seeds. Reads go
// through the writer's own checked reader and raise folian::Error outside the data.
#include "text/TrueTypeFace.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace seeds {

using Bytes = std::vector<uint8_t>;

inline int32_t u16(const Bytes& data, int64_t at)
{
    return folian::ReadBigEndian(data, at, 2, true);
}
inline int32_t s16(const Bytes& data, int64_t at)
{
    return folian::ReadBigEndian(data, at, 2, false);
}
inline uint32_t u32(const Bytes& data, int64_t at)
{
    return static_cast<uint32_t>(folian::ReadBigEndian(data, at, 4, false));
}

inline void put16(Bytes& data, std::size_t at, uint32_t value)
{
    data.at(at) = static_cast<uint8_t>(value >> 8);
    data.at(at + 1) = static_cast<uint8_t>(value);
}
inline void put32(Bytes& data, std::size_t at, uint32_t value)
{
    put16(data, at, value >> 16);
    put16(data, at + 2, value & 0xFFFF);
}
inline void append16(Bytes& data, uint32_t value)
{
    data.resize(data.size() + 2);
    put16(data, data.size() - 2, value);
}
inline void append32(Bytes& data, uint32_t value)
{
    data.resize(data.size() + 4);
    put32(data, data.size() - 4, value);
}

} // namespace seeds
