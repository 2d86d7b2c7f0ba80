#include "player/OpenedFileKind.h"

#include "lyrics/LrcFile.h"

namespace player {

OpenedFileKind KindOfOpenedFile(const QString& path) {
    const QString ending = path.right(3).toLower();
    if (ending == u"cxp") {
        return OpenedFileKind::Playlist;
    }
    if (ending == u"cx3" || ending == u"cx2" || lyrics::IsLrcName(path)) {
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
