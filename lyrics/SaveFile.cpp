#include "lyrics/SaveFile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <optional>

#ifndef _WIN32
#include <unistd.h>
#include <cerrno>
#endif

namespace lyrics {

namespace {

// As many links in a row as the system itself follows before it gives up.
constexpr int MaxLinks = 40;

// A failure never passes for a success, even one that comes without words.
SaveResult Failed(const QString& error) {
    return {error.isEmpty() ? QStringLiteral("the file could not be written") : error};
}

// Why bytes did not reach the disk in file, or nothing when they did. Written straight to
// the file rather than through Qt's buffer: a write into the buffer succeeds whatever room
// the disk has, and when the buffer goes out a short write loses the reason. Some file
// systems say they are full only when asked to sync.
std::optional<QString> WriteError(QSaveFile& file, const QByteArray& bytes) {
#ifdef _WIN32
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        return file.errorString();
    }
#else
    const int fd = file.handle();
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (wrote > 0) {
            done += wrote;
        } else if (wrote == 0 || errno != EINTR) {
            return qt_error_string(wrote == 0 ? EIO : errno);
        }
    }
    if (::fsync(fd) != 0) {
        return qt_error_string(errno);
    }
#endif
    return std::nullopt;
}

}  // namespace

SaveResult SaveBytes(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) {
        return Failed(QStringLiteral("no file name given"));
    }
    QString target = path;
    for (int links = 0; QFileInfo(target).isSymbolicLink(); ++links) {
        if (links == MaxLinks) {
            return Failed(QStringLiteral("too many symbolic links"));
        }
        target = QFileInfo(target).symLinkTarget();
    }
    const QFileInfo existing(target);
    if (existing.exists() && !existing.isFile()) {
        return Failed(target + QStringLiteral(" is not a regular file"));
    }
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        return Failed(file.errorString());
    }
    if (const std::optional<QString> error = WriteError(file, bytes)) {
        return Failed(*error);  // the unfinished copy goes with file
    }
    if (!file.commit()) {
        return Failed(file.errorString());
    }
    return {};
}

}  // namespace lyrics
