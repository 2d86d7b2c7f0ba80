// Measures SendMessageA round trips of the position query (1024/105) to the simulated
// Winamp: to a winamp-sim process (the one already running, or one started here) and to
// an in-process window. Prints the median and 99th percentile of each run.
#include <QCoreApplication>
#include <QProcess>
#include <QThread>
#include <cstdio>

#include "platform/LocalWindow.h"
#include "platform/Win32.h"
#include "winamp-sim/Winamp.h"
#include "winamp/Messages.h"
#include "winamp/RealClock.h"

#include "bench/BenchSupport.h"

using bench::IntArg;

namespace {

using namespace winampsim;

void Report(const char* what, platform::HWND window, int count, int runs) {
    std::printf("%s: %d queries per run\n", what, count);
    for (int run = 1; run <= runs; ++run) {
        const bench::QueryFigures f = bench::MeasureQueries(window, count);
        std::printf("  run %d: median %.1f us, p99 %.1f us", run, f.medianUs, f.p99Us);
        if (f.zeroAnswers > 0) {
            std::printf(", %d answered 0", f.zeroAnswers);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.contains("--help")) {
        std::printf("send_roundtrip [--count N] [--runs R]   (defaults 20000 and 5)\n");
        return 0;
    }
    const int count = IntArg(args, "--count", 20000);
    const int runs = IntArg(args, "--runs", 5);

    // A playing track, so the answers are not all 0.
    QProcess started;
    platform::HWND window = platform::FindWindowA(winamp::WindowClass, nullptr);
    if (window == 0) {
        started.start(app.applicationDirPath() + "/winamp-sim",
                      {"--headless", "--tracks", "1", "--length", "3600"});
        if (!started.waitForStarted(5000)) {
            std::fprintf(stderr, "send_roundtrip: cannot start winamp-sim: %s\n",
                         qPrintable(started.errorString()));
            return 1;
        }
        for (int i = 0; i < 500 && window == 0; ++i) {
            QThread::msleep(10);
            window = platform::FindWindowA(winamp::WindowClass, nullptr);
        }
        if (window == 0) {
            std::fprintf(stderr, "send_roundtrip: winamp-sim did not come up\n");
            started.kill();
            started.waitForFinished(5000);
            return 1;
        }
        std::printf("started winamp-sim (handle %u)\n", window);
    } else {
        std::printf("using the running Winamp (handle %u)\n", window);
    }
    platform::PostMessageA(window, winamp::MsgCommand, winamp::CmdPlay, 0);
    bench::MeasureQueries(window, 200);  // warm up the connection
    Report("winamp-sim process", window, count, runs);

    if (started.state() != QProcess::NotRunning) {
        platform::PostMessageA(window, winamp::MsgCommand, winamp::CmdClose, 0);
        if (!started.waitForFinished(5000)) {
            started.kill();
            started.waitForFinished(5000);
        }
    }

    winamp::RealClock clock;
    Winamp model(clock, {{QStringLiteral("Bench"), 3600, {}}});
    model.Play();
    QThread::msleep(2);  // so the position answered is not 0
    platform::LocalWindow local(
        QStringLiteral("Cantorix bench window"),
        [&model](const platform::Message& m) { return model.Handle(m); },
        platform::LocalWindow::Scope::Process);
    Report("in-process window", local.Handle(), count, runs);
    return 0;
}
