#pragma once
#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

namespace player {

// The player's Open command serves lyrics files and playlists with one dialog
// (playlist::CantorixFilesFilter).
enum class OpenedFileKind { Nothing, Lyrics, Playlist };

// Decided by the last three characters of the chosen name in lower case, so "LIST.CXP"
// is a playlist and "Song.LRC" lyrics; a name typed with any other ending opens nothing.
OpenedFileKind KindOfOpenedFile(const QString& path);

// The file that a drop on the player's window opens: a single local file that Open would
// open, and only while the Open command is available. Nothing when the drop is refused.
std::optional<QString> DroppedFileToOpen(const QList<QUrl>& urls, bool openAvailable);

}  // namespace player
