// Stream encoders and the standard security handler's per-object encryption.
#include "core/Folian.h"

#include <nettle/md5.h>
#include <zlib.h>

#include <climits>
#include <utility>

namespace folian {

void Folian::EncodeASCIIHex(std::vector<uint8_t>& data)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::vector<uint8_t> out;
    out.reserve(data.size() * 2);
    for (uint8_t byte : data) {
        out.push_back(static_cast<uint8_t>(digits[byte >> 4]));
        out.push_back(static_cast<uint8_t>(digits[byte & 0xF]));
    }
    data.swap(out);
}

void Folian::zzToFlateDecode(std::vector<uint8_t>& data, int32_t CompressionQuality)
{
    // Levels 2 to 5 are the ones whose zlib header reads 78 5E; the quality picks among them.
    const int quality = CompressionQuality < 0 ? 0 : (CompressionQuality > 3 ? 3 : CompressionQuality);
    if (data.size() > static_cast<std::size_t>(UINT_MAX / 2)) {
        throw Error(ErrorCode::Overflow, "Overflow: stream too large to compress");
    }
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::vector<uint8_t> out(size);
    const int status = compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 2 + quality);
    if (status != Z_OK) {
        throw Error(ErrorCode::Overflow, "The stream could not be compressed");
    }
    out.resize(size);
    data.swap(out);
}

std::string Folian::GetObjectKey(int32_t& objectNumber) const
{
    if (objectNumber == 0) {
        objectNumber = CurrentObject;
    }
    std::string material = EncryptionKey;
    material += static_cast<char>(objectNumber & 0xFF);
    material += static_cast<char>((objectNumber >> 8) & 0xFF);
    material += static_cast<char>((objectNumber >> 16) & 0xFF);
    material += '\0';
    material += '\0';
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, material.size(), reinterpret_cast<const uint8_t*>(material.data()));
    uint8_t digest[MD5_DIGEST_SIZE];
    md5_digest(&ctx, MD5_DIGEST_SIZE, digest);
    const std::size_t length = ObjectKeyLength < MD5_DIGEST_SIZE ? ObjectKeyLength : MD5_DIGEST_SIZE;
    return std::string(reinterpret_cast<const char*>(digest), length);
}

void Folian::RC4Crypt(const std::string& key, std::vector<uint8_t>& data)
{
    if (key.empty()) {
        throw Error(ErrorCode::InvalidCall, "Invalid procedure call: empty encryption key");
    }
    // The key schedule is kept for the last key, since consecutive strings of one object share it.
    if (key != Rc4Key) {
        for (int i = 0; i < 256; ++i) {
            Rc4State[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i);
        }
        uint8_t j = 0;
        for (int i = 0; i < 256; ++i) {
            j = static_cast<uint8_t>(j + Rc4State[static_cast<std::size_t>(i)] +
                                     static_cast<uint8_t>(key[static_cast<std::size_t>(i) % key.size()]));
            std::swap(Rc4State[static_cast<std::size_t>(i)], Rc4State[j]);
        }
        Rc4Key = key;
    }
    std::array<uint8_t, 256> state = Rc4State;
    uint8_t i = 0;
    uint8_t j = 0;
    for (uint8_t& byte : data) {
        i = static_cast<uint8_t>(i + 1);
        j = static_cast<uint8_t>(j + state[i]);
        std::swap(state[i], state[j]);
        byte ^= state[static_cast<uint8_t>(state[i] + state[j])];
    }
}

} // namespace folian
