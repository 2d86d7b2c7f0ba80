#pragma once
#include <QString>

namespace playlist {

// The player's Open command serves lyrics files and playlists with one dialog.
QString PlayerOpenFilter();

enum class OpenedFileKind { Nothing, Lyrics, Playlist };

// Decided by the last three characters of the chosen name in lower case, so "LIST.CXP"
// is a playlist; a name typed with any other ending opens nothing.
OpenedFileKind KindOfOpenedFile(const QString& path);

}  // namespace playlist
