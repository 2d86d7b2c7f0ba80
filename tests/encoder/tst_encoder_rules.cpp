// The encoder's rules without a window: source texts, rich text, the editor's file, the capture,
// the song title, the command line.
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>
#include <clocale>

#include "encoder/Capture.h"
#include "encoder/CommandLine.h"
#include "encoder/EditorFile.h"
#include "encoder/RichText.h"
#include "encoder/SongTitle.h"
#include "encoder/SourceText.h"
#include "lyrics/DelimitedFile.h"
#include "support/Files.h"

using encoder::Capture;
using encoder::EditorFile;
using encoder::MaxSourceLines;

Q_DECLARE_METATYPE(std::optional<double>)

class tst_EncoderRules : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    // The stamps of the rows, in seconds, "-" for none.
    static QString Stamps(const Capture& capture) {
        QStringList stamps;
        for (const lyrics::SourceRow& row : capture.SourceLines) {
            stamps << (row.Seconds ? QString::number(*row.Seconds) : "-");
        }
        return stamps.join(' ');
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

    // A text opened, edited (LF ends, as the editor gives it), saved: unchanged is not written
    // while its file is there; changed keeps the first line end, and the encoding where it
    // holds the text. "gone": the file removed meanwhile; "new": New, to the temporary file.
    void editorWritesAsTheFileWas_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QString>("then");
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
        QTEST(Stamps(capture), "stamps");
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
        QStringList got;
        for (const lyrics::SourceRow& r : capture.SourceLines) {
            got << r.Text + ' ' + (r.Seconds ? QString::number(*r.Seconds) : "-");
        }
        QTEST(got.join('|'), "rows");
        QCOMPARE(capture.LastSourceLine, qint16(capture.SourceLines.size() - 2));
    }

    // No line: nothing to start, stamp or fix; a load beyond the table changes nothing.
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
        QTest::addColumn<QStringList>(
            "parsed");  // source, save, title, export, to, retime; or the error
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
};

QTEST_APPLESS_MAIN(tst_EncoderRules)
#include "tst_encoder_rules.moc"
