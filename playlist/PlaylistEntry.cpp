#include "playlist/PlaylistEntry.h"

namespace playlist {

QString RowText(const PlaylistEntry& entry) {
    return QString::number(entry.TrackNumber) + QStringLiteral(" - ") + entry.Title +
           QStringLiteral(" - ") + entry.LyricsFile;
}

}  // namespace playlist
