#include "player/OpenedFileKind.h"

#include "lyrics/LyricsFormat.h"

namespace player {

OpenedFileKind KindOfOpenedFile(const QString& path) {
    if (path.right(3).compare(u"cxp", Qt::CaseInsensitive) == 0) {
        return OpenedFileKind::Playlist;
    }
    if (lyrics::FormatOfName(path)) {
        return OpenedFileKind::Lyrics;
    }
    return OpenedFileKind::Nothing;
}

std::optional<QString> DroppedFileToOpen(const QList<QUrl>& urls, bool openAvailable) {
    if (!openAvailable || urls.size() != 1) {
        return std::nullopt;
    }
    // Empty for anything but a local file, which opens nothing.
    const QString path = urls.front().toLocalFile();
    if (KindOfOpenedFile(path) == OpenedFileKind::Nothing) {
        return std::nullopt;
    }
    return path;
}

}  // namespace player
