// Window messages: windows of this process, and windows served by other processes over
// local sockets. Started with "--serve CLASS" the test binary serves a window itself.
// The programs send from their window thread only; so do these tests.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "platform/LocalWindow.h"
#include "platform/Win32.h"
#include "platform/WindowWire.h"
#include "support/WindowProcess.h"

#include <csignal>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

// What the serving program understands.
enum : UINT {
    Echo = 10,  // send: wParam * 3 + lParam
    Quit = 99,
};

constexpr const char* ServedClass = "Cantorix Test Window";

LRESULT EchoOf(WPARAM wParam, LPARAM lParam) {
    return LRESULT(std::uint64_t(wParam) * 3u + std::uint64_t(lParam));
}

int ServeMain(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    LocalWindow window(
        QString::fromLocal8Bit(argv[2]),
        [&](const Message& m) -> LRESULT {
            if (m.Msg == Quit) {
                app.quit();
            }
            return m.Msg == Echo ? EchoOf(m.WParam, m.LParam) : 0;
        },
        LocalWindow::Scope::System);
    return window.IsOpen() ? app.exec() : 2;
}

HWND Serve(QProcess& process, const char* className) {
    return testsupport::StartWindowProcess(process, QCoreApplication::applicationFilePath(),
                                           {"--serve", className}, className);
}

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
    void initTestCase() { QVERIFY((served = Serve(server, ServedClass)) != 0); }
    void cleanupTestCase() { StopServer(server, served); }

    // Only this user may reach the sockets: the folder is made 0700 (or tightened), a
    // symlink in its place is refused, and /tmp serves when the XDG folder is unusable.
    void runtimeFolderIsPrivate_data() {
        QTest::addColumn<QString>("folder");  // under the XDG folder, in /tmp, or none
        QTest::newRow("fresh") << "xdg";
        QTest::newRow("loose") << "xdg";  // tightened
        QTest::newRow("symlink") << "none";
        QTest::newRow("unset") << "tmp";
        QTest::newRow("long") << "tmp";  // no room for a socket path
    }
    void runtimeFolderIsPrivate() {
        const QString setUp = QTest::currentDataTag();
        QFETCH(QString, folder);
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", saved); });
        QTemporaryDir base(QDir::tempPath() + "/cxr-XXXXXX");
        const QString xdg = base.path() + (setUp == "long" ? "/" + QString(100, 'x') : "");
        const QString target = xdg + "/cantorix";
        QVERIFY(QDir().mkpath(xdg + "/elsewhere"));
        if (setUp == "loose") {
            QVERIFY(::mkdir(QFile::encodeName(target).constData(), 0755) == 0);
        } else if (setUp == "symlink") {
            QVERIFY(QFile::link(xdg + "/elsewhere", target));
        }
        setUp == "unset" ? qunsetenv("XDG_RUNTIME_DIR")
                         : qputenv("XDG_RUNTIME_DIR", QFile::encodeName(xdg));

        const QString found = RuntimeFolder();
        if (folder == "none") {
            QCOMPARE(found, QString());
            QCOMPARE(FindWindowA(ServedClass, nullptr), HWND(0));
            const LocalWindow refused(
                "Cantorix Test Refused", [](const Message&) { return LRESULT(0); },
                LocalWindow::Scope::System);
            QVERIFY(!refused.IsOpen());
            QVERIFY2(refused.ErrorString().contains(target + " is a symbolic link"),
                     qPrintable(refused.ErrorString()));
            return;
        }
        QCOMPARE(found, folder == "xdg" ? target : QString("/tmp/cantorix-%1").arg(::getuid()));
        struct stat st {};
        QVERIFY(::lstat(QFile::encodeName(found).constData(), &st) == 0 && S_ISDIR(st.st_mode));
        QCOMPARE(st.st_mode & 07777, mode_t(0700));
        QCOMPARE(st.st_uid, ::getuid());
    }

    // A window of this process: its own thread's messages reach the handler before the
    // call returns. The newest window of a class is found; a closed window answers nothing.
    void windowOfThisProcess() {
        QList<QPair<UINT, bool>> seen;
        auto handler = [&](const Message& m) -> LRESULT {
            seen.append({m.Msg, m.Posted});
            return LRESULT(m.WParam) + 1;
        };
        const auto system = LocalWindow::Scope::System;
        auto older = std::make_unique<LocalWindow>("Cantorix Test Here", handler, system);
        auto window = std::make_unique<LocalWindow>("Cantorix Test Here", handler, system);
        const HWND h = window->Handle();
        QVERIFY(h != 0 && h != older->Handle());
        older.reset();
        QCOMPARE(FindWindowA("Cantorix Test Here", nullptr), h);
        QVERIFY(PostMessageA(h, 1, 0, 0));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(SendMessageA(h, 2, 1, 0), LRESULT(2));
        QCOMPARE(seen, (QList<QPair<UINT, bool>>{{1, true}, {2, false}}));

        window.reset();
        QCOMPARE(FindWindowA("Cantorix Test Here", nullptr), HWND(0));
        QCOMPARE(SendMessageA(h, 2, 1, 0), LRESULT(0));
        QVERIFY(!PostMessageA(h, 2, 0, 0));
        QCOMPARE(seen.size(), 2);
    }

    // Sends answer across processes whatever the width and sign of the parameters. (Posts
    // handled in order before a later send: tst_winampsim_process and the end-to-end tests.)
    void betweenProcesses() {
        QCOMPARE(FindWindowA(ServedClass, nullptr), served);
        for (const auto& [wParam, lParam] : {std::pair<WPARAM, LPARAM>{1, -1000},
                                             {0x123456789abcULL, 0x7fffffff},
                                             {0xffffffffu, -1}}) {
            QCOMPARE(SendMessageA(served, Echo, wParam, lParam), EchoOf(wParam, lParam));
        }
    }

    // A window whose process stops costs one send that gives up after 500 ms; until it
    // reads its messages again, sends to it answer 0 at once. A server killed hard leaves its
    // socket, but its handle answers nothing at once, as a zero handle does; the next server to
    // start removes that socket and its class entry, and spares the stopped server's.
    void hungAndDeadWindows() {
        const char *deadClass = "Cantorix Test Dead", *hungClass = "Cantorix Test Hung";
        QProcess killed, stopped, next;
        const HWND dead = Serve(killed, deadClass), hung = Serve(stopped, hungClass);
        QVERIFY(dead != 0 && hung != 0);
        QCOMPARE(SendMessageA(dead, Echo, 1, 1), EchoOf(1, 1));  // leaves a cached connection
        const auto pid = pid_t(stopped.processId());
        auto resume = qScopeGuard([&] {
            ::kill(pid, SIGCONT);
            StopServer(stopped, hung);
        });
        QVERIFY(::kill(pid, SIGSTOP) == 0);
        killed.kill();
        QVERIFY(killed.waitForFinished(5000));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(SendMessageA(hung, Echo, 2, 2), LRESULT(0));
        QVERIFY2(clock.elapsed() >= 400 && clock.elapsed() < 2000,
                 qPrintable(QString::number(clock.elapsed())));
        clock.restart();
        for (int i = 0; i < 20; ++i) {
            for (const HWND silent : {hung, dead, HWND(0)}) {
                QCOMPARE(SendMessageA(silent, Echo, 3, 3), LRESULT(0));
            }
            QVERIFY(!PostMessageA(dead, Echo, 0, 0) && !PostMessageA(0, Echo, 0, 0));
        }
        QVERIFY2(clock.elapsed() < 400, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(FindWindowA(deadClass, nullptr), HWND(0));

        // Sockets made a moment ago are spared, as they may be a server's that is starting.
        const timespec past[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
        for (const HWND window : {dead, hung}) {
            const QByteArray path = QFile::encodeName(wire::SocketPath(window));
            QVERIFY(::utimensat(AT_FDCWD, path.constData(), past, 0) == 0);
        }
        QVERIFY(QFileInfo(wire::ClassEntryPath(deadClass)).isSymLink());
        const HWND renewed = Serve(next, "Cantorix Test Next");
        QVERIFY(renewed != 0 && renewed != dead);
        StopServer(next, renewed);
        QVERIFY(!QFileInfo::exists(wire::SocketPath(dead)));
        QVERIFY(!QFileInfo(wire::ClassEntryPath(deadClass)).isSymLink());
        QVERIFY(QFileInfo::exists(wire::SocketPath(hung)));
        QVERIFY(QFileInfo::exists(wire::SocketPath(served)));

        QVERIFY(::kill(pid, SIGCONT) == 0);
        QTRY_COMPARE_WITH_TIMEOUT(SendMessageA(hung, Echo, 4, 4), EchoOf(4, 4), 5000);
        QCOMPARE(SendMessageA(hung, Echo, 5, 5), EchoOf(5, 5));
    }

    // A client that sends what is not a frame is dropped; the window serves on.
    void malformedBytesDropOnlyThatClient_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("serverHangsUp");
        QTest::newRow("text") << QByteArray("GET / HTTP/1.0\r\n\r\nmore text to fill a frame")
                              << true;
        QTest::newRow("an answer sent to the window")
            << wire::Encode({wire::FrameKind::Answer, 1, Echo, 1, 1}) << true;
        QTest::newRow("short frame: waits for the rest")
            << wire::Encode({wire::FrameKind::Send, 1, Echo, 1, 1}).left(10) << false;
    }
    void malformedBytesDropOnlyThatClient() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, serverHangsUp);
        QLocalSocket client;
        client.connectToServer(wire::SocketPath(served));
        QVERIFY(client.waitForConnected(3000));
        client.write(bytes);
        QVERIFY(client.waitForBytesWritten(3000));
        QCOMPARE(client.waitForDisconnected(serverHangsUp ? 3000 : 300), serverHangsUp);
        QCOMPARE(SendMessageA(served, Echo, 4, 4), EchoOf(4, 4));
        QCOMPARE(server.state(), QProcess::Running);
    }
};

int main(int argc, char** argv) {
    if (argc >= 3 && qstrcmp(argv[1], "--serve") == 0) {
        return ServeMain(argc, argv);
    }
    QCoreApplication app(argc, argv);
    TestWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_platform_windows.moc"
