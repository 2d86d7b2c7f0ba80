// The position query through winamp-bridge in front of a real mpv playing (silence, no
// sound card): round trips of 1024/105 (median and 99th percentile, us), and the CPU the
// bridge takes while mpv plays and while it is paused, left alone and asked 25 times a
// second as cantorix does (median of the runs). With --mpris the bridge reaches mpv through
// its MPRIS plug-in on a private session bus instead of its IPC socket.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>

#include <unistd.h>

#include "bench/BenchSupport.h"
#include "platform/Win32.h"
#include "tests/support/Wav.h"
#include "winamp/Messages.h"

namespace {

// User plus system CPU time of a process so far, in seconds.
double CpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> f = stat.readAll().split(')').last().split(' ');
    return double(f.value(12).toLongLong() + f.value(13).toLongLong()) /
           double(sysconf(_SC_CLK_TCK));
}

// The median over runs of the bridge's CPU share in windows of the given seconds.
double CpuPercent(qint64 pid, int runs, int seconds, platform::HWND window, bool asking) {
    QList<double> shares;
    for (int run = 0; run < runs; ++run) {
        const double before = CpuSeconds(pid);
        for (int ms = 0; ms < seconds * 1000; ms += 40) {
            if (asking) {
                platform::SendMessageA(window, winamp::MsgUser, 0, winamp::AskPosition);
            }
            QThread::msleep(40);
        }
        shares << 100.0 * (CpuSeconds(pid) - before) / seconds;
    }
    std::sort(shares.begin(), shares.end());
    return shares[shares.size() / 2];
}

void PrintCpu(const char* state, qint64 pid, int runs, int seconds, platform::HWND window) {
    const double alone = CpuPercent(pid, runs, seconds, window, false);
    std::printf(
        "bridge CPU, mpv %s (median of %d x %d s): %.2f %% left alone, %.2f %% asked every "
        "40 ms\n",
        state, runs, seconds, alone, CpuPercent(pid, runs, seconds, window, true));
    std::fflush(stdout);
}

void Stop(QProcess& process) {
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.contains("--help")) {
        std::printf(
            "bench_bridge_query [--mpris] [--count N] [--runs R] [--seconds S]  (20000, 5, 2)\n");
        return 0;
    }
    const int count = bench::IntArg(args, "--count", 20000);
    const int runs = bench::IntArg(args, "--runs", 5);
    const int seconds = bench::IntArg(args, "--seconds", 2);
    const bool mpris = args.contains("--mpris");
    if (platform::FindWindowA(winamp::WindowClass, nullptr) != 0) {
        std::fprintf(stderr, "bench_bridge_query: a Winamp window is already running\n");
        return 1;
    }
    QTemporaryDir dir(QDir::tempPath() + "/cxb-XXXXXX");
    const QString wav = dir.filePath("silence.wav"), socket = dir.filePath("mpv.sock");
    if (!testsupport::WriteSilence(wav, 4 * runs * seconds + 600)) {
        std::fprintf(stderr, "bench_bridge_query: cannot write %s\n", qPrintable(wav));
        return 1;
    }
    QProcess bus, mpv, bridge;
    if (mpris) {
        bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!bus.waitForReadyRead(5000)) {
            std::fprintf(stderr, "bench_bridge_query: no dbus-daemon\n");
            return 1;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromUtf8(bus.readLine()).trimmed());
        mpv.setProcessEnvironment(env);
        bridge.setProcessEnvironment(env);
    }
    mpv.start("mpv",
              QStringList{"--idle", "--pause", "--ao=null", "--vo=null", "--no-terminal",
                          "--no-config", "--input-ipc-server=" + socket, wav} +
                  (mpris ? QStringList{"--script=/usr/lib/mpv-mpris/mpris.so"} : QStringList{}));
    bridge.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    bridge.start(app.applicationDirPath() + "/winamp-bridge",
                 mpris ? QStringList{"--mpris", "mpv"} : QStringList{"--mpv", socket});
    mpv.waitForStarted(5000);
    bridge.waitForStarted(5000);
    platform::HWND window = 0;
    for (int i = 0; i < 1000; ++i, QThread::msleep(10)) {
        window = platform::FindWindowA(winamp::WindowClass, nullptr);
        if (window != 0 && platform::SendMessageA(window, winamp::MsgUser, 0,
                                                  winamp::AskPlayState) == winamp::StatePaused) {
            break;
        }
    }
    if (window == 0 || mpv.state() != QProcess::Running) {
        std::fprintf(stderr, "bench_bridge_query: mpv or the bridge did not come up\n");
        Stop(bridge), Stop(mpv), Stop(bus);
        return 1;
    }
    platform::PostMessageA(window, winamp::MsgCommand, winamp::CmdPlay, 0);
    QThread::msleep(1000);

    std::printf("position query through winamp-bridge, mpv %s playing: %d queries per run\n",
                mpris ? "(MPRIS)" : "(IPC)", count);
    bench::MeasureQueries(window, 200);  // warm up the connection
    for (int run = 1; run <= runs; ++run) {
        const bench::QueryFigures f = bench::MeasureQueries(window, count);
        std::printf("  run %d: median %.1f us, p99 %.1f us, %d answered 0\n", run, f.medianUs,
                    f.p99Us, f.zeroAnswers);
        std::fflush(stdout);
    }
    PrintCpu("playing", bridge.processId(), runs, seconds, window);
    platform::PostMessageA(window, winamp::MsgCommand, winamp::CmdPause, 0);
    QThread::msleep(500);
    PrintCpu("paused", bridge.processId(), runs, seconds, window);
    Stop(bridge), Stop(mpv), Stop(bus);
    return 0;
}
