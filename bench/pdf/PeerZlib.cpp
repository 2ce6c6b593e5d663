#include "PeerZlib.h"

#include <zlib.h>

namespace {
int g_level = -1;
long g_made = 0;
} // namespace

void bench::setPeerZlibLevel(int level)
{
    g_level = level;
}

long bench::takeZlibStatesMade()
{
    const long made = g_made;
    g_made = 0;
    return made;
}

// Every deflateInit of the process comes here, libharu's through its import of the symbol: made as
// zlib makes it (window of 32 KiB, memory level 8, the defaults), at the level set when one is.
extern "C" int deflateInit_(z_streamp strm, int level, const char* version, int stream_size)
{
    ++g_made;
    return deflateInit2_(strm, g_level >= 0 ? g_level : level, Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY, version,
                         stream_size);
}
