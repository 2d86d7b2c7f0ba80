// LRC files: snippets read into the lyrics-line table, and the text written from a table.
#include <QTemporaryDir>
#include <QtTest>

#include "lyrics/LrcFile.h"
#include "lyrics/LyricsFile.h"
#include "support/Files.h"
#include "support/LyricRows.h"

using lyrics::LyricLines;
using testsupport::LoadOverOldSong;
using testsupport::OldTitle;
using testsupport::ReadBytes;
using testsupport::Rows;
using testsupport::RowsOf;
using testsupport::WriteBytes;

namespace {

// count stamped lines a second apart, the first at firstMs.
QByteArray ManyLines(int count, int firstMs) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        const int ms = firstMs + i * 1000;
        bytes += QString::asprintf("[%02d:%02d.%02d]l\n", ms / 60000, ms / 1000 % 60, ms / 10 % 100)
                     .toLatin1();
    }
    return bytes;
}

}  // namespace

class tst_Lrc : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

  private slots:
    // Each row's time is when the next line starts; the last row has none.
    void read_data() {
        QTest::addColumn<QByteArray>("bytes");  // "<missing>": no file at all
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("title");
        QTest::addColumn<Rows>("rows");
        // clang-format off
        QTest::newRow("stamp forms, the first at 0")
            << QByteArray("[0:00]a\n[0:1.5]b\n[00:02.005]c\n[01:02:50]d\n[100:00.00]e") << true << "song"
            << Rows{{1500, "a"}, {2005, "b"}, {62500, "c"}, {6000000, "d"}, {0, "e"}};
        QTest::newRow("an empty line until the first stamp")
            << QByteArray("[00:12.48]We hung our wishes\r\n[00:17.95]and watched them drift")
            << true << "song" << Rows{{12480, ""}, {17950, "We hung our wishes"}, {0, "and watched them drift"}};
        QTest::newRow("title and artist tags, others ignored")
            << QByteArray("[ti: Paper Lanterns ]\n[AR:The Quiet Harbour]\n[al:Lanterns]\n[length:03:10]\n[00:00.00]a")
            << true << "Paper Lanterns - The Quiet Harbour" << Rows{{0, "a"}};
        QTest::newRow("several stamps, lines out of order, ties in file order")
            << QByteArray("[00:05.00]chorus\n[00:01.00] [00:09.00]la la\n[00:05.00]tie\n") << true << "song"
            << Rows{{1000, ""}, {5000, "la la"}, {5000, "chorus"}, {9000, "tie"}, {0, "la la"}};
        QTest::newRow("word stamps dropped, one blank kept")
            << QByteArray("[00:00]<00:00.10>Hello <00:00.50>world\n[00:01]<00:01.00> so <00:01.20> long <3")
            << true << "song" << Rows{{1000, "Hello world"}, {0, "so long <3"}};
        QTest::newRow("negative offset shows lines later")
            << QByteArray("[offset: -500]\n[00:02.00]a\n[00:03.00]b") << true << "song"
            << Rows{{2500, ""}, {3500, "a"}, {0, "b"}};
        QTest::newRow("positive offset after the lines, none starts before 0")
            << QByteArray("[00:00.10]a\n[00:01.00]b\n[offset:200]") << true << "song"
            << Rows{{800, "a"}, {0, "b"}};
        QTest::newRow("blank lines, CR ends, untagged text, a stamped empty line")
            << QByteArray("\n\n  \r[00:01]a\r\rnot timed\r[00:02]\r\n[00:03]c\n\n") << true << "song"
            << Rows{{1000, ""}, {2000, "a"}, {3000, ""}, {0, "c"}};
        QTest::newRow("bad stamps make no line")
            << QByteArray("[00:60.00]a\n[aa:00]b\n[00:01.0000]c\n[00:02.00d\n[00:03.00]d") << true << "song"
            << Rows{{3000, ""}, {0, "d"}};
        QTest::newRow("Windows-1252")
            << QByteArray("[ti:Caf\xE9]\n[00:00]\x93na\xEFve\x94") << true << QStringLiteral(u"Café")
            << Rows{{0, QStringLiteral(u"“naïve”")}};
        QTest::newRow("tags but no stamp") << QByteArray("[ti:T]\n[ar:A]\nwords\n") << false << OldTitle << Rows{};
        QTest::newRow("empty file") << QByteArray() << false << OldTitle << Rows{};
        QTest::newRow("missing file") << QByteArray("<missing>") << false << OldTitle << Rows{};
        // The row index is 16 bits wide; the empty first line counts. No rows: 32,768 of them.
        QTest::newRow("32,768 lines from 0") << ManyLines(32768, 0) << true << "song" << Rows{};
        QTest::newRow("32,768 lines and the empty first") << ManyLines(32768, 10) << false << OldTitle << Rows{};
        QTest::newRow("32,769 lines") << ManyLines(32769, 0) << false << OldTitle << Rows{};
        // clang-format on
    }
    void read() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(Rows, rows);
        LyricLines table;
        // Any name ending in "lrc" is read as LRC, in any case.
        QCOMPARE(LoadOverOldSong(table, dir.filePath("song.LRC"), bytes), ok);
        QTEST(table.LyricsTitle, "title");
        if (rows.isEmpty()) {
            QCOMPARE(table.LastLine, qint16(ok ? 32767 : -1));
        } else {
            QCOMPARE(RowsOf(table), rows);
        }
        QCOMPARE(lyrics::ReadLyricsTitle(table.LyricsPath),
                 ok ? std::optional(table.LyricsTitle) : std::nullopt);
    }

    // Stamps rounded up to the hundredth, the tags split at the first " - ", and a line's
    // start never earlier than the line before it.
    void write_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QByteArray>("lrc");
        // clang-format off
        QTest::newRow("timed song")
            << "Salt and Cedar - Mira Vale - Live"
            << Rows{{7500, "Salt on the window"},
                    {83451, "we kept the lamp lit"},
                    {0, "untimed"},
                    {0, ""}}
            << QByteArray("[ti:Salt and Cedar]\r\n[ar:Mira Vale - Live]\r\n"
                          "[00:00.00]Salt on the window\r\n[00:07.50]we kept the lamp lit\r\n"
                          "[01:23.46]untimed\r\n[01:23.46]\r\n");
        QTest::newRow("no artist, a long song")
            << "Instrumental" << Rows{{12480, "a"}, {6000009.5, "b\r\nc"}, {1, "d"}}
            << QByteArray("[ti:Instrumental]\r\n[00:00.00]a\r\n[00:12.48]b  c\r\n[100:00.01]d\r\n");
        QTest::newRow("no title, no rows") << "" << Rows{} << QByteArray();
        // clang-format on
    }
    void write() {
        QFETCH(QString, title);
        QFETCH(Rows, rows);
        LyricLines table;
        table.LyricsTitle = title;
        for (const auto& [ms, text] : rows) {
            table.Rows.push_back({ms, text});
        }
        table.LastLine = qint16(table.Rows.size() - 1);
        const QString path = dir.filePath("out.lrc");
        QVERIFY(lyrics::WriteLrcFile(path, table));
        QTEST(ReadBytes(path), "lrc");
    }

    // Beside the lyrics file by default; never over the file it reads.
    void exportPaths() {
        const QString cx3 = dir.filePath("Song.v2.cx3");
        const QString lrc = dir.filePath("Song.v2.lrc");
        QVERIFY(WriteBytes(cx3, "\"S - A\"\r\n1.5,\"one\"\r\n,\"two\"\r\n"));
        QVERIFY(lyrics::ExportLrc(cx3));
        QCOMPARE(ReadBytes(lrc), "[ti:S]\r\n[ar:A]\r\n[00:00.00]one\r\n[00:01.50]two\r\n");
        QVERIFY(!lyrics::ExportLrc(lrc) && !lyrics::ExportLrc(lrc, dir.filePath("./Song.v2.lrc")));
        QVERIFY(!lyrics::ExportLrc(dir.filePath("missing.cx3"), lrc));
        QCOMPARE(ReadBytes(lrc), "[ti:S]\r\n[ar:A]\r\n[00:00.00]one\r\n[00:01.50]two\r\n");
    }
};

QTEST_GUILESS_MAIN(tst_Lrc)
#include "tst_lrc.moc"
