// The bridge's translation on a manual clock, in front of a player that records its requests.
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QTest>
#include <functional>

#include "bridge/Bridge.h"
#include "bridge/MprisPlayer.h"
#include "bridge/Program.h"
#include "winamp/Answer.h"
#include "winamp/ManualClock.h"

using bridge::Bridge;

namespace {

struct RecordingPlayer : bridge::Player {
    QStringList calls;
    void Attach(Bridge&) override {}
    void PlayEntry(int entry) override { calls << QStringLiteral("play %1").arg(entry); }
    void SetPaused(bool paused) override { calls << QStringLiteral("pause %1").arg(paused); }
    void Stop() override { calls << "stop"; }
    void Seek(qint64 ms) override { calls << QStringLiteral("seek %1").arg(ms); }
    void RefreshPosition() override { calls << "refresh"; }
    void SetVolume(double volume) override { calls << QStringLiteral("volume %1").arg(volume); }
    void Next() override { calls << "next"; }
    void Previous() override { calls << "prev"; }
    void HoldAtTrackEnd(bool hold) override { calls << QStringLiteral("hold %1").arg(hold); }
    void ShowPlaylist() override { calls << "show"; }
    void Quit() override { calls << "quit"; }
};

// An MPRIS player on a bus of its own; without a track list one id for all tracks, as audacious.
struct StandIn : QDBusVirtualObject {
    QDBusConnection bus;
    bool withList;
    QString status = "Playing";
    int track = 0;
    qint64 positionUs = 0;
    QStringList calls;  // method names; for properties "Get NAME"

    StandIn(const QString& address, bool list)
        : bus(QDBusConnection::connectToBus(address, "standin")), withList(list) {
        bus.registerVirtualObject("/org/mpris/MediaPlayer2", this);
        bus.registerService("org.mpris.MediaPlayer2.standin");
    }
    ~StandIn() override { QDBusConnection::disconnectFromBus("standin"); }
    QDBusObjectPath Id(int of) const {
        return QDBusObjectPath(withList ? QString("/t/%1").arg(of) : "/org/mpris/MediaPlayer2/T");
    }
    QVariantMap Metadata() const {  // no title tag: the window title shows the file's name
        return {{"mpris:trackid", QVariant::fromValue(Id(track))},
                {"xesam:url", QString("file:///music/%1.wav").arg(track)},
                {"mpris:length", qlonglong(6000000)}};
    }
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& m, const QDBusConnection& connection) override {
        const QVariantMap player{
            {"PlaybackStatus", status}, {"Metadata", Metadata()}, {"Position", positionUs}};
        const QString name = m.arguments().value(1).toString();
        QVariant answer = player;  // GetAll
        if (m.member() == "Get") {
            calls << "Get " + name;
            const QList<QDBusObjectPath> tracks{Id(0), Id(1), Id(2)};
            answer =
                QVariant::fromValue(QDBusVariant(name == "HasTrackList" ? QVariant(withList)
                                                 : name == "Tracks" ? QVariant::fromValue(tracks)
                                                                    : player.value(name)));
        } else if (m.member() != "GetAll") {
            const auto id = m.arguments().value(0).value<QDBusObjectPath>();
            calls << m.member() + (m.member() == "GoTo" ? ' ' + id.path() : "");
            answer = {};
        }
        connection.send(answer.isValid() ? m.createReply(answer) : m.createReply());
        return true;
    }
    void Changed(const QVariantMap& properties) {
        QDBusMessage signal = QDBusMessage::createSignal(
            "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties", "PropertiesChanged");
        bus.send(signal << "org.mpris.MediaPlayer2.Player" << properties << QStringList());
    }
    void MoveTo(int to) {
        track = to;
        Changed({{"Metadata", Metadata()}});
    }
};

// A player met with three entries, the first loaded and playing 1 s in, of a 60 s track.
const QString Playing =
    "connect; list 3 0; length 60000; volume 60; status 1; at 1000; did hold 0; ";

}  // namespace

class tst_Bridge : public QObject {
    Q_OBJECT
  private slots:
    // Steps, separated by ";": player events: connect | gone | status S | at MS | restarted |
    //   rate R | length MS | list COUNT CURRENT | volume V | ended | changed |
    //   track ARTIST|TITLE|FILE; messages: cmd C (273) | user W L (1024) | ask MSG W L ANSWER;
    // time: wait MS | tick; queries: state S | pos MS | len S | entry N | count N |
    //   title TEXT (the window's) | file PATH (the playing file's);
    // did A,B,...: what the player was asked since the last "did" (empty: nothing).
    void translates_data() {
        QTest::addColumn<QString>("script");
        // clang-format off
        QTest::newRow("position runs on between reports") << Playing + "wait 40; pos 1040; at 1100; pos 1100; wait 500; pos 1600; at 1350; pos 1600; at 1349; pos 1349; len 60; count 3; state 1";
        QTest::newRow("rate speeds the run, the length ends it") << Playing + "rate 2; wait 100; pos 1200; rate 0.5; wait 100; pos 1250; length 2000; wait 5000; pos 2000";
        QTest::newRow("paused holds, stopped answers 0") << Playing + "wait 100; status 3; state 3; wait 1000; pos 1100; status 1; wait 10; pos 1110; status 0; state 0; pos 0";
        QTest::newRow("play starts the selected entry from 0") << Playing + "user 2 121; entry 2; pos 1000; cmd 40045; did play 2; state 1; pos 0; at 30000; wait 100; pos 0; restarted; at 50; pos 50; wait 10; pos 60; list 3 2; entry 2";
        QTest::newRow("unconfirmed restart believed after 2 s") << Playing + "cmd 40045; wait 1999; at 300; pos 0; at 240; wait 10; pos 250; cmd 40045; wait 2000; at 2500; pos 2500; wait 10; pos 2510";
        QTest::newRow("player moving on takes the entry along") << Playing + "list 3 1; entry 1; user 0 121; entry 0; list 3 1; entry 0; list 2 -1; entry 0; list 1 -1; count 1";
        QTest::newRow("entry out of range is ignored") << Playing + "user 3 121; user -1 121; user 2 121; user 5 121; entry 2; count 3; did";
        QTest::newRow("pause toggles, not when stopped") << Playing + "wait 200; cmd 40046; state 3; did pause 1; wait 500; pos 1200; cmd 40046; state 1; did pause 0; status 0; cmd 40046; state 0; did";
        QTest::newRow("an old report does not undo a resume") << Playing + "cmd 40046; cmd 40046; status 3; state 1; status 1; status 3; state 3";
        QTest::newRow("an old stop does not undo a play nor its stop-after") << Playing + "cmd 40047; status 0; did stop; cmd 40045; cmd 40157; status 0; state 1; did play 0,hold 1; status 1; ended; did stop,hold 0; state 0";
        QTest::newRow("a play never confirmed gives way after 2 s") << Playing + "cmd 40047; status 0; cmd 40045; status 0; wait 1999; tick; state 1; wait 1; tick; state 0";
        QTest::newRow("stop at once, clears stop-after; a track end not asked for plays on") << Playing + "ended; did; cmd 40157; did hold 1; cmd 40047; state 0; pos 0; did stop,hold 0; status 3; state 0; ended; did";
        QTest::newRow("stop-after-current stops the held end") << Playing + "cmd 40157; did hold 1; wait 500; state 1; ended; did stop,hold 0; state 0; status 3; state 0; status 0; state 0; pos 0";
        QTest::newRow("listener's step plays on, a new track at the end stops") << Playing + "cmd 40157; did hold 1; wait 1000; changed; did; state 1; pos 0; length 6000; wait 4000; changed; did stop,hold 0; state 0";
        QTest::newRow("no length: a new track is the end") << "connect; status 1; cmd 40157; changed; did hold 0,hold 1,stop,hold 0; state 0";
        QTest::newRow("falling back from the end is a new track") << Playing + "length 6000; cmd 40157; did hold 1; wait 1000; at 300; pos 300; state 1; wait 4000; at 4300; at 1999; did stop,hold 0; state 0";
        QTest::newRow("our own step brings its own track") << "connect; status 1; length 6000; at 5500; cmd 40157; cmd 40048; changed; did hold 0,hold 1,next; state 1";
        QTest::newRow("a fresh position asked only while playing, once a second") << Playing + "wait 999; pos 1999; did; wait 1; pos 2000; pos 2000; did refresh; status 3; wait 5000; pos 2000; status 0; pos 0; did";
        QTest::newRow("window title") << Playing + "title Winamp; track Band|Song; title 1. Band - Song - Winamp; cmd 40046; title 1. Band - Song - Winamp [Paused]; list 3 1; title 2. Band - Song - Winamp [Paused]; status 0; user 2 121; track |Solo|/m/s.mp3; title 3. Solo - Winamp [Stopped]; file /m/s.mp3; gone; title Winamp; file; connect; status 1; track A|B; title A - B - Winamp; file";
        QTest::newRow("fade ramps, plays on, stops, restores") << Playing + "cmd 40147; wait 750; tick; did hold 1,volume 30; state 1; pos 1750; volume 30; wait 749; state 1; wait 1; tick; did stop,volume 60,hold 0; state 0";
        QTest::newRow("play ends a fade with the volume back") << Playing + "cmd 40147; wait 750; tick; did hold 1,volume 30; cmd 40045; did volume 60,hold 0,play 0; state 1; wait 2000; tick; did; state 1";
        QTest::newRow("pause ends a fade with the volume back") << Playing + "cmd 40147; wait 300; tick; cmd 40046; did hold 1,volume 48,volume 60,hold 0,pause 1; status 3; wait 2000; tick; did; state 3";
        QTest::newRow("fade while paused stops at once") << Playing + "cmd 40046; cmd 40147; did pause 1,stop; state 0";
        QTest::newRow("track end during a fade stops") << Playing + "cmd 40147; ended; did hold 1,stop,hold 0; state 0";
        QTest::newRow("player stopping itself ends the fade") << Playing + "cmd 40147; wait 300; tick; status 0; did hold 1,volume 48,volume 60,hold 0; state 0";
        QTest::newRow("previous and next within the list") << Playing + "cmd 40048; did play 1; entry 1; pos 0; cmd 40048; cmd 40048; entry 2; did play 2; status 0; cmd 40044; entry 1; state 0; did; cmd 40044; cmd 40044; entry 0; did";
        QTest::newRow("unseen list: the player steps, play restarts") << "connect; status 1; cmd 40048; cmd 40044; did hold 0,next,prev; cmd 40045; did play -1; count 0; entry 0; state 1";
        QTest::newRow("seek within the track, not when stopped") << Playing + "user 7000 106; did seek 7000; wait 100; pos 7000; restarted; wait 100; pos 7100; user 99999 106; did seek 60000; status 0; user 5000 106; did";
        QTest::newRow("player gone: all 0, nothing sent, then met anew") << Playing + "cmd 40157; did hold 1; gone; state 0; pos 0; count 0; entry 0; len 0; cmd 40045; user 1 121; cmd 40147; cmd 40157; cmd 40048; wait 100; tick; did; connect; did hold 0; state 0";
        QTest::newRow("jump and close go to the player; unknown messages answer 0, change nothing") << Playing + "cmd 40194; cmd 40001; did show,quit; ask 1024 0 999 0; ask 1024 2 105 0; ask 273 12345 0 0; ask 1025 0 104 0; ask 1024 0 105 1000; did; state 1";
        // clang-format on
    }
    void translates() {
        QFETCH(QString, script);
        winamp::ManualClock clock(5000);
        RecordingPlayer player;
        Bridge model(clock, player);
        const QMap<QString, platform::LPARAM> queries{
            {"state", 104}, {"pos", 105}, {"len", 105}, {"entry", 125}, {"count", 124}};
        QStringList s;
        const auto n = [&s](int i) { return s.value(i).toLongLong(); };
        const auto ask = [&](platform::UINT msg, platform::WPARAM w, platform::LPARAM l) {
            return winamp::AnswerMessage(model, msg, w, l);
        };
        const QMap<QString, std::function<void()>> events{
            {"cmd", [&] { ask(273, platform::WPARAM(n(1)), 0); }},
            {"user", [&] { ask(1024, platform::WPARAM(n(1)), n(2)); }},
            {"wait", [&] { clock.Advance(n(1)); }},
            {"tick", [&] { model.Tick(); }},
            {"connect", [&] { model.Connected(true); }},
            {"gone", [&] { model.Connected(false); }},
            {"status", [&] { model.StatusChanged(winamp::PlayState(n(1))); }},
            {"at", [&] { model.PositionReported(n(1)); }},
            {"restarted", [&] { model.Restarted(); }},
            {"rate", [&] { model.RateChanged(s[1].toDouble()); }},
            {"length", [&] { model.LengthReported(n(1)); }},
            {"list", [&] { model.ListReported(int(n(1)), int(n(2))); }},
            {"volume", [&] { model.VolumeReported(s[1].toDouble()); }},
            {"ended", [&] { model.TrackEnded(); }},
            {"changed", [&] { model.TrackChanged(); }},
            {"track", [&] {
                 const QStringList names = s.mid(1).join(' ').split('|');
                 model.TrackReported(names.value(0), names.value(1), names.value(2));
             }}};
        for (const QString& step : script.split(';', Qt::SkipEmptyParts)) {
            s = step.simplified().split(' ');
            if (queries.contains(s[0])) {
                QCOMPARE(ask(1024, s[0] == "len" ? 1 : 0, queries[s[0]]), platform::LRESULT(n(1)));
            } else if (s[0] == "ask") {
                QCOMPARE(ask(platform::UINT(n(1)), platform::WPARAM(n(2)), n(3)),
                         platform::LRESULT(n(4)));
            } else if (s[0] == "did") {
                QCOMPARE(player.calls.join(','), s.mid(1).join(' '));
                player.calls.clear();
            } else if (s[0] == "title") {
                QCOMPARE(model.WindowTitle(), s.mid(1).join(' '));
            } else if (s[0] == "file") {
                QCOMPARE(QString::fromStdU16String(model.PlayingFile()), s.mid(1).join(' '));
            } else {
                QVERIFY2(events.contains(s[0]), qPrintable("unknown step " + step));
                events[s[0]]();
            }
        }
    }

    // MPRIS: a new track seen though its id stays, the listener's Next plays on, a track's end
    // after stop-after-current stops; a track list is Winamp's playlist.
    void followsAnMprisPlayer() {
        QProcess daemon;
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(daemon.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        winamp::ManualClock clock(5000);
        bridge::MprisPlayer transport("standin");
        Bridge model(clock, transport);
        const auto ask = [&model](platform::WPARAM w, platform::LPARAM l) {
            return winamp::AnswerMessage(model, 1024, w, l);
        };
        {
            StandIn player(address, false);
            transport.Attach(model);
            QTRY_COMPARE(model.WindowTitle(), "0.wav - Winamp");
            model.StopAfterCurrent();
            clock.Advance(1000);
            player.positionUs = 250000;
            player.MoveTo(1);  // the listener's Next
            QTRY_COMPARE(ask(0, 105), 250);
            QCOMPARE(model.WindowTitle(), "1.wav - Winamp");
            QCOMPARE(QString::fromStdU16String(model.PlayingFile()), "/music/1.wav");
            QVERIFY(!player.calls.contains("Pause") && ask(0, 104) == 1);

            // Followed at 25 Hz: a fresh position once a second while playing, none paused.
            const auto follow = [&](const char* status) {
                player.calls.clear();
                for (int i = 0; i <= 50; ++i, clock.Advance(40)) {
                    ask(0, 105);
                }
                player.status = status;
                player.Changed({{"PlaybackStatus", status}});
            };
            follow("Paused");
            QTRY_COMPARE(player.calls.size(), 3);  // and the position where it paused
            follow("Playing");
            QTRY_COMPARE(player.calls, QStringList({"Get Position"}));  // on resuming only

            // The track's end and the next stopped: only the file tells, not the position.
            clock.Advance(5000);
            player.positionUs = 3000000;
            player.MoveTo(2);
            QTRY_COMPARE(model.PlayState(), winamp::PlayState::Stopped);
            QTRY_VERIFY(player.calls.contains("Pause") && player.calls.contains("SetPosition"));
        }
        QTRY_VERIFY(!model.IsConnected());
        StandIn player(address, true);
        QTRY_COMPARE(ask(0, 124), 3);
        player.MoveTo(1);
        QTRY_COMPARE(ask(0, 125), 1);
        QCOMPARE(model.WindowTitle(), "2. 1.wav - Winamp");
        model.SetPlaylistPosition(2);
        model.Play();
        QTRY_VERIFY(player.calls.contains("GoTo /t/2") && player.calls.contains("Play"));
        // Stopped between two tracks, told twice as VLC does: after stop-after-current, stopped.
        model.StopAfterCurrent();
        clock.Advance(2500);
        player.positionUs = 5500000;
        QTRY_COMPARE(ask(0, 105), 5500);
        player.Changed({{"PlaybackStatus", "Stopped"}});
        player.Changed({{"PlaybackStatus", "Stopped"}});
        player.track = 0;
        player.Changed({{"Metadata", player.Metadata()}, {"PlaybackStatus", "Playing"}});
        QTRY_VERIFY(player.calls.contains("Pause"));
        QCOMPARE(model.PlayState(), winamp::PlayState::Stopped);
        daemon.kill();
        daemon.waitForFinished();
    }

    // The row's name is the command line; what it gives: ok or error, the mode, the target.
    void parsesCommandLine_data() {
        QTest::addColumn<QString>("parsed");
        QTest::newRow("--mpv /tmp/s") << "ok mpv /tmp/s";
        QTest::newRow("--mpris vlc") << "ok mpris vlc";
        QTest::newRow("--version --mpris") << "error version ";
        QTest::newRow("--trace t.log --mpris") << "ok mpris ";
        QTest::newRow("--mpv") << "error mpv ";
        QTest::newRow("--mpris --mpv") << "error mpris --mpv";
        QTest::newRow("--mpv s x") << "error mpv s";
        QTest::newRow("--vlc") << "error help ";
    }
    void parsesCommandLine() {
        const QString line = QTest::currentDataTag();
        const bridge::Options o = bridge::ParseOptions(line.split(' ', Qt::SkipEmptyParts));
        const char* modes[] = {"mpv", "mpris", "help", "version"};
        QCOMPARE(o.Error.isEmpty(), o.Ok);
        QTEST(QString(o.Ok ? "ok " : "error ") + modes[int(o.RunMode)] + ' ' + o.Target, "parsed");
    }
};

QTEST_GUILESS_MAIN(tst_Bridge)
#include "tst_bridge.moc"
