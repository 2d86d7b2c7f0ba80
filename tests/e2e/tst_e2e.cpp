// The real cantorix against the real winamp-sim (headless, tracing, its clock sped up),
// judged from winamp-sim's trace: the player cannot be asked anything from outside.
// Assertions hold however slowly the machine runs; only the waits are bounded.
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <memory>
#include <vector>

#include "lyrics/LyricsFile.h"
#include "platform/Win32.h"
#include "playlist/PlaylistFile.h"
#include "support/Files.h"
#include "support/WindowProcess.h"

using platform::HWND;
using platform::LRESULT;

namespace {

constexpr const char* WinampClass = "Winamp v1.x";
constexpr int WaitMs = 20000;

QString Bin(const char* program) {
    return QStringLiteral(CANTORIX_BIN_DIR "/") + program;
}

QString Temp(const QString& name) {
    return qEnvironmentVariable("CANTORIX_TEST_TMP", QDir::tempPath()) + u'/' + name;
}

// One trace line: "ms send msg wParam lParam answer" or "ms post msg wParam lParam".
struct Line {
    QByteArray text;
    bool posted = false;
    QByteArray call;  // "msg wParam lParam"
    qint64 answer = 0;
};

QList<Line> ReadTrace(const QString& path) {
    QList<Line> lines;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& text : file.readAll().split('\n')) {
            const QList<QByteArray> f = text.split(' ');
            if (f.size() >= 5) {
                lines.append({text, f[1] == "post", f[2] + ' ' + f[3] + ' ' + f[4],
                              f.value(5).toLongLong()});
            }
        }
    }
    return lines;
}

// The posts in order, "msg wParam lParam | ...", and the sends split at them: element i
// of sends holds those that came after i posts.
struct Split {
    QByteArrayList posts;
    QList<QList<Line>> sends{{}};
    explicit Split(const QList<Line>& trace) {
        for (const Line& l : trace) {
            l.posted ? (posts.append(l.call), sends.append(QList<Line>())) : sends.last().append(l);
        }
    }
};

// Empty when sends are position queries only, of which 1 to catchUp are answered lastMs or
// more: the display caught up at most a line a tick after its last line, then asked no more.
QByteArray PositionsFault(const QList<Line>& sends, qint64 lastMs, int catchUp) {
    int afterLast = 0;
    for (const Line& l : sends) {
        if (l.call != "1024 0 105") {
            return "unexpected " + l.text;
        }
        afterLast += l.answer >= lastMs;
    }
    return afterLast >= 1 && afterLast <= catchUp
               ? QByteArray()
               : QByteArray::number(afterLast) + " queries after the last line's time";
}

// A song whose lines move on at the given seconds, then an untimed last line.
bool WriteSong(const QString& path, const std::vector<double>& times) {
    std::vector<lyrics::SourceRow> rows;
    for (double t : times) {
        rows.push_back({t, QStringLiteral("line %1").arg(rows.size() + 1)});
    }
    rows.push_back({std::nullopt, QStringLiteral("the end")});
    return lyrics::WriteLyricsFile(path, "Song - E2E Band", rows, int(rows.size()) - 1);
}

}  // namespace

class tst_E2E : public QObject {
    Q_OBJECT

    std::unique_ptr<QProcess> sim;
    std::unique_ptr<QProcess> player;
    HWND winamp = 0;
    QString tracePath;

    // Starts winamp-sim at speed over tracks of the given seconds, then the player on
    // opened, and handles events until a position query after the post `after` is answered
    // `ms` or more; then a second longer (about 25 ticks), so what should not come has had
    // its chance. False on timeout or when the player has exited.
    bool Run(const char* speed, const QList<int>& tracksS, const QString& opened,
             const QByteArray& after, qint64 ms) {
        QByteArray m3u = "#EXTM3U\n";
        for (int s : tracksS) {
            m3u += "#EXTINF:" + QByteArray::number(s) + ",Track\nt.mp3\n";
        }
        tracePath = opened + ".log";
        sim = std::make_unique<QProcess>();
        player = std::make_unique<QProcess>();
        if (!testsupport::WriteBytes(opened + ".m3u", m3u)) {
            return false;
        }
        winamp = testsupport::StartWindowProcess(
            *sim, Bin("winamp-sim"),
            {"--headless", "--trace", tracePath, "--speed", speed, opened + ".m3u"}, WinampClass,
            WaitMs);
        // Only now: a player that finds no Winamp says so in a box, which ends it here.
        player->setProcessChannelMode(QProcess::ForwardedChannels);
        player->start(Bin("cantorix"), {"--play", opened});
        const QDeadlineTimer deadline(WaitMs);
        for (bool done = false; !done; QTest::qWait(20)) {
            if (winamp == 0 || deadline.hasExpired() || player->state() == QProcess::NotRunning) {
                return false;
            }
            bool posted = false;
            for (const Line& l : ReadTrace(tracePath)) {
                posted = posted || (l.posted && l.call == after);
                done = done || (posted && l.call == "1024 0 105" && l.answer >= ms);
            }
        }
        QTest::qWait(1000);
        return player->state() == QProcess::Running;
    }

  private slots:
    void cleanup() {
        if (player) {
            player->kill();  // the player has no remote close
            player->waitForFinished(WaitMs);
        }
        if (sim && sim->state() != QProcess::NotRunning) {
            platform::PostMessageA(winamp, 273, 40001, 0);
            if (!sim->waitForFinished(WaitMs)) {
                sim->kill();
                sim->waitForFinished(WaitMs);
            }
        }
    }

    // Speed 2: the last line comes 4.5 s after Play, the 60 s track plays on.
    void followsOneSong() {
        const QString song = Temp("one.cx3");
        QVERIFY(WriteSong(song, {1.5, 3, 4.5, 6, 7.5, 9}));
        QVERIFY(Run("2", {60, 45}, song, "273 40045 0", 9000));

        // Play from the start and stop at the end of this track; no stop when the lines end,
        // and no query before Play. About one query a tick while the lines run.
        const Split split(ReadTrace(tracePath));
        QCOMPARE(split.posts.join(" | "), QByteArray("273 40045 0 | 273 40157 0"));
        const QList<QList<Line>>& sends = split.sends;
        QVERIFY(sends[0].isEmpty() && sends[1].isEmpty());
        QVERIFY2(sends[2].size() >= 12, qPrintable(QString::number(sends[2].size())));
        QCOMPARE(PositionsFault(sends[2], 9000, 6), QByteArray());
        QCOMPARE(platform::SendMessageA(winamp, 1024, 0, 104), LRESULT(1));
    }

    // Speed 4: the first entry's lines end 0.75 s after its Play and its 12 s track 3 s after;
    // the second entry's lines end 0.5 s after its Play.
    void playsPlaylistSongAfterSong() {
        const QString first = Temp("first.cx3"), second = Temp("second.cx3");
        const QString list = Temp("two.cxp");
        QVERIFY(WriteSong(first, {1, 2, 3}));
        QVERIFY(WriteSong(second, {1, 2}));
        playlist::PlaylistTable table;
        QVERIFY(table.Append({first, 1, "First - E2E Band"}) &&
                table.Append({second, 2, "Second"}));
        QVERIFY(playlist::WritePlaylistFile(list, table));
        QVERIFY(Run("4", {12, 40, 30}, list, "1024 1 121", 2000));

        // Each entry: select its track, play it, stop at its end.
        Split split(ReadTrace(tracePath));
        QCOMPARE(split.posts.join(" | "), QByteArray("1024 0 121 | 273 40045 0 | 273 40157 0 | "
                                                     "1024 1 121 | 273 40045 0 | 273 40157 0"));
        QList<QList<Line>>& sends = split.sends;
        const QList<Line> two = sends.takeLast();
        QList<Line>& one = sends[3];
        QVERIFY((sends[0] + sends[1] + sends[2] + sends[4] + sends[5]).isEmpty());

        // The first entry: positions until its last line, then play-state queries answered 1
        // until the track ended, and only then the next entry.
        qsizetype waits = 0;
        while (!one.isEmpty() && one.last().call == "1024 0 104") {
            QCOMPARE(one.takeLast().answer, qint64(waits++ == 0 ? 0 : 1));
        }
        QVERIFY2(waits >= 5, qPrintable(QString::number(waits)));
        QCOMPARE(PositionsFault(one, 3000, 3), QByteArray());
        QVERIFY(one.last().answer < 12000);

        // The second entry, the last: its lines to the end and no wait after it.
        QCOMPARE(PositionsFault(two, 2000, 2), QByteArray());
        QCOMPARE(platform::SendMessageA(winamp, 1024, 0, 125), LRESULT(1));
    }
};

QTEST_MAIN(tst_E2E)
#include "tst_e2e.moc"
