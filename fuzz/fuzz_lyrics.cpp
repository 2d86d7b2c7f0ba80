// A lyrics file (.cx3/.cx2) and its title line.
#include "fuzz/FuzzInput.h"
#include "lyrics/LyricLines.h"
#include "lyrics/LyricsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lyrics::LyricLines table;
    table.LyricsPath = fuzz::WriteInput(data, size);
    lyrics::LoadLyrics(table);
    (void)lyrics::ReadLyricsTitle(table.LyricsPath);
    return 0;
}
