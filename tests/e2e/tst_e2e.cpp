// The real cantorix against the real winamp-sim (headless, tracing, its clock sped up),
// judged from winamp-sim's trace: the player cannot be asked anything from outside.
// Assertions hold however slowly the machine runs; only the waits are bounded.
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <optional>
#include <vector>

#include "lyrics/LyricsFile.h"
#include "platform/Win32.h"
#include "playlist/PlaylistFile.h"
#include "support/Files.h"
#include "support/SimTrace.h"
#include "support/WindowProcess.h"

using platform::LRESULT;
using testsupport::TempPath;

namespace {

constexpr int WaitMs = 20000;
const QByteArray Position = "1024 0 105";

using Line = testsupport::TraceLine;
using testsupport::Trace;

// Empty when sends are position queries only, of which 1 to catchUp are answered lastMs or
// more: the display caught up at most a line a tick after its last line, then asked no more.
QByteArray PositionsFault(const QList<Line>& sends, qint64 lastMs, int catchUp) {
    int afterLast = 0;
    for (const Line& l : sends) {
        if (l.Call != Position) {
            return "unexpected " + l.Text;
        }
        afterLast += l.Answer >= lastMs;
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

    QProcess sim, player;
    platform::HWND winamp = 0;

    // Starts winamp-sim at speed over tracks of the given seconds, then the player on
    // opened, and waits until a position query after the post `after` is answered `ms` or
    // more; then a second longer (about 25 ticks), so what should not come has had its
    // chance. Returns the trace, or nothing on timeout or when the player has exited.
    std::optional<Trace> Run(const char* speed, const QList<int>& tracksS, const QString& opened,
                             const QByteArray& after, qint64 ms) {
        QByteArray m3u;
        for (int s : tracksS) {
            m3u += "#EXTINF:" + QByteArray::number(s) + ",Track\nt.mp3\n";
        }
        const QString trace = opened + ".log";
        winamp = testsupport::WriteBytes(opened + ".m3u", m3u)
                     ? testsupport::StartWindowProcess(
                           sim, CANTORIX_BIN_DIR "/winamp-sim",
                           {"--headless", "--trace", trace, "--speed", speed, opened + ".m3u"},
                           "Winamp v1.x", WaitMs)
                     : 0;
        // Only now: a player that finds no Winamp says so in a box, which ends it here.
        player.setProcessChannelMode(QProcess::ForwardedChannels);
        player.start(CANTORIX_BIN_DIR "/cantorix", {"--play", opened});
        const QDeadlineTimer deadline(WaitMs);
        for (bool done = false; !done; QTest::qWait(20)) {
            if (winamp == 0 || deadline.hasExpired() || player.state() == QProcess::NotRunning) {
                return std::nullopt;
            }
            const Trace seen(trace);
            const qsizetype posted = seen.posts.indexOf(after);
            for (qsizetype i = posted + 1; posted >= 0 && i < seen.sends.size(); ++i) {
                for (const Line& l : seen.sends[i]) {
                    done = done || (l.Call == Position && l.Answer >= ms);
                }
            }
        }
        QTest::qWait(1000);
        return player.state() == QProcess::Running ? std::optional<Trace>(trace) : std::nullopt;
    }

  private slots:
    void cleanup() {
        for (QProcess* process : {&player, &sim}) {  // the player has no remote close
            process->kill();
            process->waitForFinished(WaitMs);
        }
    }

    // Speed 4: the first entry's lines end 0.75 s after its Play and its 12 s track 3 s after;
    // the second entry's lines end 0.5 s after its Play. Each entry: select its track, play
    // it, stop at its end; the next entry only once the track has ended.
    void playsPlaylistSongAfterSong() {
        const QString first = TempPath("first.cx3"), second = TempPath("second.cx3");
        const QString list = TempPath("two.cxp");
        QVERIFY(WriteSong(first, {1, 2, 3}));
        QVERIFY(WriteSong(second, {1, 2}));
        playlist::PlaylistTable table;
        QVERIFY(table.Append({first, 1, "First - E2E Band"}) &&
                table.Append({second, 2, "Second"}));
        QVERIFY(playlist::WritePlaylistFile(list, table));
        auto trace = Run("4", {12, 40, 30}, list, "1024 1 121", 2000);
        QVERIFY(trace);
        QCOMPARE(trace->posts.join(" | "), QByteArray("1024 0 121 | 273 40045 0 | 273 40157 0 | "
                                                      "1024 1 121 | 273 40045 0 | 273 40157 0"));
        QList<QList<Line>>& sends = trace->sends;
        QVERIFY((sends[0] + sends[1] + sends[2] + sends[4] + sends[5]).isEmpty());

        // The first entry: positions until its last line, then play-state queries answered 1
        // until the track ended.
        QList<Line>& one = sends[3];
        qsizetype waits = 0;
        while (!one.isEmpty() && one.last().Call == "1024 0 104") {
            QCOMPARE(one.takeLast().Answer, qint64(waits++ == 0 ? 0 : 1));
        }
        QVERIFY2(waits >= 5, qPrintable(QString::number(waits)));
        QCOMPARE(PositionsFault(one, 3000, 3), QByteArray());
        QVERIFY(one.last().Answer < 12000);

        // The second entry, the last: its lines to the end and no wait after it.
        QCOMPARE(PositionsFault(sends[6], 2000, 2), QByteArray());
        QCOMPARE(platform::SendMessageA(winamp, 1024, 0, 125), LRESULT(1));
    }
};

QTEST_MAIN(tst_E2E)
#include "tst_e2e.moc"
