// A 40 ms tick asks a winamp-sim process for the play position while winamp-sim is frozen
// (SIGSTOP) for a few seconds and then resumed: once as the player's display asks it (the
// link's tick query), once as a plain send that may wait its full time. Prints, for each
// run, the share of the freeze the tick spent blocked in sends and how long after the
// resume the first real answer came; then the medians.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <vector>

#include "platform/Win32.h"
#include "winamp/Link.h"
#include "winamp/Messages.h"

#include "bench/BenchSupport.h"

namespace {

struct Run {
    double blockedShare;  // of the freeze
    double resumedAfterMs;
};

using Ask = platform::LRESULT (winamp::WinampLink::*)() const;

Run Freeze(QCoreApplication& app, const winamp::WinampLink& link, Ask ask, pid_t pid,
           int freezeMs) {
    QElapsedTimer clock;
    qint64 frozeAt = -1, resumedAt = -1, answeredAt = -1;
    qint64 blockedNs = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(40);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 start = clock.nsecsElapsed();
        if (frozeAt < 0 && start >= 200'000'000) {
            ::kill(pid, SIGSTOP);
            frozeAt = start;
        }
        const platform::LRESULT answer = (link.*ask)();
        const qint64 end = clock.nsecsElapsed();
        if (frozeAt >= 0 && resumedAt < 0) {
            blockedNs += end - start;
        }
        if (resumedAt < 0 && end - frozeAt >= qint64(freezeMs) * 1'000'000) {
            ::kill(pid, SIGCONT);
            resumedAt = clock.nsecsElapsed();
        } else if (resumedAt >= 0 && answer != 0) {
            answeredAt = end;
            app.quit();
        }
    });
    clock.start();
    tick.start();
    QTimer giveUp;  // for a Winamp that never answers again
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &app, &QCoreApplication::quit);
    giveUp.start(freezeMs + 10000);
    app.exec();
    ::kill(pid, SIGCONT);
    const double frozen = double(resumedAt - frozeAt);
    return {double(blockedNs) / frozen,
            answeredAt < 0 ? -1.0 : double(answeredAt - resumedAt) / 1e6};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.contains("--help")) {
        std::printf("hung_winamp [--freeze MS] [--runs R]   (defaults 5000 and 5)\n");
        return 0;
    }
    const int freezeMs = bench::IntArg(args, "--freeze", 5000);
    const int runs = bench::IntArg(args, "--runs", 5);

    QProcess sim;
    sim.start(app.applicationDirPath() + "/winamp-sim",
              {"--headless", "--tracks", "3", "--length", "600"});
    platform::HWND window = 0;
    for (int i = 0; i < 500 && window == 0; ++i) {
        QThread::msleep(10);
        window = platform::FindWindowA(winamp::WindowClass, nullptr);
    }
    if (window == 0) {
        std::fprintf(stderr, "hung_winamp: winamp-sim did not start\n");
        return 1;
    }
    platform::PostMessageA(window, winamp::MsgCommand, winamp::CmdPlay, 0);

    winamp::WinampLink link;
    link.WinampHandle = window;
    std::printf("%d ms freezes of winamp-sim, a position query every 40 ms tick\n", freezeMs);
    for (const auto& [name, ask] :
         {std::pair<const char*, Ask>{"the display's tick query",
                                      &winamp::WinampLink::TickPositionMs},
          {"a plain query", &winamp::WinampLink::PositionMs}}) {
        std::vector<double> shares, resumes;
        std::printf("%s:\n", name);
        for (int run = 1; run <= runs; ++run) {
            const Run r = Freeze(app, link, ask, pid_t(sim.processId()), freezeMs);
            shares.push_back(r.blockedShare * 100);
            resumes.push_back(r.resumedAfterMs);
            std::printf(
                "  run %d: blocked %.1f %% of the freeze; first answer %.0f ms after the "
                "resume\n",
                run, r.blockedShare * 100, r.resumedAfterMs);
            std::fflush(stdout);
        }
        std::printf(
            "  median: blocked %.1f %% of the freeze; first answer %.0f ms after the resume\n",
            Median(shares), Median(resumes));
    }
    platform::PostMessageA(window, winamp::MsgCommand, winamp::CmdClose, 0);
    sim.waitForFinished(3000);
    return 0;
}
