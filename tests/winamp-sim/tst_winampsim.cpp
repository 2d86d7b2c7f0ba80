#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QThread>

#include "winamp-sim/JumpDialog.h"
#include "winamp-sim/M3u.h"
#include "winamp-sim/ManualClock.h"
#include "winamp-sim/MessageCodes.h"
#include "winamp-sim/Options.h"
#include "winamp-sim/RealClock.h"
#include "winamp-sim/SimWindow.h"
#include "winamp-sim/Trace.h"
#include "winamp-sim/Winamp.h"

using namespace winampsim;
using platform::LPARAM;
using platform::LRESULT;
using platform::WPARAM;

namespace {

// Three tracks of different lengths, so a length answer tells which track is loaded.
TrackList ThreeTracks() {
    return {{QStringLiteral("Ten"), 10},
            {QStringLiteral("Twenty"), 20},
            {QStringLiteral("Thirty"), 30}};
}

}  // namespace

class tst_WinampSim : public QObject {
    Q_OBJECT
  private slots:
    void stateMachine_data();
    void stateMachine();
    void emptyPlaylistAnswersZero();
    void logSignalAndRequests();

    void m3u_data();
    void m3u();
    void m3uMissingFile();
    void demoPlaylist();
    void generatedTracks();

    void options_data();
    void options();
    void clientOptions_data();
    void clientOptions();

    void traceLines_data();
    void traceLines();
    void traceAppendsToFile();
    void realClockSpeed();

    void windowButtonsDriveModel_data();
    void windowButtonsDriveModel();
    void windowShowsState();
    void windowSliderSeeks();
    void windowPlaylistActivationPlays();
    void jumpDialogOpensWithoutBlocking();
};

// Each script is a list of steps run against three tracks of 10, 20 and 30 s:
//   cmd C           post the command message with wParam C
//   user W L        post the user message with wParam W and lParam L
//   ask M W L A     send M/W/L and expect the answer A
//   wait MS         move the clock on
//   state S | pos MS | len S | entry N | count N   send that query, expect the answer
void tst_WinampSim::stateMachine_data() {
    QTest::addColumn<QString>("script");
    // clang-format off
    QTest::newRow("fresh model is stopped at entry 0") << "state 0; pos 0; entry 0; len 10; count 3";
    QTest::newRow("play runs the clock") << "cmd 40045; state 1; pos 0; wait 1500; pos 1500; entry 0; len 10";
    QTest::newRow("pause freezes the position") << "cmd 40045; wait 2000; cmd 40046; state 3; wait 5000; pos 2000";
    QTest::newRow("resume goes on from the pause") << "cmd 40045; wait 2000; cmd 40046; wait 5000; cmd 40046; state 1; wait 500; pos 2500";
    QTest::newRow("pause when stopped does nothing") << "cmd 40046; state 0; wait 1000; state 0; pos 0";
    QTest::newRow("play while paused starts over") << "cmd 40045; wait 3000; cmd 40046; cmd 40045; state 1; pos 0; wait 100; pos 100";
    QTest::newRow("play while playing starts over") << "cmd 40045; wait 3000; cmd 40045; state 1; pos 0";
    QTest::newRow("stop goes back to 0") << "cmd 40045; wait 3000; cmd 40047; state 0; pos 0; wait 1000; pos 0; entry 0";
    QTest::newRow("stop when paused") << "cmd 40045; wait 3000; cmd 40046; cmd 40047; state 0; pos 0";
    QTest::newRow("fade plays on, then stops") << "cmd 40045; wait 1000; cmd 40147; state 1; wait 1499; state 1; pos 2499; wait 1; state 0; pos 0; entry 0";
    QTest::newRow("fade asked twice keeps the first end") << "cmd 40045; cmd 40147; wait 1000; cmd 40147; wait 500; state 0";
    QTest::newRow("fade of a paused track stops at once") << "cmd 40045; wait 1000; cmd 40046; cmd 40147; state 0; pos 0";
    QTest::newRow("fade when stopped does nothing") << "cmd 40147; state 0; cmd 40045; wait 5000; state 1";
    QTest::newRow("track end during a fade stops, no move on") << "cmd 40045; wait 9000; cmd 40147; wait 1000; state 0; entry 0; pos 0";
    QTest::newRow("play cancels a fade") << "cmd 40045; cmd 40147; wait 500; cmd 40045; wait 2000; state 1; pos 2000";
    QTest::newRow("pause cancels a fade") << "cmd 40045; cmd 40147; wait 500; cmd 40046; wait 3000; state 3; cmd 40046; wait 3000; state 1; pos 3500";
    QTest::newRow("seek keeps a fade") << "cmd 40045; cmd 40147; user 5000 106; wait 1500; state 0";
    QTest::newRow("track end moves on and plays") << "cmd 40045; wait 10000; state 1; entry 1; pos 0; len 20; wait 500; pos 500";
    QTest::newRow("track end between two looks") << "cmd 40045; wait 10250; entry 1; pos 250; state 1";
    QTest::newRow("stop-after-current stops at the end") << "cmd 40045; cmd 40157; wait 9999; state 1; entry 0; wait 1; state 0; entry 0; pos 0";
    QTest::newRow("stop-after-current is cleared once used") << "cmd 40045; cmd 40157; wait 10000; state 0; cmd 40045; wait 10000; state 1; entry 1";
    QTest::newRow("stop-after-current asked twice still stops once") << "cmd 40045; cmd 40157; cmd 40157; wait 10000; state 0; cmd 40045; wait 10000; entry 1; state 1";
    QTest::newRow("stop clears stop-after-current") << "cmd 40045; cmd 40157; cmd 40047; cmd 40045; wait 10000; entry 1; state 1";
    QTest::newRow("stop-after-current survives play and next") << "cmd 40157; cmd 40045; cmd 40048; wait 20000; state 0; entry 1";
    QTest::newRow("end of the last track stops") << "user 2 121; cmd 40045; wait 29999; state 1; wait 1; state 0; entry 2; pos 0; len 30";
    QTest::newRow("long gap passes several track ends") << "cmd 40045; wait 25000; entry 1; pos 15000; state 1; len 20";
    QTest::newRow("gap ending exactly on a track end") << "cmd 40045; wait 30000; entry 2; pos 0; state 1";
    QTest::newRow("gap beyond the playlist stops at the last") << "cmd 40045; wait 100000000; state 0; entry 2; pos 0";
    QTest::newRow("gap with stop-after-current stops after the first") << "cmd 40045; cmd 40157; wait 100000; state 0; entry 0";
    QTest::newRow("gap while paused changes nothing") << "cmd 40045; wait 4000; cmd 40046; wait 100000; state 3; pos 4000; entry 0";
    QTest::newRow("select entry while stopped") << "user 2 121; entry 2; len 30; state 0; cmd 40045; state 1; len 30; wait 1000; pos 1000";
    QTest::newRow("select entry past the end is ignored") << "user 1 121; user 3 121; entry 1; user 1000000 121; entry 1";
    QTest::newRow("select entry -1 is ignored") << "user 1 121; user -1 121; entry 1";
    QTest::newRow("select entry while playing only selects") << "cmd 40045; wait 2000; user 2 121; entry 2; state 1; pos 2000; len 10; cmd 40045; pos 0; len 30";
    QTest::newRow("after a selection the track end moves on from it") << "cmd 40045; user 1 121; wait 10000; entry 2; len 30; state 1";
    QTest::newRow("selecting the last entry makes the track end stop") << "cmd 40045; user 2 121; wait 10000; state 0; entry 2";
    QTest::newRow("seek while playing") << "cmd 40045; wait 1000; user 7000 106; pos 7000; wait 500; pos 7500; state 1";
    QTest::newRow("seek back while playing") << "cmd 40045; wait 8000; user 0 106; pos 0; wait 9000; entry 0";
    QTest::newRow("seek while paused") << "cmd 40045; cmd 40046; user 4000 106; pos 4000; state 3; wait 1000; pos 4000; cmd 40046; wait 1000; pos 5000";
    QTest::newRow("seek when stopped is ignored") << "user 4000 106; pos 0; state 0; cmd 40045; pos 0";
    QTest::newRow("seek to the end moves on") << "cmd 40045; user 10000 106; entry 1; pos 0; state 1";
    QTest::newRow("seek far past the end moves on once") << "cmd 40045; user 99999999 106; entry 1; pos 0; state 1";
    QTest::newRow("seek to a negative number goes to 0") << "cmd 40045; wait 3000; user -5 106; pos 0; state 1";
    QTest::newRow("previous at the first entry") << "cmd 40044; entry 0; state 0; cmd 40045; wait 1000; cmd 40044; entry 0; pos 1000";
    QTest::newRow("next at the last entry") << "user 2 121; cmd 40045; wait 1000; cmd 40048; entry 2; pos 1000; state 1";
    QTest::newRow("next while stopped only selects") << "cmd 40048; entry 1; state 0; len 20; cmd 40048; entry 2; cmd 40044; entry 1";
    QTest::newRow("next while playing starts the next") << "cmd 40045; wait 3000; cmd 40048; entry 1; pos 0; state 1; len 20";
    QTest::newRow("previous while paused plays the previous") << "user 1 121; cmd 40045; cmd 40046; cmd 40044; entry 0; state 1; pos 0";
    QTest::newRow("next cancels a fade") << "cmd 40045; cmd 40147; cmd 40048; wait 2000; state 1; entry 1";
    QTest::newRow("queries answer the same sent or asked twice") << "cmd 40045; wait 700; ask 1024 0 105 700; ask 1024 0 105 700; ask 1024 1 105 10; ask 1024 0 104 1; ask 1024 0 124 3";
    QTest::newRow("unknown messages answer 0 and change nothing") << "cmd 40045; wait 1000; ask 1024 0 999 0; ask 1024 2 105 0; ask 273 12345 0 0; ask 0 0 0 0; ask 1025 0 104 0; ask 273 105581 0 0; state 1; pos 1000; entry 0; len 10";
    QTest::newRow("commands sent answer 0 and act") << "ask 273 40045 0 0; state 1; ask 1024 1 121 0; entry 1; ask 273 40047 0 0; state 0";
    // clang-format on
}

void tst_WinampSim::stateMachine() {
    QFETCH(QString, script);
    ManualClock clock(5000);
    Winamp model(clock, ThreeTracks());

    auto number = [](const QString& text) { return text.toLongLong(); };
    auto send = [&](platform::UINT msg, qint64 w, qint64 l) {
        return model.Handle(msg, static_cast<WPARAM>(w), static_cast<LPARAM>(l), false);
    };
    const QMap<QString, LPARAM> queries{
        {"state", 104}, {"pos", 105}, {"len", 105}, {"entry", 125}, {"count", 124}};

    for (const QString& rawStep : script.split(';')) {
        const QStringList s = rawStep.simplified().split(' ');
        const QString& op = s[0];
        const QString where = QStringLiteral("step \"%1\"").arg(rawStep.trimmed());
        if (op == "cmd") {
            model.Handle(273, static_cast<WPARAM>(number(s[1])), 0, true);
        } else if (op == "user") {
            model.Handle(1024, static_cast<WPARAM>(number(s[1])), static_cast<LPARAM>(number(s[2])),
                         true);
        } else if (op == "wait") {
            clock.Advance(number(s[1]));
        } else if (op == "ask") {
            const LRESULT answer = send(number(s[1]), number(s[2]), number(s[3]));
            QVERIFY2(answer == number(s[4]),
                     qPrintable(where + QStringLiteral(" answered %1").arg(answer)));
        } else if (queries.contains(op)) {
            const LRESULT answer = send(1024, op == "len" ? 1 : 0, queries[op]);
            QVERIFY2(answer == number(s[1]),
                     qPrintable(where + QStringLiteral(" answered %1").arg(answer)));
        } else {
            QFAIL(qPrintable("unknown " + where));
        }
    }
}

void tst_WinampSim::emptyPlaylistAnswersZero() {
    ManualClock clock;
    Winamp model(clock, {});
    model.Handle(273, 40045, 0, true);
    model.Handle(273, 40048, 0, true);
    model.Handle(1024, 0, 121, true);
    clock.Advance(5000);
    for (LPARAM query : {104, 105, 124, 125}) {
        QCOMPARE(model.Handle(1024, 0, query), LRESULT(0));
    }
    QCOMPARE(model.Handle(1024, 1, 105), LRESULT(0));
}

void tst_WinampSim::logSignalAndRequests() {
    ManualClock clock(100);
    Winamp model(clock, ThreeTracks());
    QSignalSpy handled(&model, &Winamp::MessageHandled);
    QSignalSpy jump(&model, &Winamp::JumpDialogRequested);
    QSignalSpy close(&model, &Winamp::CloseRequested);

    model.Handle(1024, 0, 124);  // not logged: the log is off by default
    QVERIFY(model.Log().isEmpty());
    model.KeepLog(true);
    model.Handle(1024, 0, 124);
    model.Handle(1024, 0, 124, true);  // a posted query gets no answer
    clock.Advance(50);
    QCOMPARE(model.Handle(273, 40194, 0), LRESULT(0));
    model.Handle(273, 40001, 0, true);

    QCOMPARE(handled.count(), 5);
    const QList<Received>& log = model.Log();
    QCOMPARE(log.size(), 4);
    QCOMPARE(log[0].Answer, LRESULT(3));
    QCOMPARE(log[0].Message.posted, false);
    QCOMPARE(log[0].AtMs, qint64(100));
    QCOMPARE(log[1].Answer, LRESULT(0));
    QCOMPARE(log[1].Message.posted, true);
    QCOMPARE(log[2].Message.wParam, WPARAM(40194));
    QCOMPARE(log[2].AtMs, qint64(150));
    QCOMPARE(jump.count(), 1);
    QCOMPARE(model.JumpDialogRequests(), 1);
    QCOMPARE(close.count(), 1);
    QVERIFY(model.CloseRequestedFlag());
    // Neither request changes the playback state.
    QCOMPARE(model.PlayState(), Winamp::State::Stopped);
    model.ClearLog();
    QVERIFY(model.Log().isEmpty());
}

void tst_WinampSim::m3u_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("titles");  // empty: an error is expected
    QTest::addColumn<QList<int>>("lengths");
    QTest::addColumn<QString>("error");  // part of the expected message

    const QStringList ab{"Artist - Song A", "Song B"};
    const QList<int> ab4560{45, 60};
    QTest::newRow("LF")
        << QByteArray("#EXTM3U\n#EXTINF:45,Artist - Song A\na.mp3\n#EXTINF:60,Song B\nb.mp3\n")
        << ab << ab4560 << QString();
    QTest::newRow("CRLF")
        << QByteArray(
               "#EXTM3U\r\n#EXTINF:45,Artist - Song A\r\na.mp3\r\n#EXTINF:60,Song B\r\nb.mp3\r\n")
        << ab << ab4560 << QString();
    QTest::newRow("CR")
        << QByteArray("#EXTM3U\r#EXTINF:45,Artist - Song A\ra.mp3\r#EXTINF:60,Song B\rb.mp3") << ab
        << ab4560 << QString();
    QTest::newRow("no header, spaces, trailing blank lines")
        << QByteArray("  #EXTINF:45 , Artist - Song A  \na.mp3\n#EXTINF:60,Song B\nb.mp3\n\n\n\n")
        << ab << ab4560 << QString();
    QTest::newRow("comments and blank lines between")
        << QByteArray(
               "#EXTM3U\n# made by hand\n\n#EXTINF:45,Artist - Song A\n#EXTALB:Somewhere\n\na.mp3\n"
               "#EXTINF:60,Song B\nb.mp3")
        << ab << ab4560 << QString();
    QTest::newRow("file name as title")
        << QByteArray(
               "#EXTINF:30,\nmusic/Some Song.mp3\n#EXTINF:31\nC:\\Music\\Other One.flac\n"
               "#EXTINF:32,   \nhttp://radio.example/stream\n#EXTINF:33\nnoext\n")
        << QStringList{"Some Song", "Other One", "stream", "noext"} << QList<int>{30, 31, 32, 33}
        << QString();
    QTest::newRow("attributes before the comma")
        << QByteArray("#EXTINF:45 logo=\"x.png\",Artist - Song A\na.mp3\n#EXTINF:60,Song B\nb.mp3")
        << ab << ab4560 << QString();
    QTest::newRow("title with commas")
        << QByteArray("#EXTINF:12,One, Two, Three\nx.mp3") << QStringList{"One, Two, Three"}
        << QList<int>{12} << QString();
    QTest::newRow("UTF-8 with byte-order mark")
        << QByteArray("\xEF\xBB\xBF#EXTM3U\n#EXTINF:20,Caf\xC3\xA9 \xE2\x80\x93 Night\nc.mp3\n")
        << QStringList{QString::fromUtf8("Caf\xC3\xA9 \xE2\x80\x93 Night")} << QList<int>{20}
        << QString();
    QTest::newRow("Windows code page")
        << QByteArray("#EXTINF:20,Caf\xE9 \x96 Night\nc.mp3\n")
        << QStringList{QString::fromUtf8("Caf\xC3\xA9 \xE2\x80\x93 Night")} << QList<int>{20}
        << QString();
    QTest::newRow("one entry without a length")
        << QByteArray("#EXTM3U\n#EXTINF:45,A\na.mp3\nb.mp3\n#EXTINF:60,C\nc.mp3\n") << QStringList()
        << QList<int>() << QString("list.m3u:4: \"b.mp3\" has no length");
    QTest::newRow("length -1 means unknown")
        << QByteArray("#EXTINF:45,A\na.mp3\n#EXTINF:-1,B\nb.mp3\n") << QStringList() << QList<int>()
        << QString("list.m3u:4: \"b.mp3\" has no length (line 3 gives \"-1\"");
    QTest::newRow("length not a number")
        << QByteArray("#EXTINF:4x5,A\na.mp3\n#EXTINF:60,B\nb.mp3\n") << QStringList()
        << QList<int>() << QString("list.m3u:2: \"a.mp3\" has no length (line 1 gives \"4x5\"");
    QTest::newRow("length in fractions")
        << QByteArray("#EXTINF:45,A\na.mp3\n#EXTINF:60.5,B\nb.mp3\n") << QStringList()
        << QList<int>() << QString("list.m3u:4:");
    QTest::newRow("length zero") << QByteArray("#EXTINF:45,A\na.mp3\n#EXTINF:0,B\nb.mp3\n")
                                 << QStringList() << QList<int>() << QString("list.m3u:4:");
    QTest::newRow("length too long")
        << QByteArray("#EXTINF:45,A\na.mp3\n#EXTINF:1000001,B\nb.mp3\n") << QStringList()
        << QList<int>() << QString("list.m3u:4:");
    QTest::newRow("EXTINF does not carry over")
        << QByteArray("#EXTINF:45,A\na.mp3\nb.mp3\n") << QStringList() << QList<int>()
        << QString("list.m3u:3: \"b.mp3\" has no length");
    QTest::newRow("no lengths at all")
        << QByteArray("#EXTM3U\na.mp3\nb.mp3\n") << QStringList() << QList<int>()
        << QString("list.m3u: no track has a length");
    QTest::newRow("empty file") << QByteArray() << QStringList() << QList<int>()
                                << QString("list.m3u: the playlist holds no tracks");
    QTest::newRow("only comments")
        << QByteArray("#EXTM3U\n#EXTINF:45,Dangling\n") << QStringList() << QList<int>()
        << QString("list.m3u: the playlist holds no tracks");
}

void tst_WinampSim::m3u() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, titles);
    QFETCH(QList<int>, lengths);
    QFETCH(QString, error);

    const PlaylistLoad load = ParseM3u(bytes, "list.m3u");
    if (error.isEmpty()) {
        QVERIFY2(load.Ok, qPrintable(load.Error));
        QStringList gotTitles;
        QList<int> gotLengths;
        for (const Track& track : load.Tracks) {
            gotTitles << track.Title;
            gotLengths << track.LengthS;
        }
        QCOMPARE(gotTitles, titles);
        QCOMPARE(gotLengths, lengths);
    } else {
        QVERIFY(!load.Ok);
        QVERIFY(load.Tracks.isEmpty());
        QVERIFY2(load.Error.startsWith(error), qPrintable(load.Error));
    }
}

void tst_WinampSim::m3uMissingFile() {
    const QString path = QStringLiteral("/nonexistent-folder/none.m3u");
    const PlaylistLoad load = LoadM3u(path);
    QVERIFY(!load.Ok);
    QVERIFY(load.Tracks.isEmpty());
    QVERIFY2(load.Error.startsWith("cannot open playlist " + path + ": "), qPrintable(load.Error));
}

void tst_WinampSim::demoPlaylist() {
    // The demo lyrics are timed to the first track, so its length must stay 45 s.
    const PlaylistLoad load = LoadM3u(QStringLiteral(WINAMPSIM_DEMO_PLAYLIST));
    QVERIFY2(load.Ok, qPrintable(load.Error));
    QCOMPARE(load.Tracks.size(), 3);
    QCOMPARE(load.Tracks[0], (Track{"Paper Lanterns - The Quiet Harbour", 45}));
    QCOMPARE(load.Tracks[1].LengthS, 60);
    QCOMPARE(load.Tracks[2].LengthS, 50);
}

void tst_WinampSim::generatedTracks() {
    const TrackList tracks = GenerateTracks(4, 7);
    QCOMPARE(tracks.size(), 4);
    QCOMPARE(tracks.first(), (Track{"Track 1", 7}));
    QCOMPARE(tracks.last(), (Track{"Track 4", 7}));
    QVERIFY(GenerateTracks(0, 7).isEmpty());
}

void tst_WinampSim::options_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");  // start of the expected error; empty for success
    QTest::addColumn<bool>("headless");
    QTest::addColumn<QString>("trace");
    QTest::addColumn<double>("speed");
    QTest::addColumn<QString>("playlist");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("length");

    QTest::newRow("nothing: three generated tracks")
        << QStringList() << QString() << false << QString() << 1.0 << QString() << 3 << 200;
    QTest::newRow("everything") << QStringList{"--headless", "--trace", "t.log",
                                               "--speed",    "2.5",     "list.m3u"}
                                << QString() << true << "t.log" << 2.5 << "list.m3u" << 3 << 200;
    QTest::newRow("with equals signs")
        << QStringList{"--trace=t.log", "--speed=10", "--tracks=5", "--length=30"} << QString()
        << false << "t.log" << 10.0 << QString() << 5 << 30;
    QTest::newRow("tracks alone") << QStringList{"--tracks", "7"} << QString() << false << QString()
                                  << 1.0 << QString() << 7 << 200;
    QTest::newRow("length alone") << QStringList{"--length", "45"} << QString() << false
                                  << QString() << 1.0 << QString() << 3 << 45;
    QTest::newRow("help") << QStringList{"--tracks", "2", "--help"} << QString() << false
                          << QString() << 1.0 << QString() << 2 << 200;

    auto bad = [](const char* name, const QStringList& args, const QString& error) {
        QTest::newRow(name) << args << error << false << QString() << 1.0 << QString() << 0 << 0;
    };
    bad("playlist and tracks", {"--tracks", "2", "a.m3u"}, "give either a playlist");
    bad("two playlists", {"a.m3u", "b.m3u"}, "only one playlist");
    bad("unknown option", {"--loud"}, "unknown option --loud");
    bad("trace without file", {"--trace"}, "--trace needs a file name");
    bad("speed zero", {"--speed", "0"}, "--speed needs");
    bad("speed negative", {"--speed", "-2"}, "--speed needs");
    bad("speed text", {"--speed", "fast"}, "--speed needs");
    bad("speed infinite", {"--speed", "inf"}, "--speed needs");
    bad("speed missing", {"--speed"}, "--speed needs");
    bad("tracks zero", {"--tracks", "0", "--length", "5"}, "--tracks needs");
    bad("tracks text", {"--tracks", "many"}, "--tracks needs");
    bad("length zero", {"--tracks", "2", "--length", "0"}, "--length needs");
    bad("length too long", {"--length", "1000001"}, "--length needs");
    bad("headless with value", {"--headless=yes"}, "--headless takes no value");
}

void tst_WinampSim::options() {
    QFETCH(QStringList, args);
    QFETCH(QString, error);
    const Options options = ParseOptions(args);
    if (!error.isEmpty()) {
        QVERIFY(!options.Ok);
        QVERIFY2(options.Error.startsWith(error), qPrintable(options.Error));
        return;
    }
    QVERIFY2(options.Ok, qPrintable(options.Error));
    QCOMPARE(options.RunMode, args.contains("--help") ? Options::Mode::Help : Options::Mode::Serve);
    QTEST(options.Headless, "headless");
    QTEST(options.TraceFile, "trace");
    QTEST(options.Speed, "speed");
    QTEST(options.Playlist, "playlist");
    QTEST(options.TrackCount, "count");
    QTEST(options.TrackLengthS, "length");
}

void tst_WinampSim::clientOptions_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("mode");
    QTest::addColumn<quint32>("msg");
    QTest::addColumn<quint64>("wParam");
    QTest::addColumn<qint64>("lParam");

    QTest::newRow("send") << QStringList{"send", "1024", "0", "105"} << QString()
                          << int(Options::Mode::Send) << 1024u << quint64(0) << qint64(105);
    QTest::newRow("post") << QStringList{"post", "273", "40045", "0"} << QString()
                          << int(Options::Mode::Post) << 273u << quint64(40045) << qint64(0);
    QTest::newRow("hex and negative")
        << QStringList{"send", "0x400", "-1", "-0x10"} << QString() << int(Options::Mode::Send)
        << 1024u << ~quint64(0) << qint64(-16);
    QTest::newRow("leading zero is decimal")
        << QStringList{"send", "010", "0", "0"} << QString() << int(Options::Mode::Send) << 10u
        << quint64(0) << qint64(0);

    auto bad = [](const char* name, const QStringList& args, const QString& error) {
        QTest::newRow(name) << args << error << 0 << 0u << quint64(0) << qint64(0);
    };
    bad("too few", {"send", "1024", "0"}, "send needs three numbers");
    bad("too many", {"post", "1", "2", "3", "4"}, "post needs three numbers");
    bad("message text", {"send", "abc", "0", "104"}, "bad message number \"abc\"");
    bad("message negative", {"send", "-1", "0", "104"}, "bad message number");
    bad("message too big", {"send", "4294967296", "0", "104"}, "bad message number");
    bad("wParam text", {"send", "1024", "x", "104"}, "bad wParam \"x\"");
    bad("lParam empty", {"send", "1024", "0", ""}, "bad lParam");
    bad("lParam plus sign", {"send", "1024", "0", "+5"}, "bad lParam");
}

void tst_WinampSim::clientOptions() {
    QFETCH(QStringList, args);
    QFETCH(QString, error);
    const Options options = ParseOptions(args);
    if (!error.isEmpty()) {
        QVERIFY(!options.Ok);
        QVERIFY2(options.Error.startsWith(error), qPrintable(options.Error));
        return;
    }
    QVERIFY2(options.Ok, qPrintable(options.Error));
    QTEST(int(options.RunMode), "mode");
    QTEST(quint32(options.Msg), "msg");
    QTEST(quint64(options.WParam), "wParam");
    QTEST(qint64(options.LParam), "lParam");
}

void tst_WinampSim::traceLines_data() {
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<uint>("msg");
    QTest::addColumn<quint64>("wParam");
    QTest::addColumn<qint64>("lParam");
    QTest::addColumn<bool>("posted");
    QTest::addColumn<qint64>("answer");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("send") << qint64(1532) << 1024u << quint64(0) << qint64(105) << false
                          << qint64(1480) << QByteArray("1532 send 1024 0 105 1480\n");
    QTest::newRow("send answering 0") << qint64(0) << 1024u << quint64(0) << qint64(104) << false
                                      << qint64(0) << QByteArray("0 send 1024 0 104 0\n");
    QTest::newRow("post has no answer") << qint64(77) << 273u << quint64(40045) << qint64(0) << true
                                        << qint64(0) << QByteArray("77 post 273 40045 0\n");
    QTest::newRow("negative lParam, huge wParam")
        << qint64(5) << 1024u << ~quint64(0) << qint64(-3) << false << qint64(-1)
        << QByteArray("5 send 1024 18446744073709551615 -3 -1\n");
}

void tst_WinampSim::traceLines() {
    QFETCH(qint64, ms);
    QFETCH(uint, msg);
    QFETCH(quint64, wParam);
    QFETCH(qint64, lParam);
    QFETCH(bool, posted);
    QFETCH(qint64, answer);
    const platform::Message message{msg, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam),
                                    posted};
    QTEST(Trace::Line(ms, message, answer), "line");
}

void tst_WinampSim::traceAppendsToFile() {
    const QString path = qEnvironmentVariable("CANTORIX_TEST_TMP", QDir::tempPath()) + "/trace.log";
    QFile::remove(path);
    {
        QFile existing(path);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("earlier line\n");
    }
    Trace trace;
    QString error;
    QVERIFY2(trace.Open(path, &error), qPrintable(error));
    trace.Write(10, platform::Message{1024, 0, 104, false}, 1);
    // Flushed at once: readable while the trace is still open.
    QFile reader(path);
    QVERIFY(reader.open(QIODevice::ReadOnly));
    QCOMPARE(reader.readAll(), QByteArray("earlier line\n10 send 1024 0 104 1\n"));

    Trace nowhere;
    QVERIFY(!nowhere.Open("/nonexistent-folder/trace.log", &error));
    QVERIFY2(error.startsWith("cannot open trace file /nonexistent-folder/trace.log"),
             qPrintable(error));
    QFile::remove(path);
}

void tst_WinampSim::realClockSpeed() {
    RealClock normal;
    RealClock fast(1000);
    RealClock nonsense(-3);  // falls back to real time
    QCOMPARE(nonsense.Speed(), 1.0);
    QThread::msleep(20);
    QVERIFY(normal.NowMs() >= 20);
    QVERIFY(fast.NowMs() >= 20000);
}

void tst_WinampSim::windowButtonsDriveModel_data() {
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("entry");
    QTest::addColumn<qint64>("position");

    QTest::newRow("play") << QStringList{"play"} << 1 << 0 << qint64(0);
    QTest::newRow("pause") << QStringList{"play", "pause"} << 3 << 0 << qint64(1000);
    QTest::newRow("pause twice resumes")
        << QStringList{"play", "pause", "pause"} << 1 << 0 << qint64(1000);
    QTest::newRow("stop") << QStringList{"play", "stop"} << 0 << 0 << qint64(0);
    QTest::newRow("next, next, previous")
        << QStringList{"next", "next", "previous"} << 0 << 1 << qint64(0);
    QTest::newRow("play then next") << QStringList{"play", "next"} << 1 << 1 << qint64(0);
}

void tst_WinampSim::windowButtonsDriveModel() {
    QFETCH(QStringList, buttons);
    ManualClock clock;
    Winamp model(clock, ThreeTracks());
    SimWindow window(model);
    const QMap<QString, QPushButton*> byName{{"play", window.PlayButton()},
                                             {"pause", window.PauseButton()},
                                             {"stop", window.StopButton()},
                                             {"previous", window.PreviousButton()},
                                             {"next", window.NextButton()}};
    for (const QString& name : buttons) {
        clock.Advance(1000);
        QTest::mouseClick(byName[name], Qt::LeftButton);
    }
    QTEST(int(model.PlayState()), "state");
    QTEST(model.PlaylistPosition(), "entry");
    QTEST(model.PositionMs(), "position");
}

void tst_WinampSim::windowShowsState() {
    ManualClock clock;
    Winamp model(clock, ThreeTracks());
    SimWindow window(model);
    QCOMPARE(window.windowTitle(), QString("Winamp (simulated)"));
    QCOMPARE(window.PlaylistView()->count(), 3);
    QCOMPARE(window.PlaylistView()->item(1)->text(), QString("2. Twenty  (0:20)"));
    QCOMPARE(window.StateLabel()->text(), QString("Stopped   0:00 / 0:10"));
    QVERIFY(!window.PositionSlider()->isEnabled());

    model.SetPlaylistPosition(1);
    model.Play();
    model.StopAfterCurrent();
    clock.Advance(12345);
    window.Refresh();  // what the timer does
    QCOMPARE(window.TrackLabel()->text(), QString("2. Twenty"));
    QCOMPARE(window.StateLabel()->text(),
             QString("Playing   0:12 / 0:20   (stops after this track)"));
    QCOMPARE(window.PositionSlider()->maximum(), 20000);
    QCOMPARE(window.PositionSlider()->value(), 12345);
    QCOMPARE(window.PlaylistView()->currentRow(), 1);
    QVERIFY(
        window.PlaylistView()->item(1)->text().startsWith(QString::fromUtf8("\u25B6 2. Twenty")));
    QVERIFY(window.PlaylistView()->item(1)->font().bold());
    QVERIFY(!window.PlaylistView()->item(0)->font().bold());

    // Selecting another entry while this one plays: the selection is bold, the mark stays.
    model.SetPlaylistPosition(2);
    model.FadeOut();
    window.Refresh();
    QCOMPARE(window.PlaylistView()->currentRow(), 2);
    QVERIFY(window.PlaylistView()->item(2)->font().bold());
    QVERIFY(!window.PlaylistView()->item(1)->font().bold());
    QVERIFY(window.PlaylistView()->item(1)->text().startsWith(QString::fromUtf8("\u25B6 ")));
    QVERIFY(window.StateLabel()->text().startsWith("Playing (fading out)"));

    model.PauseResume();
    window.Refresh();
    QVERIFY(window.StateLabel()->text().startsWith("Paused"));
    QVERIFY(window.PlaylistView()->item(1)->text().startsWith(QString::fromUtf8("\u2016 ")));
}

void tst_WinampSim::windowSliderSeeks() {
    ManualClock clock;
    Winamp model(clock, ThreeTracks());
    SimWindow window(model);
    window.show();
    model.Play();
    window.Refresh();
    QSlider* slider = window.PositionSlider();

    // A drag seeks once, on release, and the refresh in between does not undo it.
    slider->setSliderDown(true);
    slider->setSliderPosition(6000);
    clock.Advance(200);
    window.Refresh();
    QCOMPARE(model.PositionMs(), qint64(200));
    QCOMPARE(slider->sliderPosition(), 6000);
    slider->setSliderDown(false);
    QCOMPARE(model.PositionMs(), qint64(6000));

    // A page step (a click on the groove or a key) is a seek too.
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(model.PositionMs(), qint64(6000 + slider->pageStep()));

    // Refreshing moves the slider without seeking.
    clock.Advance(500);
    window.Refresh();
    QCOMPARE(model.PositionMs(), qint64(7500));
    QCOMPARE(slider->value(), 7500);
}

void tst_WinampSim::windowPlaylistActivationPlays() {
    ManualClock clock;
    Winamp model(clock, ThreeTracks());
    SimWindow window(model);
    model.Play();
    clock.Advance(3000);
    emit window.PlaylistView()->itemActivated(window.PlaylistView()->item(2));
    QCOMPARE(model.PlaylistPosition(), 2);
    QCOMPARE(model.LoadedTrack(), 2);
    QCOMPARE(model.PositionMs(), qint64(0));
    QCOMPARE(model.PlayState(), Winamp::State::Playing);
}

void tst_WinampSim::jumpDialogOpensWithoutBlocking() {
    ManualClock clock;
    Winamp model(clock, ThreeTracks());
    SimWindow window(model);
    window.show();
    QVERIFY(window.Jump() == nullptr);

    // The request comes in a message and must come back at once with the dialog open.
    QCOMPARE(model.Handle(273, 40194, 0), LRESULT(0));
    JumpDialog* jump = window.Jump();
    QVERIFY(jump != nullptr);
    QVERIFY(jump->isVisible());
    QVERIFY(!jump->isModal());
    QCOMPARE(model.Handle(1024, 0, 104), LRESULT(0));  // still answering

    QTest::keyClicks(jump->Filter(), "thir");
    QCOMPARE(jump->Entries()->currentItem()->text(), QString("3. Thirty"));
    QVERIFY(jump->Entries()->item(0)->isHidden());
    QTest::keyClick(jump->Filter(), Qt::Key_Return);
    QVERIFY(!jump->isVisible());
    QCOMPARE(model.PlaylistPosition(), 2);
    QCOMPARE(model.PlayState(), Winamp::State::Playing);

    // Asked again, the same dialog comes back with the filter cleared.
    model.Handle(273, 40194, 0, true);
    QCOMPARE(window.Jump(), jump);
    QVERIFY(jump->isVisible());
    QVERIFY(jump->Filter()->text().isEmpty());
    QCOMPARE(jump->Entries()->currentRow(), 2);
    QTest::keyClicks(jump->Filter(), "no such song");
    QTest::keyClick(jump->Filter(), Qt::Key_Return);  // nothing to jump to
    QVERIFY(jump->isVisible());
    window.close();
    QVERIFY(!jump->isVisible());
}

QTEST_MAIN(tst_WinampSim)
#include "tst_winampsim.moc"
