// A lyrics file (.cx3/.cx2) and its title line.
#include "fuzz/FuzzInput.h"
#include "lyrics/LyricsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = fuzz::WriteInput(data, size);
    (void)lyrics::ReadLyricsFile(path);
    (void)lyrics::ReadLyricsTitle(path);
    return 0;
}
