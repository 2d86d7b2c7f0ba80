// A lyrics playlist (.cxp).
#include "fuzz/FuzzInput.h"
#include "playlist/PlaylistFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)playlist::ReadPlaylistFile(fuzz::WriteInput(data, size));
    return 0;
}
