#include "WindowWire.h"

#include <QFileInfo>

#include "LocalWindow.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#endif

namespace platform::wire {

namespace {

void Put32(unsigned char* out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<unsigned char>(v >> (8 * i));
    }
}

void Put64(unsigned char* out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<unsigned char>(v >> (8 * i));
    }
}

std::uint32_t Get32(const unsigned char* in) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | in[i];
    }
    return v;
}

std::uint64_t Get64(const unsigned char* in) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) {
        v = (v << 8) | in[i];
    }
    return v;
}

}  // namespace

void Encode(const Frame& frame, unsigned char* out) {
    Put32(out, Magic);
    Put32(out + 4, static_cast<std::uint32_t>(frame.Kind));
    Put32(out + 8, frame.Seq);
    Put32(out + 12, frame.Msg);
    Put64(out + 16, frame.WParam);
    Put64(out + 24, static_cast<std::uint64_t>(frame.LParam));
}

QByteArray Encode(const Frame& frame) {
    QByteArray bytes(static_cast<qsizetype>(FrameSize), '\0');
    Encode(frame, reinterpret_cast<unsigned char*>(bytes.data()));
    return bytes;
}

std::optional<Frame> Decode(const unsigned char* in) {
    if (Get32(in) != Magic) {
        return std::nullopt;
    }
    const std::uint32_t kind = Get32(in + 4);
    if (kind < static_cast<std::uint32_t>(FrameKind::Send) ||
        kind > static_cast<std::uint32_t>(FrameKind::Answer)) {
        return std::nullopt;
    }
    Frame frame;
    frame.Kind = static_cast<FrameKind>(kind);
    frame.Seq = Get32(in + 8);
    frame.Msg = Get32(in + 12);
    frame.WParam = Get64(in + 16);
    frame.LParam = static_cast<std::int64_t>(Get64(in + 24));
    return frame;
}

QString SocketPath(HWND window) {
    const QString folder = RuntimeFolder();
    if (folder.isEmpty() || window == 0) {
        return {};
    }
    return folder + QLatin1Char('/') + QString::fromLatin1(EntryTarget(window));
}

QString ClassEntryPath(const QByteArray& className) {
    const QString folder = RuntimeFolder();
    if (folder.isEmpty()) {
        return {};
    }
    return folder + QStringLiteral("/c-") + QString::fromLatin1(className.toHex());
}

QByteArray EntryTarget(HWND window) {
    return "h" + QByteArray::number(window);
}

HWND HandleFromEntryTarget(const QByteArray& target) {
    if (target.size() < 2 || target.size() > 11 || target[0] != 'h') {
        return 0;
    }
    bool ok = false;
    const qulonglong value = target.mid(1).toULongLong(&ok);
    if (!ok || value == 0 || value > 0x7fffffffULL) {
        return 0;
    }
    return static_cast<HWND>(value);
}

}  // namespace platform::wire

namespace platform {

#ifdef _WIN32

// Windows delivers messages itself; there is no socket folder.
QString RuntimeFolder() {
    return {};
}

QString RuntimeFolderProblem() {
    return {};
}

#else

namespace {

// The longest name put in the folder as a socket: "h" and up to ten digits.
constexpr std::size_t LongestSocketName = 11;

bool FitsSocketPath(const QByteArray& folder) {
    return static_cast<std::size_t>(folder.size()) + 1 + LongestSocketName <
           sizeof(sockaddr_un{}.sun_path);
}

QString Reason(const QByteArray& folder, const QString& why) {
    return QStringLiteral("%1 %2").arg(QString::fromLocal8Bit(folder), why);
}

QString SystemReason(const QByteArray& folder, const char* what, int error) {
    return Reason(folder, QStringLiteral("%1: %2").arg(
                              QLatin1String(what), QString::fromLocal8Bit(std::strerror(error))));
}

// Creates folder when missing and answers why it cannot be kept to this user alone (empty
// when it can). A folder of another user (or a symlink planted in its place) is refused;
// our own with loose permissions is tightened.
QString PrivateFolderProblem(const QByteArray& folder) {
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) {
        return SystemReason(folder, "cannot be created", errno);
    }
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return errno == ELOOP || errno == ENOTDIR
                   ? Reason(folder, QStringLiteral("is a symbolic link or a file, not a folder"))
                   : SystemReason(folder, "cannot be opened", errno);
    }
    QString problem;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode)) {
        problem = Reason(folder, QStringLiteral("is not a folder"));
    } else if (st.st_uid != ::getuid()) {
        problem = Reason(folder, QStringLiteral("belongs to another user (uid %1)").arg(st.st_uid));
    } else if ((st.st_mode & 07777) != 0700 && ::fchmod(fd, 0700) != 0) {
        problem = SystemReason(folder, "cannot be made private to its owner", errno);
    }
    ::close(fd);
    return problem;
}

// The runtime folder, made ready; or empty and, in problem, why.
QString UsableRuntimeFolder(QString* problem) {
    QByteArray folder;
    QByteArray base = qgetenv("XDG_RUNTIME_DIR");
    while (base.size() > 1 && base.endsWith('/')) {
        base.chop(1);
    }
    if (!base.isEmpty() && QFileInfo(QString::fromLocal8Bit(base)).isDir()) {
        folder = base + "/cantorix";
    }
    if (folder.isEmpty() || !FitsSocketPath(folder)) {
        folder = "/tmp/cantorix-" + QByteArray::number(::getuid());
    }
    const QString why = PrivateFolderProblem(folder);
    if (problem != nullptr) {
        *problem = why;
    }
    return why.isEmpty() ? QString::fromLocal8Bit(folder) : QString();
}

}  // namespace

QString RuntimeFolder() {
    return UsableRuntimeFolder(nullptr);
}

QString RuntimeFolderProblem() {
    QString problem;
    UsableRuntimeFolder(&problem);
    return problem;
}

#endif

}  // namespace platform
