// The playback session against a simulated Winamp on a manual clock, step by step: what it
// tells Winamp and what it says to show, for a lyrics file, a playlist, and following Winamp.
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "library/LyricsLibrary.h"
#include "lyrics/DelimitedFile.h"
#include "lyrics/LyricsFile.h"
#include "player/LyricsLookup.h"
#include "player/Session.h"
#include "playlist/Playlist.h"
#include "support/Files.h"
#include "support/SimWinamp.h"
#include "winamp/Link.h"

using player::Session;

namespace {

// What Play shows of song k, for which Winamp's current track is already chosen.
QString Starts(const QVariant& k) {
    return QStringLiteral("winamp started play =%1.1 after >%1.2 Following panel-")
        .arg(k.toString());
}
// Playlist entry k: song k on Winamp's track k + 1.
QString Entry(int k) {
    return QStringLiteral("[S%1 - Cantorix 3] >%1.1 panel- #%1 ").arg(k) + Starts(k);
}

// A post to Winamp as the table names it.
QString Named(const QString& post) {
    static const QMap<QString, QString> commands{
        {SimWinamp::Command(winamp::CmdPlay), "play"},
        {SimWinamp::Command(winamp::CmdPause), "pause"},
        {SimWinamp::Command(winamp::CmdStop), "stop"},
        {SimWinamp::Command(winamp::CmdFadeStop), "fade"},
        {SimWinamp::Command(winamp::CmdStopAfterCurrent), "after"}};
    if (post.startsWith("1024:") && post.endsWith(":121")) {
        return "#" + post.section(':', 1, 1);
    }
    return commands.value(post, post);
}

}  // namespace

class tst_PlayerSession : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

  private slots:
    // Song k ("Sk") has the lines "k.1", "k.2" and "k.3", left at 1, 2 and 3 s; "one" has a
    // single line, "empty" a title and no line, "part" breaks off after its second time.
    void initTestCase() {
        const QString song =
            QStringLiteral("\"S%1\"\r\n1,\"%1.1\"\r\n2,\"%1.2\"\r\n3,\"%1.3\"\r\n");
        for (int k = 0; k < 4; ++k) {
            testsupport::WriteBytes(dir.filePath(QString("%1.cx3").arg(k)), song.arg(k).toUtf8());
        }
        testsupport::WriteBytes(dir.filePath("one.cx3"), "\"One\"\r\n1,\"only\"\r\n");
        testsupport::WriteBytes(dir.filePath("empty.cx3"), "\"E\"\r\n");
        testsupport::WriteBytes(dir.filePath("part.cx3"), "\"P\"\r\n1,\"p.1\"\r\n2,");
        // The lyrics library of the simulator's "Track 1" and "Track 2"; "Track 3" has none.
        QVERIFY(QDir(dir.path()).mkpath("lib"));
        testsupport::WriteBytes(dir.filePath("lib/Track 1.cx3"),
                                "\"Track 1\"\r\n1,\"a.1\"\r\n2,\"a.2\"\r\n3,\"a.3\"\r\n");
        testsupport::WriteBytes(dir.filePath("lib/b.lrc"),
                                "[ti:Track 2]\n[00:00.00]b.1\n[00:01.00]b.2\n[00:02.00]b.3\n");
    }

    // A script of steps (named in session(); list=FILE,... puts entry k on Winamp's track k + 1,
    // +MS moves the clock on, then ticks if the timer runs; w* act behind the player's back;
    // fill shows the karaoke position read since the last fill as @ROW@MS, + for a song in
    // step), and what each step posted to Winamp (play, pause, stop, fade, after: stop after
    // current, #N: to track N) and made the session say: the state, [caption], =current, >next,
    // ~moved, the rest named.
    void session_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("shown");
        const QString opened = "[S0 - Cantorix 3] >0.1 panel-";
        const QString paused = "[-- PAUSED -- S0 - Cantorix 3]";
        const QString tail = ">(end of song) [Cantorix 3] Waiting";  // the next entry selected
        const QString ended = "=0.3 >(end of song) Idle stopped";
        // The first entry of a playlist played to the tail of its song.
        const QString toTail = "playlist +1000 +1000 ";
        const QStringList tailed{"winamp list-on " + Entry(0), "=0.2 >0.3", "=0.3 " + tail};
        using L = QStringList;
        // clang-format off
        QTest::newRow("a song followed to its last line, Winamp playing on")
            << "open=0 play +999 +1 +1000 +5000"
            << L{opened, Starts(0), "", "=0.2 >0.3", ended, ""};
        QTest::newRow("pause, resume, Stop after a pause; Winamp stopped behind our back")
            << "open=0 play pause wpause pause +5000 pause +1000 pause stop play pause pause wstop "
               "pause"
            << L{opened, Starts(0), "pause Paused " + paused, "", "pause", "",
                 "pause Following [S0 - Cantorix 3]", "=0.2 >0.3", "pause Paused " + paused,
                 "[S0 - Cantorix 3] fade Idle stopped", Starts(0), "pause Paused " + paused,
                 "pause Following [S0 - Cantorix 3]", "", ""};
        QTest::newRow("a seek ahead caught up a line a tick; back, its line at once")
            << "open=0 play seek=2500 +0 seek=500 +0 +1500 +0"
            << L{opened, Starts(0), "", "=0.2 >0.3", "", "=0.1 >0.2", "=0.2 >0.3", ended};
        QTest::newRow("a single line is current and last at once") << "open=one play +5000"
            << L{"[One - Cantorix 3] >only panel-",
                 "winamp started play =only after >(end of song) stopped", ""};
        QTest::newRow("what cannot be read is said; Play plays what was read")
            << "open=none play open=empty play open=part play"
            << L{"unreadable", "", "[E - Cantorix 3] unreadable", "", "unreadable",
                 "winamp started play =p.1 after > Following panel-"};
        QTest::newRow("no Winamp: nothing starts") << "gone open=0 play list=0,1 playlist"
            << L{"", opened, "no-winamp", "[Cantorix 3]", "no-winamp"};

        QTest::newRow("from the selection round to the start; each entry once its song stopped")
            << "list=0,1,2 sel=1 playlist +1000 +1000 +7999 +1 +1000 +1000 +8000 +1000 +1000 "
               "+8000"
            << L{"", "", "winamp list-on " + Entry(1), "=1.2 >1.3", "=1.3 " + tail, "",
                 "Idle " + Entry(2), "=2.2 >2.3", "=2.3 " + tail, "Idle " + Entry(0), "=0.2 >0.3",
                 "=0.3 >(end of song) Idle panel+ stopped", ""};
        QTest::newRow("Next fades out, the next entry waits for the stop")
            << "list=0,1,2 playlist next +1000 +600 stop"
            << L{"", "winamp list-on " + Entry(0), "fade [Cantorix 3] Waiting", "",
                 "Idle " + Entry(1), "fade Idle panel+ stopped"};
        QTest::newRow("a pause in the tail is still the song")
            << "list=0,1 " + toTail + "pause +60000 pause +7000 +1000"
            << L{""} + tailed + L{"pause Paused [-- PAUSED -- Cantorix 3]", "",
                                  "pause Waiting [S0 - Cantorix 3]", "", "Idle " + Entry(1)};
        QTest::newRow("a paused tail that Winamp stops goes on to the next entry")
            << "list=0,1 " + toTail + "pause wstop +40"
            << L{""} + tailed + L{"pause Paused [-- PAUSED -- Cantorix 3]", "",
                                  "[S0 - Cantorix 3] Idle " + Entry(1)};
        QTest::newRow("Next in the wait skips nothing, Stop in it starts nothing")
            << "list=0,1,2 " + toTail + "next +1600 +1000 +1000 stop +10000 tick"
            << L{""} + tailed + L{"fade", "Idle " + Entry(1), "=1.2 >1.3", "=1.3 " + tail,
                                  "fade Idle panel+ stopped", "", ""};
        QTest::newRow("a double click in the wait ends it, even on an entry that cannot be read")
            << "list=0,1,none " + toTail + "sel=2 entry +10000 tick"
            << L{""} + tailed + L{"", "Idle unreadable #2 winamp", "", ""};
        QTest::newRow("Repeat: the same order again") << "repeat list=0,1 " + toTail + "+8000 +1000 +1000 +8000"
            << L{"", ""} + tailed
                   + L{"Idle " + Entry(1), "=1.2 >1.3", "=1.3 " + tail, "Idle " + Entry(0)};
        QTest::newRow("Next while paused: the pause lasts until the next entry")
            << "list=0,1 playlist pause next +1600"
            << L{"", "winamp list-on " + Entry(0), "pause Paused " + paused, "fade [Cantorix 3]",
                 "[S0 - Cantorix 3] Idle " + Entry(1)};
        QTest::newRow("a double click while stopped starts from that entry, once")
            << "list=0,1,2,3 sel=3 entry" << L{"", "", "winamp list-on " + Entry(3)};
        QTest::newRow("a double click while playing: that entry at once, then the order goes on")
            << "list=0,1,2 playlist sel=2 entry +1000 +1000 +8000"
            << L{"", "winamp list-on " + Entry(0), "[Cantorix 3]",
                 "[S2 - Cantorix 3] >2.1 panel- #2 winamp started play =2.1 after >2.2 panel-",
                 "=2.2 >2.3", "=2.3 " + tail, "Idle " + Entry(1)};
        QTest::newRow("an entry that cannot be read stands still until Stop")
            << "list=none,1 playlist +5000 stop"
            << L{"", "winamp list-on unreadable #0 winamp", "", "fade panel+ stopped"};
        QTest::newRow("lines moved while the song plays, kept in its file, moved and kept again")
            << "open=k play move=100 +1100 yes +1000 play move=10 +1110 yes +1000 file open=k play "
               "+1110"
            << L{"[K - Cantorix 3] >k.1 panel-", Starts("k"), "~100", "=k.2 >k.3", "",
                 "=k.3 >(end of song) keep? Idle stopped", Starts("k"), "~110", "=k.2 >k.3", "",
                 "=k.3 >(end of song) keep? Idle stopped", "1.11 2.11 3.11", ">k.1 panel-",
                 Starts("k"), "=k.2 >k.3"};
        QTest::newRow("moved sooner while paused, not kept; stopped, nothing moves")
            << "move=100 open=k play pause move=-100 pause no stop file play +950"
            << L{"", "[K - Cantorix 3] >k.1 panel-", Starts("k"),
                 "pause Paused [-- PAUSED -- K - Cantorix 3]", "~-100",
                 "pause Following [K - Cantorix 3]", "", "fade keep? Idle stopped", "1 2 3",
                 Starts("k"), ""};
        QTest::newRow("a file that cannot be written: said, and asked again as another opens")
            << "open=k play move=-100 hide yes stop unhide yes open=0 file"
            << L{"[K - Cantorix 3] >k.1 panel-", Starts("k"), "~-100", "", "",
                 "fade keep? not-kept Idle stopped", "", "", "keep? " + opened, "0.9 1.9 2.9"};
        QTest::newRow("Play plays the playlist, or the lyrics file opened after it")
            << "list= playlist open=0 play stop list=1 play"
            << L{"", "winamp list-empty", opened, Starts(0), "fade Idle panel+ stopped",
                 "[Cantorix 3]", "winamp list-on [S1 - Cantorix 3] >1.1 panel- #0 " + Starts(1)};
        QTest::newRow("moved on under an entry: the song is over, the next entry waits for a stop")
            << "list=0,1,2 playlist +1000 seek=500 +0 wnext +40 +9959 +1"
            << L{"", "winamp list-on " + Entry(0), "=0.2 >0.3", "", "=0.1 >0.2", "",
                 "= > [Cantorix 3] Waiting", "", "Idle " + Entry(1)};

        const QString track1 = "= > [Track 1 - Cantorix 3]";
        QTest::newRow("following: taken up mid-song, in step, a seek back, the next songs and back")
            << "wplay +1500 follow wait +500 +1000 seek=500 +0 wnext +0 wait +1000 wnext +0 wait "
               "wprev +0 wait stop"
            << L{"", "", "winamp started FollowingPlayer panel- " + track1,
                 ">a.1 panel- =a.2 >a.3", "=a.3 >(end of song)", "", "", "=a.1 >a.2", "",
                 "= > [Track 2 - Cantorix 3]", ">b.1 panel- =b.1 >b.2", "=b.2 >b.3", "",
                 "= > [Track 3 - Cantorix 3]",
                 "=No lyrics for Track 3 >Click above to time them now missing:Track 3", "",
                 "= > [Track 2 - Cantorix 3]", ">b.1 panel- =b.1 >b.2", "fade Idle stopped"};
        QTest::newRow("following: paused and resumed, then off with Winamp playing on")
            << "wplay follow wait pause +5000 pause +1000 unfollow +1000"
            << L{"", "winamp started FollowingPlayer panel- " + track1, ">a.1 panel- =a.1 >a.2",
                 "pause Paused [-- PAUSED -- Track 1 - Cantorix 3]", "",
                 "pause FollowingPlayer [Track 1 - Cantorix 3]", "=a.2 >a.3", "Idle stopped", ""};
        QTest::newRow("following: the karaoke fill is fed while lyrics are shown")
            << "wplay follow wait +1500 fill wnext +0 wait +40 fill wnext +0 wait +40 fill"
            << L{"", "winamp started FollowingPlayer panel- " + track1, ">a.1 panel- =a.1 >a.2",
                 "=a.2 >a.3", "@1@1500+", "", "= > [Track 2 - Cantorix 3]", ">b.1 panel- =b.1 >b.2",
                 "", "@0@40+", "", "= > [Track 3 - Cantorix 3]",
                 "=No lyrics for Track 3 >Click above to time them now missing:Track 3", "", "@"};
        QTest::newRow("following: no Winamp, nothing starts")
            << "gone follow" << L{"", "no-winamp"};
        // clang-format on
    }
    void session() {
        QFETCH(QString, script);
        const QString moved = dir.filePath("k.cx3");
        QFile::remove(moved);
        QVERIFY(testsupport::WriteBytes(moved, "\"K\"\r\n1,\"k.1\"\r\n2,\"k.2\"\r\n3,\"k.3\"\r\n"));
        SimWinamp sim(6, 10);
        winamp::WinampLink link;
        playlist::Playlist list;
        QRandomGenerator random(1);
        Session session(link, list, random);
        const QTimer* timer = session.findChild<QTimer*>("tmr");
        library::LyricsLibrary library;
        QSignalSpy ready(&library, &library::LyricsLibrary::Ready);
        library.Open(dir.filePath("lib"));
        QTRY_COMPARE(ready.size(), 1);
        player::LyricsLookup lookup(library);
        session.SetLyricsLookup(&lookup);
        int lookedUp = 0;
        connect(&lookup, &player::LyricsLookup::Found, &session, [&] { ++lookedUp; });
        connect(&lookup, &player::LyricsLookup::NothingLocal, &session, [&] { ++lookedUp; });

        QStringList events;
        qsizetype posted = 0;
        const auto note = [&](const QString& event) {
            const QStringList posts = sim.Posts();
            for (; posted < posts.size(); ++posted) {
                events << Named(posts[posted]);
            }
            events << event;
        };
        // The signals as the table names them, made of their argument where they have one.
        const auto on = [&](auto signal, auto text) {
            connect(&session, signal, &session, [&note, text](auto... arg) { note(text(arg...)); });
        };
        on(&Session::StateChanged,
           [](Session::State s) { return QVariant::fromValue(s).toString(); });
        on(&Session::CaptionChanged, [](const QString& caption) { return "[" + caption + "]"; });
        on(&Session::CurrentLineChanged, [](const QString& line) { return "=" + line; });
        on(&Session::NextLineChanged, [](const QString& line) { return ">" + line; });
        on(&Session::WinampLookedUp, [](bool found) { return found ? "winamp" : "no-winamp"; });
        on(&Session::PanelDue, [](bool shown) { return shown ? "panel+" : "panel-"; });
        on(&Session::LyricsMoved, [](int shift) { return "~" + QString::number(shift); });
        on(&Session::OffsetNotKept, [](const QString&) { return "not-kept"; });
        connect(&session, &Session::LyricsMissing, &session, [&](const QString& title) {
            if (!title.isEmpty()) {
                note("missing:" + title);
            }
        });
        for (const auto& [signal, text] : {std::pair{&Session::LyricsUnreadable, "unreadable"},
                                           {&Session::DisplayStarted, "started"},
                                           {&Session::PlaybackStopped, "stopped"},
                                           {&Session::PlaylistStarted, "list-on"},
                                           {&Session::PlaylistEmpty, "list-empty"}}) {
            on(signal, [text] { return text; });
        }
        QString fill;
        connect(&session, &Session::PositionRead, &session, [&](int row, double ms) {
            fill = QStringLiteral("@%1@%2%3").arg(row).arg(ms).arg(session.SongInStep() ? "+" : "");
        });
        QList<bool> answers;
        session.SetKeepQuestion([&] {
            note("keep?");
            return !answers.isEmpty() && answers.takeFirst();
        });

        const QMap<QString, std::function<void(const QString&)>> steps{
            {"play", [&](auto&) { session.Play(); }},
            {"playlist", [&](auto&) { session.PlayPlaylist(); }},
            {"entry", [&](auto&) { session.PlaySelectedEntry(); }},
            {"pause", [&](auto&) { session.Pause(); }},
            {"next", [&](auto&) { session.Next(); }},
            {"stop", [&](auto&) { session.Stop(); }},
            {"tick", [&](auto&) { session.Tick(); }},
            {"follow", [&](auto&) { session.Follow(true); }},
            {"unfollow", [&](auto&) { session.Follow(false); }},
            {"fill", [&](auto&) { note(fill.isEmpty() ? QString("@") : std::exchange(fill, {})); }},
            {"wait",
             [&](auto&) {
                 QTRY_COMPARE(lookedUp, 1);
                 lookedUp = 0;
             }},
            {"wplay", [&](auto&) { sim.model.Play(); }},
            {"wnext", [&](auto&) { sim.model.Next(); }},
            {"wprev", [&](auto&) { sim.model.Previous(); }},
            {"wpause", [&](auto&) { sim.model.PauseResume(); }},
            {"wstop", [&](auto&) { sim.model.Stop(); }},
            {"gone", [&](auto&) { sim.window.reset(); }},
            {"open", [&](const QString& v) { session.OpenLyrics(dir.filePath(v + ".cx3")); }},
            {"list",
             [&](const QString& v) {
                 playlist::PlaylistTable table;
                 for (const QString& name : v.split(',', Qt::SkipEmptyParts)) {
                     table.Append({dir.filePath(name + ".cx3"), qint16(table.Count() + 1), name});
                 }
                 list.Replace(table, dir.filePath("list.cxp"));
                 session.ChoosePlaylist();
             }},
            {"sel", [&](const QString& v) { list.Select(v.toInt()); }},
            {"repeat", [&](auto&) { list.SetRepeatList(true); }},
            {"seek", [&](const QString& v) { sim.model.Seek(v.toLongLong()); }},
            {"move", [&](const QString& v) { session.MoveLyrics(v.toInt()); }},
            {"yes", [&](auto&) { answers << true; }},
            {"no", [&](auto&) { answers << false; }},
            {"hide", [&](auto&) { QVERIFY(QFile::rename(moved, moved + ".away")); }},
            {"unhide", [&](auto&) { QVERIFY(QFile::rename(moved + ".away", moved)); }},
            {"file", [&](auto&) {
                 QStringList times;
                 const std::optional<lyrics::LyricsRows> file = lyrics::ReadLyricsRows(moved);
                 for (const lyrics::SourceRow& row :
                      file ? file->Rows : std::vector<lyrics::SourceRow>{}) {
                     times << lyrics::FormatNumber(row.Seconds.value_or(-1));
                 }
                 note(times.join(' '));
             }}};
        QStringList shown;
        for (const QString& step : script.split(' ')) {
            const QString verb = step.section('=', 0, 0);
            if (verb.startsWith('+')) {
                sim.clock.Advance(verb.mid(1).toLongLong());
                if (timer->isActive()) {
                    session.Tick();
                }
            } else {
                QVERIFY2(steps.contains(verb), qPrintable(step));
                steps[verb](step.section('=', 1));
            }
            note({});
            events.removeLast();
            shown << events.join(' ');
            events.clear();
        }
        QTEST(shown, "shown");
    }
};

QTEST_MAIN(tst_PlayerSession)
#include "tst_player_session.moc"
