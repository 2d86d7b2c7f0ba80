// Timed lyrics files: the player's reader, the title reader and the encoder's writer.
#include <QTemporaryDir>
#include <QtTest>

#include "lyrics/LyricsFile.h"
#include "support/Files.h"
#include "support/LyricRows.h"

using lyrics::LyricLines;
using lyrics::SourceRow;
using testsupport::LoadOverOldSong;
using testsupport::OldTitle;
using testsupport::ReadBytes;
using testsupport::Rows;
using testsupport::RowsOf;
using testsupport::WriteBytes;

Q_DECLARE_METATYPE(std::vector<SourceRow>)

namespace {

QString GoldenPath(const char* name) {
    return QStringLiteral(CANTORIX_TEST_DATA "/lyrics/") + QLatin1String(name);
}

}  // namespace

class TestLyrics : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

  private slots:
    // The encoder's tables, with the extra row that is never written, give the golden files.
    void writeGolden_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<std::vector<SourceRow>>("lines");
        QTest::addColumn<QString>("golden");
        QTest::newRow("worked example")
            << "Paper Lanterns - The Quiet Harbour"
            << std::vector<SourceRow>{{12.48, "We hung our wishes on the wire"},
                                      {17.952, "and watched them drift above the town"},
                                      {std::nullopt, "paper lanterns, burning low"},
                                      {std::nullopt, "[end of file...]"}}
            << "paper-lanterns.cx3";
        QTest::newRow("untimed and empty lines")
            << "Salt and Cedar - Mira Vale"
            << std::vector<SourceRow>{{7.5, "Salt on the window, cedar on the stair"},
                                      {83.456, "we kept the lamp lit through the tide"},
                                      {std::nullopt, "and nobody came to the door"},
                                      {std::nullopt, ""},
                                      {std::nullopt, "[end of file...]"}}
            << "salt-and-cedar.cx3";
    }
    void writeGolden() {
        QFETCH(QString, title);
        QFETCH(std::vector<SourceRow>, lines);
        QFETCH(QString, golden);
        const QString path = dir.filePath(golden);
        QVERIFY(WriteBytes(path, QByteArray(4096, 'x')));  // replaced, not overwritten in place
        QVERIFY(lyrics::WriteLyricsFile(path, title, lines, int(lines.size()) - 2));
        QCOMPARE(ReadBytes(path), ReadBytes(GoldenPath(qPrintable(golden))));
    }

    // On failure the table keeps the rows read, the failing row included; a file that
    // cannot be opened leaves it empty with the title it had.
    void load_data() {
        QTest::addColumn<QByteArray>("bytes");  // "<missing>": no file at all
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("title");
        QTest::addColumn<Rows>("rows");
        const Rows two = {{1500, "one"}, {0, "two, too"}};
        // Times exact, not merely close: the display compares them with whole milliseconds.
        QTest::newRow("worked example") << ReadBytes(GoldenPath("paper-lanterns.cx3")) << true
                                        << "Paper Lanterns - The Quiet Harbour"
                                        << Rows{{12480, "We hung our wishes on the wire"},
                                                {17952, "and watched them drift above the town"},
                                                {0, "paper lanterns, burning low"}};
        QTest::newRow("Windows-1252") << ReadBytes(GoldenPath("cafe-cp1252.cx3")) << true
                                      << QStringLiteral(u"Café Noir - Renée – Løvland")
                                      << Rows{{500, QStringLiteral(u"“Un café” coûte 5 €…")},
                                              {2000, QStringLiteral(u"Grüße an Šárka™")}};
        QTest::newRow("records across lines pair as a stream")
            << QByteArray("\"S - A\",1.5,\"one\",\r\n\"two, too\"") << true << "S - A" << two;
        QTest::newRow("times exact to the millisecond, with and without a zero before the point")
            << QByteArray("\"T\"\r\n.5,\"a\"\r\n-.25,\"b\"\r\n83.456,\"c\"\r\n4.03,\"d\"\r\n")
            << true << "T" << Rows{{500, "a"}, {-250, "b"}, {83456, "c"}, {4030, "d"}};
        QTest::newRow("time that is not a number")
            << QByteArray("\"T\"\r\n1,\"a\"\r\nsoon,\"b\"\r\n3,\"c\"\r\n") << false << "T"
            << Rows{{1000, "a"}, {0, ""}};
        QTest::newRow("quoted time")
            << QByteArray("\"T\"\r\n\"12\",\"a\"\r\n") << false << "T" << Rows{{0, ""}};
        QTest::newRow("text missing at the end") << QByteArray("\"T\"\r\n1,\"a\"\r\n2\r\n") << false
                                                 << "T" << Rows{{1000, "a"}, {2000, ""}};
        QTest::newRow("blank file") << QByteArray("\r\n") << false << OldTitle << Rows{};
        QTest::newRow("missing file") << QByteArray("<missing>") << false << OldTitle << Rows{};
    }
    void load() {
        QFETCH(QByteArray, bytes);
        QFETCH(Rows, rows);
        LyricLines table;
        QTEST(LoadOverOldSong(table, dir.filePath("song.cx3"), bytes), "ok");
        QTEST(table.LyricsTitle, "title");
        // The title reader takes the first field whatever follows it.
        QCOMPARE(lyrics::ReadLyricsTitle(table.LyricsPath),
                 rows.isEmpty() ? std::nullopt : std::optional(table.LyricsTitle));
        QCOMPARE(RowsOf(table), rows);
        QCOMPARE(table.LastLine, qint16(rows.size() - 1));
    }

    // The row index is 16 bits wide: a song of one line more fails there, never wraps round.
    void recordLimit() {
        QByteArray bytes = "\"Long Song - Nobody\"\r\n";
        for (int i = 0; i < 32769; ++i) {
            bytes += QByteArray::number(i) + ".5,\"line " + QByteArray::number(i) + "\"\r\n";
        }
        LyricLines table;
        table.LyricsPath = dir.filePath("long.cx3");
        for (const bool ok : {true, false}) {
            QVERIFY(WriteBytes(table.LyricsPath,
                               ok ? bytes.left(bytes.lastIndexOf("32768.5")) : bytes));
            QCOMPARE(LoadLyrics(table), ok);
            QCOMPARE(table.LastLine, qint16(32767));
            QCOMPARE(table.Rows.back().TimeMs, 32767500.0);
        }
    }

    // Rows asked for beyond those given: the old file stays (other failed saves are the
    // writer's); none asked for: the title alone.
    void writeLimits() {
        const std::vector<SourceRow> lines = {{1, "yes"}, {std::nullopt, "[end]"}};
        const QString path = dir.filePath("range.cx3");
        QVERIFY(WriteBytes(path, "old"));
        QVERIFY(!lyrics::WriteLyricsFile(path, "T", lines, 2));
        QCOMPARE(ReadBytes(path), QByteArray("old"));
        QVERIFY(lyrics::WriteLyricsFile(path, "T", lines, -1));
        QCOMPARE(ReadBytes(path), QByteArray("\"T\"\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestLyrics)
#include "tst_lyrics.moc"
