#pragma once

// libharu compresses every stream at zlib's default level (6) and has no setting for it; the
// benchmarks answer zlib's deflateInit themselves, so that libharu can be run at the level of
// each of our qualities. Link PeerZlib.cpp into the benchmark.
namespace bench {

// The level of every zlib state made from now on; -1 leaves each caller its own.
void setPeerZlibLevel(int level);

// How many zlib compression states were made since the last call: libharu makes and frees one
// for every stream; our writer makes none, its one libdeflate compressor kept for the document.
long takeZlibStatesMade();

// Sets the peer's level for as long as it lives.
class PeerZlibLevel {
public:
    explicit PeerZlibLevel(int level) { setPeerZlibLevel(level); }
    ~PeerZlibLevel() { setPeerZlibLevel(-1); }
    PeerZlibLevel(const PeerZlibLevel&) = delete;
    PeerZlibLevel& operator=(const PeerZlibLevel&) = delete;
};

} // namespace bench
