// Playlist playback through the window, song after song, against a simulated Winamp on a
// manual clock: what Winamp is told for every entry, and the wait between two entries.
#include <QAction>
#include <QTimer>
#include <QtTest>

#include "PlayerFixture.h"
#include "player/ImageButton.h"

namespace {
constexpr int TrackSeconds = 10;
}

class tst_PlayerPlaylist : public QObject, PlayerFixture {
    Q_OBJECT

    // A playlist of n entries; entry k shows "k.cx3" for Winamp's track k + 1.
    void LoadPlaylist(int n) {
        QByteArray cxp;
        for (int k = 0; k < n; ++k) {
            const QString title = QStringLiteral("Song %1 - Band").arg(k);
            cxp += "\"" + Song(QStringLiteral("%1.cx3").arg(k), title).toUtf8() + "\"," +
                   QByteArray::number(k + 1) + ",\"" + title.toUtf8() + "\"\r\n";
        }
        QVERIFY(w->LoadPlaylist(Write("list.cxp", cxp)));
    }

    // The Winamp tracks (from 0) that entries were started on, from the 121s posted.
    QList<int> Moves() const {
        QList<int> out;
        for (const QString& post : sim->Posts()) {
            if (post.startsWith("1024:") && post.endsWith(":121")) {
                out << post.section(':', 1, 1).toInt();
            }
        }
        return out;
    }
    int Count(platform::WPARAM command) const {
        return int(sim->Posts().count(SimWinamp::Command(command)));
    }

    // Two seconds of the song, a tick a second: the last of its three lines is reached.
    void ReachLastLine() {
        for (int i = 0; i < 2; ++i) {
            sim->clock.Advance(1000);
            w->tmr_Timer();
        }
        QVERIFY(!w->tmr->isActive());
    }
    // The rest of the track, then the wait's question once Winamp has stopped.
    void PlayOutTheTail() {
        sim->clock.Advance(TrackSeconds * 1000);
        w->tmrWait_Timer();
    }

  private slots:
    void init() { Prepare(6, TrackSeconds); }
    void cleanup() { Finish(); }

    // Every entry: Winamp moved to the entry's track less one, play, stop after it; in list
    // order from the selection, then the stopped state with the list shown.
    void songAfterSong_data() {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("row 2 selected") << 2 << QList<int>{2, 3, 4, 0, 1};
        QTest::newRow("nothing selected") << -1 << QList<int>{0, 1, 2, 3, 4};
    }
    void songAfterSong() {
        QFETCH(int, selected);
        QFETCH(QList<int>, order);
        LoadPlaylist(5);
        w->Playlist.Select(selected);
        sim->Clear();
        w->cmdPlay_Click();  // Play plays the playlist once one is loaded
        for (int k : order) {
            QCOMPARE(sim->Posts(),
                     (QStringList{QStringLiteral("1024:%1:121").arg(k), SimWinamp::Command(40045),
                                  SimWinamp::Command(40157)}));
            QCOMPARE(w->lblCurrLine->text(), QStringLiteral("first of Song %1 - Band").arg(k));
            QVERIFY(!w->cmdNext->isHidden() && !w->itmLNew->isEnabled());
            sim->Clear();
            ReachLastLine();
            PlayOutTheTail();
        }
        QVERIFY(!w->Playlist.PlaylistPlaying() && !w->WaitingForStop);
        QVERIFY(!w->cmdPlay->isHidden() && w->cmdNext->isHidden() && w->cmdStop->isHidden());
        QVERIFY(w->itmLNew->isEnabled() && w->itmLPlay->isEnabled());
        QCOMPARE(w->itmLVShow->text(), QString("&Hide"));
    }

    // The next entry starts only once Winamp stops: every tick of the wait asks the play
    // state, and a pause in the tail of the song is still the song.
    void nextEntryWaitsForWinampToStop() {
        LoadPlaylist(3);
        w->itmLPlay->trigger();
        ReachLastLine();
        QVERIFY(w->WaitingForStop);
        sim->Clear();
        w->tmrWait_Timer();
        QCOMPARE(sim->model.Log().size(), 1);
        QCOMPARE(sim->model.Log().first().Message.LParam, platform::LPARAM(104));
        w->cmdPause_Click();
        sim->clock.Advance(60000);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{});
        w->cmdPause_Click();  // resumes Winamp; the display stays ended
        QVERIFY(!w->tmr->isActive());
        sim->clock.Advance(7000);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{});
        PlayOutTheTail();
        QCOMPARE(Moves(), QList<int>{1});
        QVERIFY(!w->WaitingForStop && w->tmr->isActive());
    }

    // Next while a song plays stops it by the Stop Mode; in Fade the next entry starts after
    // the fade.
    void nextStartsTheNextEntryOnceWinampStops() {
        LoadPlaylist(3);
        w->itmLPlay->trigger();
        sim->Clear();
        w->itmPNext->trigger();
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(40147)});
        sim->clock.Advance(1000);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{});  // still fading
        sim->clock.Advance(600);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{1});
        QCOMPARE(Count(40045), 1);
    }

    void nextDuringTheWaitSkipsNothing() {
        LoadPlaylist(4);
        w->itmLPlay->trigger();
        ReachLastLine();
        sim->Clear();
        w->cmdNext_Click();  // tired of the tail: stop it now
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(40147)});
        sim->clock.Advance(1600);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{1});
        QCOMPARE(Count(40045), 1);
        QVERIFY(!w->WaitingForStop && !w->tmrWait->isActive());
    }

    void stopDuringTheWaitStartsNothing() {
        LoadPlaylist(3);
        w->itmLPlay->trigger();
        ReachLastLine();
        sim->Clear();
        w->cmdStop_Click();
        QVERIFY(!w->Playlist.PlaylistPlaying() && !w->WaitingForStop && !w->tmrWait->isActive());
        PlayOutTheTail();  // a tick already queued changes nothing either
        QCOMPARE(Moves(), QList<int>{});
        QCOMPARE(Count(40045), 0);
        QVERIFY(w->itmLNew->isEnabled() && !w->cmdPlay->isHidden());
    }

    void doubleClickWhileStoppedStartsThatEntryOnce() {
        LoadPlaylist(4);
        w->Playlist.Select(2);
        w->lstList_DblClick();
        QCOMPARE(Moves(), QList<int>{2});
        QCOMPARE(Count(40045), 1);
        QVERIFY(w->Playlist.PlaylistPlaying());
    }
};

QTEST_MAIN(tst_PlayerPlaylist)
#include "tst_player_playlist.moc"
