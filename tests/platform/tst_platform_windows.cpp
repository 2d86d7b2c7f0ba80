// Window messages between processes; started with "--serve CLASS" this binary serves a window.
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

constexpr UINT Echo = 10;  // answered with wParam * 3 + lParam by the serving program
constexpr const char* ServedClass = "Cantorix Test Window";

LRESULT EchoOf(WPARAM wParam, LPARAM lParam) {
    return LRESULT(std::uint64_t(wParam) * 3u + std::uint64_t(lParam));
}

HWND Serve(QProcess& process, const char* className) {
    return testsupport::StartWindowProcess(process, QCoreApplication::applicationFilePath(),
                                           {"--serve", className}, className);
}

void StopServer(QProcess& process) {
    process.kill();
    process.waitForFinished(3000);
}

}  // namespace

class TestWindows : public QObject {
    Q_OBJECT

    QProcess server;
    HWND served = 0;

  private slots:
    void initTestCase() { QVERIFY((served = Serve(server, ServedClass)) != 0); }
    void cleanupTestCase() { StopServer(server); }

    // Only this user may reach the sockets: the folder made 0700 (or tightened), a symlink in its
    // place refused, /tmp when the XDG folder is unset or too long for a socket path.
    void runtimeFolderIsPrivate_data() {
        QTest::addColumn<QString>("folder");  // under the XDG folder, in /tmp, or none
        QTest::newRow("fresh") << "xdg";
        QTest::newRow("loose") << "xdg";  // tightened
        QTest::newRow("symlink") << "none";
        QTest::newRow("unset") << "tmp";
        QTest::newRow("long") << "tmp";
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
            QVERIFY(found.isEmpty() && FindWindowA(ServedClass, nullptr) == 0);
            const LocalWindow refused(
                "Cantorix Test Refused", [](const Message&) { return LRESULT(0); },
                LocalWindow::Scope::System);
            QVERIFY2(
                !refused.IsOpen() && refused.ErrorString().contains(target + " is a symbolic link"),
                qPrintable(refused.ErrorString()));
            return;
        }
        QCOMPARE(found, folder == "xdg" ? target : QString("/tmp/cantorix-%1").arg(::getuid()));
        struct stat st {};
        QVERIFY(::lstat(QFile::encodeName(found).constData(), &st) == 0 && S_ISDIR(st.st_mode));
        QVERIFY2((st.st_mode & 07777) == 0700 && st.st_uid == ::getuid(),
                 qPrintable(QString::number(st.st_mode, 8)));
    }

    // A stopped window costs one send that gives up after 500 ms, then 0 at once until it reads
    // again; a killed one answers 0 at once, and the next server removes its socket and entry.
    void hungAndDeadWindows() {
        const char *deadClass = "Cantorix Test Dead", *hungClass = "Cantorix Test Hung";
        QProcess killed, stopped, next;
        const HWND dead = Serve(killed, deadClass), hung = Serve(stopped, hungClass);
        QVERIFY(dead != 0 && hung != 0);
        QCOMPARE(SendMessageA(dead, Echo, 1, 1), EchoOf(1, 1));  // leaves a cached connection
        const auto pid = pid_t(stopped.processId());
        auto stop = qScopeGuard([&] { StopServer(stopped); });
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
            QCOMPARE(SendMessageA(hung, Echo, 3, 3) + SendMessageA(dead, Echo, 3, 3), LRESULT(0));
            QVERIFY(!PostMessageA(dead, Echo, 0, 0) && !PostMessageA(0, Echo, 0, 0));
        }
        QVERIFY2(clock.elapsed() < 400, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(FindWindowA(deadClass, nullptr), HWND(0));

        // Aged: sockets made a moment ago are spared for a server that is starting.
        const timespec past[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
        for (const HWND window : {dead, hung}) {
            const QByteArray path = QFile::encodeName(wire::SocketPath(window));
            QVERIFY(::utimensat(AT_FDCWD, path.constData(), past, 0) == 0);
        }
        QVERIFY(QFileInfo(wire::ClassEntryPath(deadClass)).isSymLink());
        const HWND renewed = Serve(next, "Cantorix Test Next");
        QVERIFY(renewed != 0 && renewed != dead);
        StopServer(next);
        QVERIFY(!QFileInfo::exists(wire::SocketPath(dead)));
        QVERIFY(!QFileInfo(wire::ClassEntryPath(deadClass)).isSymLink());
        QVERIFY(QFileInfo::exists(wire::SocketPath(hung)) &&
                QFileInfo::exists(wire::SocketPath(served)));

        QVERIFY(::kill(pid, SIGCONT) == 0);
        QTRY_COMPARE_WITH_TIMEOUT(SendMessageA(hung, Echo, 4, 4), EchoOf(4, 4), 5000);
    }

    // A client sending what is not a frame is dropped; the window serves on, whatever the width and
    // sign of the parameters.
    void malformedBytesDropOnlyThatClient_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("serverHangsUp");
        // clang-format off
        QTest::newRow("text") << QByteArray("GET / HTTP/1.0\r\n\r\nmore text to fill a frame") << true;
        QTest::newRow("answer") << wire::Encode({wire::FrameKind::Answer, 1, Echo, 1, 1}) << true;
        QTest::newRow("short: waits for the rest") << wire::Encode({wire::FrameKind::Send, 1, Echo, 1, 1}).left(10) << false;
        // clang-format on
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
        for (const auto& [wParam, lParam] : {std::pair<WPARAM, LPARAM>{1, -1000},
                                             {0x123456789abcULL, 0x7fffffff},
                                             {0xffffffffu, -1}}) {
            QCOMPARE(SendMessageA(served, Echo, wParam, lParam), EchoOf(wParam, lParam));
        }
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc >= 3 && qstrcmp(argv[1], "--serve") == 0) {
        const LocalWindow window(
            QString::fromLocal8Bit(argv[2]),
            [](const Message& m) { return m.Msg == Echo ? EchoOf(m.WParam, m.LParam) : 0; },
            LocalWindow::Scope::System);
        return window.IsOpen() ? app.exec() : 2;
    }
    TestWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_platform_windows.moc"
