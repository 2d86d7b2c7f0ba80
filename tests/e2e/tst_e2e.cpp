// The real cantorix against the real winamp-sim (headless, tracing, its clock sped up):
// one song followed to its last line, and a playlist of two songs played one after the
// other. The player cannot be asked anything from outside, so everything is judged from
// winamp-sim's trace. Assertions hold however slowly the machine runs; only the waits
// are bounded.
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "lyrics/LyricsFile.h"
#include "platform/Win32.h"
#include "playlist/PlaylistFile.h"
#include "support/WindowProcess.h"

using platform::HWND;
using platform::LRESULT;

namespace {

constexpr const char* WinampClass = "Winamp v1.x";
constexpr int StartMs = 10000;
// Either song below reaches its last line within a few seconds of Play.
constexpr int SongMs = 20000;

QString Bin(const char* program) {
    return QStringLiteral(CANTORIX_BIN_DIR "/") + program;
}

QString TempFolder() {
    return qEnvironmentVariable("CANTORIX_TEST_TMP", QDir::tempPath());
}

struct TraceLine {
    qint64 ms = 0;
    bool posted = false;
    quint32 msg = 0;
    quint64 wParam = 0;
    qint64 lParam = 0;
    qint64 answer = 0;

    bool IsPost(quint32 m, quint64 w, qint64 l) const {
        return posted && msg == m && wParam == w && lParam == l;
    }
    bool IsPosition() const { return !posted && msg == 1024 && wParam == 0 && lParam == 105; }
    bool IsPlayState() const { return !posted && msg == 1024 && wParam == 0 && lParam == 104; }
};

QList<TraceLine> ReadTrace(const QString& path) {
    QList<TraceLine> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return lines;
    }
    for (const QByteArray& text : file.readAll().split('\n')) {
        const QList<QByteArray> f = text.split(' ');
        if (f.size() < 5) {
            continue;  // the empty piece after the last line end
        }
        TraceLine line;
        line.ms = f[0].toLongLong();
        line.posted = f[1] == "post";
        line.msg = f[2].toUInt();
        line.wParam = f[3].toULongLong();
        line.lParam = f[4].toLongLong();
        line.answer = f.size() > 5 ? f[5].toLongLong() : 0;
        lines << line;
    }
    return lines;
}

QString Describe(const TraceLine& l) {
    return QStringLiteral("%1 %2 %3 %4 %5%6")
        .arg(l.ms)
        .arg(l.posted ? "post" : "send")
        .arg(l.msg)
        .arg(l.wParam)
        .arg(l.lParam)
        .arg(l.posted ? QString() : QStringLiteral(" %1").arg(l.answer));
}

// The posts in the order received, "msg wParam lParam", separated by " | ".
QString Posts(const QList<TraceLine>& trace) {
    QStringList out;
    for (const TraceLine& l : trace) {
        if (l.posted) {
            out << QStringLiteral("%1 %2 %3").arg(l.msg).arg(l.wParam).arg(l.lParam);
        }
    }
    return out.join(QStringLiteral(" | "));
}

// A song whose lines move on at the given seconds, then an untimed last line.
bool WriteSong(const QString& path, const QString& title, const std::vector<double>& times) {
    std::vector<lyrics::SourceRow> rows;
    for (double t : times) {
        rows.push_back({t, QStringLiteral("%1, line %2").arg(title).arg(rows.size() + 1)});
    }
    rows.push_back({std::nullopt, QStringLiteral("%1, the end").arg(title)});
    return lyrics::WriteLyricsFile(path, title, rows, int(rows.size()) - 1);
}

bool WriteM3u(const QString& path, const QList<int>& lengthsS) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write("#EXTM3U\n");
    for (qsizetype i = 0; i < lengthsS.size(); ++i) {
        file.write(QStringLiteral("#EXTINF:%1,E2E Band - Track %2\ntrack-%2.mp3\n")
                       .arg(lengthsS[i])
                       .arg(i + 1)
                       .toUtf8());
    }
    return true;
}

// The median gap between consecutive position queries, in trace milliseconds.
qint64 MedianGapMs(const QList<TraceLine>& queries) {
    std::vector<qint64> gaps;
    for (qsizetype i = 1; i < queries.size(); ++i) {
        gaps.push_back(queries[i].ms - queries[i - 1].ms);
    }
    if (gaps.empty()) {
        return -1;
    }
    std::sort(gaps.begin(), gaps.end());
    return gaps[gaps.size() / 2];
}

}  // namespace

class tst_E2E : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void followsOneSong();
    void playsPlaylistSongAfterSong();
    void cleanup();

  private:
    bool StartBoth(const QString& m3u, const QString& speed, const QString& lyricsOrList);
    // Waits, handling events, until the trace satisfies done. False on timeout or when the
    // player has exited meanwhile.
    bool WaitForTrace(const std::function<bool(const QList<TraceLine>&)>& done, int timeoutMs);

    std::unique_ptr<QProcess> sim;
    std::unique_ptr<QProcess> player;
    HWND winamp = 0;
    QString tracePath;
};

void tst_E2E::initTestCase() {
    QVERIFY2(QFile::exists(Bin("cantorix")), qPrintable(Bin("cantorix")));
    QVERIFY2(QFile::exists(Bin("winamp-sim")), qPrintable(Bin("winamp-sim")));
    QVERIFY2(!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"), "needs a private runtime folder");
    QVERIFY2(!qEnvironmentVariableIsEmpty("CANTORIX_HOME"), "needs a private settings folder");
    // Children inherit these: no display, and a message box ends the player at once.
    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("offscreen"));
    QVERIFY(qEnvironmentVariableIsSet("CANTORIX_NO_MODAL"));
    QCOMPARE(platform::FindWindowA(WinampClass, nullptr), HWND(0));
}

bool tst_E2E::StartBoth(const QString& m3u, const QString& speed, const QString& lyricsOrList) {
    tracePath = TempFolder() + "/e2e-" + QFileInfo(lyricsOrList).baseName() + ".log";
    QFile::remove(tracePath);
    sim = std::make_unique<QProcess>();
    winamp = testsupport::StartWindowProcess(
        *sim, Bin("winamp-sim"), {"--headless", "--trace", tracePath, "--speed", speed, m3u},
        WinampClass, StartMs);
    if (winamp == 0) {
        return false;
    }
    // Only now: a player that finds no Winamp says so in a message box.
    player = std::make_unique<QProcess>();
    player->setProcessChannelMode(QProcess::ForwardedChannels);
    player->start(Bin("cantorix"), {"--play", lyricsOrList});
    return player->waitForStarted(StartMs);
}

bool tst_E2E::WaitForTrace(const std::function<bool(const QList<TraceLine>&)>& done,
                           int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (done(ReadTrace(tracePath))) {
            return true;
        }
        if (deadline.hasExpired() || player->state() == QProcess::NotRunning) {
            return false;
        }
        QTest::qWait(20);
    }
}

void tst_E2E::followsOneSong() {
    // At speed 2 the lines move on every 0.75 s and the song's last line comes 4.5 s after
    // Play, while the track runs 30 s; the test never waits for its end.
    const QString folder = TempFolder();
    const QString m3u = folder + "/one.m3u";
    const QString song = folder + "/one-song.cx3";
    const std::vector<double> times{1.5, 3, 4.5, 6, 7.5, 9};
    const qint64 lastTimeMs = 9000;
    const qint64 trackMs = 60000;
    QVERIFY(WriteM3u(m3u, {60, 45}));
    QVERIFY(WriteSong(song, "One Song", times));
    QVERIFY(StartBoth(m3u, "2", song));

    QVERIFY2(WaitForTrace(
                 [&](const QList<TraceLine>& trace) {
                     return std::any_of(trace.begin(), trace.end(), [&](const TraceLine& l) {
                         return l.IsPosition() && l.answer >= lastTimeMs;
                     });
                 },
                 SongMs),
             "the player never saw the song's last line come");
    // Long enough for about 25 more ticks, had the display gone on.
    QTest::qWait(1000);
    QCOMPARE(player->state(), QProcess::Running);
    const QList<TraceLine> trace = ReadTrace(tracePath);

    // Play from the start, and stop at the end of this track rather than moving on;
    // nothing else, and in particular no stop when the lines ran out.
    QCOMPARE(Posts(trace), QString("273 40045 0 | 273 40157 0"));
    QList<TraceLine> queries;
    bool afterPosts = false;
    for (const TraceLine& l : trace) {
        if (l.IsPost(273, 40157, 0)) {
            afterPosts = true;
        } else if (!l.posted) {
            QVERIFY2(l.IsPosition(), qPrintable("unexpected: " + Describe(l)));
            QVERIFY2(afterPosts, qPrintable("queried before Play: " + Describe(l)));
            queries << l;
        }
    }

    // A steady stream, about one query a tick, following a clock that only moves on.
    QVERIFY2(queries.size() >= 2 * int(times.size()), qPrintable(QString::number(queries.size())));
    const qint64 gap = MedianGapMs(queries);
    QVERIFY2(gap > 0 && gap <= 200, qPrintable(QStringLiteral("median gap %1 ms").arg(gap)));
    for (qsizetype i = 1; i < queries.size(); ++i) {
        QVERIFY2(queries[i].answer >= queries[i - 1].answer, qPrintable(Describe(queries[i])));
    }

    // The display ends once the position passes the last line's time: the player catches
    // up at most one line a tick, then asks no more, while the track still plays.
    const qsizetype ending = std::count_if(
        queries.begin(), queries.end(), [&](const TraceLine& l) { return l.answer >= lastTimeMs; });
    QVERIFY2(ending >= 1 && ending <= qsizetype(times.size()),
             qPrintable(QStringLiteral("%1 queries after the last line's time").arg(ending)));
    QVERIFY2(queries.last().answer < trackMs, qPrintable(Describe(queries.last())));
    QCOMPARE(platform::SendMessageA(winamp, 1024, 0, 104), LRESULT(1));
}

void tst_E2E::playsPlaylistSongAfterSong() {
    // At speed 4: the first song's lines end 0.75 s after its Play, its track 3 s after;
    // the second song's lines end 0.5 s after its Play.
    const QString folder = TempFolder();
    const QString m3u = folder + "/two.m3u";
    const QString first = folder + "/first.cx3";
    const QString second = folder + "/second.cx3";
    const QString list = folder + "/two-songs.cxp";
    const qint64 firstLastMs = 3000;
    const qint64 firstTrackMs = 12000;
    const qint64 secondLastMs = 2000;
    const double speed = 4;
    QVERIFY(WriteM3u(m3u, {12, 40, 30}));
    QVERIFY(WriteSong(first, "First", {1, 2, 3}));
    QVERIFY(WriteSong(second, "Second", {1, 2}));
    playlist::PlaylistTable table;
    QVERIFY(table.Append({first, 1, "First - E2E Band"}));
    QVERIFY(table.Append({second, 2, "Second - E2E Band"}));
    QVERIFY(playlist::WritePlaylistFile(list, table));
    QVERIFY(StartBoth(m3u, QString::number(speed), list));

    // Done once the second song has passed its last line.
    QVERIFY2(WaitForTrace(
                 [&](const QList<TraceLine>& trace) {
                     bool second = false;
                     for (const TraceLine& l : trace) {
                         second = second || l.IsPost(1024, 1, 121);
                         if (second && l.IsPosition() && l.answer >= secondLastMs) {
                             return true;
                         }
                     }
                     return false;
                 },
                 SongMs),
             "the second song never reached its last line");
    QTest::qWait(1000);
    QCOMPARE(player->state(), QProcess::Running);
    const QList<TraceLine> trace = ReadTrace(tracePath);

    // Each entry: select its track, play it, stop at its end.
    QCOMPARE(Posts(trace), QString("1024 0 121 | 273 40045 0 | 273 40157 0 | "
                                   "1024 1 121 | 273 40045 0 | 273 40157 0"));

    // Split the trace at the posts: what came during the first entry, what after the second
    // entry was started.
    qsizetype posts = 0;
    QList<TraceLine> during[2];
    qint64 firstPlayMs = -1;
    qint64 secondSelectMs = -1;
    for (const TraceLine& l : trace) {
        if (l.posted) {
            ++posts;
            if (posts == 2) {
                firstPlayMs = l.ms;
            } else if (posts == 4) {
                secondSelectMs = l.ms;
            }
            continue;
        }
        QVERIFY2(posts == 3 || posts == 6, qPrintable("query between posts: " + Describe(l)));
        during[posts == 3 ? 0 : 1] << l;
    }

    // The first entry: position queries until its last line, then play-state queries, one
    // a tick, until Winamp stopped at the end of the track; only then the next entry.
    const QList<TraceLine>& one = during[0];
    const auto firstState =
        std::find_if(one.begin(), one.end(), [](const TraceLine& l) { return l.IsPlayState(); });
    QVERIFY2(firstState != one.begin() && firstState != one.end(), "no display, then no wait");
    const TraceLine& lastPosition = *(firstState - 1);
    QVERIFY2(lastPosition.answer >= firstLastMs && lastPosition.answer < firstTrackMs,
             qPrintable(Describe(lastPosition)));
    for (auto it = one.begin(); it != firstState; ++it) {
        QVERIFY2(it->IsPosition(), qPrintable(Describe(*it)));
    }
    for (auto it = firstState; it != one.end(); ++it) {
        QVERIFY2(it->IsPlayState(), qPrintable("during the wait: " + Describe(*it)));
        const bool last = it + 1 == one.end();
        QVERIFY2(it->answer == (last ? 0 : 1), qPrintable(Describe(*it)));
    }
    QList<TraceLine> waitQueries(firstState, one.end());
    const qint64 gap = MedianGapMs(waitQueries);
    QVERIFY2(waitQueries.size() >= 5 && gap > 0 && gap <= 200,
             qPrintable(
                 QStringLiteral("%1 queries, median gap %2 ms").arg(waitQueries.size()).arg(gap)));
    // In real time too: not before the first track can have ended (its clock started when
    // its Play arrived, a few milliseconds before that line was written).
    const qint64 firstTrackRealMs = qint64(double(firstTrackMs) / speed);
    QVERIFY2(secondSelectMs - firstPlayMs >= firstTrackRealMs - 50,
             qPrintable(QStringLiteral("Play at %1 ms, next entry at %2 ms")
                            .arg(firstPlayMs)
                            .arg(secondSelectMs)));

    // The second entry, the last: its own track from the start, its lines to the end, and
    // no wait after it.
    const QList<TraceLine>& two = during[1];
    QVERIFY(!two.isEmpty());
    for (qsizetype i = 0; i < two.size(); ++i) {
        QVERIFY2(two[i].IsPosition(), qPrintable("after the last entry: " + Describe(two[i])));
        QVERIFY2(i == 0 || two[i].answer >= two[i - 1].answer, qPrintable(Describe(two[i])));
    }
    const qsizetype ending = std::count_if(
        two.begin(), two.end(), [&](const TraceLine& l) { return l.answer >= secondLastMs; });
    QVERIFY2(ending >= 1 && ending <= 2, qPrintable(QString::number(ending)));
    QCOMPARE(platform::SendMessageA(winamp, 1024, 0, 125), LRESULT(1));
}

void tst_E2E::cleanup() {
    // The player has no remote close; killing it is the only way from here.
    if (player && player->state() != QProcess::NotRunning) {
        player->kill();
        player->waitForFinished(StartMs);
    }
    player.reset();
    if (sim && sim->state() != QProcess::NotRunning) {
        platform::PostMessageA(winamp, 273, 40001, 0);
        if (!sim->waitForFinished(StartMs)) {
            sim->kill();
            sim->waitForFinished(StartMs);
        }
    }
    sim.reset();
    winamp = 0;
}

QTEST_MAIN(tst_E2E)
#include "tst_e2e.moc"
