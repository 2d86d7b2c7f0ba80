#include "SocketClient.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>

#include "WindowWire.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::socketclient {

namespace {

using Clock = std::chrono::steady_clock;

enum class Io { Done, Broken, TimedOut };

std::optional<sockaddr_un> AddressOf(HWND window) {
    const QByteArray path = QFile::encodeName(wire::SocketPath(window));
    sockaddr_un address{};
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof(address.sun_path)) {
        return std::nullopt;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return address;
}

int NewSocket() {
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

int ConnectTo(const sockaddr_un& address, int fd) {
    int rc;
    do {
        rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    } while (rc != 0 && errno == EINTR);
    return rc == 0 ? 0 : errno;
}

// A connected non-blocking socket, or -1. A listener whose backlog is full answers EAGAIN;
// with a deadline we keep trying until it, without one we give up at once.
int Connect(HWND window, std::optional<Clock::time_point> deadline) {
    const auto address = AddressOf(window);
    if (!address) {
        return -1;
    }
    for (;;) {
        const int fd = NewSocket();
        if (fd < 0) {
            return -1;
        }
        const int err = ConnectTo(*address, fd);
        if (err == 0) {
            return fd;
        }
        ::close(fd);
        if (err != EAGAIN || !deadline || Clock::now() >= *deadline) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// Waits for events on fd until deadline. False on timeout.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return false;
        }
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, static_cast<int>(left));
        if (rc > 0) {
            return true;
        }
        if (rc < 0 && errno != EINTR) {
            return true;  // let the following read or write report the error
        }
    }
}

Io WriteAll(int fd, const unsigned char* data, std::size_t size, Clock::time_point deadline) {
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd, POLLOUT, deadline)) {
                return Io::TimedOut;
            }
        } else {
            return Io::Broken;
        }
    }
    return Io::Done;
}

// True when the window has closed its end of a cached connection.
bool PeerGone(int fd) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0) {
        return false;
    }
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) {
        return true;
    }
    char byte;
    return ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

// One connection per window and process, so that everything sent to a window from here
// arrives in the order it was made.
struct Connection {
    std::timed_mutex mutex;
    int fd = -1;
    std::uint32_t lastSeq = 0;
    // What has arrived of the frame being read; a frame cut short by a timeout is finished
    // by a later read, so the stream stays in step.
    unsigned char inbox[wire::FrameSize];
    std::size_t inboxSize = 0;
    // A send timed out and nothing has come from the window since: it is taken for hung, as
    // Windows takes a window that stopped reading its messages, and sends answer 0 at once.
    bool hung = false;

    ~Connection() { Drop(); }
    void Drop() {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
        inboxSize = 0;
        hung = false;
    }
    std::uint32_t NextSeq() {
        if (++lastSeq == 0) {
            ++lastSeq;
        }
        return lastSeq;
    }

    // The next whole frame from the window, waiting for it until deadline (a deadline
    // already past only takes what has arrived).
    Io ReadFrame(wire::Frame& frame, Clock::time_point deadline) {
        while (inboxSize < wire::FrameSize) {
            const ssize_t n =
                ::recv(fd, inbox + inboxSize, wire::FrameSize - inboxSize, MSG_DONTWAIT);
            if (n > 0) {
                inboxSize += static_cast<std::size_t>(n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                if (!WaitFor(fd, POLLIN, deadline)) {
                    return Io::TimedOut;
                }
            } else {
                return Io::Broken;  // closed by the window, or an error
            }
        }
        inboxSize = 0;
        const auto decoded = wire::Decode(inbox);
        if (!decoded || decoded->Kind != wire::FrameKind::Answer) {
            return Io::Broken;
        }
        frame = *decoded;
        return Io::Done;
    }

    // Whether a hung window has answered since, found without waiting: any answer (the
    // late one to the send that timed out) shows that it reads its messages again.
    bool StillHung() {
        wire::Frame late;
        for (;;) {
            const Io io = ReadFrame(late, Clock::now());
            if (io == Io::TimedOut) {
                return hung;
            }
            if (io == Io::Broken) {
                Drop();
                return false;
            }
            hung = false;
        }
    }
};

struct Connections {
    std::mutex mutex;
    std::unordered_map<HWND, std::shared_ptr<Connection>> byWindow;

    std::shared_ptr<Connection> Get(HWND window) {
        std::lock_guard lock(mutex);
        auto& c = byWindow[window];
        if (!c) {
            c = std::make_shared<Connection>();
        }
        return c;
    }
    // Called when a window cannot be reached, so dead handles do not pile up.
    void Forget(HWND window, const std::shared_ptr<Connection>& c) {
        std::lock_guard lock(mutex);
        auto it = byWindow.find(window);
        if (it != byWindow.end() && it->second == c) {
            byWindow.erase(it);
        }
    }
};

Connections& Cache() {
    static Connections connections;
    return connections;
}

}  // namespace

bool IsLive(HWND window) {
    const auto address = AddressOf(window);
    if (!address) {
        return false;
    }
    const int fd = NewSocket();
    if (fd < 0) {
        return false;
    }
    const int err = ConnectTo(*address, fd);
    ::close(fd);
    return err == 0 || err == EAGAIN;  // EAGAIN: listening, only busy
}

HWND FindClass(const QByteArray& className) {
    const QString entry = wire::ClassEntryPath(className);
    if (entry.isEmpty()) {
        return 0;
    }
    const QByteArray path = QFile::encodeName(entry);
    char target[64];
    const ssize_t n = ::readlink(path.constData(), target, sizeof(target));
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof(target))) {
        return 0;
    }
    const HWND window = wire::HandleFromEntryTarget(QByteArray(target, static_cast<int>(n)));
    return window != 0 && IsLive(window) ? window : 0;
}

LRESULT Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, std::chrono::milliseconds wait) {
    const auto deadline = Clock::now() + wait;
    const auto conn = Cache().Get(window);
    std::unique_lock lock(conn->mutex, std::defer_lock);
    if (!lock.try_lock_until(deadline)) {
        return 0;
    }
    if (conn->hung && conn->StillHung()) {
        return 0;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (conn->fd >= 0 && PeerGone(conn->fd)) {
            conn->Drop();
        }
        const bool fresh = conn->fd < 0;
        if (fresh) {
            conn->fd = Connect(window, deadline);
            if (conn->fd < 0) {
                Cache().Forget(window, conn);
                return 0;
            }
        }
        const std::uint32_t seq = conn->NextSeq();
        unsigned char frame[wire::FrameSize];
        wire::Encode({wire::FrameKind::Send, seq, msg, static_cast<std::uint64_t>(wParam),
                      static_cast<std::int64_t>(lParam)},
                     frame);
        const Io written = WriteAll(conn->fd, frame, sizeof(frame), deadline);
        if (written == Io::Broken && !fresh) {
            conn->Drop();
            continue;  // the window closed a connection we kept; one new try
        }
        if (written != Io::Done) {
            conn->Drop();
            return 0;
        }
        for (;;) {
            wire::Frame answer;
            const Io read = conn->ReadFrame(answer, deadline);
            if (read == Io::TimedOut) {
                conn->hung = true;  // the answer may still come; a later send looks for it
                return 0;
            }
            if (read != Io::Done) {
                conn->Drop();
                return 0;
            }
            if (answer.Seq == seq) {
                return static_cast<LRESULT>(answer.LParam);
            }
        }
    }
    return 0;
}

bool Post(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto conn = Cache().Get(window);
    std::unique_lock lock(conn->mutex, std::defer_lock);
    if (!lock.try_lock_for(SendTimeout)) {
        return false;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (conn->fd >= 0 && PeerGone(conn->fd)) {
            conn->Drop();
        }
        const bool fresh = conn->fd < 0;
        if (fresh) {
            conn->fd = Connect(window, std::nullopt);
            if (conn->fd < 0) {
                Cache().Forget(window, conn);
                return false;
            }
        }
        unsigned char frame[wire::FrameSize];
        wire::Encode({wire::FrameKind::Post, conn->NextSeq(), msg,
                      static_cast<std::uint64_t>(wParam), static_cast<std::int64_t>(lParam)},
                     frame);
        ssize_t n;
        do {
            n = ::send(conn->fd, frame, sizeof(frame), MSG_NOSIGNAL | MSG_DONTWAIT);
        } while (n < 0 && errno == EINTR);
        if (n == static_cast<ssize_t>(sizeof(frame))) {
            return true;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return false;  // the window is not reading: the post is lost, as a full queue loses it
        }
        if (n < 0) {
            conn->Drop();
            if (fresh) {
                return false;
            }
            continue;
        }
        // Part of a frame is out; the rest must follow or the stream is out of step.
        const auto done = WriteAll(conn->fd, frame + n, sizeof(frame) - static_cast<std::size_t>(n),
                                   Clock::now() + SendTimeout);
        if (done == Io::Done) {
            return true;
        }
        conn->Drop();
        return false;
    }
    return false;
}

}  // namespace platform::socketclient
