// A lyrics file and the LRC exported from it show the same current line at every 10 ms of
// the song, followed as the display follows Winamp: the demo songs and random ones.
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "lyrics/LrcFile.h"
#include "lyrics/LyricsFile.h"
#include "player/LineFollower.h"

using lyrics::SourceRow;

namespace {

// The current line at the start and after a tick at every 10 ms until the display ends.
QStringList Shown(const QString& path) {
    lyrics::LyricLines table;
    table.LyricsPath = path;
    if (!lyrics::LoadLyrics(table) || table.LastLine < 0) {
        return {"<unreadable " + path + ">"};
    }
    player::LineFollower follower(table);
    player::LineView view = follower.Start();
    QStringList shown{*view.Current};
    for (int ms = 0; !view.Ended && ms < 10'000'000; ms += 10) {
        view = follower.Tick(ms).value_or(player::LineView{shown.back(), {}, false});
        shown << *view.Current;
    }
    return shown;
}

// Times as the encoder writes them, in whole milliseconds: mostly rising, some equal, some
// earlier than the one before (a hand-made file), some never timed.
std::vector<SourceRow> RandomSong(QRandomGenerator& random) {
    static const QStringList words = {
        "lanterns", "wire,", "drift", QStringLiteral(u"café"), "o'er", QStringLiteral(u"夜"),
        "(hum)",    "la"};
    std::vector<SourceRow> rows;
    qint64 ms = 0;
    const int count = random.bounded(1, 40);
    for (int i = 0; i < count; ++i) {
        SourceRow row;
        const int kind = random.bounded(10);
        if (kind == 1) {
            ms = std::max<qint64>(0, ms - random.bounded(3000));
        } else if (kind > 2) {
            ms += random.bounded(1, 9000);
        }
        if (kind != 0) {
            row.Seconds = double(ms) / 1000;
        }
        QStringList text;
        for (int w = random.bounded(4); w > 0; --w) {
            text << words[random.bounded(words.size())];
        }
        row.Text = text.join(' ');
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

class tst_LrcRoundTrip : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

  private slots:
    void sameLineEveryTenMs() {
        bool given = false;
        const quint32 asked = qEnvironmentVariable("CANTORIX_TEST_SEED").toUInt(&given);
        const quint32 seed = given ? asked : QRandomGenerator::global()->generate();
        qInfo("seed %u (CANTORIX_TEST_SEED=%u runs these songs again)", seed, seed);
        QRandomGenerator random(seed);
        const QFileInfoList demos = QDir(CANTORIX_DEMO_DIR).entryInfoList({"*.cx3"});
        QVERIFY(demos.size() >= 3);
        for (qsizetype song = -demos.size(); song < 300; ++song) {
            QString cx3 = dir.filePath("random.cx3");
            if (song < 0) {
                cx3 = demos[song + demos.size()].filePath();
            } else {
                const std::vector<SourceRow> rows = RandomSong(random);
                QVERIFY(lyrics::WriteLyricsFile(cx3, "Random - Song", rows, int(rows.size()) - 1));
            }
            const QString lrc = dir.filePath("exported.lrc");
            QVERIFY(lyrics::ExportLrc(cx3, lrc));
            QCOMPARE(Shown(lrc), Shown(cx3));
        }
    }
};

QTEST_GUILESS_MAIN(tst_LrcRoundTrip)
#include "tst_lrc_roundtrip.moc"
