// The delimited-field reader and writer every file goes through (regular files only), lyrics
// files (.cx3, LRC) read and written, and the settings file.
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <clocale>
#include <future>
#include <limits>
#include <thread>

#include "lyrics/DelimitedFile.h"
#include "lyrics/LrcFile.h"
#include "lyrics/LyricLines.h"
#include "lyrics/LyricsFile.h"
#include "lyrics/SettingsFile.h"
#include "support/Files.h"

#include <sys/stat.h>

using lyrics::FieldReader;
using lyrics::LyricLines;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

// A row's text carries its word times where the words start: "{100}Hello {500}world".
using Rows = QList<QPair<double, QString>>;
const QRegularExpression WordTimeMark(QStringLiteral("\\{(\\d+)\\}"));

Rows RowsOf(const LyricLines& table) {
    Rows rows;
    for (const lyrics::LyricRow& row : table.Rows) {
        QString text = row.Text;
        for (auto word = row.Words.rbegin(); word != row.Words.rend(); ++word) {
            text.insert(word->Offset, QStringLiteral("{%1}").arg(qint64(word->StartMs)));
        }
        rows.append({row.TimeMs, text});
    }
    return rows;
}

// Where each row's lines break and its words start, whatever their times: "{}Hello {}world".
QStringList WordPlaces(Rows rows) {
    QStringList places;
    for (auto& [ms, marked] : rows) {
        places << marked.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                      .replace(WordTimeMark, "{}");
    }
    return places;
}

LyricLines TableOf(const QString& title, const Rows& rows) {
    LyricLines table;
    table.LyricsTitle = title;
    for (const auto& [ms, marked] : rows) {
        lyrics::LyricRow& row = table.Rows.emplace_back();
        row.TimeMs = ms;
        row.Text = marked;
        for (QRegularExpressionMatch m; (m = WordTimeMark.match(row.Text)).hasMatch();) {
            row.Words.push_back({m.captured(1).toDouble(), m.capturedStart()});
            row.Text.remove(m.capturedStart(), m.capturedLength());
        }
    }
    table.LastLine = qint16(table.Rows.size() - 1);
    return table;
}

const QString NoTitle = QStringLiteral("<no title>");

QByteArray ManyRecords(int count) {
    QByteArray bytes = "\"Long Song - Nobody\"\r\n";
    for (int i = 0; i < count; ++i) {
        bytes += QByteArray::number(i) + ".5,\"line\"\r\n";
    }
    return bytes;
}

// count stamped LRC lines a second apart, the first at firstMs.
QByteArray ManyLines(int count, int firstMs) {
    QByteArray bytes;
    for (int ms = firstMs; ms < firstMs + count * 1000; ms += 1000) {
        bytes += QString::asprintf("[%02d:%02d.%02d]l\n", ms / 60000, ms / 1000 % 60, ms / 10 % 100)
                     .toLatin1();
    }
    return bytes;
}

// The settings file's example, and one with every setting away from its default, so a default
// shows what was dropped.
const QByteArray Example =
    "8438015,16711680,49152\r\n1200,900\r\n0,\"on top\"\r\n0,\"compact\"\r\n0,\"stop fade\"\r\n"
    "0,\"list view\"\r\n0,\"list save\"\r\n1,\"randomize list\"\r\n1,\"repeat list\"\r\n"
    "\"D:\\Lyrics\\skins\\default\\\"\r\n\"\"\r\n";
const QByteArray Changed =
    "1,2,3\r\n100,200\r\n1,\"on top\"\r\n1,\"compact\"\r\n1,\"stop fade\"\r\n1,\"list view\"\r\n"
    "1,\"list save\"\r\n0,\"randomize list\"\r\n0,\"repeat list\"\r\n\"/skins/x/\"\r\n"
    "\"/lists/a.cxp\"\r\n";

// "colours|left,top|on top, compact, stop, view, save, randomize, repeat|skin|playlist".
QString Summary(const lyrics::Settings& s) {
    return QString::asprintf("%u,%u,%u|%d,%d|%d%d%d%d%d%d%d|", s.Colours[0], s.Colours[1],
                             s.Colours[2], s.Left, s.Top, s.OnTop, s.Compact, int(s.StopFade),
                             int(s.ListView), int(s.ListSave), s.Randomize, s.Repeat) +
           s.SkinFolder + '|' + s.PlaylistPath;
}

}  // namespace

class TestLyrics : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString Ini() const { return dir.filePath("cantorix.ini"); }

  private slots:
    // Numbers written and read alike in any locale: here German (decimal comma).
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600) == 0);
        QVERIFY(QFile::link(dir.filePath("fifo"), dir.filePath("to-fifo.cx3")));
        QVERIFY(WriteBytes(dir.filePath("text"), "\"Caf\xE9\",1\r\n"));
        QFile huge(dir.filePath("huge.cx3"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(FieldReader::MaxFileSize + 1));
    }

    // A folder, a FIFO, a link to one, a device and a file too big are refused, never waited on.
    void onlyRegularFilesOpen() {
        for (const char* name : {"text", ".", "fifo", "to-fifo.cx3", "/dev/zero", "huge.cx3"}) {
            std::packaged_task<QString()> open([path = QDir(dir.path()).filePath(name)] {
                FieldReader reader(QByteArray("\"earlier\""));
                const bool ok = reader.Open(path);
                return (ok ? "opened " : "refused ") + reader.ReadString().value_or("<nothing>");
            });
            auto opened = open.get_future();
            std::thread(std::move(open)).detach();
            QVERIFY2(opened.wait_for(std::chrono::seconds(5)) == std::future_status::ready, name);
            QCOMPARE(opened.get(), name == std::string_view("text") ? QStringLiteral(u"opened Café")
                                                                    : "refused <nothing>");
        }
    }

    void readFields_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fields");
        const QStringList record = {"T", "12.48", "a, b", "", "c"};
        // clang-format off
        QTest::newRow("CR LF") << QByteArray("\"T\"\r\n12.48,\"a, b\"\r\n,\"c\"\r\n") << record;
        QTest::newRow("CR, trailing blank lines") << QByteArray("\"T\"\r12.48,\"a, b\"\r,\"c\"\r\r\n  \r\n\t\n\r") << record;
        QTest::newRow("blanks around fields") << QByteArray("  \"T\" \r\n\t12.48 , \t\"a, b\"\t\r\n  ,  \"c\"\r\n") << record;
        QTest::newRow("missing closing quote runs to the end")
            << QByteArray("1,\"never closed\r\n2,x\r\n\r\n") << QStringList{"1", "never closed\r\n2,x"};
        QTest::newRow("blank line inside is an empty field") << QByteArray("\"a\"\r\n\r\n\"b\"") << QStringList{"a", "", "b"};
        QTest::newRow("CR CR LF is two line ends") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("empty field after the last comma is past the end") << QByteArray("1,\r\n\r\n") << QStringList{"1"};
        QTest::newRow("text after a closing quote dropped")
            << QByteArray("\"He said \"hi\" to me\",3\r\n\"next\"") << QStringList{"He said ", "3", "next"};
        // UTF-8 when valid, else Windows-1252.
        const auto text = [](const char* name, const QByteArray& bytes, const QString& field) {
            QTest::newRow(name) << bytes << QStringList{field};
        };
        text("utf-8 mixed scripts", "Café Ψυχή Москва 東京 مرحبا 🎵", QStringLiteral(u"Café Ψυχή Москва 東京 مرحبا 🎵"));
        text("utf-8 byte-order mark dropped", "\xEF\xBB\xBF\"Café\"", QStringLiteral(u"Café"));
        text("1252 punctuation",
             "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97\x98"
             "\x99\x9A\x9B\x9C\x9E\x9F",
             QStringLiteral(u"€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ"));
        text("overlong utf-8 is 1252", "\xC0\x80", QStringLiteral(u"À€"));
        text("one bad byte makes the whole text 1252", "\xC3\xA9 \xE9", QStringLiteral(u"Ã© é"));
        text("byte-order mark before 1252 dropped", "\xEF\xBB\xBF\"Caf\xE9\"", QStringLiteral(u"Café"));
        // clang-format on
    }
    void readFields() {
        QFETCH(QByteArray, bytes);
        FieldReader reader(bytes);
        QStringList fields;
        while (!reader.AtEnd()) {
            fields << reader.ReadString().value_or("<none>");
        }
        QTEST(fields, "fields");
    }

    // Every byte read as Windows-1252 goes back to itself; a character it lacks has no byte.
    void windows1252BackToItsBytes() {
        QByteArray all;
        for (int b = 0xFF; b > 0; --b) {
            all += char(b);  // 0xFF first: never valid UTF-8
        }
        QVERIFY(!lyrics::ReadsAsUtf8(all) && lyrics::ReadsAsUtf8("\xEF\xBB\xBF\xC3\xA9"));
        QCOMPARE(lyrics::EncodeCp1252(lyrics::DecodeText(all)), std::optional(all));
        QCOMPARE(lyrics::EncodeCp1252(QStringLiteral(u"€ →")), std::nullopt);
    }

    // Written plain decimal with a period, read back as the very same double ("": only read
    // back). Read: the empty field (an untimed line, a missing track number) is no number.
    void numbers() {
        // clang-format off
        for (const auto& [value, text] : std::initializer_list<std::pair<double, QString>>{
                 {83.456, "83.456"}, {-0.25, "-0.25"}, {1e21, "1000000000000000000000"}, {1e-7, "0.0000001"},
                 {0.1 + 0.2, "0.30000000000000004"}, {std::numeric_limits<double>::infinity(), "0"},
                 {std::numeric_limits<double>::max(), ""}}) {
            const QString written = lyrics::FormatNumber(value);
            QVERIFY2(text.isEmpty() ? !written.contains(u'e') : written == text, qPrintable(written));
            QVERIFY(!std::isfinite(value) || FieldReader(written.toLatin1()).ReadNumber() == value);
        }
        const std::optional<double> no;
        for (const auto& [bytes, value] : std::initializer_list<std::pair<QByteArray, std::optional<double>>>{
                 {"12.48\r\n", 12.48}, {".5", 0.5}, {"  \t83.456 \t,x", 83.456}, {"12,48", 12.0},
                 {"1e3", no}, {"١٢", no}, {" \r\n", no}}) {
            // clang-format on
            QVERIFY2(FieldReader(bytes).ReadNumber() == value, bytes.constData());
        }
    }

    // Strings quoted, a double quote written as a single one (nothing is escaped), numbers bare.
    void writeFields() {
        lyrics::FieldWriter writer;
        writer.WriteNumber(8438015);
        writer.WriteEmpty();
        writer.WriteNumber(-0.0);
        writer.WriteString("");
        writer.EndLine();
        writer.WriteNumber(0.5);
        writer.WriteString(QStringLiteral(u"He said \"go\", then 東京\r\n"));
        writer.EndLine();
        QCOMPARE(writer.Bytes(), "8438015,,0,\"\"\r\n0.5,\"He said 'go', then 東京\r\n\"\r\n");
    }

    // A failing .cx3 keeps the rows read, the failing one included; other failures read as an
    // empty table. An LRC row's time is when the next line starts. No rows: only the last index.
    void read_data() {
        QTest::addColumn<QString>("name");      // any name ending in "lrc", any case, is LRC
        QTest::addColumn<QByteArray>("bytes");  // "<missing>": no file at all
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("title");
        QTest::addColumn<Rows>("rows");
        const auto in = [](const char* file) {
            return [file](const char* name, const QByteArray& bytes, bool ok, const QString& title,
                          const Rows& rows) {
                QTest::addRow("%s: %s", file, name) << file << bytes << ok << title << rows;
            };
        };
        const auto cx3 = in("song.cx3"), lrc = in("song.LRC");
        const auto song = [&lrc](const char* name, const QByteArray& bytes, const Rows& rows) {
            lrc(name, bytes, true, "song", rows);
        };
        // clang-format off
        cx3("worked example", ReadBytes(CANTORIX_TEST_DATA "/lyrics/paper-lanterns.cx3"), true,
            "Paper Lanterns - The Quiet Harbour", {{12480, "We hung our wishes on the wire"},
             {17952, "and watched them drift above the town"}, {0, "paper lanterns, burning low"}});
        cx3("Windows-1252", ReadBytes(CANTORIX_TEST_DATA "/lyrics/cafe-cp1252.cx3"), true,
            QStringLiteral(u"Café Noir - Renée – Løvland"),
            {{500, QStringLiteral(u"“Un café” coûte 5 €…")}, {2000, QStringLiteral(u"Grüße an Šárka™")}});
        cx3("times with and without a zero before the point",
            "\"T\"\r\n.5,\"a\"\r\n-.25,\"b\"\r\n83.456,\"c\"\r\n4.03,\"d\"\r\n", true, "T",
            {{500, "a"}, {-250, "b"}, {83456, "c"}, {4030, "d"}});
        cx3("time that is not a number", "\"T\"\r\n1,\"a\"\r\nsoon,\"b\"\r\n3,\"c\"\r\n", false, "T", {{1000, "a"}, {0, ""}});
        cx3("text missing at the end", "\"T\"\r\n1,\"a\"\r\n2\r\n", false, "T", {{1000, "a"}, {2000, ""}});
        cx3("blank file", "\r\n", false, NoTitle, {});
        in("song.txt")("any other name is .cx3", "\"T\"\r\n1,\"a\"\r\n", true, "T", {{1000, "a"}});
        cx3("missing file", "<missing>", false, NoTitle, {});
        // The row index is 16 bits wide: one line more fails, never wraps round.
        cx3("32,768 records", ManyRecords(32768), true, "Long Song - Nobody", {});
        cx3("32,769 records", ManyRecords(32769), false, "Long Song - Nobody", {});
        song("stamp forms, the first at 0", "[0:00]a\n[0:1.5]b\n[00:02.005]c\n[01:02:50]d\n[100:00.00]e",
             {{1500, "a"}, {2005, "b"}, {62500, "c"}, {6000000, "d"}, {0, "e"}});
        lrc("title and artist tags, several on a line, others ignored",
            "[al:Lanterns] [ti: Paper Lanterns ][AR:The Quiet Harbour]\n[length:03:10]\n[00:00.00]a",
            true, "Paper Lanterns - The Quiet Harbour", {{0, "a"}});
        lrc("a tag runs to the bracket before the next tag or the end",
            "[ti:Live [Encore]][ar:A]B]\n[ar:Not] here\n[00:00.00]a", true, "Live [Encore] - A]B", {{0, "a"}});
        song("several stamps, lines out of order, lines of one stamp joined in file order",
             "[00:05.00]chorus\n[00:01.00] [00:09.00]la la\n[00:05.00]tie\n[00:09.00][00:09.00]twice",
             {{1000, ""}, {5000, "la la"}, {9000, "chorus\ntie"}, {0, "la la\ntwice"}});
        song("a translation under the same stamps further down",
             "[00:01.00]<00:01.00>Hello <00:01.50>world\n[00:02.00]Bye\n"
             "[00:01.00]<00:01.10>Hallo <00:01.60>Welt\n[00:02.00]Tschüss",
             {{1000, ""}, {2000, "{1000}Hello {1500}world\n{1100}Hallo {1600}Welt"}, {0, QStringLiteral(u"Bye\nTschüss")}});
        song("word stamps of both kinds leave the text, one blank kept",
             "[00:00]<00:00.10>Hello [00:00.50]world\n[00:01]<00:01.00>  <00:01.10>so [00:01.20] long <3 <1:2.5>",
             {{1000, "{100}Hello {500}world"}, {0, "{1000}{1100}so {1200}long <3{62500}"}});
        song("word times move with each stamp of their line, and with the offset",
             "[offset:100]\n[00:10.00][00:20.00]<00:10.00>la [00:10.50]la",
             {{9900, ""}, {19900, "{9900}la {10400}la"}, {0, "{19900}la {20400}la"}});
        song("stamps with a blank after the bracket are text, one blank less; no minutes: text",
             "[00:01][ 00:05.00]x < 00:03> [  1:02:5] [05.50] <05.50>",
             {{1000, ""}, {0, "[00:05.00]x <00:03> [ 1:02:5] [05.50] <05.50>"}});
        song("positive offset after the lines, none starts before 0, nor joins there",
             "[00:00.10]a\n[00:00.20]b\n[00:01.00]c\n[offset:200]", {{0, "a"}, {800, "b"}, {0, "c"}});
        song("blank lines, CR ends, untagged text, a stamped empty line",
             "\n\n  \r[00:01]a\r\rnot timed\r[00:02]\r\n[00:03]c\n\n", {{1000, ""}, {2000, "a"}, {3000, ""}, {0, "c"}});
        song("bad stamps make no line", "[00:60.00]a\n[aa:00]b\n[00:01.0000]c\n[00:02.00d\n[00:03.00]d", {{3000, ""}, {0, "d"}});
        lrc("tags but no stamp", "[ti:T]\n[ar:A]\nwords\n", false, NoTitle, {});
        lrc("missing file", "<missing>", false, NoTitle, {});
        song("32,768 lines from 0", ManyLines(32768, 0), {});
        lrc("32,768 lines and the empty first", ManyLines(32768, 10), false, NoTitle, {});
        lrc("32,769 lines", ManyLines(32769, 0), false, NoTitle, {});
        // clang-format on
    }
    void read() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(QString, title);
        QFETCH(Rows, rows);
        QVERIFY(testsupport::PutBytes(dir.filePath(name), bytes));
        const lyrics::LyricsRead read = lyrics::ReadLyricsFile(dir.filePath(name));
        const LyricLines& table = read.Lines;
        QCOMPARE(read.Complete, ok);
        QCOMPARE(read.TitleRead ? table.LyricsTitle : NoTitle, title);
        QCOMPARE(table.LyricsPath, dir.filePath(name));
        if (!rows.isEmpty()) {
            QCOMPARE(RowsOf(table), rows);
        }
        const bool longest = ok || title != NoTitle;
        QCOMPARE(table.LastLine, qint16(!rows.isEmpty() ? rows.size() - 1 : longest ? 32767 : -1));
        QCOMPARE(lyrics::ReadLyricsTitle(table.LyricsPath),
                 title == NoTitle ? std::nullopt : std::optional(title));
    }

    // Rows asked for beyond those given: the old file stays; none asked for: the title alone.
    // LRC exported beside the lyrics file by default, never over the file it reads, a failure
    // naming the file.
    void writeLimits() {
        const std::vector<lyrics::SourceRow> lines = {{1, "yes"}, {std::nullopt, "[end]"}};
        const QString path = dir.filePath("range.cx3");
        QVERIFY(WriteBytes(path, "old"));
        QVERIFY(!lyrics::WriteLyricsFile(path, "T", lines, 2));
        QCOMPARE(ReadBytes(path), QByteArray("old"));
        QVERIFY(lyrics::WriteLyricsFile(path, "T", lines, -1));
        QCOMPARE(ReadBytes(path), QByteArray("\"T\"\r\n"));

        const QString cx3 = dir.filePath("Song.v2.cx3"), lrc = dir.filePath("Song.v2.lrc");
        const QByteArray exported = "[ti:S]\r\n[ar:A]\r\n[00:00.00]one\r\n[00:01.50]two\r\n";
        QVERIFY(WriteBytes(cx3, "\"S - A\"\r\n1.5,\"one\"\r\n,\"two\"\r\n"));
        QVERIFY(lyrics::ExportLrc(cx3).Saved() && ReadBytes(lrc) == exported);
        QCOMPARE(lyrics::ExportLrc(lrc, dir.filePath("./Song.v2.lrc")).Error,
                 dir.filePath("./Song.v2.lrc") + " is the lyrics file itself");
        QCOMPARE(lyrics::ExportLrc(dir.filePath("gone.cx3"), lrc).Error,
                 "could not read " + dir.filePath("gone.cx3"));
        QCOMPARE(ReadBytes(lrc), exported);
    }

    // LRC written: stamps rounded up, tags split at the first " - ", starts never earlier than
    // the line before, a blank after a bracket that looks like a stamp. Read back, the same
    // words in the same places.
    void writeLrc_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QByteArray>("lrc");
        // clang-format off
        QTest::newRow("timed song, two rows at one time") << "Salt and Cedar - Mira Vale - Live"
            << Rows{{7500, "Salt on the window"}, {83451, "we kept the lamp lit"}, {0, "untimed"}, {0, ""}}
            << QByteArray("[ti:Salt and Cedar]\r\n[ar:Mira Vale - Live]\r\n"
                          "[00:00.00]Salt on the window\r\n[00:07.50]we kept the lamp lit\r\n"
                          "[01:23.46]untimed\r\n[01:23.47]\r\n");
        QTest::newRow("no artist, a long song, line breaks")
            << "Instrumental" << Rows{{12480, "a"}, {6000009.5, "b\r\nc\n"}, {1, "d"}}
            << QByteArray("[ti:Instrumental]\r\n[00:00.00]a\r\n[00:12.48]b\r\n[00:12.48]c\r\n[00:12.48]\r\n[100:00.01]d\r\n");
        QTest::newRow("a translation, word times, two blanks round one") << "" << Rows{{1500, "{0}Hello {500}world\n{1100}Hallo {1601} Welt"}, {0, "end"}}
            << QByteArray("[00:00.00]<00:00.00>Hello <00:00.50>world\r\n"
                          "[00:00.00]<00:01.10>Hallo <00:01.61>  Welt\r\n[00:01.50]end\r\n");
        QTest::newRow("no title, no rows") << "" << Rows{} << QByteArray();
        const auto text = [](const char* name, const QString& text, const QByteArray& line) {
            QTest::addRow("text: %s", name) << "" << Rows{{0, text}} << "[00:00.00]" + line + "\r\n";
        };
        text("a line stamp first", "[00:05.00]x", "[ 00:05.00]x");
        text("a word stamp", "a <00:03.00> b", "a < 00:03.00> b");
        text("a line stamp inside", "a [1:02] b", "a [ 1:02] b");
        text("colon before the fraction, three digits", "[01:02:50]<00:00.005>", "[ 01:02:50]< 00:00.005>");
        text("blanks after the bracket already", "[ 00:05.00] <  0:01>", "[  00:05.00] <   0:01>");
        text("brackets that are no stamps", "[ti:X] [05.50] <3 [:] ][ [00:05.00", "[ti:X] [05.50] <3 [:] ][ [00:05.00");
        text("beside word times", "{0}[00:05.00]{100}<0:01>", "<00:00.00>[ 00:05.00]<00:00.10>< 0:01>");
        text("split by a word time", "{0}[00:{100}05.00]", "<00:00.00>[00:<00:00.10>05.00]");
        // clang-format on
    }
    void writeLrc() {
        QFETCH(QString, title);
        QFETCH(Rows, rows);
        QFETCH(QByteArray, lrc);
        QVERIFY(lyrics::WriteLrcFile(dir.filePath("out.lrc"), TableOf(title, rows)).Saved());
        QCOMPARE(ReadBytes(dir.filePath("out.lrc")), lrc);
        LyricLines again;
        QCOMPARE(lyrics::ReadLrc(lrc, "song", again), !rows.isEmpty());
        QCOMPARE(WordPlaces(RowsOf(again)), WordPlaces(rows));
    }

    // Read whole and written back byte for byte; positions beyond 16 bits clamped.
    void settingsReadAndWrittenBack() {
        for (const QByteArray& bytes : {Example, Changed}) {
            QVERIFY(WriteBytes(Ini(), bytes));
            const lyrics::SettingsRead read = lyrics::ReadSettingsFile(Ini());
            QCOMPARE(read.LinesRead, 11);
            QVERIFY(lyrics::WriteSettingsFile(Ini(), read.Values));
            QCOMPARE(ReadBytes(Ini()), bytes);
        }
        lyrics::Settings s = lyrics::ReadSettingsFile(Ini()).Values;
        QCOMPARE(Summary(s), "1,2,3|100,200|1111111|/skins/x/|/lists/a.cxp");
        QCOMPARE(lyrics::ReadColourLine(Ini()), std::optional(lyrics::ColourTable{1, 2, 3}));
        s.Left = 40000;
        s.Top = -50000;
        QVERIFY(lyrics::WriteSettingsFile(Ini(), s));
        QVERIFY(ReadBytes(Ini()).startsWith("1,2,3\r\n32767,-32768\r\n"));
    }

    // Only the position, Always On Top and Retract to Compact from lines before the failing one
    // stay; every other setting takes its default. Row 0: no file; empty: the file ends there.
    void settingsFailingLine_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("bytes");
        // clang-format off
        const QByteArrayList bad{"<missing>", "-1,2,3", "40000,900", "yes,\"on top\"", "\"1\",\"compact\"",
                                 "2,\"stop fade\"", "7,\"list view\"", "x,\"list save\"", "\"0\",\"randomize list\"",
                                 "0.5,\"repeat list\"", "", ""};
        // clang-format on
        for (int k = 0; k < bad.size(); ++k) {
            QTest::addRow("line %d: %s", k, bad[k].constData()) << std::max(k, 1) << bad[k];
        }
    }
    void settingsFailingLine() {
        QFETCH(int, line);
        QFETCH(QByteArray, bytes);
        QList<QByteArray> lines = Changed.split('\n').mid(0, line);
        lines.last() = bytes.isEmpty() ? bytes : bytes + '\r';
        QVERIFY(testsupport::PutBytes(Ini(), bytes == "<missing>" ? bytes : lines.join('\n')));
        const lyrics::SettingsRead read = lyrics::ReadSettingsFile(Ini());
        QCOMPARE(read.LinesRead, line - 1);
        QCOMPARE(Summary(read.Values),
                 QString::asprintf("8438015,16711680,49152|%s|%d%d00000||",
                                   line > 2 ? "100,200" : "0,0", line > 3, line > 4));
        QCOMPARE(lyrics::ReadColourLine(Ini()).has_value(), line > 1);
    }
};

QTEST_GUILESS_MAIN(TestLyrics)
#include "tst_lyrics.moc"
