// The real winamp-sim program, started as a process and reached through window messages.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "platform/LocalWindow.h"
#include "platform/Win32.h"
#include "platform/WindowWire.h"
#include "support/Files.h"
#include "support/WindowProcess.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using platform::HWND;
using platform::LRESULT;

namespace {

constexpr const char* WinampClass = "Winamp v1.x";
constexpr int WaitMs = 10000;
constexpr auto Ask = platform::SendMessageA;
// Enough queries to pass 50 MB if every answer were kept for a client that never reads.
constexpr qint64 FloodBytes = qint64(64) << 20;
constexpr int FloodMs = 60000;

const QString Program = QStringLiteral(CANTORIX_BIN_DIR "/winamp-sim");

struct Outcome {
    int exitCode = -1;  // -1 when it did not end normally in time
    QByteArray out, err;
};

Outcome RunToEnd(const QStringList& args) {
    QProcess process;
    process.start(Program, args);
    const bool ended =
        process.waitForFinished(WaitMs) && process.exitStatus() == QProcess::NormalExit;
    process.kill();
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// The program ends cleanly, gone as a closed window goes: not found, answering 0, no socket.
void ExpectGone(QProcess& server, HWND window) {
    QVERIFY(server.waitForFinished(WaitMs) && server.exitStatus() == QProcess::NormalExit &&
            server.exitCode() == 0);
    QVERIFY(platform::FindWindowA(WinampClass, nullptr) == 0 && Ask(window, 1024, 0, 124) == 0);
    QVERIFY(!QFile::exists(platform::RuntimeFolder() + "/h" + QString::number(window)));
}

// The resident memory of a process; 0 when /proc cannot be read.
qint64 ResidentKb(qint64 pid) {
    static const QRegularExpression vmRss(QStringLiteral("VmRSS:\\s*(\\d+)"));
    const QByteArray status = testsupport::ReadBytes(QStringLiteral("/proc/%1/status").arg(pid));
    return vmRss.match(QString::fromLatin1(status)).captured(1).toLongLong();
}

// A raw connection to a window's socket that the caller writes to without ever reading.
int ConnectRaw(HWND window) {
    const QByteArray path = QFile::encodeName(platform::wire::SocketPath(window));
    sockaddr_un address{AF_UNIX, {}};
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

class tst_WinampSimProcess : public QObject {
    Q_OBJECT

  private slots:
    // With no Winamp running, client mode finds none, and bad input never starts serving.
    void refusedRuns() {
        // clang-format off
        for (const auto& [args, message] : QList<std::pair<QStringList, QString>>{
                 {{"send", "1024", "0", "104"}, "1 winamp-sim: no Winamp window found"},
                 {{"--headless", "/nonexistent/none.m3u"}, "2 winamp-sim: cannot open playlist /nonexistent/none.m3u"},
                 {{"--headless", "--trace", "/nonexistent/t.log"}, "2 winamp-sim: cannot open trace file /nonexistent/t.log"}}) {
            // clang-format on
            const Outcome outcome = RunToEnd(args);
            const QString got =
                QString::number(outcome.exitCode) + ' ' + QString::fromLocal8Bit(outcome.err);
            QVERIFY2(got.startsWith(message) && outcome.out.isEmpty(), qPrintable(got));
            QCOMPARE(platform::FindWindowA(WinampClass, nullptr), HWND(0));
        }
    }

    // Posts, client mode, one server only, the trace appended; the jump dialog holds up nothing.
    void servesAndTraces() {
        const QString trace = testsupport::TempPath("t.log");
        QVERIFY(testsupport::WriteBytes(trace, "0 earlier\n"));
        QProcess server;
        const HWND window = testsupport::StartWindowProcess(
            server, Program, {"--trace", trace, "--tracks", "4", "--length", "3600"}, WinampClass,
            WaitMs);
        QVERIFY(platform::PostMessageA(window, 1024, 2, 121));
        QVERIFY(platform::PostMessageA(window, 273, 40045, 0));
        QCOMPARE(Ask(window, 1024, 0, 125), LRESULT(2));
        QCOMPARE(RunToEnd({"post", "273", "40046", "0"}).exitCode, 0);
        QTRY_COMPARE_WITH_TIMEOUT(Ask(window, 1024, 0, 104), LRESULT(3), WaitMs);
        QCOMPARE(RunToEnd({"send", "0x400", "0", "104"}).out, QByteArray("3\n"));
        const Outcome second = RunToEnd({"--headless", "--tracks", "1"});
        QVERIFY2(second.exitCode == 1 &&
                     second.err.startsWith("winamp-sim: a Winamp window is already running"),
                 second.err.constData());
        QCOMPARE(platform::FindWindowA(WinampClass, nullptr), window);
        QCOMPARE(Ask(window, 273, 40194, 0), LRESULT(0));
        QCOMPARE(Ask(window, 1024, 1, 105), LRESULT(3600));
        QVERIFY(::kill(pid_t(server.processId()), SIGTERM) == 0);
        ExpectGone(server, window);
        QStringList bodies;
        for (const QString& line :
             QString::fromLatin1(testsupport::ReadBytes(trace)).split(u'\n')) {
            bodies << line.section(u' ', 1);  // without the time
        }
        QCOMPARE(bodies.mid(0, 4), (QStringList{"earlier", "post 1024 2 121", "post 273 40045 0",
                                                "send 1024 0 125 2"}));
        QCOMPARE(bodies.mid(bodies.size() - 3),
                 (QStringList{"send 273 40194 0 0", "send 1024 1 105 3600", ""}));
    }

    // A client that never reads is dropped each time it comes back; memory stays flat.
    void floodingClientIsDropped() {
        QProcess server;
        // The address sanitizer's quarantine of freed blocks would count as the program's own.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":quarantine_size_mb=1");
        server.setProcessEnvironment(env);
        const HWND window = testsupport::StartWindowProcess(
            server, Program, {"--headless", "--tracks", "3", "--length", "180"}, WinampClass,
            WaitMs);
        const QByteArray burst =
            platform::wire::Encode({platform::wire::FrameKind::Send, 1, 1024, 0, 104})
                .repeated(4096);
        qsizetype at = 0;  // where in the burst the next write starts, so frames stay whole
        qint64 written = 0, peakKb = 0;
        int drops = 0;
        int fd = ConnectRaw(window);
        QElapsedTimer flooding, sampled;
        flooding.start();
        sampled.start();
        while (fd >= 0 && written < FloodBytes && flooding.elapsed() < FloodMs) {
            const ssize_t n =
                ::send(fd, burst.constData() + at, size_t(burst.size() - at), MSG_NOSIGNAL);
            if (n > 0) {
                written += n;
                at = (at + n) % burst.size();
            } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                pollfd ready{fd, POLLOUT, 0};
                ::poll(&ready, 1, 20);
            } else {
                ++drops;
                ::close(fd);
                fd = ConnectRaw(window);
                at = 0;
            }
            if (sampled.elapsed() >= 100) {
                sampled.restart();
                peakKb = std::max(peakKb, ResidentKb(server.processId()));
                QCOMPARE(Ask(window, 1024, 1, 105), LRESULT(180));
            }
        }
        QVERIFY(fd >= 0);
        peakKb = std::max(peakKb, ResidentKb(server.processId()));
        ::close(fd);
        const QString figures = QString::asprintf("%lld MB written, %d drops, peak %lld MB",
                                                  written >> 20, drops, peakKb >> 10);
        QVERIFY2(written >= FloodBytes && drops > 0, qPrintable(figures));
        QVERIFY2(peakKb > 0 && peakKb < 50 * 1024, qPrintable(figures));
        QCOMPARE(Ask(window, 273, 40001, 0), LRESULT(0));  // the close message
        ExpectGone(server, window);
    }
};

QTEST_MAIN(tst_WinampSimProcess)
#include "tst_winampsim_process.moc"
