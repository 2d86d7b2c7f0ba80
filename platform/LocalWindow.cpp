#include "LocalWindow.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>

#include "WindowRegistry.h"

#ifndef _WIN32
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSet>
#include <cerrno>
#include <ctime>

#include "SocketClient.h"
#include "WindowWire.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

#ifndef _WIN32
// A handle is free when no socket of any process uses its name.
bool NoSocketFile(HWND window) {
    const QString path = wire::SocketPath(window);
    struct stat st {};
    return path.isEmpty() ||
           (::lstat(QFile::encodeName(path).constData(), &st) != 0 && errno == ENOENT);
}

// A server killed hard leaves its socket file behind, and every later crash adds one. Those
// that nothing listens on go, and so do class entries left naming a socket that is gone. A
// socket file made a moment ago may belong to a server between bind() and listen(); the
// next start judges it.
void RemoveDeadSockets(const QByteArray& folder) {
    DIR* dir = ::opendir(folder.constData());
    if (dir == nullptr) {
        return;
    }
    QList<QByteArray> entries;
    while (const dirent* entry = ::readdir(dir)) {
        entries.append(QByteArray(entry->d_name));
    }
    ::closedir(dir);
    const time_t settled = ::time(nullptr) - 2;
    for (const QByteArray& name : entries) {
        const QByteArray path = folder + '/' + name;
        struct stat st {};
        const HWND window = wire::HandleFromEntryTarget(name);
        if (window != 0 && ::lstat(path.constData(), &st) == 0 && S_ISSOCK(st.st_mode) &&
            st.st_mtime < settled && !socketclient::IsLive(window)) {
            ::unlink(path.constData());
        }
    }
    for (const QByteArray& name : entries) {
        const QByteArray path = folder + '/' + name;
        char target[64];
        const ssize_t n =
            name.startsWith("c-") ? ::readlink(path.constData(), target, sizeof target) : -1;
        struct stat st {};
        if (n > 0 && n < ssize_t(sizeof target) &&
            ::lstat((folder + '/' + QByteArray(target, int(n))).constData(), &st) != 0 &&
            errno == ENOENT) {
            ::unlink(path.constData());
        }
    }
}
#endif

}  // namespace

class LocalWindow::Impl : public QObject {
  public:
    Impl(const QString& name, MessageHandler handlerFunction, Scope scope)
        : className(name.toUtf8()),
          handler(std::make_shared<const MessageHandler>(std::move(handlerFunction))) {
        if (className.isEmpty() || !*handler) {
            error = QStringLiteral("A window needs a class name and a handler.");
            return;
        }
        if (scope == Scope::Process) {
#ifdef _WIN32
            handle = registry::NewHandle(nullptr);
#else
            handle = registry::NewHandle(&NoSocketFile);
#endif
            registry::Add({handle, className, handler, nullptr});
            return;
        }
#ifdef _WIN32
        error = QStringLiteral("Windows serves its own windows; a socket window is not needed.");
#else
        OpenSocketWindow();
#endif
    }

    ~Impl() override {
        if (handle == 0) {
            return;
        }
        registry::Remove(handle);
#ifndef _WIN32
        if (server != nullptr) {
            WithdrawClassEntry();
            server->close();  // removes the socket file
            delete server;
        }
#endif
    }

    QByteArray className;
    std::shared_ptr<const MessageHandler> handler;
    HWND handle = 0;
    QString error;

#ifndef _WIN32
  private:
    QLocalServer* server = nullptr;
    QString entryPath;
    QSet<QLocalSocket*> busy;

    void OpenSocketWindow() {
        if (QCoreApplication::instance() == nullptr) {
            error = QStringLiteral("A socket window needs a running application object.");
            return;
        }
        entryPath = wire::ClassEntryPath(className);
        if (entryPath.isEmpty()) {
            error = QStringLiteral("There is no private runtime folder for window sockets: %1.")
                        .arg(RuntimeFolderProblem());
            return;
        }
        RemoveDeadSockets(QFile::encodeName(RuntimeFolder()));
        HWND candidate = 0;
        for (int attempt = 0; attempt < 16 && server == nullptr; ++attempt) {
            candidate = registry::NewHandle(&NoSocketFile);
            auto* s = new QLocalServer(this);
            if (s->listen(wire::SocketPath(candidate))) {
                server = s;
                break;
            }
            error = s->errorString();
            const bool taken = s->serverError() == QAbstractSocket::AddressInUseError;
            delete s;
            if (!taken) {
                return;
            }
        }
        if (server == nullptr) {
            return;
        }
        connect(server, &QLocalServer::newConnection, this, &Impl::Accept);
        handle = candidate;
        if (!PublishClassEntry()) {
            error = QStringLiteral("Cannot publish the window class entry %1.").arg(entryPath);
            server->close();
            delete server;
            server = nullptr;
            handle = 0;
            return;
        }
        error.clear();
        registry::Add({handle, className, handler, QThread::currentThread()});
    }

    // The class entry is a symlink to the socket's name, replaced in one rename() so a
    // finder sees either the old window or the new one, never nothing.
    bool PublishClassEntry() {
        const QByteArray entry = QFile::encodeName(entryPath);
        const QByteArray temp = entry + ".new" + QByteArray::number(handle);
        ::unlink(temp.constData());
        if (::symlink(wire::EntryTarget(handle).constData(), temp.constData()) != 0) {
            return false;
        }
        if (::rename(temp.constData(), entry.constData()) != 0) {
            ::unlink(temp.constData());
            return false;
        }
        return true;
    }

    // Only our own entry goes; a newer server of the class may have replaced it.
    void WithdrawClassEntry() {
        const QByteArray entry = QFile::encodeName(entryPath);
        char target[64];
        const ssize_t n = ::readlink(entry.constData(), target, sizeof(target));
        if (n > 0 && QByteArray(target, static_cast<int>(n)) == wire::EntryTarget(handle)) {
            ::unlink(entry.constData());
        }
    }

    void Accept() {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Serve(socket); });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (socket->bytesAvailable() > 0) {
                Serve(socket);
            }
        }
    }

    // Handles the whole frames a connection has sent, in order. A handler that runs a
    // nested event loop (a dialog) may see readyRead again; the outer call goes on with
    // the frames once the handler returns.
    void Serve(QLocalSocket* socket) {
        if (busy.contains(socket)) {
            return;
        }
        busy.insert(socket);
        const QPointer<Impl> self(this);
        const QPointer<QLocalSocket> connection(socket);
        const auto handlerNow = handler;
        while (connection && connection->bytesAvailable() >= qint64(wire::FrameSize)) {
            unsigned char bytes[wire::FrameSize];
            connection->read(reinterpret_cast<char*>(bytes), qint64(wire::FrameSize));
            const auto frame = wire::Decode(bytes);
            if (!frame || frame->Kind == wire::FrameKind::Answer) {
                connection->abort();  // not one of ours: drop this client only
                break;
            }
            const bool posted = frame->Kind == wire::FrameKind::Post;
            const LRESULT result =
                (*handlerNow)(Message{frame->Msg, static_cast<WPARAM>(frame->WParam),
                                      static_cast<LPARAM>(frame->LParam), posted});
            if (!self) {
                return;  // the handler closed this window
            }
            if (!posted && connection && connection->state() == QLocalSocket::ConnectedState) {
                if (connection->bytesToWrite() >= wire::MaxUnreadAnswerBytes) {
                    connection->abort();  // sends and never reads: drop it before it eats memory
                    break;
                }
                connection->write(wire::Encode({wire::FrameKind::Answer, frame->Seq, 0, 0,
                                                static_cast<std::int64_t>(result)}));
                connection->flush();
            }
        }
        busy.remove(socket);
    }
#endif
};

LocalWindow::LocalWindow(const QString& className, MessageHandler handler, Scope scope)
    : impl(std::make_unique<Impl>(className, std::move(handler), scope)) {}

LocalWindow::~LocalWindow() = default;

bool LocalWindow::IsOpen() const {
    return impl->handle != 0;
}

HWND LocalWindow::Handle() const {
    return impl->handle;
}

QString LocalWindow::ErrorString() const {
    return impl->error;
}

}  // namespace platform
