#include "player/SongOffset.h"

#include <algorithm>
#include <cstdlib>

#include "lyrics/DelimitedFile.h"

namespace player {

void SongOffset::Nudge(int deltaMs) {
    shift = std::clamp(shift + deltaMs, -MaxMs, MaxMs);
}

QString SongOffset::Text(int shiftMs) {
    if (shiftMs == 0) {
        return QStringLiteral("Lyrics as timed");
    }
    return QStringLiteral("Lyrics %1 s %2")
        .arg(lyrics::FormatNumber(std::abs(shiftMs) / 1000.0),
             shiftMs > 0 ? QStringLiteral("later") : QStringLiteral("sooner"));
}

}  // namespace player
