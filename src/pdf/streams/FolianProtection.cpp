// The standard security handler: the document key and the /O and /U entries that let a reader
// check a password and find the key again.
#include "core/Folian.h"

#include <nettle/md5.h>

namespace folian {

namespace {

// What a password is filled up with to 32 bytes.
constexpr uint8_t kPadding[32] = {0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E,
                                  0x56, 0xFF, 0xFA, 0x01, 0x08, 0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68,
                                  0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

std::string padded(std::string_view password)
{
    std::string out(password.substr(0, 32));
    out.append(reinterpret_cast<const char*>(kPadding), 32 - out.size());
    return out;
}

std::string md5(std::string_view data)
{
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, data.size(), reinterpret_cast<const uint8_t*>(data.data()));
    uint8_t digest[MD5_DIGEST_SIZE];
    md5_digest(&ctx, MD5_DIGEST_SIZE, digest);
    return std::string(reinterpret_cast<const char*>(digest), MD5_DIGEST_SIZE);
}

// The digest of the data, hashed again 50 times over its first `length` bytes for 128-bit keys.
std::string stretchedKey(std::string_view data, std::size_t length, bool strong)
{
    std::string digest = md5(data);
    if (strong) {
        for (int i = 0; i < 50; ++i) {
            digest = md5(digest.substr(0, length));
        }
    }
    return digest.substr(0, length);
}

std::string xorEach(const std::string& key, int value)
{
    std::string out = key;
    for (char& c : out) {
        c = static_cast<char>(c ^ value);
    }
    return out;
}

} // namespace

void Folian::SetProtection(std::string_view UserPassword, std::string_view OwnerPassword, int32_t Permissions,
                           bool Strong)
{
    // Strings and streams already in the file are plain; the reader would decrypt them too.
    if (MaxObject > 3) {
        throw Error(ErrorCode::InvalidCall,
                    "Invalid procedure call: protection must be set before the first page, font or object is written");
    }
    const std::size_t length = Strong ? 16 : 5;

    // The identifier that the key depends on: unique enough for one writer, reproducible with
    // the hooks that tests fix.
    std::string seed = CreationDate + FileName + DocTitle;
    for (int i = 0; i < 16; ++i) {
        seed += static_cast<char>('0' +
                                  ((m_hooks.randomDigit ? m_hooks.randomDigit() : SystemRandomDigit()) % 10 + 10) % 10);
    }
    FileId = md5(seed);
    // Without an owner password anyone could open the document as its owner and lift the
    // permissions; a password nobody knows keeps them in force.
    const std::string owner = OwnerPassword.empty() ? md5("owner" + seed) : std::string(OwnerPassword);

    // Bits 1-2 are always clear and the undefined ones set; 40-bit keys know only bits 3 to 6.
    const uint32_t permissions = Strong ? (0xFFFFF0C0u | (static_cast<uint32_t>(Permissions) & 0xF3Cu))
                                        : (0xFFFFFFC0u | (static_cast<uint32_t>(Permissions) & 0x3Cu));
    PermissionFlags = static_cast<int16_t>(permissions & 0xFFFFu);

    const std::string ownerKey = stretchedKey(padded(owner), length, Strong);
    std::string ownerEntry = rc4Text(ownerKey, padded(UserPassword));
    if (Strong) {
        for (int i = 1; i <= 19; ++i) {
            ownerEntry = rc4Text(xorEach(ownerKey, i), ownerEntry);
        }
    }
    OwnerEntry = ownerEntry;

    std::string material = padded(UserPassword) + OwnerEntry;
    for (int shift = 0; shift < 32; shift += 8) {
        material += static_cast<char>((permissions >> shift) & 0xFF);
    }
    material += FileId;
    EncryptionKey = stretchedKey(material, length, Strong);

    if (Strong) {
        std::string check = rc4Text(EncryptionKey, md5(padded({}) + FileId));
        for (int i = 1; i <= 19; ++i) {
            check = rc4Text(xorEach(EncryptionKey, i), check);
        }
        UserEntry = check + padded({}).substr(0, 16);
    } else {
        UserEntry = rc4Text(EncryptionKey, padded({}));
    }

    ObjectKeyLength = Strong ? 16 : 10;
    ProtectionOn = -1;
    RequireVersion(1);
}

} // namespace folian
