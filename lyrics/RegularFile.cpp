#include "lyrics/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#endif

namespace lyrics {

namespace {

// Reads in pieces rather than trusting the size the file had when it was opened.
std::optional<QByteArray> ReadAll(QFile& file, qint64 maxSize) {
    if (file.size() > maxSize) {
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.reserve(file.size() + 1);
    constexpr qint64 Piece = 64 * 1024;
    for (;;) {
        const qsizetype had = bytes.size();
        bytes.resize(had + Piece);
        const qint64 got = file.read(bytes.data() + had, Piece);
        if (got < 0) {
            return std::nullopt;
        }
        bytes.resize(had + got);
        if (got == 0) {
            return bytes;
        }
        if (bytes.size() > maxSize) {
            return std::nullopt;
        }
    }
}

}  // namespace

#ifdef _WIN32

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxSize) {
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return ReadAll(file, maxSize);
}

#else

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxSize) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    const QByteArray name = QFile::encodeName(path);
    // Checked before opening: opening some devices does something by itself.
    struct stat st {};
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    // Non-blocking, so that a FIFO swapped in after the check cannot hold the open.
    int fd;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return std::nullopt;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    return ReadAll(file, maxSize);
}

#endif

}  // namespace lyrics
