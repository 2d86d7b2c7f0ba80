#pragma once
// The player's own words in the boxes of the playlist commands both programs share.
#include <QString>

namespace player {

// The "Playlist Loader" box for a playlist, or a lyrics file, that Open could not read.
inline const QString ReadFailureText = QStringLiteral("Could not read data file.");

// Asked before Remove takes out the chosen entry.
inline QString RemoveQuestion(int /*row*/) {
    return QStringLiteral("Are you sure you wish to remove this entry?");
}

}  // namespace player
