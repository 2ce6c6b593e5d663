// Stream encoders and the standard security handler's per-object encryption.
#include "core/Folian.h"

#include <nettle/md5.h>

#include <climits>

namespace folian {

void Folian::EncodeRunLength(std::vector<uint8_t>& data)
{
    // A length byte n below 128 is followed by n + 1 bytes copied as they are; n above 128 by
    // one byte repeated 257 - n times; 128 ends the data.
    const std::size_t n = data.size();
    std::vector<uint8_t> out;
    out.reserve(n + n / 128 + 2);
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = 1;
        while (i + run < n && run < 128 && data[i + run] == data[i]) {
            ++run;
        }
        if (run >= 2) {
            out.push_back(static_cast<uint8_t>(257 - run));
            out.push_back(data[i]);
            i += run;
            continue;
        }
        // Copied bytes stop where three equal ones begin, which a repeat holds in two bytes.
        const std::size_t start = i;
        while (i < n && i - start < 128) {
            if (i + 2 < n && data[i] == data[i + 1] && data[i] == data[i + 2]) {
                break;
            }
            ++i;
        }
        out.push_back(static_cast<uint8_t>(i - start - 1));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(start),
                   data.begin() + static_cast<std::ptrdiff_t>(i));
    }
    out.push_back(128);
    data.swap(out);
}

void Folian::EncodeASCII85(std::vector<uint8_t>& data)
{
    const std::size_t n = data.size();
    std::vector<uint8_t> out;
    out.reserve(n / 4 * 5 + 7);
    const auto group = [&out](uint32_t value, std::size_t digits) {
        uint8_t text[5];
        for (int k = 4; k >= 0; --k) {
            text[k] = static_cast<uint8_t>('!' + value % 85);
            value /= 85;
        }
        out.insert(out.end(), text, text + digits);
    };
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const uint32_t value = (uint32_t{data[i]} << 24) | (uint32_t{data[i + 1]} << 16) |
                               (uint32_t{data[i + 2]} << 8) | uint32_t{data[i + 3]};
        if (value == 0) {
            out.push_back('z');
        } else {
            group(value, 5);
        }
    }
    // A last group of one to three bytes is padded with zeros and keeps one digit more than
    // it has bytes; "z" stands only for whole groups.
    if (i < n) {
        uint32_t value = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            value = (value << 8) | (i + k < n ? data[i + k] : 0u);
        }
        group(value, n - i + 1);
    }
    out.push_back('~');
    out.push_back('>');
    data.swap(out);
}

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
    Deflater deflater;
    std::vector<uint8_t> out;
    deflater.compress({std::string_view(reinterpret_cast<const char*>(data.data()), data.size())}, CompressionQuality,
                      out);
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
    if (key.empty() || key.size() > ARCFOUR_MAX_KEY_SIZE) {
        throw Error(ErrorCode::InvalidCall, "Invalid procedure call: an encryption key must have 1 to 256 bytes");
    }
    // The key schedule is kept for the last key, since consecutive strings of one object share it.
    if (key != Rc4Key) {
        arcfour_set_key(&Rc4State, key.size(), reinterpret_cast<const uint8_t*>(key.data()));
        Rc4Key = key;
    }
    arcfour_ctx state = Rc4State;
    arcfour_crypt(&state, data.size(), data.data(), data.data());
}

std::string Folian::rc4Text(const std::string& key, std::string_view text)
{
    std::vector<uint8_t> bytes(text.begin(), text.end());
    RC4Crypt(key, bytes);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace folian
