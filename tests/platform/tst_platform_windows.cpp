// Window messages: in-process windows, and windows served by other processes over local
// sockets. The test binary doubles as the serving and the client program: started with
// "--serve CLASS" it serves a window, with "--client CLASS" it sends and posts to one.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/LocalWindow.h"
#include "platform/Win32.h"
#include "platform/WindowWire.h"
#include "support/WindowProcess.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace platform;

namespace {

// What the serving program understands.
enum : UINT {
    Accumulate = 1,   // posted: acc = acc * 31 + wParam, count + 1; sent: ignored
    Accumulated = 2,  // send: acc
    Counted = 3,      // send: count
    Echo = 10,        // send: wParam * 3 + lParam
    Sleep = 11,       // send: sleeps lParam ms, answers wParam
    Quit = 99,
};

constexpr const char* ServedClass = "Cantorix Test Window";

LRESULT EchoOf(WPARAM wParam, LPARAM lParam) {
    return static_cast<LRESULT>(static_cast<std::uint64_t>(wParam) * 3u +
                                static_cast<std::uint64_t>(lParam));
}

int ServeMain(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::uint32_t acc = 0;
    LRESULT count = 0;
    LocalWindow window(
        QString::fromLocal8Bit(argv[2]),
        [&](const Message& m) -> LRESULT {
            if (m.msg == Accumulate && m.posted) {
                acc = acc * 31u + static_cast<std::uint32_t>(m.wParam);
                ++count;
            } else if (m.msg == Sleep) {
                QThread::msleep(static_cast<unsigned long>(m.lParam));
            } else if (m.msg == Quit) {
                app.quit();
            }
            return m.msg == Echo          ? EchoOf(m.wParam, m.lParam)
                   : m.msg == Sleep       ? static_cast<LRESULT>(m.wParam)
                   : m.msg == Accumulated ? LRESULT(acc)
                   : m.msg == Counted     ? count
                                          : 0;
        },
        LocalWindow::Scope::System);
    if (!window.IsOpen()) {
        std::fprintf(stderr, "cannot serve: %s\n", qPrintable(window.ErrorString()));
        return 2;
    }
    return app.exec();
}

// 300 sends, then 50 posts made just before exiting: they must still arrive.
int ClientMain(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const HWND window = FindWindowA(argv[2], nullptr);
    for (int i = 0; i < 300; ++i) {
        if (SendMessageA(window, Echo, static_cast<WPARAM>(i), 7) != EchoOf(i, 7)) {
            return 1;
        }
    }
    for (int i = 0; i < 50; ++i) {
        PostMessageA(window, Accumulate, 0, 0);
    }
    return 0;
}

QString SelfPath() {
    return QCoreApplication::applicationFilePath();
}

// A handle that no window uses.
HWND UnusedHandle() {
    for (;;) {
        const auto h = static_cast<HWND>(QRandomGenerator::global()->bounded(1, 0x7fffffff));
        if (!QFileInfo::exists(wire::SocketPath(h))) {
            return h;
        }
    }
}

sockaddr_un Address(HWND window) {
    const QByteArray p = QFile::encodeName(wire::SocketPath(window));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, p.constData(), static_cast<std::size_t>(p.size()));
    return address;
}

// True when the peer closes fd within timeoutMs (reading and discarding what comes).
bool ClosedByPeer(int fd, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    char buffer[256];
    while (clock.elapsed() < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0 && ::recv(fd, buffer, sizeof(buffer), 0) <= 0) {
            return true;
        }
    }
    return false;
}

// Stops a serving process: politely first, then for good.
void StopServer(QProcess& process, HWND window) {
    PostMessageA(window, Quit, 0, 0);
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

}  // namespace

class TestWindows : public QObject {
    Q_OBJECT

    QProcess server;
    HWND served = 0;

  private slots:
    void initTestCase() {
        served = testsupport::StartWindowProcess(server, SelfPath(), {"--serve", ServedClass},
                                                 ServedClass);
        QVERIFY(served != 0);
    }

    void cleanupTestCase() { StopServer(server, served); }

    void runtimeFolderIsPrivate_data() {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<bool>("underXdg");
        QTest::addColumn<bool>("usable");
        QTest::newRow("fresh") << "fresh" << true << true;
        QTest::newRow("loose mode is tightened") << "loose" << true << true;
        QTest::newRow("a symlink is refused") << "symlink" << true << false;
        QTest::newRow("no XDG_RUNTIME_DIR") << "unset" << false << true;
        QTest::newRow("socket path too long") << "long" << false << true;
    }
    void runtimeFolderIsPrivate() {
        QFETCH(QString, setUp);
        QFETCH(bool, underXdg);
        QFETCH(bool, usable);
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", saved); });
        QTemporaryDir base(QDir::tempPath() + "/cxr-XXXXXX");
        QString xdg = base.path();
        const QString target = xdg + "/cantorix";
        if (setUp == "loose") {
            QVERIFY(::mkdir(QFile::encodeName(target).constData(), 0755) == 0);
        } else if (setUp == "symlink") {
            QVERIFY(QDir(xdg).mkdir("elsewhere"));
            QVERIFY(QFile::link(xdg + "/elsewhere", target));
        } else if (setUp == "long") {
            xdg += "/" + QString(100, 'x');
            QVERIFY(QDir().mkpath(xdg));
        }
        if (setUp == "unset") {
            qunsetenv("XDG_RUNTIME_DIR");
        } else {
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(xdg));
        }

        const QString folder = RuntimeFolder();
        if (!usable) {
            QCOMPARE(folder, QString());
            QCOMPARE(FindWindowA(ServedClass, nullptr), HWND(0));
            LocalWindow refused(
                "Cantorix Test Refused", [](const Message&) { return 1; },
                LocalWindow::Scope::System);
            QVERIFY(!refused.IsOpen());
            return;
        }
        QCOMPARE(folder, underXdg ? target : QString("/tmp/cantorix-%1").arg(::getuid()));
        struct stat st {};
        QVERIFY(::lstat(QFile::encodeName(folder).constData(), &st) == 0);
        QVERIFY(S_ISDIR(st.st_mode));
        QCOMPARE(st.st_mode & 07777, mode_t(0700));
        QCOMPARE(st.st_uid, ::getuid());
    }

    void windowsOfThisProcess_data() {
        QTest::addColumn<bool>("system");
        QTest::newRow("process scope") << false;
        QTest::newRow("system scope") << true;
    }
    // Messages reach the handler at once from the window's own thread, and in order from
    // another thread too (on the window's thread for a system window). The newest window
    // of a class is found; closing an older one keeps it; a closed window answers nothing.
    void windowsOfThisProcess() {
        QFETCH(bool, system);
        const auto scope = system ? LocalWindow::Scope::System : LocalWindow::Scope::Process;
        QThread* const mainThread = QThread::currentThread();
        QList<QPair<UINT, bool>> seen;
        bool onWindowThread = true;
        auto handler = [&](const Message& m) -> LRESULT {
            seen.append({m.msg, m.posted});
            onWindowThread = onWindowThread && QThread::currentThread() == mainThread;
            return static_cast<LRESULT>(m.wParam) + 1;
        };
        auto older = std::make_unique<LocalWindow>("Cantorix Test Here", handler, scope);
        auto window = std::make_unique<LocalWindow>("Cantorix Test Here", handler, scope);
        const HWND h = window->Handle();
        QVERIFY(h != 0 && h <= 0x7fffffff && h != older->Handle());
        older.reset();
        QCOMPARE(FindWindowA("Cantorix Test Here", nullptr), h);
        const QString entry = wire::ClassEntryPath("Cantorix Test Here");
        QCOMPARE(QFile::symLinkTarget(entry), system ? wire::SocketPath(h) : QString());

        QVERIFY(PostMessageA(h, 1, 0, 0));
        QCOMPARE(seen.size(), 1);  // delivered before PostMessageA returned
        QCOMPARE(SendMessageA(h, 2, 1, 0), LRESULT(2));
        std::atomic<bool> done{false};
        LRESULT fromThread = -1;
        std::thread client([&] {
            PostMessageA(h, 3, 0, 0);
            fromThread = SendMessageA(h, 4, 41, 0);
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done.load(), 5000);
        client.join();
        QCOMPARE(fromThread, LRESULT(42));
        QCOMPARE(seen, (QList<QPair<UINT, bool>>{{1, true}, {2, false}, {3, true}, {4, false}}));
        QVERIFY(onWindowThread || !system);

        window.reset();
        QCOMPARE(FindWindowA("Cantorix Test Here", nullptr), HWND(0));
        QVERIFY(!QFileInfo::exists(wire::SocketPath(h)));
        QVERIFY(!QFileInfo(entry).isSymLink());
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(SendMessageA(h, 2, 1, 0), LRESULT(0));
        QVERIFY(!PostMessageA(h, 2, 0, 0));
        QVERIFY2(clock.elapsed() < 450, "a dead window must not be waited for");
        QCOMPARE(seen.size(), 4);
    }

    void deadHandlesAnswerNothing() {
        for (const HWND h : {HWND(0), UnusedHandle()}) {
            QElapsedTimer clock;
            clock.start();
            QCOMPARE(SendMessageA(h, Echo, 1, 2), LRESULT(0));
            QVERIFY(!PostMessageA(h, Echo, 1, 2));
            QVERIFY(clock.elapsed() < 450);
        }
    }

    // Sends answer across processes whatever the width and sign of the parameters; posts are
    // handled before a later send, in the order made, and marked as posts.
    void betweenProcesses() {
        QCOMPARE(FindWindowA(ServedClass, nullptr), served);
        const std::pair<WPARAM, LPARAM> values[] = {
            {1, -1000}, {0x123456789abcULL, 0x7fffffff}, {0xffffffffu, -1}};
        for (const auto& [wParam, lParam] : values) {
            QCOMPARE(SendMessageA(served, Echo, wParam, lParam), EchoOf(wParam, lParam));
        }
        std::uint32_t expected = std::uint32_t(SendMessageA(served, Accumulated, 0, 0));
        SendMessageA(served, Accumulate, 5, 0);
        for (WPARAM i = 1; i <= 300; ++i) {
            QVERIFY(PostMessageA(served, Accumulate, i, 0));
            expected = expected * 31u + std::uint32_t(i);
            if (i % 100 == 0) {  // also lets the window catch up: a full queue loses posts
                QCOMPARE(SendMessageA(served, Accumulated, 0, 0), LRESULT(expected));
            }
        }
    }

    void clientsInOtherProcessesAndThreads() {
        const LRESULT before = SendMessageA(served, Counted, 0, 0);
        QProcess first, second;
        for (QProcess* p : {&first, &second}) {
            p->setProcessChannelMode(QProcess::ForwardedChannels);
            p->start(SelfPath(), {"--client", ServedClass});
        }
        std::atomic<int> wrong{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([t, &wrong, this] {
                for (int i = 0; i < 200; ++i) {
                    const LPARAM l = t * 1000 + i;
                    wrong += SendMessageA(served, Echo, WPARAM(i), l) != EchoOf(i, l);
                }
            });
        }
        for (auto& t : threads) {
            t.join();
        }
        QCOMPARE(wrong.load(), 0);
        for (QProcess* p : {&first, &second}) {
            QVERIFY(p->waitForFinished(20000));
            QCOMPARE(p->exitCode(), 0);
        }
        QCOMPARE(SendMessageA(served, Counted, 0, 0), before + 100);
    }

    void slowHandlerTimesOutThenRecovers() {
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(SendMessageA(served, Sleep, 42, 900), LRESULT(0));
        const qint64 waited = clock.elapsed();
        QVERIFY2(waited >= 400 && waited < 2000, qPrintable(QString::number(waited)));
        // The late answer must not be taken for the answer to a later send.
        QTRY_COMPARE_WITH_TIMEOUT(SendMessageA(served, Echo, 2, 1), EchoOf(2, 1), 5000);
        QCOMPARE(SendMessageA(served, Echo, 3, 1), EchoOf(3, 1));
    }

    // Nobody reads this window, so its socket fills up; posts are then lost, not waited on.
    void postsNeverBlock() {
        const HWND deaf = UnusedHandle();
        const sockaddr_un address = Address(deaf);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        auto cleanUp = qScopeGuard([&] {
            ::close(fd);
            QFile::remove(wire::SocketPath(deaf));
        });
        QVERIFY(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0);
        QVERIFY(::listen(fd, 1) == 0);
        QElapsedTimer clock;
        clock.start();
        int handedOver = 0;
        while (handedOver < 200000 && PostMessageA(deaf, Accumulate, 0, 0)) {
            ++handedOver;
        }
        QVERIFY(handedOver > 0 && handedOver < 200000);
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    }

    // A client that sends what is not a frame is dropped; the window serves on.
    void malformedBytesDropOnlyThatClient_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("serverHangsUp");
        QTest::newRow("text") << QByteArray("GET / HTTP/1.0\r\n\r\nmore text to fill a frame")
                              << true;
        QTest::newRow("an answer sent to the window")
            << wire::Encode({wire::Kind::Answer, 1, Echo, 1, 1}) << true;
        QTest::newRow("short frame: waits for the rest")
            << wire::Encode({wire::Kind::Send, 1, Echo, 1, 1}).left(10) << false;
    }
    void malformedBytesDropOnlyThatClient() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, serverHangsUp);
        const sockaddr_un address = Address(served);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        auto closeFd = qScopeGuard([fd] { ::close(fd); });
        QVERIFY(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0);
        QCOMPARE(::send(fd, bytes.constData(), std::size_t(bytes.size()), MSG_NOSIGNAL),
                 ssize_t(bytes.size()));
        QCOMPARE(ClosedByPeer(fd, serverHangsUp ? 3000 : 300), serverHangsUp);
        QCOMPARE(SendMessageA(served, Echo, 4, 4), EchoOf(4, 4));
        QCOMPARE(server.state(), QProcess::Running);
    }

    // A server that dies leaves its socket behind, but its handle answers nothing and the
    // class finds the next server; one that ends normally takes its socket with it.
    void killedServerLeavesADeadHandle() {
        const char* cls = "Cantorix Test Restart";
        QProcess first;
        const HWND old = testsupport::StartWindowProcess(first, SelfPath(), {"--serve", cls}, cls);
        QVERIFY(old != 0);
        QCOMPARE(SendMessageA(old, Echo, 1, 1), EchoOf(1, 1));  // leaves a cached connection
        first.kill();
        QVERIFY(first.waitForFinished(5000));
        auto removeOld = qScopeGuard([old] { QFile::remove(wire::SocketPath(old)); });
        QVERIFY(QFileInfo::exists(wire::SocketPath(old)));
        QCOMPARE(FindWindowA(cls, nullptr), HWND(0));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(SendMessageA(old, Echo, 1, 1), LRESULT(0));
        QVERIFY(!PostMessageA(old, Accumulate, 0, 0));
        QVERIFY(clock.elapsed() < 450);

        QProcess second;
        const HWND renewed =
            testsupport::StartWindowProcess(second, SelfPath(), {"--serve", cls}, cls);
        QVERIFY(renewed != 0 && renewed != old);
        QCOMPARE(SendMessageA(old, Echo, 1, 1), LRESULT(0));
        QCOMPARE(SendMessageA(renewed, Echo, 1, 1), EchoOf(1, 1));
        StopServer(second, renewed);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(wire::SocketPath(renewed)));
        QVERIFY(!QFileInfo(wire::ClassEntryPath(cls)).isSymLink());
        QCOMPARE(SendMessageA(renewed, Echo, 1, 1), LRESULT(0));
    }
};

int main(int argc, char** argv) {
    if (argc >= 3 && qstrcmp(argv[1], "--serve") == 0) {
        return ServeMain(argc, argv);
    }
    if (argc >= 3 && qstrcmp(argv[1], "--client") == 0) {
        return ClientMain(argc, argv);
    }
    QCoreApplication app(argc, argv);
    TestWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_platform_windows.moc"
