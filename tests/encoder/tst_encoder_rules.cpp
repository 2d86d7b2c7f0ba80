// The encoder's rules without a window: source texts, the editor's file, capture, title, options,
// the timing table and its files, the draft to publish.
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <clocale>

#include "encoder/Capture.h"
#include "encoder/CommandLine.h"
#include "encoder/EditorFile.h"
#include "encoder/PublishDraft.h"
#include "encoder/RichText.h"
#include "encoder/SongTitle.h"
#include "encoder/SourceText.h"
#include "encoder/TimingFile.h"
#include "encoder/TimingTable.h"
#include "lyrics/DelimitedFile.h"
#include "support/Files.h"

using encoder::Capture;
using encoder::EditorFile;
using encoder::MaxSourceLines;
using encoder::TimingRow;
using encoder::TimingTable;

namespace {

// "1000 - 3000": one time per line, "-" for a line never timed.
std::vector<TimingRow> RowsOf(const QString& times) {
    std::vector<TimingRow> rows;
    for (const QString& t : times.split(u' ', Qt::SkipEmptyParts)) {
        rows.push_back({t == u"-" ? std::nullopt : std::optional<qint64>(t.toLongLong()),
                        QStringLiteral("line %1").arg(rows.size())});
    }
    return rows;
}

QString TimesOf(const std::vector<TimingRow>& rows) {
    QStringList times;
    for (const TimingRow& row : rows) {
        times << (row.TimeMs ? QString::number(*row.TimeMs) : QStringLiteral("-"));
    }
    return times.join(u' ');
}

const QByteArray Timed =
    "\"Night Song - Lost Band\"\r\n1.5,\"Out in the night\"\r\n3,\"We sing\"\r\n";

}  // namespace

Q_DECLARE_METATYPE(std::optional<double>)

class tst_EncoderRules : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    // The stamps of the rows in seconds, "-" for none; with their texts, "A 1|B -".
    static QString Rows(const Capture& capture, bool texts = false) {
        QStringList rows;
        for (const lyrics::SourceRow& row : capture.SourceLines) {
            const QString stamp = row.Seconds ? QString::number(*row.Seconds) : "-";
            rows << (texts ? row.Text + ' ' + stamp : stamp);
        }
        return rows.join(texts ? '|' : ' ');
    }

  private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8");
    }

    void split_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        const QStringList three{"Oh my", "the tide", "goes out"};
        // clang-format off
        QTest::newRow("CR LF, a blank line, a line of spaces, quotes, no final end")
            << "Oh my\r\n\r\n   \r\nthe \"tide\"\r\n  goes out  " << three;
        QTest::newRow("CR only")      << "Oh my\r\r   \rthe \"tide\"\r  goes out\r" << three;
        QTest::newRow("mixed ends")   << "Oh my\r\nthe tide\rgoes out\n" << three;
        QTest::newRow("LF CR is two ends") << "Oh my\n\rthe tide\n\rgoes out" << three;
        QTest::newRow("tabs stay")    << "\tOh my \t\r\n" << QStringList{"\tOh my \t"};
        QTest::newRow("only quotes")  << "\"\"\r\n \" \r\nx" << QStringList{"x"};
        QTest::newRow("blank lines")  << "\r\n\n\r  \r\n" << QStringList{};
        QTest::newRow("the table full, blank lines not counted") << QString("line\n\n").repeated(MaxSourceLines)
                                      << QStringList(MaxSourceLines, "line");
        QTest::newRow("a line beyond") << QString("line\n").repeated(MaxSourceLines + 1) << QStringList{"-"};
        // clang-format on
    }
    void split() {
        QFETCH(QString, text);
        QTEST(encoder::SplitSourceText(text).value_or(QStringList{"-"}), "lines");
    }

    void richText_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("escapes")        << QByteArray("{\\rtf1 a\\{b\\}c\\\\d\\~e\\-f}") << "a{b}c\\d\u00A0ef";
        QTest::newRow("unicode, skip")  << QByteArray("{\\rtf1\\uc1 \\u8212?x\\u-3937?}") << "\u2014x\uF09F";
        QTest::newRow("uc2 skips two")  << QByteArray("{\\rtf1\\uc2\\u233\\'e9\\'e9y}") << "éy";
        QTest::newRow("skipped: starred, tables, binary") << QByteArray("{\\rtf1{\\*\\generator Me;}{\\colortbl;\\red0;}{\\info{\\title T}}\\bin3 {}}Hi}") << "Hi";
        QTest::newRow("tab, line")      << QByteArray("{\\rtf1 a\\tab b\\line c\r\nd}") << "a\tb\ncd";
        QTest::newRow("cut short")      << QByteArray("{\\rtf1 Oh {\\i my") << "Oh my";
        QTest::newRow("text after end") << QByteArray("{\\rtf1 Oh}junk") << "Oh";
        QTest::newRow("broken hex")     << QByteArray("{\\rtf1 a\\'zzb\\'") << "azzb";
        QTest::newRow("long word")      << "{\\rtf1 \\" + QByteArray(100, 'x') + " y}" << "y";
        QTest::newRow("at the limit")   << "{\\rtf1 " + QByteArray(encoder::MaxRichTextDepth - 1, '{') + "deep" << "deep";
        // clang-format on
    }
    void richText() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QVERIFY(encoder::IsRichText(rtf));
        QCOMPARE(encoder::ReadRichText(rtf), std::optional<QString>(text));
    }

    // Source files as text or rich text; one that cannot be text is refused, the editor's kept.
    void readFiles_data() {
        QTest::addColumn<QByteArray>("bytes");  // none: missing; "<big>": past the reader's limit
        QTest::addColumn<QString>("text");      // "-": refused
        // clang-format off
        QTest::newRow("Windows-1252")   << QByteArray("caf\xe9 \x93hi\x94") << "café “hi”";
        QTest::newRow("rich text")      << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\b Oh\\b0  my\\par caf\\'e9}")
                                        << "Oh my\ncafé";
        QTest::newRow("a NUL byte")     << QByteArray("Oh\0my", 5) << "-";
        QTest::newRow("nested too deep") << "{\\rtf1 " + QByteArray(encoder::MaxRichTextDepth, '{') << "-";
        QTest::newRow("too big")        << QByteArray("<big>") << "-";
        QTest::newRow("missing")        << QByteArray() << "-";
        // clang-format on
    }
    void readFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const QString path = dir.filePath(QTest::currentDataTag());
        if (QFile big(path); bytes == "<big>") {
            QVERIFY(big.open(QIODevice::WriteOnly) &&
                    big.resize(lyrics::FieldReader::MaxFileSize + 1));
        } else {
            QVERIFY(bytes.isEmpty() || testsupport::WriteBytes(path, bytes));
        }
        QCOMPARE(encoder::ReadSourceText(path).value_or("-"), text);
        EditorFile file;
        file.FileName = "/earlier.txt";
        file.Confirmed = true;
        QCOMPARE(file.Open(path).value_or("-"), text);
        QCOMPARE(file.FileName, text == "-" ? "/earlier.txt" : path);
        QCOMPARE(file.Confirmed, text == "-");
    }

    // Edited (LF ends, as the editor gives them) and saved: unchanged is not written while its
    // file is there; changed keeps the first line end, and the encoding where it holds the text.
    void editorWritesAsTheFileWas_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QString>("then");  // "gone": the file removed meanwhile; "new": New
        QTest::addColumn<QByteArray>("written");
        const QByteArray rtf = "{\\rtf1 a\\par b}\r\n";
        // clang-format off
        QTest::newRow("CR LF")            << QByteArray("a\r\nb\r\n") << "a\nB\n" << "" << QByteArray("a\r\nB\r\n");
        QTest::newRow("CR")               << QByteArray("a\rb\r") << "a\nB\n" << "" << QByteArray("a\rB\r");
        QTest::newRow("no line end: LF")  << QByteArray("a") << "a\nb" << "" << QByteArray("a\nb");
        QTest::newRow("mixed: the first") << QByteArray("a\nb\r\nc") << "a\nb\nC" << "" << QByteArray("a\nb\nC");
        QTest::newRow("unchanged")        << QByteArray("a\r\nb\nc\r") << "a\nb\nc\n" << "" << QByteArray("a\r\nb\nc\r");
        QTest::newRow("unchanged, gone")  << QByteArray("a\r\nb\nc") << "a\nb\nc" << "gone" << QByteArray("a\r\nb\r\nc");
        QTest::newRow("rich text, unchanged") << rtf << "a\nb" << "" << rtf;
        QTest::newRow("rich text, edited")    << rtf << "a\nB" << "" << QByteArray("a\r\nB");
        QTest::newRow("Windows-1252")     << QByteArray("caf\xe9\r\n\x80 \x93x\x94") << "caf\u00e9!\n\u20ac \u201cy\u201d"
                                          << "" << QByteArray("caf\xe9!\r\n\x80 \x93y\x94");
        QTest::newRow("Windows-1252, a character it lacks") << QByteArray("caf\xe9") << "caf\u00e9 \u2192" << ""
                                          << QByteArray("caf\xc3\xa9 \xe2\x86\x92");
        QTest::newRow("Windows-1252 that would pass for UTF-8") << QByteArray("\xe9") << "\u00c3\u00a9" << ""
                                          << QByteArray("\xc3\x83\xc2\xa9");
        QTest::newRow("UTF-8")            << QByteArray("caf\xc3\xa9") << "caf\u00e9\u00a0!" << "" << QByteArray("caf\xc3\xa9\xc2\xa0!");
        QTest::newRow("New")              << QByteArray("caf\xe9\r\n") << "\u00e9\nx" << "new" << QByteArray("\xc3\xa9\nx");
        QTest::newRow("UTF-8 with a byte-order mark") << QByteArray("\xef\xbb\xbf" "a\r\n") << "\u00e9\n" << ""
                                          << QByteArray("\xef\xbb\xbf\xc3\xa9\r\n");
        // clang-format on
    }
    void editorWritesAsTheFileWas() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, edited);
        QFETCH(QString, then);
        const QString path = dir.filePath("source.txt");
        QVERIFY(testsupport::WriteBytes(path, bytes));
        EditorFile file;
        QVERIFY(file.Open(path));
        if (then == "gone") {
            QVERIFY(QFile::remove(path));
        } else if (then == "new") {
            file.New();
            QVERIFY(!file.Changed(""));
        }
        QVERIFY(file.Save(edited));
        const QString saved = then == "new" ? EditorFile::TemporaryFilePath() : path;
        QVERIFY(file.Confirmed && file.FileName == saved);
        QTEST(testsupport::ReadBytes(saved), "written");
    }

    // Next Line presses on A, B, C (the play state asked only for a 0): Ignored, Stamped,
    // Finished, No position, went Back; then Stop's question '?' or not '.', '-' once lost.
    void capture_data() {
        QTest::addColumn<QList<qint64>>("earlier");
        QTest::addColumn<QList<qint64>>("presses");
        QTest::addColumn<qint64>("playState");
        QTest::addColumn<QString>("outcome");  // a letter per press, then Stop's
        QTest::addColumn<QString>("labels");   // current/next after the presses
        QTest::addColumn<QString>("stamps");   // A B C and the end marker's
        const QList<qint64> none;
        const qint64 stopped = 0, playing = 1;
        const QString end = encoder::EndMarker + '/' + encoder::EndMarker;
        const QString last = "C/" + encoder::EndMarker;
        // clang-format off
        QTest::newRow("every line") << none << QList<qint64>{83456, 90000, 95500, 99999} << stopped << "SSFI." << end << "83.456 90 95.5 -";
        QTest::newRow("last showing") << none << QList<qint64>{1000, 2000} << stopped << "SS." << last << "1 2 - -";
        QTest::newRow("no line") << none << none << stopped << "?" << "A/B" << "- - - -";
        QTest::newRow("paused: the same position") << none << QList<qint64>{1000, 1000, 1000} << stopped << "SSF." << end << "1 1 1 -";
        QTest::newRow("0 while playing") << none << QList<qint64>{0, 500} << playing << "SS." << last << "0 0.5 - -";
        QTest::newRow("0 from a stopped Winamp") << none << QList<qint64>{0} << stopped << "N-" << "A/B" << "- - - -";
        QTest::newRow("0 once Winamp is gone") << none << QList<qint64>{1000, 0, 3000} << stopped << "SNI-" << "B/C" << "1 - - -";
        QTest::newRow("negative") << none << QList<qint64>{-1} << playing << "N-" << "A/B" << "- - - -";
        QTest::newRow("went back") << none << QList<qint64>{5000, 1200} << playing << "SB-" << "B/C" << "5 - - -";
        QTest::newRow("back to 0, playing") << none << QList<qint64>{5000, 0} << playing << "SB-" << "B/C" << "5 - - -";
        QTest::newRow("behind an earlier capture's stamps") << QList<qint64>{7000, 8000, 9000} << QList<qint64>{1000}
            << stopped << "S?" << "B/C" << "1 8 9 -";
        // clang-format on
    }
    void capture() {
        QFETCH(QList<qint64>, earlier);
        QFETCH(QList<qint64>, presses);
        QFETCH(qint64, playState);
        Capture capture;
        QVERIFY(capture.Load({"A", "B", "C"}));
        int asked = 0;
        const auto state = [&] {
            ++asked;
            return playState;
        };
        if (!earlier.isEmpty()) {
            QVERIFY(capture.Start());
            for (qint64 ms : earlier) {
                capture.Next(ms, state);
            }
        }
        QVERIFY(capture.Start());
        QCOMPARE(capture.CurrentText() + '/' + capture.NextText(), "A/B");
        QString got;
        for (qint64 ms : presses) {
            asked = 0;
            got += "ISFNB"[int(capture.Next(ms, state))];
            QCOMPARE(asked, ms == 0 && !got.endsWith('I') ? 1 : 0);
        }
        QTEST(capture.CurrentText() + '/' + capture.NextText(), "labels");
        got += !capture.Running() ? '-' : capture.Stop() ? '?' : '.';
        QTEST(got, "outcome");
        QTEST(Rows(capture), "stamps");
    }

    // On A (at 1), B (at 2), C: "add ROW TEXT", "edit ROW TEXT", "remove ROW" or "keep TIMES".
    void corrections_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QString>("rows");
        const QString marker = "|[end of file...] -";
        // clang-format off
        QTest::newRow("add above B")   << "add 1 X" << true << "A 1|X 2|B 2|C -" + marker;
        QTest::newRow("add empty")     << "add 0 "  << true << " 1|A 1|B 2|C -" + marker;
        QTest::newRow("add quotes")    << "add 0 \"X\"y" << true << "Xy 1|A 1|B 2|C -" + marker;
        QTest::newRow("edit B")        << "edit 1 B\"2" << true << "A 1|B2 2|C -" + marker;
        QTest::newRow("remove B")      << "remove 1" << true << "A 1|C -" + marker;
        QTest::newRow("remove C")      << "remove 2" << true << "A 1|B 2" + marker;
        QTest::newRow("add at marker") << "add 3 X" << false << "A 1|B 2|C -" + marker;
        QTest::newRow("remove marker") << "remove 3" << false << "A 1|B 2|C -" + marker;
        QTest::newRow("keep times")    << "keep 5 - 7 9" << true << "A 5|B -|C 7" + marker;
        QTest::newRow("keep fewer")    << "keep 3" << true << "A 3|B 2|C -" + marker;
        // clang-format on
    }
    void corrections() {
        QFETCH(QString, edit);
        QFETCH(bool, done);
        Capture capture;
        capture.Load({"A", "B", "C"});
        capture.SourceLines[0].Seconds = 1;
        capture.SourceLines[1].Seconds = 2;
        const QStringList words = edit.split(' ');
        const int row = words[1].toInt();
        const QString text = words.mid(2).join(' ');
        std::vector<lyrics::SourceRow> kept;
        for (const QString& t : words.mid(1)) {
            kept.push_back({t == "-" ? std::nullopt : std::optional(t.toDouble()), {}});
        }
        QCOMPARE(words[0] == "add"    ? capture.InsertLine(row, text)
                 : words[0] == "edit" ? capture.SetLineText(row, text)
                 : words[0] == "keep" ? (capture.KeepTimes(kept), true)
                                      : capture.RemoveLine(row),
                 done);
        QTEST(Rows(capture, true), "rows");
        QCOMPARE(capture.LastSourceLine, qint16(capture.SourceLines.size() - 2));
    }

    // No line: nothing to start, stamp or fix; a load beyond the table changes nothing; a full
    // table takes no line more.
    void withoutLines() {
        Capture capture;
        QVERIFY(!capture.Start() && capture.RowToFix(-1) == -1);
        QVERIFY(capture.Next(1000, [] { return 1; }) == Capture::Press::Ignored);
        capture.Load({"A", "B"});
        QVERIFY(capture.RowToFix(-1) == 0 && capture.RowToFix(1) == 1 && capture.RowToFix(2) == 0);
        QVERIFY(capture.RemoveLine(0) && capture.RemoveLine(0) && !capture.Start());
        QVERIFY(!capture.Load(QStringList(MaxSourceLines + 1, "x")));
        QVERIFY(capture.LastSourceLine == -1 && capture.SourceLines.size() == 1);
        QVERIFY(capture.SourceLines[0].Text == encoder::EndMarker &&
                !capture.SourceLines[0].Seconds);
        QVERIFY(capture.Load(QStringList(MaxSourceLines, "x")) && capture.Full());
        QVERIFY(!capture.InsertLine(0, "y") && capture.RemoveLine(0) && !capture.Full());
    }

    // The title and the file name from the two fields, and the fields back from the title.
    void songTitle_data() {
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("song");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("back");  // song|artist
        const QString nul(QChar(0));
        // clang-format off
        QTest::newRow("trimmed")     << " Band X " << "Song One" << "Song One - Band X" << "Band X - Song One" << "Song One|Band X";
        QTest::newRow("substitutes") << "[Anon.]" << "[Untitled]" << "[Untitled] - [Anon.]" << "[Anon.] - [Untitled]" << "[Untitled]|[Anon.]";
        QTest::newRow("a slash")     << "AC/DC" << "Song" << "Song - AC/DC" << "AC-DC - Song" << "Song|AC/DC";
        QTest::newRow("a NUL")       << "Band" << "A" + nul << "A" + nul + " - Band" << "Band - A-" << "A" + nul + "|Band";
        QTest::newRow("tabs stay")   << "\tBand " << " Song\t" << "Song\t - \tBand" << "\tBand - Song\t" << "Song\t|\tBand";
        QTest::newRow("song with -") << "C" << "A - B" << "A - B - C" << "C - A - B" << "A|B - C";
        QTest::newRow("blank song")  << "X" << " " << " - X" << "X - " << "|X";
        // clang-format on
    }
    void songTitle() {
        QFETCH(QString, artist);
        QFETCH(QString, song);
        QFETCH(QString, title);
        QCOMPARE(encoder::SongTitle(artist, song), title);
        QTEST(encoder::ProposedFileName(artist, song), "fileName");
        const encoder::TitleFields fields = encoder::SplitSongTitle(title);
        QTEST(fields.Song + '|' + fields.Artist, "back");
        QCOMPARE(encoder::SplitSongTitle("no separator").Song, "no separator");
    }

    // A file name that is not valid UTF-8 cannot be used; a title is only text.
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        // source, save, title, export, to, retime; or the error
        QTest::addColumn<QStringList>("parsed");
        // clang-format off
        QTest::newRow("all three")   << QStringList{"--title", "S - A", "--source", "a.txt", "--save", "b.cx3"}
                                     << QStringList{"a.txt", "b.cx3", "S - A", "", "", ""};
        QTest::newRow("no source")   << QStringList{"--save", "b.cx3", "--title", "S - A"}
                                     << QStringList{"--save needs --source"};
        QTest::newRow("a stray file") << QStringList{"--source", "a.txt", "b.txt"}
                                     << QStringList{"unexpected argument b.txt"};
        QTest::newRow("export to")   << QStringList{"out.lrc", "--export-lrc", "a.cx3"}
                                     << QStringList{"", "", "", "a.cx3", "out.lrc", ""};
        QTest::newRow("export and a song") << QStringList{"--export-lrc", "a.cx3", "--title", "S - A"}
                                     << QStringList{"--export-lrc takes no other option"};
        QTest::newRow("retime")      << QStringList{"--retime", "s.lrc"} << QStringList{"", "", "", "", "", "s.lrc"};
        QTest::newRow("retime and a song") << QStringList{"--retime", "s.lrc", "--source", "a.txt"}
                                     << QStringList{"--retime takes no other option"};
        QTest::newRow("Latin-1 save") << QStringList{"--source", "a.txt", "--save=caf\uFFFD.cx3"}
                                     << QStringList{"The file name \"caf\uFFFD.cx3\" cannot be used: it is not valid UTF-8."};
        QTest::newRow("Latin-1 title") << QStringList{"--source", "a.txt", "--title", "Caf\uFFFD"}
                                     << QStringList{"a.txt", "", "Caf\uFFFD", "", "", ""};
        // clang-format on
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        platform::Arguments given = platform::ParseArguments(encoder::CommandLineHelp, arguments);
        given.Undecodable = arguments.filter(QChar(QChar::ReplacementCharacter));
        const encoder::CommandLine line = encoder::ReadCommandLine(given);
        const QStringList got = given.Error.isEmpty()
                                    ? QStringList{line.Source,    line.Save,     line.Title,
                                                  line.ExportLrc, line.ExportTo, line.Retime}
                                    : QStringList{given.Error};
        QTEST(got, "parsed");
    }

    // Edits on a table with a line selected, and the rows each told the view of: a line never
    // passes the timed lines beside it, nor 0.
    void timingEdits_data() {
        QTest::addColumn<QString>("times");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("script");  // tap:ms nudge:ms shift:ms undo redo save
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("selectedAfter");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("touched");  // the rows of each change, "first-last"
        // clang-format off
        QTest::newRow("tap takes the moment, moves on")  << "1000 2000 3000" << 1 << "tap:2500" << "1000 2500 3000" << 2 << true << "1-1";
        QTest::newRow("tap held by the next line")       << "1000 2000 3000" << 1 << "tap:3500" << "1000 3000 3000" << 2 << true << "1-1";
        QTest::newRow("tap held by the line before")     << "1000 2000 3000" << 1 << "tap:500" << "1000 1000 3000" << 2 << true << "1-1";
        QTest::newRow("tap an untimed line, held by the timed ones") << "1000 - - 4000" << 2 << "tap:5000" << "1000 - 4000 4000" << 3 << true << "2-2";
        QTest::newRow("taps in a run")                   << "1000 2000 3000" << 0 << "tap:900 tap:2100 tap:2900" << "900 2100 2900" << 2 << true << "0-0 1-1 2-2";
        QTest::newRow("tap at its own time: moves on only") << "1000 2000 3000" << 1 << "tap:2000" << "1000 2000 3000" << 2 << false << "";
        QTest::newRow("nudge later")                     << "1000 2000 3000" << 1 << "nudge:100" << "1000 2100 3000" << 1 << true << "1-1";
        QTest::newRow("nudge held by the line before")   << "1000 1050 3000" << 1 << "nudge:-100" << "1000 1000 3000" << 1 << true << "1-1";
        QTest::newRow("nudge held by the line after")    << "1000 2995 3000" << 1 << "nudge:10 nudge:10" << "1000 3000 3000" << 1 << true << "1-1";
        QTest::newRow("nudge held at 0")                 << "50 2000" << 0 << "nudge:-100" << "0 2000" << 0 << true << "0-0";
        QTest::newRow("nudge an untimed line: nothing")  << "1000 - 3000" << 1 << "nudge:100" << "1000 - 3000" << 1 << false << "";
        QTest::newRow("out of order: back, never further") << "1000 500 3000" << 1 << "nudge:-100 nudge:100" << "1000 600 3000" << 1 << true << "1-1";
        QTest::newRow("shift from a line on")            << "1000 2000 - 4000" << 1 << "shift:500" << "1000 2500 - 4500" << 1 << true << "1-3";
        QTest::newRow("shift sooner held by the line before") << "1000 1200 1500 4000" << 1 << "shift:-400" << "1000 1000 1100 3600" << 1 << true << "1-3";
        QTest::newRow("shift the first line, held at 0") << "100 300" << 0 << "shift:-200" << "0 100" << 0 << true << "0-1";
        QTest::newRow("every kind undone")               << "1000 2000 3000" << 1 << "tap:2500 nudge:10 shift:100 undo undo undo" << "1000 2000 3000" << 1 << false << "1-1 2-2 2-2 2-2 2-2 1-1";
        QTest::newRow("every kind redone")               << "1000 2000 3000" << 1 << "tap:2500 nudge:10 shift:100 undo undo undo redo redo redo" << "1000 2500 3110" << 2 << true << "1-1 2-2 2-2 2-2 2-2 1-1 1-1 2-2 2-2";
        QTest::newRow("an edit after undo: no redo")     << "1000 2000 3000" << 1 << "nudge:100 undo nudge:-100 redo" << "1000 1900 3000" << 1 << true << "1-1 1-1 1-1";
        QTest::newRow("saved, undone, redone")           << "1000 2000 3000" << 1 << "nudge:100 save undo redo" << "1000 2100 3000" << 1 << false << "1-1 1-1 1-1";
        QTest::newRow("saved state undone out of reach") << "1000 2000 3000" << 1 << "nudge:100 save undo nudge:10" << "1000 2010 3000" << 1 << true << "1-1 1-1 1-1";
        QTest::newRow("nothing to undo or redo")         << "1000 2000" << 0 << "undo redo" << "1000 2000" << 0 << false << "";
        QTest::newRow("no lines")                        << "" << -1 << "tap:100 nudge:10 shift:10" << "" << -1 << false << "";
        // clang-format on
    }
    void timingEdits() {
        QFETCH(QString, times);
        QFETCH(int, selected);
        QFETCH(QString, script);
        QFETCH(bool, modified);
        TimingTable table;
        table.Load(RowsOf(times));
        table.Select(selected);
        QSignalSpy changed(&table, &TimingTable::dataChanged);
        QSignalSpy flagged(&table, &TimingTable::ModifiedChanged);
        for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
            const qint64 ms = step.section(u':', 1).toLongLong();
            const QString kind = step.section(u':', 0, 0);
            kind == u"tap"     ? table.Tap(ms)
            : kind == u"nudge" ? table.Nudge(ms)
            : kind == u"shift" ? table.ShiftFrom(ms)
            : kind == u"undo"  ? table.Undo()
            : kind == u"redo"  ? table.Redo()
                               : (table.MarkSaved(), true);
        }
        QTEST(TimesOf(table.Rows()), "after");
        QTEST(table.Selected(), "selectedAfter");
        QCOMPARE(table.Modified(), modified);
        QStringList ranges;
        for (const QList<QVariant>& signal : changed) {
            ranges << QStringLiteral("%1-%2")
                          .arg(signal[0].toModelIndex().row())
                          .arg(signal[1].toModelIndex().row());
        }
        QTEST(ranges.join(u' '), "touched");
        // Every change of the flag was told, and it ends where it stands.
        QCOMPARE(flagged.isEmpty() ? false : flagged.last()[0].toBool(), modified);
    }

    // The line sung at a position; playing from the selected line starts 3 s before it begins.
    void timingPositions_data() {
        QTest::addColumn<QString>("times");
        QTest::addColumn<qint64>("position");
        QTest::addColumn<int>("sung");
        QTest::addColumn<int>("selected");
        QTest::addColumn<qint64>("playFrom");
        // clang-format off
        QTest::newRow("before the first time")   << "1000 5000 9000" << qint64(0) << 0 << 0 << qint64(0);
        QTest::newRow("an equal time is reached") << "1000 5000 9000" << qint64(5000) << 2 << 2 << qint64(2000);
        QTest::newRow("just before it")          << "1000 5000 9000" << qint64(4999) << 1 << 1 << qint64(0);
        QTest::newRow("untimed lines passed")    << "1000 - 9000" << qint64(1000) << 2 << 2 << qint64(0);
        QTest::newRow("timed line above an untimed one") << "4000 - 9000" << qint64(3000) << 0 << 2 << qint64(1000);
        QTest::newRow("past the last time")      << "1000 5000" << qint64(99000) << 1 << 1 << qint64(0);
        QTest::newRow("no lines")                << "" << qint64(100) << -1 << -1 << qint64(0);
        // clang-format on
    }
    void timingPositions() {
        QFETCH(QString, times);
        QFETCH(qint64, position);
        QFETCH(int, sung);
        QFETCH(int, selected);
        TimingTable table;
        table.Load(RowsOf(times));
        table.Select(selected);
        QVERIFY(table.SetSung(position) == (sung >= 0));
        QCOMPARE(table.Sung(), sung);
        if (sung >= 0) {
            QVERIFY(table.index(sung, 1).data(TimingTable::SungRole).toBool());
        }
        QVERIFY(table.SetSung(std::nullopt) == (sung >= 0));
        QCOMPARE(table.Sung(), -1);
        QTEST(table.PlayFromMs(), "playFrom");
    }

    void formatTime() {
        QStringList texts;
        for (std::optional<qint64> ms : {std::optional<qint64>(83456), {6000000}, {-2500}, {}}) {
            texts << TimingTable::FormatTime(ms);
        }
        QCOMPARE(texts.join(' '), "01:23.456 100:00.000 -00:02.500 --:--.---");
    }

    // Read and written back: our own files byte for byte, another program's LRC anew; a file
    // that cannot be read whole is not read at all.
    void timingFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("times");  // "<none>": the file is refused
        QTest::addColumn<bool>("differs");
        // clang-format off
        QTest::newRow("cx3, untimed lines")   << "a.cx3" << QByteArray("\"S - A\"\r\n4.03,\"one\"\r\n,\"two, too\"\r\n83.456,\"three\"\r\n,\"four\"\r\n") << "4030 - 83456 -" << false;
        QTest::newRow("cx2")                  << "a.cx2" << QByteArray("\"S - A\"\r\n0.5,\"one\"\r\n") << "500" << false;
        QTest::newRow("cx3 cut short")        << "a.cx3" << QByteArray("\"S - A\"\r\n1,\"one\"\r\nsoon,\"two\"\r\n") << "<none>" << false;
        QTest::newRow("LRC as we write it")   << "a.lrc" << QByteArray("[ti:S]\r\n[ar:A]\r\n[00:00.00]one\r\n[00:04.03]two\r\n") << "4030 -" << false;
        QTest::newRow("LRC from elsewhere")   << "a.LRC" << QByteArray("[al:Album]\n[00:01.00]one\n[00:04.03]two\n") << "1000 4030 -" << true;
        QTest::newRow("LRC without a stamp")  << "a.lrc" << QByteArray("[ti:S]\r\n") << "<none>" << false;
        // clang-format on
    }
    void timingFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, times);
        QFETCH(bool, differs);
        const QString path = dir.filePath(name);
        QVERIFY(testsupport::WriteBytes(path, bytes));
        const std::optional<encoder::TimingFile> file = encoder::ReadTimingFile(path);
        QCOMPARE(file ? TimesOf(file->Rows) : QStringLiteral("<none>"), times);
        if (!file) {
            return;
        }
        QCOMPARE(file->Format, lyrics::LyricsFormatOf(name));
        QCOMPARE(file->RewriteDiffers, differs);
        const QString copy = dir.filePath("copy." + name.section(u'.', -1));
        QVERIFY(encoder::WriteTimingFile(copy, file->Format, file->Title, file->Rows));
        if (!differs) {
            QCOMPARE(testsupport::ReadBytes(copy), bytes);
        }
        // The stamps of a capture and back, to the millisecond.
        QCOMPARE(TimesOf(encoder::TimingRowsOf(encoder::SourceRowsOf(file->Rows))), times);
    }

    // What publishing would send, or why it cannot.
    void publishDraft_data() {
        QTest::addColumn<QString>("file");  // name in the folder; empty: none written yet
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lengthS");
        QTest::addColumn<QString>("sent");  // song|artist|seconds|synced|plain, or the problem
        // clang-format off
        QTest::newRow("timed song") << "a.cx3" << Timed << 214
            << "Night Song|Lost Band|214|[00:00.00]Out in the night\n[00:01.50]We sing|Out in the night\nWe sing";
        QTest::newRow("the last line may go untimed") << "b.cx3" << QByteArray("\"S - A\"\r\n1,\"one\"\r\n,\"two\"\r\n") << 60
            << "S|A|60|[00:00.00]one\n[00:01.00]two|one\ntwo";
        QTest::newRow("LRC with a blank line first") << "c.lrc" << QByteArray("[ti:S]\n[ar:A]\n[00:02.00]one\n[00:04.50]two\n") << 60
            << "S|A|60|[00:02.00]one\n[00:04.50]two|one\ntwo";
        QTest::newRow("capture stopped early") << "d.cx3" << QByteArray("\"S - A\"\r\n1,\"one\"\r\n,\"two\"\r\n,\"three\"\r\n") << 60
            << "Some lines of the song have no time yet. Time the whole song, then publish it.";
        QTest::newRow("no artist") << "e.cx3" << QByteArray("\"Song\"\r\n1,\"one\"\r\n") << 60
            << "The song's title does not name its artist. Give it as \"Song - Artist\" (Quickfix > Title...), then publish it.";
        QTest::newRow("Winamp gives no length") << "f.cx3" << Timed << 0
            << "Winamp gives no length for the song. Play it in Winamp, then publish it.";
        QTest::newRow("nothing written yet") << "" << QByteArray() << 60 << "There is no timed lyrics file to publish yet.";
        QTest::newRow("file gone") << "gone.cx3" << QByteArray() << 60 << "Could not read the lyrics file:\n<dir>/gone.cx3";
        // clang-format on
    }
    void publishDraft() {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(int, lengthS);
        const QString path = file.isEmpty() ? QString() : dir.filePath(file);
        QVERIFY(bytes.isEmpty() || testsupport::WriteBytes(path, bytes));
        encoder::PublishDraft draft = encoder::DraftForPublish(path, lengthS);
        const online::LyricsRecord& s = draft.Song;
        const QString sent = QStringList{s.TrackName, s.ArtistName, QString::number(s.Duration),
                                         s.SyncedLyrics.value_or("-"), s.PlainLyrics.value_or("-")}
                                 .join(u'|');
        QTEST(draft.Problem.isEmpty() ? sent : draft.Problem.replace(dir.path(), "<dir>"), "sent");
    }
};

QTEST_APPLESS_MAIN(tst_EncoderRules)
#include "tst_encoder_rules.moc"
