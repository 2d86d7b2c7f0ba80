// The simulated Winamp in this process: model on a manual clock, playlist, options, window.
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "winamp-sim/M3u.h"
#include "winamp-sim/Options.h"
#include "winamp-sim/SimWindow.h"
#include "winamp-sim/Winamp.h"
#include "winamp/ManualClock.h"

using namespace winampsim;
using platform::LPARAM, platform::LRESULT, platform::WPARAM, winamp::ManualClock;

// Three tracks of different lengths, so a length answer tells which track is loaded.
static const TrackList ThreeTracks{{"Ten", 10, {}}, {"Twenty", 20, {}}, {"Thirty", 30, {}}};

class tst_WinampSim : public QObject {
    Q_OBJECT
  private slots:
    // "cmd C" posts command C, "user W L" the user message, "ask M W L A" sends and expects A,
    // "wait MS" moves the clock; state/pos/len/entry/count ask that query. "empty": no tracks.
    void stateMachine_data() {
        QTest::addColumn<QString>("script");
        // clang-format off
        QTest::newRow("stopped at entry 0, play runs the clock") << "state 0; pos 0; entry 0; len 10; count 3; cmd 40045; state 1; pos 0; wait 1500; pos 1500";
        QTest::newRow("pause freezes the position, resume goes on, play starts over") << "cmd 40045; wait 2000; cmd 40046; state 3; wait 5000; pos 2000; cmd 40046; state 1; wait 500; pos 2500; cmd 40045; wait 3000; cmd 40046; cmd 40045; state 1; pos 0; wait 100; pos 100";
        QTest::newRow("seek while playing, stop goes back to 0") << "cmd 40045; wait 1000; user 7000 106; pos 7000; wait 500; pos 7500; state 1; cmd 40047; state 0; pos 0; wait 1000; pos 0; entry 0";
        QTest::newRow("fade plays on, then stops") << "cmd 40045; wait 1000; cmd 40147; state 1; wait 1499; state 1; pos 2499; wait 1; state 0; pos 0; entry 0";
        QTest::newRow("track end during a fade stops, no move on") << "cmd 40045; wait 9000; cmd 40147; wait 1000; state 0; entry 0; pos 0";
        QTest::newRow("track end moves on and plays") << "cmd 40045; wait 10000; state 1; entry 1; pos 0; len 20; wait 500; pos 500";
        QTest::newRow("stop-after-current stops at the end, cleared once used and by stop") << "cmd 40045; cmd 40157; wait 9999; state 1; entry 0; wait 1; state 0; entry 0; pos 0; cmd 40045; wait 10000; state 1; entry 1; cmd 40157; cmd 40047; cmd 40045; wait 20000; entry 2; state 1";
        QTest::newRow("end of the last track stops") << "user 2 121; cmd 40045; wait 29999; state 1; wait 1; state 0; entry 2; pos 0; len 30";
        QTest::newRow("long gap passes several track ends") << "cmd 40045; wait 25000; entry 1; pos 15000; state 1; len 20";
        QTest::newRow("select entry while stopped, out of range ignored; while playing only selects") << "user 2 121; entry 2; len 30; user 3 121; user -1 121; entry 2; cmd 40045; state 1; len 30; wait 1000; pos 1000; user 0 121; entry 0; state 1; pos 1000; len 30; cmd 40045; pos 0; len 10";
        QTest::newRow("previous and next stop at the ends, start the entry while playing") << "cmd 40044; entry 0; cmd 40045; wait 3000; cmd 40048; entry 1; pos 0; state 1; len 20; cmd 40048; cmd 40048; entry 2";
        QTest::newRow("commands sent act; unknown messages, jump and close change nothing") << "ask 273 40045 0 0; state 1; ask 1024 1 121 0; entry 1; ask 273 40047 0 0; state 0; cmd 40045; wait 1000; ask 1024 0 999 0; ask 1024 2 105 0; ask 273 12345 0 0; ask 0 0 0 0; ask 1025 0 104 0; ask 273 105581 0 0; ask 273 40194 0 0; cmd 40001; state 1; pos 1000; entry 1; len 20";
        QTest::newRow("empty playlist answers 0") << "empty; cmd 40045; cmd 40048; user 0 121; wait 5000; state 0; pos 0; len 0; count 0; entry 0";
        // clang-format on
    }
    void stateMachine() {
        QFETCH(QString, script);
        ManualClock clock(5000);
        Winamp model(clock, script.startsWith("empty;") ? TrackList() : ThreeTracks);
        const QMap<QString, QString> queries{{"state", "0 104"},
                                             {"pos", "0 105"},
                                             {"len", "1 105"},
                                             {"entry", "0 125"},
                                             {"count", "0 124"}};
        for (const QString& step : script.split(';')) {
            QStringList s = step.simplified().split(' ');
            if (queries.contains(s[0])) {
                s = ("ask 1024 " + queries[s[0]]).split(' ') + s.mid(1);
            }
            const auto n = [&s](int i) { return s.value(i).toLongLong(); };
            if (s[0] == "wait") {
                clock.Advance(n(1));
            } else if (s[0] == "cmd" || s[0] == "user") {
                model.Handle(s[0] == "cmd" ? 273 : 1024, WPARAM(n(1)), LPARAM(n(2)), true);
            } else if (s[0] == "ask") {
                const LRESULT got = model.Handle(platform::UINT(n(1)), WPARAM(n(2)), LPARAM(n(3)));
                QVERIFY2(got == n(4), qPrintable(step + " answered " + QString::number(got)));
            }
        }
    }

    void m3u_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("tracks");  // "title=seconds; ...", or the start of the error
        QTest::addColumn<QString>("files");   // taken from /music; "" for none
        // clang-format off
        QTest::newRow("CR LF and CR, comments, blanks, spaces, no header") << QByteArray("# by hand\r\n\r\n  #EXTINF:45 , Artist - Song A  \r#EXTALB:x\r\na.mp3\r#EXTINF:60,Song B\r\nb.mp3\r\r") << "Artist - Song A=45; Song B=60" << "/music/a.mp3; /music/b.mp3";
        QTest::newRow("file name as title, commas in a title") << QByteArray("#EXTINF:30,\nsub/../music/Some Song.mp3\n#EXTINF:31\n/srv/Other One.flac\n#EXTINF:32,   \nhttp://radio.example/stream\n#EXTINF:12,One, Two\nfile:///home/u/One%2C%20Two.mp3") << "Some Song=30; Other One=31; stream=32; One, Two=12" << "/music/music/Some Song.mp3; /srv/Other One.flac; ; /home/u/One, Two.mp3";
        QTest::newRow("UTF-8 with byte-order mark") << QByteArray("\xEF\xBB\xBF#EXTM3U\n#EXTINF:20,Caf\xC3\xA9 \xE2\x80\x93 Night\nc.mp3\n") << QString::fromUtf8("Caf\xC3\xA9 \xE2\x80\x93 Night=20") << "/music/c.mp3";
        QTest::newRow("Windows code page") << QByteArray("#EXTINF:20,Caf\xE9 \x96 Night\nc.mp3\n") << QString::fromUtf8("Caf\xC3\xA9 \xE2\x80\x93 Night=20") << "/music/c.mp3";
        QTest::newRow("length -1 means unknown") << QByteArray("#EXTINF:45,A\na.mp3\n#EXTINF:-1,B\nb.mp3\n") << "list.m3u:4: \"b.mp3\" has no length (line 3 gives \"-1\"" << "";
        QTest::newRow("no lengths at all") << QByteArray("#EXTM3U\na.mp3\nb.mp3\n") << "list.m3u: no track has a length" << "";
        QTest::newRow("no tracks") << QByteArray("#EXTM3U\n#EXTINF:45,Dangling\n") << "list.m3u: the playlist holds no tracks" << "";
        // clang-format on
    }
    void m3u() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, tracks);
        const PlaylistLoad load = ParseM3u(bytes, "list.m3u", "/music");
        QStringList read, files;
        for (const Track& track : load.Tracks) {
            read << track.Title + u'=' + QString::number(track.LengthS);
            files << track.File;
        }
        QCOMPARE(load.Ok, !load.Tracks.isEmpty());
        const QString got = load.Ok ? read.join("; ") : load.Error;
        QVERIFY2(tracks.startsWith("list.m3u") ? got.startsWith(tracks) : got == tracks,
                 qPrintable(got));
        QTEST(files.join("; "), "files");
    }

    // The demo lyrics are timed to the first demo track: 45 s, its file beside the playlist.
    void demoTracks() {
        const PlaylistLoad demo = LoadM3u(QStringLiteral(WINAMPSIM_DEMO_PLAYLIST));
        QCOMPARE(demo.Tracks.value(0), (Track{"Paper Lanterns - The Quiet Harbour", 45,
                                              QFileInfo(WINAMPSIM_DEMO_PLAYLIST).absolutePath() +
                                                  "/paper-lanterns-the-quiet-harbour.mp3"}));
    }

    // The row's name is the command line: serve|headless|trace|speed|playlist|tracks|length,
    // send|msg|w|l, or the start of the error.
    void options_data() {
        QTest::addColumn<QString>("parsed");
        QTest::newRow(" ") << "serve|0||1||3|200";  // three generated tracks
        QTest::newRow("--headless --trace=t.log --speed=10 --tracks=5 --length=30")
            << "serve|1|t.log|10||5|30";
        QTest::newRow("send 0x400 -1 -0x10") << "send|1024|18446744073709551615|-16";
        QTest::newRow("--tracks 2 a.m3u") << "error: give either a playlist";
        QTest::newRow("--loud") << "error: unknown option --loud";
        QTest::newRow("--speed 2 --version --loud") << "version|0||2||3|200";
        QTest::newRow("--speed 0") << "error: --speed needs";
        QTest::newRow("send 1024 0") << "error: send needs three numbers";
        QTest::newRow("send 1024 x 104") << "error: bad wParam \"x\"";
    }
    void options() {
        QFETCH(QString, parsed);
        const Options o =
            ParseOptions(QString(QTest::currentDataTag()).split(' ', Qt::SkipEmptyParts));
        const char* modes[] = {"serve", "send", "post", "help", "version"};
        QStringList got{modes[int(o.RunMode)]};
        if (o.RunMode == Options::Mode::Send || o.RunMode == Options::Mode::Post) {
            got << QString::number(o.Msg) << QString::number(quint64(o.WParam))
                << QString::number(qint64(o.LParam));
        } else {
            got << QString::number(o.Headless) << o.TraceFile << QString::number(o.Speed)
                << o.Playlist << QString::number(o.TrackCount) << QString::number(o.TrackLengthS);
        }
        const QString result = o.Ok ? got.join(u'|') : "error: " + o.Error;
        QVERIFY2(parsed.startsWith("error: ") ? result.startsWith(parsed) : result == parsed,
                 qPrintable(result));
    }

    // The buttons and the slider (one seek, on release) reach the model; the labels show it.
    void window() {
        ManualClock clock;
        Winamp model(clock, ThreeTracks);
        SimWindow window(model);
        window.show();
        QSlider* slider = window.PositionSlider();
        for (QPushButton* b : {window.NextButton(), window.NextButton(), window.PreviousButton(),
                               window.PlayButton()}) {
            QTest::mouseClick(b, Qt::LeftButton);
        }
        model.StopAfterCurrent();
        clock.Advance(12345);
        window.Refresh();  // what the timer does
        QCOMPARE(window.TrackLabel()->text() + " | " + window.StateLabel()->text(),
                 QString("2. Twenty | Playing   0:12 / 0:20   (stops after this track)"));
        QCOMPARE(slider->value(), 12345);
        slider->setSliderDown(true);
        slider->setSliderPosition(6000);
        QCOMPARE(model.PositionMs(), qint64(12345));
        slider->setSliderDown(false);
        QCOMPARE(model.PositionMs(), qint64(6000));
    }
};

QTEST_MAIN(tst_WinampSim)
#include "tst_winampsim.moc"
