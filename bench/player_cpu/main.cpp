// CPU use of the real player against winamp-sim, both started here with a private runtime
// folder and settings folder, the player on the offscreen platform:
//  - following: `cantorix --play song.cx3` over a 120 s track with a line every 3 s, with the
//    karaoke fill off and on (cantorix.conf);
//  - waiting: `cantorix --play list.cxp`, whose first song's lines end after 2 s while its
//    track runs 35 s, measured over 30 s of the wait for that track to end.
// CPU is utime + stime from /proc/<pid>/stat over a stretch of wall time; the queries are
// counted in winamp-sim's trace. Prints every run and the median; never fails on time.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <unistd.h>

#include "lyrics/LyricsFile.h"
#include "platform/Win32.h"
#include "playlist/PlaylistFile.h"

#include "bench/BenchSupport.h"

using bench::IntArg;

namespace {

constexpr const char* WinampClass = "Winamp v1.x";
constexpr int StartTimeoutMs = 20000;

QString BinFolder() {
    return QCoreApplication::applicationDirPath();
}

// CPU seconds (user and system) the process has used so far; -1 once it is gone.
double CpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray line = stat.readAll();
    // The command name in parentheses may hold blanks; the fields after it do not.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0) {
        return -1;
    }
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    // fields[0] is field 3 (state); utime and stime are fields 14 and 15.
    if (fields.size() < 13) {
        return -1;
    }
    const double ticks = double(fields[11].toLongLong() + fields[12].toLongLong());
    return ticks / double(::sysconf(_SC_CLK_TCK));
}

struct TraceCounts {
    int playState = 0;  // sends of 1024/104
    int position = 0;   // sends of 1024 with wParam 0 and lParam 105
    bool playPosted = false;
    bool secondEntrySelected = false;  // 1024 1 121 posted
};

TraceCounts CountTrace(const QString& path) {
    TraceCounts counts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return counts;
    }
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.contains(" send 1024 0 104 ")) {
            ++counts.playState;
        } else if (line.contains(" send 1024 0 105 ")) {
            ++counts.position;
        } else if (line.endsWith(" post 273 40045 0")) {
            counts.playPosted = true;
        } else if (line.endsWith(" post 1024 1 121")) {
            counts.secondEntrySelected = true;
        }
    }
    return counts;
}

bool WriteSong(const QString& path, const QString& title, double everyS, double lastS) {
    std::vector<lyrics::SourceRow> rows;
    int n = 0;
    for (double t = everyS; t <= lastS + 1e-9; t += everyS) {
        rows.push_back({t, QStringLiteral("Line %1 of %2").arg(++n).arg(title)});
    }
    rows.push_back({std::nullopt, QStringLiteral("(the end)")});
    return lyrics::WriteLyricsFile(path, title, rows, int(rows.size()) - 1);
}

// One winamp-sim and one player, ended (the player killed, winamp-sim closed) on
// destruction.
class Session {
  public:
    Session(const QString& trace) : tracePath(trace) {}
    ~Session() { Stop(); }

    // Starts winamp-sim with simArgs, then the player with playerArgs, and waits until
    // the player has pressed Play. False with a reason in error otherwise.
    bool Start(const QStringList& simArgs, const QStringList& playerArgs, QString& error) {
        QFile::remove(tracePath);
        sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim.setStandardOutputFile(QProcess::nullDevice());
        sim.start(BinFolder() + "/winamp-sim",
                  QStringList{"--headless", "--trace", tracePath} + simArgs);
        if (!sim.waitForStarted(StartTimeoutMs)) {
            error = "cannot start winamp-sim: " + sim.errorString();
            return false;
        }
        QElapsedTimer waited;
        waited.start();
        while ((window = platform::FindWindowA(WinampClass, nullptr)) == 0) {
            if (sim.waitForFinished(10) || waited.elapsed() > StartTimeoutMs) {
                error = "winamp-sim did not come up";
                return false;
            }
        }
        // The player complains in a message box when it finds no Winamp, so it starts
        // only now.
        player.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        player.setStandardOutputFile(QProcess::nullDevice());
        player.start(BinFolder() + "/cantorix", playerArgs);
        if (!player.waitForStarted(StartTimeoutMs)) {
            error = "cannot start cantorix: " + player.errorString();
            return false;
        }
        waited.restart();
        while (!CountTrace(tracePath).playPosted) {
            if (player.waitForFinished(20) || waited.elapsed() > StartTimeoutMs) {
                error = "the player did not press Play";
                return false;
            }
        }
        return true;
    }

    bool PlayerRunning() { return !player.waitForFinished(0); }

    void Stop() {
        if (player.state() != QProcess::NotRunning) {
            player.kill();  // the player has no remote close
            player.waitForFinished(5000);
        }
        if (sim.state() != QProcess::NotRunning) {
            platform::PostMessageA(window, 273, 40001, 0);
            if (!sim.waitForFinished(5000)) {
                sim.kill();
                sim.waitForFinished(5000);
            }
        }
    }

    QString tracePath;
    QProcess sim;
    QProcess player;
    platform::HWND window = 0;
};

struct Sample {
    qint64 wallNs;
    double playerCpuS;
    double simCpuS;
    TraceCounts counts;
};

Sample Take(Session& s, const QElapsedTimer& clock) {
    return {clock.nsecsElapsed(), CpuSeconds(s.player.processId()), CpuSeconds(s.sim.processId()),
            CountTrace(s.tracePath)};
}

struct RunFigures {
    double playerPercent = 0;
    double simPercent = 0;
    double queriesPerS = 0;
    int otherQueries = 0;
    bool ok = false;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Starts a session, waits `settleS` after Play, then measures over `stretchS`.
// countOf picks the queries that the stretch is about, otherOf those that should not be
// there at all.
RunFigures Run(const QString& trace, const QStringList& simArgs, const QStringList& playerArgs,
               double settleS, double stretchS,
               const std::function<int(const TraceCounts&)>& countOf,
               const std::function<int(const TraceCounts&)>& otherOf, QString& note) {
    RunFigures f;
    Session session(trace);
    QString error;
    QElapsedTimer clock;
    if (!session.Start(simArgs, playerArgs, error)) {
        note = error;
        return f;
    }
    clock.start();
    QThread::msleep(static_cast<unsigned long>(settleS * 1000));
    const Sample a = Take(session, clock);
    QThread::msleep(static_cast<unsigned long>(stretchS * 1000));
    const Sample b = Take(session, clock);
    if (!session.PlayerRunning() || a.playerCpuS < 0 || b.playerCpuS < 0) {
        note = "the player ended during the run";
        return f;
    }
    const double wallS = double(b.wallNs - a.wallNs) / 1e9;
    f.playerPercent = 100 * (b.playerCpuS - a.playerCpuS) / wallS;
    f.simPercent = 100 * (b.simCpuS - a.simCpuS) / wallS;
    f.queriesPerS = double(countOf(b.counts) - countOf(a.counts)) / wallS;
    f.otherQueries = otherOf(b.counts) - otherOf(a.counts);
    if (b.counts.secondEntrySelected && !a.counts.secondEntrySelected) {
        note = "the next entry started inside the stretch";
    }
    f.ok = true;
    return f;
}

void Report(const char* what, const char* queries, const char* other,
            const std::vector<RunFigures>& runs) {
    std::vector<double> player, sim, rate;
    for (const RunFigures& f : runs) {
        player.push_back(f.playerPercent);
        sim.push_back(f.simPercent);
        rate.push_back(f.queriesPerS);
    }
    if (runs.empty()) {
        std::printf("%s: no run succeeded\n", what);
        return;
    }
    std::printf(
        "%s: median of %zu runs: cantorix %.2f %% CPU, winamp-sim %.2f %% CPU, "
        "%.1f %s queries/s\n",
        what, runs.size(), Median(player), Median(sim), Median(rate), queries);
    int others = 0;
    for (const RunFigures& f : runs) {
        others += f.otherQueries;
    }
    if (others > 0) {
        std::printf("  note: %d %s queries in the stretches, expected none\n", others, other);
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.contains("--help")) {
        std::printf(
            "bench_player_cpu [--runs R] [--follow S] [--only follow|wait]\n"
            "  defaults: 3 runs, 20 s of following; the wait is measured over 30 s\n");
        return 0;
    }
    const int runs = IntArg(args, "--runs", 3);
    const int followS = std::min(IntArg(args, "--follow", 20), 100);
    const qsizetype only = args.indexOf("--only");
    const QString part = only >= 0 && only + 1 < args.size() ? args[only + 1] : QString();

    for (const char* program : {"/cantorix", "/winamp-sim"}) {
        if (!QFile::exists(BinFolder() + program)) {
            std::fprintf(stderr, "bench_player_cpu: %s not found beside this program\n",
                         qPrintable(BinFolder() + program));
            return 1;
        }
    }

    // Short, since socket paths are limited to about a hundred characters.
    QTemporaryDir dir(QDir::tempPath() + "/cxb-XXXXXX");
    if (!dir.isValid() || !QDir().mkpath(dir.filePath("run")) ||
        !QDir().mkpath(dir.filePath("home"))) {
        std::fprintf(stderr, "bench_player_cpu: cannot make a temporary folder\n");
        return 1;
    }
    QFile::setPermissions(dir.filePath("run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Inherited by both programs: a private Winamp, private settings, no display, and a
    // message box nobody answers ends the player instead of stalling the run.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath("run")));
    qputenv("CANTORIX_HOME", QFile::encodeName(dir.filePath("home")));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("CANTORIX_NO_MODAL", "1");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");

    const QString song = dir.filePath("song.cx3");
    const QString first = dir.filePath("first.cx3");
    const QString second = dir.filePath("second.cx3");
    const QString list = dir.filePath("list.cxp");
    playlist::PlaylistTable table;
    table.Append({first, 1, QStringLiteral("First")});
    table.Append({second, 2, QStringLiteral("Second")});
    if (!WriteSong(song, "Bench Song", 3, 117) || !WriteSong(first, "First", 0.5, 2) ||
        !WriteSong(second, "Second", 0.5, 2) || !playlist::WritePlaylistFile(list, table)) {
        std::fprintf(stderr, "bench_player_cpu: cannot write the lyrics files\n");
        return 1;
    }
    std::printf("%d runs each; CPU = (utime + stime) / wall time of the stretch\n", runs);

    if (part.isEmpty() || part == "follow") {
        std::printf(
            "following a song: 120 s track, a line every 3 s, measured %d s from 2 s "
            "after Play; with the karaoke fill off, then on\n",
            followS);
        const QString conf = dir.filePath("home/cantorix.conf");
        for (const bool karaoke : {false, true}) {
            QFile::remove(conf);
            QFile file(conf);
            if (karaoke && !(file.open(QIODevice::WriteOnly) &&
                             file.write("[Player]\nKaraoke=true\n") > 0 && file.flush())) {
                std::fprintf(stderr, "bench_player_cpu: cannot write %s\n", qPrintable(conf));
                return 1;
            }
            file.close();
            const char* what = karaoke ? "following, fill on" : "following, fill off";
            std::vector<RunFigures> done;
            for (int r = 1; r <= runs; ++r) {
                QString note;
                const RunFigures f = Run(
                    dir.filePath(QStringLiteral("follow-%1-%2.log").arg(karaoke).arg(r)),
                    {"--tracks", "1", "--length", "120"}, {"--play", song}, 2, followS,
                    [](const TraceCounts& c) { return c.position; },
                    [](const TraceCounts& c) { return c.playState; }, note);
                if (f.ok) {
                    done.push_back(f);
                    std::printf(
                        "  %s, run %d: cantorix %.2f %%, winamp-sim %.2f %%, %.1f position "
                        "queries/s%s%s\n",
                        what, r, f.playerPercent, f.simPercent, f.queriesPerS,
                        note.isEmpty() ? "" : "; ", qPrintable(note));
                } else {
                    std::printf("  %s, run %d failed: %s\n", what, r, qPrintable(note));
                }
                std::fflush(stdout);
            }
            Report(what, "position", "play-state", done);
        }
        QFile::remove(conf);
    }

    if (part.isEmpty() || part == "wait") {
        std::printf(
            "waiting for a track to end: lines end at 2 s, the track at 35 s, measured "
            "from 3 s to 33 s after Play\n");
        std::vector<RunFigures> done;
        for (int r = 1; r <= runs; ++r) {
            QString note;
            const RunFigures f = Run(
                dir.filePath(QStringLiteral("wait-%1.log").arg(r)),
                {"--tracks", "2", "--length", "35"}, {"--play", list}, 3, 30,
                [](const TraceCounts& c) { return c.playState; },
                [](const TraceCounts& c) { return c.position; }, note);
            if (f.ok) {
                done.push_back(f);
                std::printf(
                    "  run %d: cantorix %.2f %%, winamp-sim %.2f %%, %.1f play-state "
                    "queries/s (at most 25 expected)%s%s\n",
                    r, f.playerPercent, f.simPercent, f.queriesPerS, note.isEmpty() ? "" : "; ",
                    qPrintable(note));
            } else {
                std::printf("  run %d failed: %s\n", r, qPrintable(note));
            }
            std::fflush(stdout);
        }
        Report("waiting", "play-state", "position", done);
    }
    return 0;
}
