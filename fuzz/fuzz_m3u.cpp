// The simulated Winamp's M3U playlists.
#include "fuzz/FuzzInput.h"
#include "winamp-sim/M3u.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)winampsim::ParseM3u(fuzz::Bytes(data, size), QStringLiteral("fuzz.m3u"),
                              QStringLiteral("/music"));
    return 0;
}
