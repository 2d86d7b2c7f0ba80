// Lyrics moved against the music: the output delay (heard moment) and a song's offset kept in
// its file, which then shows what the player showed with the offset; cantorix.conf.
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "lyrics/ConfFile.h"
#include "lyrics/LrcFile.h"
#include "lyrics/Offsets.h"
#include "support/Files.h"

using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

// "text@ms" for each line left (not the last), moved shiftMs as a player's offset moves it; an
// empty lead-in line left out (a kept offset moving the first stamp past 0 makes one).
QStringList Moments(const QByteArray& lrc, qint64 shiftMs) {
    lyrics::LyricLines table;
    if (!lyrics::ReadLrc(lrc, "song", table)) {
        return {"<unreadable>"};
    }
    QStringList moments;
    for (size_t k = 0; k + 1 < table.Rows.size(); ++k) {
        const qint64 left = std::max<qint64>(0, qint64(table.Rows[k].TimeMs) + shiftMs);
        moments << QStringLiteral("%1@%2").arg(table.Rows[k].Text).arg(left);
    }
    if (!moments.isEmpty() && moments.front().startsWith(u'@')) {
        moments.removeFirst();
    }
    return moments;
}

// "delay search karaoke overlay locked place folder", "-" for what is not set.
QString Summary(const lyrics::ConfSettings& c) {
    const QPoint at = c.OverlayPlace.value_or(QPoint());
    const char* search = !c.SearchOnline ? "-" : *c.SearchOnline ? "1" : "0";
    return QString::asprintf("%d %s %d%d%d ", c.OutputDelayMs, search, c.Karaoke, c.Overlay,
                             c.OverlayLocked) +
           (c.OverlayPlace ? QStringLiteral("%1,%2").arg(at.x()).arg(at.y()) : "-") + ' ' +
           (c.LibraryFolder.isEmpty() ? "-" : c.LibraryFolder);
}

}  // namespace

class tst_Offsets : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

  private slots:
    // Delayed, not before the start, below 0 passed on.
    void heardPosition() {
        QCOMPARE(lyrics::HeardPosition(83456, 250), qint64(83206));
        QCOMPARE(lyrics::HeardPosition(100, 250), qint64(0));
        QCOMPARE(lyrics::HeardPosition(-40, 250), qint64(-40));
    }

    // Kept in the file, an offset of either sign leaves every line where the player left it
    // with that offset; lines taken before 0 keep their order.
    void lrcKeptOffsetShowsTheSameMoments_data() {
        QTest::addColumn<QByteArray>("lrc");
        QTest::addColumn<qint64>("shift");
        // clang-format off
        const QList<QPair<const char*, QByteArray>> songs{
            {"from 0", "[ti:S]\n[00:00.00]a\n[00:02.50]b\n[00:04.00]c\n"},
            {"empty line until the first", "[00:01.00]a\n[00:02.00]\n[00:03.50]b\n[00:05.00]c"},
            {"own offset, lines out of order", "[offset:1500]\n[00:02.00]x\n[00:01.00]y\n[00:03.00]z\n[00:06.00]w"},
            {"several stamps on a line", "[00:01.00][00:05.00]chorus\n[00:03.00]verse\n[00:07.00]end"},
            {"own offset among tags", "[ti:S][offset:300]\n[00:01.00]a\n[00:02.00]b\n[00:03.00]c"}};
        // clang-format on
        for (const auto& [name, lrc] : songs) {
            for (qint64 shift : {-2500, -100, 10, 1800}) {
                QTest::addRow("%s, %+lld ms", name, static_cast<long long>(shift)) << lrc << shift;
            }
        }
    }
    void lrcKeptOffsetShowsTheSameMoments() {
        QFETCH(QByteArray, lrc);
        QFETCH(qint64, shift);
        QCOMPARE(Moments(lyrics::LrcMovedBy(lrc, shift), 0), Moments(lrc, shift));
    }

    // A .cx3 moved by its times (untimed stay so, none before 0); in an LRC the tag in force
    // takes the new offset in place, else a new one goes before the first stamped line with the
    // file's own line end, not one other byte changed. A file not read whole is left as it was.
    void moveLyricsFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");  // "<missing>": no file
        QTest::addColumn<qint64>("shift");
        QTest::addColumn<QByteArray>("moved");  // empty: the move fails, the file as it was
        // clang-format off
        QTest::newRow("cx3 later")  << "a.cx3" << QByteArray("\"S - A\"\r\n4.2,\"one\"\r\n,\"two\"\r\n8.5,\"three\"\r\n") << qint64(250)
                                    << QByteArray("\"S - A\"\r\n4.45,\"one\"\r\n,\"two\"\r\n8.75,\"three\"\r\n");
        QTest::newRow("cx2 sooner, none before 0") << "a.cx2" << QByteArray("\"S\"\r\n0.3,\"one\"\r\n4.03,\"two\"\r\n") << qint64(-500)
                                    << QByteArray("\"S\"\r\n0,\"one\"\r\n3.53,\"two\"\r\n");
        QTest::newRow("cx3 cut short") << "a.cx3" << QByteArray("\"S\"\r\n1,\"one\"\r\nsoon,\"two\"\r\n") << qint64(100) << QByteArray();
        QTest::newRow("missing")    << "a.cx3" << QByteArray("<missing>") << qint64(100) << QByteArray();
        QTest::newRow("LRC without a stamp") << "a.lrc" << QByteArray("[ti:S]\n") << qint64(100) << QByteArray();
        QTest::newRow("LRC, no tag, later") << "a.lrc" << QByteArray("[ti:S]\r\n[ar:A]\r\n[00:01.00]a\r\n") << qint64(300)
                                    << QByteArray("[ti:S]\r\n[ar:A]\r\n[offset:-300]\r\n[00:01.00]a\r\n");
        QTest::newRow("LRC, no tag, sooner, LF") << "a.lrc" << QByteArray("[00:01.00]a\n[00:02.00]b") << qint64(-250)
                                    << QByteArray("[offset:250]\n[00:01.00]a\n[00:02.00]b");
        QTest::newRow("LRC, tag in force changed in place") << "a.lrc" << QByteArray("[OFFSET: +200]\r[00:01]a\r") << qint64(-100)
                                    << QByteArray("[OFFSET:300]\r[00:01]a\r");
        QTest::newRow("LRC, tag to 0 stays") << "a.lrc" << QByteArray("[offset:-100]\n[00:01]a\n") << qint64(-100)
                                    << QByteArray("[offset:0]\n[00:01]a\n");
        QTest::newRow("LRC, the last valid tag is in force") << "a.lrc" << QByteArray("[offset:50]\n[00:01]a\n[offset:x]\n[offset:70]\n")
                                    << qint64(10) << QByteArray("[offset:50]\n[00:01]a\n[offset:x]\n[offset:60]\n");
        QTest::newRow("LRC, text after a tag is no tag") << "a.lrc" << QByteArray("[offset:20] words\n[00:01]a\n") << qint64(20)
                                    << QByteArray("[offset:20] words\n[offset:-20]\n[00:01]a\n");
        QTest::newRow("LRC after the byte-order mark, Windows-1252 kept") << "a.lrc" << QByteArray("\xEF\xBB\xBF[00:01]caf\xE9\r\n")
                                    << qint64(5) << QByteArray("\xEF\xBB\xBF[offset:-5]\r\n[00:01]caf\xE9\r\n");
        // clang-format on
    }
    void moveLyricsFile() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, shift);
        QFETCH(QByteArray, moved);
        const QString path = dir.filePath(name);
        QVERIFY(testsupport::PutBytes(path, bytes));
        QCOMPARE(lyrics::MoveLyricsFile(path, shift), !moved.isEmpty());
        QCOMPARE(QFile::exists(path) ? ReadBytes(path) : "<missing>",
                 moved.isEmpty() ? bytes : moved);
    }

    // The delay held in range, a switch on only for "true", a place two numbers, the database
    // question answered only by "true" or "false"; anything else is the default.
    void readConf() {
        // clang-format off
        const QList<std::pair<QByteArray, QString>> rows{
            {"<missing>", "0 - 000 - -"}, {"[Output]\nDelayMs=1500\n", "1500 - 000 - -"},
            {"[Output]\nDelayMs=soon\n", "0 - 000 - -"}, {"[Output]\nDelayMs=99999\n", "2000 - 000 - -"},
            {"[Output]\nDelayMs=-5\n", "0 - 000 - -"}, {"[Online]\nSearchMissingLyrics=true\n", "0 1 000 - -"},
            {"[Online]\nSearchMissingLyrics=false\n", "0 0 000 - -"}, {"[Online]\nSearchMissingLyrics=1\n", "0 - 000 - -"},
            {"[Player]\nKaraoke=1\n[Overlay]\nShown=true\nLocked=yes\nPlace=1,x\n", "0 - 010 - -"}};
        // clang-format on
        for (qsizetype k = 0; k < rows.size(); ++k) {
            // A file each: the reader keeps what it read of a path unchanged in size.
            const QString path = dir.filePath(QStringLiteral("%1.conf").arg(k));
            QVERIFY(testsupport::PutBytes(path, rows[k].first));
            QVERIFY2(Summary(lyrics::ReadConfFile(path)) == rows[k].second,
                     rows[k].first.constData());
        }
    }

    // Each setting written keeps the rest of the file; a folder in its place: nothing either way.
    void writeConf() {
        const QString path = dir.filePath("written.conf");
        QVERIFY(WriteBytes(path, "[Other]\nKey=1\n"));
        QVERIFY(lyrics::WriteOutputDelay(path, 150) && lyrics::WriteSearchOnline(path, true));
        QVERIFY(lyrics::WriteLibraryFolder(path, "/m/Lyrics, été"));
        QVERIFY(lyrics::WriteConfSwitch(path, lyrics::ConfKey::Karaoke, true));
        QVERIFY(lyrics::WriteConfSwitch(path, lyrics::ConfKey::OverlayLocked, true));
        QVERIFY(lyrics::WriteOverlayPlace(path, QPoint(-40, 700)));
        QCOMPARE(Summary(lyrics::ReadConfFile(path)), "150 1 101 -40,700 /m/Lyrics, été");
        QVERIFY(lyrics::WriteOutputDelay(path, 99999) && lyrics::WriteSearchOnline(path, false));
        QCOMPARE(Summary(lyrics::ReadConfFile(path)), "2000 0 101 -40,700 /m/Lyrics, été");
        QVERIFY(ReadBytes(path).contains("Key=1"));
        QVERIFY(QDir(dir.path()).mkpath("folder.conf"));
        QCOMPARE(Summary(lyrics::ReadConfFile(dir.filePath("folder.conf"))), "0 - 000 - -");
        QVERIFY(!lyrics::WriteOutputDelay(dir.filePath("folder.conf"), 100));
    }
};

QTEST_GUILESS_MAIN(tst_Offsets)
#include "tst_offsets.moc"
