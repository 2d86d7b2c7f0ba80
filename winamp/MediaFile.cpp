#include "winamp/MediaFile.h"

#include <QDir>
#include <QUrl>

namespace winamp {

QString MediaFile(const QString& entry, const QString& folder) {
    if (entry.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        return QUrl(entry).toLocalFile();
    }
    if (entry.isEmpty() || entry.contains(QLatin1String("://"))) {
        return {};
    }
    return QDir::cleanPath(QDir(folder).absoluteFilePath(entry));
}

}  // namespace winamp
