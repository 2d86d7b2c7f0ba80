// An LRC file, and the LRC written back from what was read.
#include "fuzz/FuzzInput.h"
#include "lyrics/LrcFile.h"
#include "lyrics/LyricLines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lyrics::LyricLines table;
    if (lyrics::ReadLrc(fuzz::Bytes(data, size), QStringLiteral("fuzz"), table)) {
        lyrics::LyricLines again;
        (void)lyrics::ReadLrc(lyrics::LrcText(table).toUtf8(), QStringLiteral("fuzz"), again);
    }
    return 0;
}
