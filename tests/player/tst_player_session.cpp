// The playback session against a simulated Winamp on a manual clock, step by step: what it
// tells Winamp and what it says to show, for a lyrics file and for a playlist played song
// after song, with the wait for Winamp to finish a song before the next entry starts, and
// following whatever Winamp plays with the lyrics found for it.
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
QString Starts(const QString& k) {
    return QStringLiteral("winamp started play =%1.1 after >%1.2 Following panel-").arg(k);
}
QString Starts(int k) {
    return Starts(QString::number(k));
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
        for (int k = 0; k < 4; ++k) {
            testsupport::WriteBytes(dir.filePath(QStringLiteral("%1.cx3").arg(k)),
                                    QStringLiteral("\"S%1\"\r\n1,\"%1.1\"\r\n2,\"%1.2\"\r\n"
                                                   "3,\"%1.3\"\r\n")
                                        .arg(k)
                                        .toUtf8());
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

    // A script of steps, and what each step posted to Winamp and made the session say, in
    // order. Steps: open=FILE (a lyrics file opened); list=FILE,... (a playlist loaded, entry k
    // on Winamp's track k + 1); sel=ROW; repeat; the commands play, playlist, entry (a double
    // click), pause, next and stop; +MS (the clock moves on, then a tick if the session's timer
    // runs); tick (one left over from before); follow and unfollow (Follow the Player on and
    // off), wait (until the lyrics looked for are found or not); and behind the player's back:
    // seek=MS, wplay, wpause (pause or resume), wstop, wnext, wprev, gone (Winamp quits). A
    // song's lines moved: move=MS; yes and no answer the next question whether to keep that in
    // the file; hide and unhide take the file of song "k" away and back; file shows its times;
    // fill shows the position the last tick read for the karaoke fill since the last fill, as
    // @ROW@MS (@ for none).
    // Posts: play, pause, stop, fade, after (stop after the current track), #N (to track N from
    // 0). Signals: the state, [caption], =current line, >next line, winamp / no-winamp (looked
    // for), started, stopped, list-on, list-empty, panel- / panel+, unreadable, ~moved, keep?
    // (the question), not-kept, missing:TITLE (no lyrics for the song; time them?).
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
        QTest::newRow("a single line is current and last at once")
            << "open=one play +5000"
            << L{"[One - Cantorix 3] >only panel-",
                 "winamp started play =only after >(end of song) stopped", ""};
        QTest::newRow("what cannot be read is said; Play plays what was read")
            << "open=none play open=empty play open=part play"
            << L{"unreadable", "", "[E - Cantorix 3] unreadable", "", "unreadable",
                 "winamp started play =p.1 after > Following panel-"};
        QTest::newRow("no Winamp: nothing starts")
            << "gone open=0 play list=0,1 playlist"
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
        QTest::newRow("Repeat: the same order again")
            << "repeat list=0,1 " + toTail + "+8000 +1000 +1000 +8000"
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
                 "=a.2 >a.3", "@1@1500", "", "= > [Track 2 - Cantorix 3]", ">b.1 panel- =b.1 >b.2",
                 "", "@0@40", "", "= > [Track 3 - Cantorix 3]",
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
        const auto say = [&](const char* event) { return [&note, event] { note(event); }; };
        connect(&session, &Session::StateChanged, &session,
                [&](Session::State state) { note(QVariant::fromValue(state).toString()); });
        connect(&session, &Session::CaptionChanged, &session,
                [&](const QString& caption) { note("[" + caption + "]"); });
        connect(&session, &Session::CurrentLineChanged, &session,
                [&](const QString& line) { note("=" + line); });
        connect(&session, &Session::NextLineChanged, &session,
                [&](const QString& line) { note(">" + line); });
        connect(&session, &Session::WinampLookedUp, &session,
                [&](bool found) { note(found ? "winamp" : "no-winamp"); });
        connect(&session, &Session::PanelDue, &session,
                [&](bool shown) { note(shown ? "panel+" : "panel-"); });
        connect(&session, &Session::LyricsUnreadable, &session, say("unreadable"));
        connect(&session, &Session::DisplayStarted, &session, say("started"));
        connect(&session, &Session::PlaybackStopped, &session, say("stopped"));
        connect(&session, &Session::PlaylistStarted, &session, say("list-on"));
        connect(&session, &Session::PlaylistEmpty, &session, say("list-empty"));
        connect(&session, &Session::LyricsMoved, &session,
                [&](int shift) { note("~" + QString::number(shift)); });
        connect(&session, &Session::OffsetNotKept, &session, say("not-kept"));
        connect(&session, &Session::LyricsMissing, &session, [&](const QString& title) {
            if (!title.isEmpty()) {
                note("missing:" + title);
            }
        });
        QString fill;
        connect(&session, &Session::PositionRead, &session,
                [&](int row, double ms) { fill = QStringLiteral("@%1@%2").arg(row).arg(ms); });
        QList<bool> answers;
        session.SetKeepQuestion([&] {
            note("keep?");
            return !answers.isEmpty() && answers.takeFirst();
        });

        const QMap<QString, void (Session::*)()> commands{{"play", &Session::Play},
                                                          {"playlist", &Session::PlayPlaylist},
                                                          {"entry", &Session::PlaySelectedEntry},
                                                          {"pause", &Session::Pause},
                                                          {"next", &Session::Next},
                                                          {"stop", &Session::Stop}};
        QStringList shown;
        for (const QString& step : script.split(' ')) {
            const QString verb = step.section('=', 0, 0), value = step.section('=', 1);
            if (verb.startsWith('+')) {
                sim.clock.Advance(verb.mid(1).toLongLong());
                if (timer->isActive()) {
                    session.Tick();
                }
            } else if (verb == "tick") {
                session.Tick();
            } else if (verb == "follow" || verb == "unfollow") {
                session.Follow(verb == "follow");
            } else if (verb == "fill") {
                note(fill.isEmpty() ? "@" : fill);
                fill.clear();
            } else if (verb == "wait") {
                QTRY_COMPARE(lookedUp, 1);
                lookedUp = 0;
            } else if (verb == "wplay") {
                sim.model.Play();
            } else if (verb == "wnext") {
                sim.model.Next();
            } else if (verb == "wprev") {
                sim.model.Previous();
            } else if (verb == "open") {
                session.OpenLyrics(dir.filePath(value + ".cx3"));
            } else if (verb == "list") {
                playlist::PlaylistTable table;
                for (const QString& name : value.split(',', Qt::SkipEmptyParts)) {
                    table.Append({dir.filePath(name + ".cx3"), qint16(table.Count() + 1), name});
                }
                list.Replace(table, dir.filePath("list.cxp"));
                session.ChoosePlaylist();
            } else if (verb == "sel") {
                list.Select(value.toInt());
            } else if (verb == "repeat") {
                list.SetRepeatList(true);
            } else if (verb == "seek") {
                sim.model.Seek(value.toLongLong());
            } else if (verb == "wpause") {
                sim.model.PauseResume();
            } else if (verb == "wstop") {
                sim.model.Stop();
            } else if (verb == "gone") {
                sim.window.reset();
            } else if (verb == "move") {
                session.MoveLyrics(value.toInt());
            } else if (verb == "yes" || verb == "no") {
                answers << (verb == "yes");
            } else if (verb == "hide" || verb == "unhide") {
                QVERIFY(verb == "hide" ? QFile::rename(moved, moved + ".away")
                                       : QFile::rename(moved + ".away", moved));
            } else if (verb == "file") {
                QStringList times;
                const std::optional<lyrics::LyricsRows> file = lyrics::ReadLyricsRows(moved);
                for (const lyrics::SourceRow& row :
                     file ? file->Rows : std::vector<lyrics::SourceRow>{}) {
                    times << lyrics::FormatNumber(row.Seconds.value_or(-1));
                }
                note(times.join(' '));
            } else {
                QVERIFY2(commands.contains(verb), qPrintable(step));
                (session.*commands[verb])();
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
