// Timed lyrics files: the player's reader, the title reader and the encoder's writer.
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "TestFiles.h"
#include "lyrics/LyricsFile.h"

using lyrics::LoadLyrics;
using lyrics::LyricLines;
using lyrics::LyricRow;
using lyrics::ReadLyricsTitle;
using lyrics::SourceRow;
using lyrics::WriteLyricsFile;
using lyrics::test::GoldenPath;
using lyrics::test::ReadBytes;
using lyrics::test::WriteBytes;

using Rows = QList<QPair<double, QString>>;

namespace {

Rows RowsOf(const LyricLines& table) {
    Rows rows;
    for (const LyricRow& row : table.Rows) {
        rows.append({row.TimeMs, row.Text});
    }
    return rows;
}

// A lyrics file of the given number of records, each numbered in its text.
QByteArray NumberedFile(int records) {
    QByteArray bytes = "\"Long Song - Nobody\"\r\n";
    bytes.reserve(records * 24);
    for (int i = 0; i < records; ++i) {
        bytes += QByteArray::number(i) + ".5,\"line " + QByteArray::number(i) + "\"\r\n";
    }
    return bytes;
}

const QString OldTitle = QStringLiteral("Previous Song - Someone");

}  // namespace

class TestLyrics : public QObject {
    Q_OBJECT

  private slots:
    void workedExample_data();
    void workedExample();
    void writeWorkedExample();
    void writeGolden();
    void load_data();
    void load();
    void loadMissingFileEmptiesTable();
    void recordLimit_data();
    void recordLimit();
    void loadHostileFiles_data();
    void loadHostileFiles();
    void readTitle_data();
    void readTitle();
    void writeReadRoundTrip_data();
    void writeReadRoundTrip();
    void writeRowRange_data();
    void writeRowRange();
    void writeFailureKeepsOldFile();
};

void TestLyrics::workedExample_data() {
    QTest::addColumn<QString>("extension");
    QTest::newRow("current extension") << "cx3";
    QTest::newRow("older extension") << "cx2";
}

void TestLyrics::workedExample() {
    QFETCH(QString, extension);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    LyricLines table;
    table.LyricsPath = dir.filePath("paper lanterns." + extension);
    QVERIFY(QFile::copy(GoldenPath("paper-lanterns.cx3"), table.LyricsPath));

    QVERIFY(LoadLyrics(table));
    QCOMPARE(table.LyricsTitle, QStringLiteral("Paper Lanterns - The Quiet Harbour"));
    QCOMPARE(table.LastLine, qint16(2));
    QCOMPARE(table.Rows.size(), size_t(3));
    // Exact, not merely close: the display compares them with whole milliseconds.
    QVERIFY(table.Rows[0].TimeMs == 12480);
    QVERIFY(table.Rows[1].TimeMs == 17952);
    QVERIFY(table.Rows[2].TimeMs == 0);
    QCOMPARE(table.Rows[0].Text, QStringLiteral("We hung our wishes on the wire"));
    QCOMPARE(table.Rows[1].Text, QStringLiteral("and watched them drift above the town"));
    QCOMPARE(table.Rows[2].Text, QStringLiteral("paper lanterns, burning low"));
}

void TestLyrics::writeWorkedExample() {
    // The encoder's table of that song, with the extra row that is never written.
    const std::vector<SourceRow> lines = {{12.48, "We hung our wishes on the wire"},
                                          {17.952, "and watched them drift above the town"},
                                          {std::nullopt, "paper lanterns, burning low"},
                                          {std::nullopt, "[end of file...]"}};
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("out.cx3");
    QVERIFY(WriteLyricsFile(path, "Paper Lanterns - The Quiet Harbour", lines, 2));
    QCOMPARE(ReadBytes(path), ReadBytes(GoldenPath("paper-lanterns.cx3")));
}

void TestLyrics::writeGolden() {
    // Four lyric lines: timed, timed, untimed, and one edited empty and never timed.
    const std::vector<SourceRow> lines = {{7.5, "Salt on the window, cedar on the stair"},
                                          {83.456, "we kept the lamp lit through the tide"},
                                          {std::nullopt, "and nobody came to the door"},
                                          {std::nullopt, ""},
                                          {std::nullopt, "[end of file...]"}};
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("salt and cedar.cx3");
    QVERIFY(WriteBytes(path, QByteArray(4096, 'x')));  // replaced, not overwritten in place
    QVERIFY(WriteLyricsFile(path, "Salt and Cedar - Mira Vale", lines, 3));

    const QByteArray bytes = ReadBytes(path);
    const QByteArray golden = ReadBytes(GoldenPath("salt-and-cedar.cx3"));
    QVERIFY(!golden.isEmpty());
    QCOMPARE(bytes, golden);
    QCOMPARE(bytes.count("\r\n"), 5);
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(!bytes.contains("end of file"));

    LyricLines table;
    table.LyricsPath = path;
    QVERIFY(LoadLyrics(table));
    QCOMPARE(table.LastLine, qint16(3));
    QVERIFY(table.Rows[1].TimeMs == 83456);
    QCOMPARE(RowsOf(table), (Rows{{7500, "Salt on the window, cedar on the stair"},
                                  {83456, "we kept the lamp lit through the tide"},
                                  {0, "and nobody came to the door"},
                                  {0, ""}}));
}

void TestLyrics::load_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("title");
    QTest::addColumn<Rows>("rows");

    const Rows two = {{1500, "one"}, {0, "two, too"}};
    QTest::newRow("CR LF") << QByteArray("\"S - A\"\r\n1.5,\"one\"\r\n,\"two, too\"\r\n") << true
                           << "S - A" << two;
    QTest::newRow("LF") << QByteArray("\"S - A\"\n1.5,\"one\"\n,\"two, too\"\n") << true << "S - A"
                        << two;
    QTest::newRow("CR") << QByteArray("\"S - A\"\r1.5,\"one\"\r,\"two, too\"\r") << true << "S - A"
                        << two;
    QTest::newRow("trailing blank lines")
        << QByteArray("\"S - A\"\r\n1.5,\"one\"\r\n,\"two, too\"\r\n\r\n\r\n  \r\n") << true
        << "S - A" << two;
    QTest::newRow("no line end at the end")
        << QByteArray("\"S - A\"\r\n1.5,\"one\"\r\n,\"two, too\"") << true << "S - A" << two;
    QTest::newRow("blanks before fields")
        << QByteArray("  \"S - A\"\r\n  1.5 ,\t\"one\"\r\n\t, \"two, too\"\r\n") << true << "S - A"
        << two;
    QTest::newRow("records across lines pair as a stream")
        << QByteArray("\"S - A\",1.5,\"one\",\r\n\"two, too\"\r\n") << true << "S - A" << two;
    QTest::newRow("text spanning lines") << QByteArray("\"T\"\r\n2,\"first\r\nsecond\"\r\n") << true
                                         << "T" << Rows{{2000, "first\r\nsecond"}};
    QTest::newRow("header only") << QByteArray("\"Only - Title\"\r\n") << true << "Only - Title"
                                 << Rows{};
    QTest::newRow("header only without line end")
        << QByteArray("\"Only - Title\"") << true << "Only - Title" << Rows{};
    QTest::newRow("bare title") << QByteArray("Bare - Title  \r\n1,\"x\"\r\n") << true
                                << "Bare - Title" << Rows{{1000, "x"}};
    QTest::newRow("times with and without a zero before the point")
        << QByteArray("\"T\"\r\n.5,\"a\"\r\n0.5,\"b\"\r\n-.25,\"c\"\r\n83.456,\"d\"\r\n") << true
        << "T" << Rows{{500, "a"}, {500, "b"}, {-250, "c"}, {83456, "d"}};
    QTest::newRow("utf-8 with byte-order mark")
        << QByteArray("\xEF\xBB\xBF\"Caf\xC3\xA9 - \xE6\x9D\xB1\"\r\n1,\"\xCE\xA8\"\r\n") << true
        << QStringLiteral(u"Café - 東") << Rows{{1000, QStringLiteral(u"Ψ")}};

    // Failures keep what was read, the failing row included.
    QTest::newRow("time that is not a number")
        << QByteArray("\"T\"\r\n1,\"a\"\r\nsoon,\"b\"\r\n3,\"c\"\r\n") << false << "T"
        << Rows{{1000, "a"}, {0, ""}};
    QTest::newRow("time with decimal comma pairs wrongly and fails")
        << QByteArray("\"T\"\r\n1,5,\"a\"\r\n") << false << "T" << Rows{{1000, "5"}, {0, ""}};
    QTest::newRow("quoted time") << QByteArray("\"T\"\r\n\"12\",\"a\"\r\n") << false << "T"
                                 << Rows{{0, ""}};
    QTest::newRow("text missing at the end")
        << QByteArray("\"T\"\r\n1,\"a\"\r\n2\r\n") << false << "T" << Rows{{1000, "a"}, {2000, ""}};
    QTest::newRow("empty text after a trailing comma")
        << QByteArray("\"T\"\r\n1,\"a\"\r\n2,\r\n") << false << "T"
        << Rows{{1000, "a"}, {2000, ""}};
    QTest::newRow("empty file") << QByteArray() << false << OldTitle << Rows{};
    QTest::newRow("blank lines only") << QByteArray("\r\n  \r\n") << false << OldTitle << Rows{};
}

void TestLyrics::load() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QString, title);
    QFETCH(Rows, rows);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    LyricLines table;
    table.LyricsTitle = OldTitle;
    table.Rows = {{1, "left over"}};
    table.LastLine = 0;
    table.LyricsPath = dir.filePath("song.cx3");
    QVERIFY(WriteBytes(table.LyricsPath, bytes));

    QCOMPARE(LoadLyrics(table), ok);
    QCOMPARE(table.LyricsTitle, title);
    QCOMPARE(RowsOf(table), rows);
    QCOMPARE(table.LastLine, qint16(rows.size() - 1));
}

void TestLyrics::loadMissingFileEmptiesTable() {
    LyricLines table;
    table.LyricsPath = GoldenPath("paper-lanterns.cx3");
    QVERIFY(LoadLyrics(table));
    QCOMPARE(table.LastLine, qint16(2));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString& path : {dir.filePath("missing.cx3"), dir.path()}) {
        table.LyricsPath = path;
        QVERIFY(!LoadLyrics(table));
        QVERIFY(table.Rows.empty());
        QCOMPARE(table.LastLine, qint16(-1));
        QCOMPARE(table.LyricsTitle, QStringLiteral("Paper Lanterns - The Quiet Harbour"));
        QCOMPARE(table.LyricsPath, path);
    }
}

void TestLyrics::recordLimit_data() {
    QTest::addColumn<int>("records");
    QTest::addColumn<bool>("ok");
    QTest::newRow("as many as the index holds") << 32768 << true;
    QTest::newRow("one more") << 32769 << false;
    QTest::newRow("far more") << 70000 << false;
}

void TestLyrics::recordLimit() {
    QFETCH(int, records);
    QFETCH(bool, ok);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    LyricLines table;
    table.LyricsPath = dir.filePath("long.cx3");
    QVERIFY(WriteBytes(table.LyricsPath, NumberedFile(records)));

    QCOMPARE(LoadLyrics(table), ok);
    // Never wrapped round to a negative index, and the table matches the index.
    QCOMPARE(table.LastLine, qint16(32767));
    QCOMPARE(table.Rows.size(), size_t(32768));
    QCOMPARE(table.Rows.back().Text, QStringLiteral("line 32767"));
    QVERIFY(table.Rows.back().TimeMs == 32767500);
    QCOMPARE(table.LyricsTitle, QStringLiteral("Long Song - Nobody"));
}

void TestLyrics::loadHostileFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QRandomGenerator random(4242);
    for (int seed = 0; seed < 4; ++seed) {
        QByteArray garbage(256 * 1024, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32*>(garbage.data()), garbage.size() / 4);
        QTest::newRow(qPrintable(QString("random bytes %1").arg(seed))) << garbage;
    }
    // Mostly delimiters and digits, so that many records get far before failing.
    QByteArray stream(1024 * 1024, Qt::Uninitialized);
    const char pool[] = {'"', ',', ',', '\r', '\n', ' ', '1', '2', '.', '-', 'a'};
    for (char& c : stream) {
        c = pool[random.bounded(int(sizeof pool))];
    }
    QTest::newRow("random delimiters and digits") << stream;
    QTest::newRow("very long line")
        << QByteArray("\"T\"\r\n1,\"" + QByteArray(8 * 1024 * 1024, 'w') + "\"\r\n");
    QTest::newRow("numbers only") << QByteArray("1,").repeated(100000);
}

void TestLyrics::loadHostileFiles() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    LyricLines table;
    table.LyricsPath = dir.filePath("hostile.cx3");
    QVERIFY(WriteBytes(table.LyricsPath, bytes));
    LoadLyrics(table);
    QCOMPARE(qsizetype(table.Rows.size()), qsizetype(table.LastLine) + 1);
    QVERIFY(table.LastLine >= -1);
}

void TestLyrics::readTitle_data() {
    QTest::addColumn<QByteArray>("bytes");  // empty: no file at all
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("title");
    QTest::newRow("worked example") << ReadBytes(GoldenPath("paper-lanterns.cx3")) << true
                                    << "Paper Lanterns - The Quiet Harbour";
    QTest::newRow("bad records after the title")
        << QByteArray("\"Good - Title\"\r\nnot a number,,,\r\n\"") << true << "Good - Title";
    QTest::newRow("made on Windows") << ReadBytes(GoldenPath("cafe-cp1252.cx3")) << true
                                     << QStringLiteral(u"Café Noir - Renée – Løvland");
    QTest::newRow("comma in the title")
        << QByteArray("\"Yes, Please - Band\"\r\n") << true << "Yes, Please - Band";
    QTest::newRow("empty title") << QByteArray("\"\"\r\n1,\"a\"\r\n") << true << "";
    QTest::newRow("empty file") << QByteArray("\r\n") << false << "";
    QTest::newRow("missing file") << QByteArray() << false << "";
}

void TestLyrics::readTitle() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QString, title);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("t.cx3");
    if (!bytes.isEmpty()) {
        QVERIFY(WriteBytes(path, bytes));
    }
    const std::optional<QString> read = ReadLyricsTitle(path);
    QCOMPARE(read.has_value(), ok);
    if (ok) {
        QCOMPARE(*read, title);
    }
}

void TestLyrics::writeReadRoundTrip_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<double>>("seconds");  // negative: untimed

    QTest::newRow("windows letters")
        << QStringLiteral(u"Café Noir - Renée – Løvland")
        << QStringList{QStringLiteral(u"“Un café” coûte 5 €…"), QStringLiteral(u"Grüße an Šárka™")}
        << QList<double>{0.5, 2};
    QTest::newRow("many scripts") << QStringLiteral(u"東京の夜 - 서울 Ψυχή")
                                  << QStringList{QStringLiteral(u"Москва, ночь"),
                                                 QStringLiteral(u"مرحبا بالعالم"),
                                                 QStringLiteral(u"שלום עולם"),
                                                 QStringLiteral(u"नमस्ते दुनिया"),
                                                 QStringLiteral(u"🎵 𝄞 ♪"),
                                                 QStringLiteral(u"ไทย ქართული")}
                                  << QList<double>{0.001, 1.999, 83.456, 120, 3599.999, -1};
    QTest::newRow("commas and blanks")
        << "Yes, Please - The Band" << QStringList{"one, two, three", "  indented  ", ""}
        << QList<double>{7.5, -1, -1};
    QTest::newRow("text that looks like a record")
        << "T" << QStringList{"12.5,", "\r\n"} << QList<double>{12.5, 13};
}

void TestLyrics::writeReadRoundTrip() {
    QFETCH(QString, title);
    QFETCH(QStringList, texts);
    QFETCH(QList<double>, seconds);
    std::vector<SourceRow> lines;
    for (int i = 0; i < texts.size(); ++i) {
        lines.push_back(
            {seconds[i] < 0 ? std::nullopt : std::optional<double>(seconds[i]), texts[i]});
    }
    lines.push_back({std::nullopt, "[end of file...]"});

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    LyricLines table;
    table.LyricsPath = dir.filePath(QStringLiteral(u"Ψ lyrics.cx3"));
    QVERIFY(WriteLyricsFile(table.LyricsPath, title, lines, int(texts.size()) - 1));
    QVERIFY(LoadLyrics(table));
    QCOMPARE(table.LyricsTitle, title);
    QCOMPARE(table.LastLine, qint16(texts.size() - 1));
    for (int i = 0; i < texts.size(); ++i) {
        QCOMPARE(table.Rows[size_t(i)].Text, texts[i]);
        const double expected = seconds[i] < 0 ? 0 : seconds[i] * 1000;
        QVERIFY(table.Rows[size_t(i)].TimeMs == expected);
    }
}

void TestLyrics::writeRowRange_data() {
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("no lines") << -1 << true << QByteArray("\"He said 'no' - X\"\r\n");
    QTest::newRow("first line") << 0 << true
                                << QByteArray("\"He said 'no' - X\"\r\n1,\"say 'yes'\"\r\n");
    QTest::newRow("beyond the rows") << 2 << false << QByteArray("old");
}

void TestLyrics::writeRowRange() {
    QFETCH(int, last);
    QFETCH(bool, ok);
    QFETCH(QByteArray, bytes);
    const std::vector<SourceRow> lines = {{1, "say \"yes\""}, {std::nullopt, "[end of file...]"}};
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("range.cx3");
    QVERIFY(WriteBytes(path, "old"));
    QCOMPARE(WriteLyricsFile(path, "He said \"no\" - X", lines, last), ok);
    QCOMPARE(ReadBytes(path), bytes);
}

void TestLyrics::writeFailureKeepsOldFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::vector<SourceRow> lines = {{1, "a"}};
    QVERIFY(!WriteLyricsFile(dir.filePath("no such folder/a.cx3"), "T", lines, 0));
    QVERIFY(!QFileInfo::exists(dir.filePath("no such folder")));

    // A folder in the way stops root as well as anyone else.
    const QString path = dir.filePath("song.cx3");
    QVERIFY(QDir(dir.path()).mkpath("song.cx3/inside"));
    QVERIFY(!WriteLyricsFile(path, "T", lines, 0));
    QVERIFY(QFileInfo(path).isDir());
    QVERIFY(QFileInfo::exists(dir.filePath("song.cx3/inside")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"song.cx3"});
}

QTEST_GUILESS_MAIN(TestLyrics)
#include "tst_lyrics.moc"
