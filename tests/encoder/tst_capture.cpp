// The capture over the source lines, the corrections between captures, the song title and
// the lyrics file name, the lyrics file the capture leaves, and the command line.
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>
#include <clocale>

#include "encoder/Capture.h"
#include "encoder/CommandLine.h"
#include "encoder/SongTitle.h"
#include "encoder/SourceText.h"
#include "lyrics/LyricsFile.h"
#include "support/Files.h"

using encoder::Capture;

Q_DECLARE_METATYPE(std::optional<double>)

class tst_Capture : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QByteArray Written(const Capture& capture) {
        const QString path = dir.filePath("song.cx3");
        QFile::remove(path);
        if (!lyrics::WriteLyricsFile(path, "Song - Band", capture.SourceLines, capture.LastSourceLine)) {
            return "<not written>";
        }
        return testsupport::ReadBytes(path);
    }

  private slots:
    // Stamps are written the same whatever the user's locale.
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8");
    }

    void capture_data() {
        QTest::addColumn<QList<qint64>>("presses");
        QTest::addColumn<bool>("endsByItself");  // after the last press
        QTest::addColumn<bool>("asks");          // the end-of-song question at Stop
        QTest::addColumn<QByteArray>("file");
        const QByteArray title = "\"Song - Band\"\r\n";
        // clang-format off
        QTest::newRow("every line")   << QList<qint64>{83456, 90000, 95500} << true << false
            << title + "83.456,\"A\"\r\n90,\"B\"\r\n95.5,\"C\"\r\n";
        QTest::newRow("last showing") << QList<qint64>{1000, 2000} << false << false
            << title + "1,\"A\"\r\n2,\"B\"\r\n,\"C\"\r\n";
        QTest::newRow("one line")     << QList<qint64>{250} << false << true
            << title + "0.25,\"A\"\r\n,\"B\"\r\n,\"C\"\r\n";
        QTest::newRow("no line")      << QList<qint64>{} << false << true
            << title + ",\"A\"\r\n,\"B\"\r\n,\"C\"\r\n";
        QTest::newRow("negative")     << QList<qint64>{-5} << false << true
            << title + "-0.005,\"A\"\r\n,\"B\"\r\n,\"C\"\r\n";
        // clang-format on
    }
    void capture() {
        QFETCH(QList<qint64>, presses);
        QFETCH(bool, endsByItself);
        QFETCH(bool, asks);
        QFETCH(QByteArray, file);
        Capture capture;
        QVERIFY(capture.Load({"A", "B", "C"}));
        QVERIFY(capture.Start());
        QCOMPARE(capture.CurrentText(), "A");
        QCOMPARE(capture.NextText(), "B");
        bool ended = false;
        for (qint64 ms : presses) {
            QVERIFY(!ended);
            ended = capture.Next(ms);
        }
        QCOMPARE(ended, endsByItself);
        if (ended) {
            QCOMPARE(capture.CurrentText(), encoder::EndMarker);
            QVERIFY(!capture.Next(99999));  // nothing beyond the marker is stamped
        }
        QCOMPARE(capture.Stop(), asks);
        QCOMPARE(Written(capture), file);
    }

    void secondCaptureKeepsOlderStamps() {
        Capture capture;
        capture.Load({"A", "B", "C"});
        capture.Start();
        for (qint64 ms : {1000, 2000, 3000}) {
            capture.Next(ms);
        }
        capture.Stop();
        QVERIFY(capture.Start());
        QCOMPARE(capture.CurrentText(), "A");
        capture.Next(1500);
        QVERIFY(capture.Stop());
        QCOMPARE(Written(capture), "\"Song - Band\"\r\n1.5,\"A\"\r\n2,\"B\"\r\n3,\"C\"\r\n");
    }

    void startNeedsALine() {
        Capture capture;
        QCOMPARE(capture.LastSourceLine, qint16(-1));
        QCOMPARE(capture.SourceLines.size(), size_t(1));  // the end marker alone
        QVERIFY(!capture.Start());
        QVERIFY(!capture.Next(1000));
        QVERIFY(capture.SourceLines[0].Text == encoder::EndMarker && !capture.SourceLines[0].Seconds);
        capture.Load({"only"});
        QVERIFY(capture.Start());
        QCOMPARE(capture.NextText(), encoder::EndMarker);
        QVERIFY(capture.Next(1000));
    }

    void aLoadTooBigChangesNothing() {
        Capture capture;
        capture.Load({"A"});
        capture.Start();
        capture.Next(1000);
        QVERIFY(!capture.Load(QStringList(encoder::MaxSourceLines + 1, "x")));
        QCOMPARE(capture.LastSourceLine, qint16(0));
        QCOMPARE(capture.SourceLines[0].Seconds, std::optional<double>(1.0));
        QVERIFY(capture.Load(QStringList(encoder::MaxSourceLines, "x")));
        QCOMPARE(capture.LastSourceLine, qint16(encoder::MaxSourceLines - 1));
        QCOMPARE(capture.SourceLines.back().Text, encoder::EndMarker);
    }

    // Corrections on the lines A (stamped 1), B (stamped 2) and C (not stamped), each
    // "add ROW TEXT", "edit ROW TEXT" or "remove ROW"; rows as "text time", "-" unstamped.
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
        // clang-format on
    }
    void corrections() {
        QFETCH(QString, edit);
        QFETCH(bool, done);
        QFETCH(QString, rows);
        Capture capture;
        capture.Load({"A", "B", "C"});
        capture.SourceLines[0].Seconds = 1;
        capture.SourceLines[1].Seconds = 2;
        const QStringList words = edit.split(' ');
        const int row = words[1].toInt();
        const QString text = words.mid(2).join(' ');
        QCOMPARE(words[0] == "add"    ? capture.InsertLine(row, text)
                 : words[0] == "edit" ? capture.SetLineText(row, text)
                                      : capture.RemoveLine(row),
                 done);
        QStringList got;
        for (const lyrics::SourceRow& r : capture.SourceLines) {
            got << r.Text + ' ' + (r.Seconds ? QString::number(*r.Seconds) : "-");
        }
        QCOMPARE(got.join('|'), rows);
        QCOMPARE(capture.LastSourceLine, qint16(capture.SourceLines.size() - 2));
    }

    void rowToFixAndTheLastLine() {
        Capture capture;
        QCOMPARE(capture.RowToFix(-1), -1);  // no lines: nothing to act on
        capture.Load({"A", "B"});
        QVERIFY(capture.RowToFix(-1) == 0 && capture.RowToFix(1) == 1 && capture.RowToFix(2) == 0);
        QVERIFY(capture.RemoveLine(0) && capture.RemoveLine(0));
        QVERIFY(capture.LastSourceLine == -1 && capture.SourceLines.size() == 1);
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
        QFETCH(QString, fileName);
        QFETCH(QString, back);
        QCOMPARE(encoder::SongTitle(artist, song), title);
        QCOMPARE(encoder::ProposedFileName(artist, song), fileName);
        const encoder::TitleFields fields = encoder::SplitSongTitle(title);
        QCOMPARE(fields.Song + '|' + fields.Artist, back);
        QCOMPARE(encoder::SplitSongTitle("no separator").Song, "no separator");
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("parsed");  // source, save, title; or the error alone
        // clang-format off
        QTest::newRow("nothing")     << QStringList{} << QStringList{"", "", ""};
        QTest::newRow("all three")   << QStringList{"--title", "S - A", "--source", "a.txt", "--save", "b.cx3"}
                                     << QStringList{"a.txt", "b.cx3", "S - A"};
        QTest::newRow("source only") << QStringList{"--source", "a.txt"} << QStringList{"a.txt", "", ""};
        QTest::newRow("no value")    << QStringList{"--source"} << QStringList{"--source needs a value"};
        QTest::newRow("unknown")     << QStringList{"a.txt"} << QStringList{"unknown argument: a.txt"};
        QTest::newRow("no source")   << QStringList{"--save", "b.cx3"}
                                     << QStringList{"--save and --title need --source"};
        // clang-format on
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, parsed);
        const encoder::CommandLine line = encoder::ParseCommandLine(arguments);
        const QStringList got = line.Error.isEmpty()
                                    ? QStringList{line.Source, line.Save, line.Title}
                                    : QStringList{line.Error};
        QCOMPARE(got, parsed);
    }

    // Qt never sees the encoder's options: its X11 platform would take --title for itself.
    void ownArgumentsLeaveTheRestToQt() {
        char a[] = "encoder", b[] = "-platform", c[] = "xcb", d[] = "--title", e[] = "S - A",
             f[] = "--source";
        char* argv[] = {a, d, e, b, c, f, nullptr};
        int argc = 6;
        QCOMPARE(encoder::TakeOwnArguments(argc, argv), (QStringList{"--title", "S - A", "--source"}));
        QCOMPARE(argc, 3);
        QCOMPARE(QList<QByteArray>({argv[0], argv[1], argv[2]}), (QList<QByteArray>{a, b, c}));
        QCOMPARE(argv[3], nullptr);
    }
};

QTEST_APPLESS_MAIN(tst_Capture)
#include "tst_capture.moc"
