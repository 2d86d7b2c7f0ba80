#include "playlist/OpenedFileKind.h"

namespace playlist {

QString PlayerOpenFilter() {
    return QStringLiteral("Cantorix Files (*.cx3, *.cx2, *.cxp)|*.cx3;*.cx2;*.cxp");
}

OpenedFileKind KindOfOpenedFile(const QString& path) {
    const QString ending = path.right(3).toLower();
    if (ending == u"cxp") {
        return OpenedFileKind::Playlist;
    }
    if (ending == u"cx3" || ending == u"cx2") {
        return OpenedFileKind::Lyrics;
    }
    return OpenedFileKind::Nothing;
}

}  // namespace playlist
