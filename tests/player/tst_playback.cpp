// Playlist playback, song after song, against a simulated Winamp on a manual clock that
// plays every track to its end.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <set>

#include "PlayerFixture.h"
#include "player/ImageButton.h"
#include "player/frmMain.h"
#include "playlist/PlaylistCommands.h"
#include "support/Scripted.h"
#include "winamp/modOne.h"

using player::frmMain;

namespace {
constexpr int TrackSeconds = 10;
}

class tst_Playback : public QObject, PlayerFixture {
    Q_OBJECT

    // A playlist of n entries; entry k shows "k.cx3" (three lines) for Winamp's track k+1.
    void LoadPlaylist(int n) {
        QByteArray cxp;
        for (int k = 0; k < n; ++k) {
            const QString lyrics = Write(
                QStringLiteral("%1.cx3").arg(k),
                QStringLiteral("\"Song %1 - Band\"\r\n1,\"first of %1\"\r\n2,\"second of %1\"\r\n"
                               "3,\"last of %1\"\r\n")
                    .arg(k)
                    .toUtf8());
            cxp += "\"" + lyrics.toUtf8() + "\"," + QByteArray::number(k + 1) + ",\"Song " +
                   QByteArray::number(k) + " - Band\"\r\n";
        }
        QVERIFY(w->playlist->LoadPlaylist(Write("list.cxp", cxp)));
    }

    // The Winamp track (from 0) of every 121 posted so far.
    QList<int> Moves() const {
        QList<int> out;
        for (const winampsim::Received& r : sim->model.Log()) {
            if (r.Message.posted && r.Message.msg == 1024 && r.Message.lParam == 121) {
                out << int(r.Message.wParam);
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
    }

    // Follows the current song through its lyrics, then lets Winamp play the rest of the
    // track, answering the wait's questions as the timer would.
    void PlayOutCurrentSong() {
        QVERIFY(w->tmr->isActive());
        ReachLastLine();
        QVERIFY(!w->tmr->isActive());
        QCOMPARE(w->lblNextLine->text(), QString("(end of song)"));
        if (!w->PlaylistPlaying) {
            return;
        }
        QVERIFY(w->WaitingForStop);
        w->tmrWait_Timer();  // Winamp still plays the end of the track
        QVERIFY(w->WaitingForStop);
        sim->clock.Advance(TrackSeconds * 1000);
        w->tmrWait_Timer();
    }

  private slots:
    void init() {
        Prepare(6, TrackSeconds);
        Start();
    }
    void cleanup() { Finish(); }

    void playsInListOrderFromTheSelection_data() {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("row 2") << 2 << QList<int>{2, 3, 4, 0, 1};
        QTest::newRow("nothing selected") << -1 << QList<int>{0, 1, 2, 3, 4};
        QTest::newRow("last row") << 4 << QList<int>{4, 0, 1, 2, 3};
    }
    void playsInListOrderFromTheSelection() {
        QFETCH(int, selected);
        QFETCH(QList<int>, order);
        LoadPlaylist(5);
        if (selected >= 0) {
            w->lstList->setCurrentRow(selected);
        }
        w->itmLPlay->trigger();
        QList<int> rows;
        for (int i = 0; i < 5; ++i) {
            rows << w->lstList->currentRow();
            QCOMPARE(w->lblCurrLine->text(), QStringLiteral("first of %1").arg(rows.last()));
            QVERIFY(!w->cmdNext->isHidden());
            QVERIFY(w->itmPNext->isEnabled());
            QVERIFY(!w->itmLNew->isEnabled());
            PlayOutCurrentSong();
        }
        QCOMPARE(rows, order);
        QCOMPARE(Moves(), order);  // Winamp's track k is entry k's number less one
        // Played out: the stopped state, the list shown, New and Play back.
        QVERIFY(!w->PlaylistPlaying);
        QVERIFY(!w->WaitingForStop);
        QVERIFY(!w->cmdPlay->isHidden());
        QVERIFY(w->cmdNext->isHidden());
        QVERIFY(w->cmdStop->isHidden());
        QVERIFY(w->itmLNew->isEnabled());
        QVERIFY(w->itmLPlay->isEnabled());
        QCOMPARE(w->itmLVShow->text(), QString("&Hide"));
        QCOMPARE(Count(40045), 5);
    }

    void everyEntryIsMovedToThenPlayed() {
        LoadPlaylist(3);
        w->lstList->setCurrentRow(1);
        sim->Clear();
        w->cmdPlay_Click();  // Play plays the playlist once one is loaded
        const QStringList expected{"1024:1:121", SimWinamp::Command(40045),
                                   SimWinamp::Command(40157)};
        QCOMPARE(sim->Posts(), expected);
        sim->Clear();
        PlayOutCurrentSong();
        QCOMPARE(sim->Posts(),
                 (QStringList{"1024:2:121", SimWinamp::Command(40045), SimWinamp::Command(40157)}));
    }

    void nextEntryWaitsForWinampToStop() {
        LoadPlaylist(3);
        w->itmLPlay->trigger();
        ReachLastLine();
        QVERIFY(w->WaitingForStop);
        // Every tick of the wait asks once and starts nothing while the track plays on.
        for (int second = 2; second < TrackSeconds; ++second) {
            sim->Clear();
            w->tmrWait_Timer();
            QCOMPARE(sim->model.Log().size(), 1);
            QCOMPARE(sim->model.Log().first().Message.lParam, platform::LPARAM(104));
            sim->clock.Advance(1000);
        }
        QCOMPARE(Moves(), QList<int>{});
        w->tmrWait_Timer();  // the track has ended and Winamp stopped by itself
        QCOMPARE(Moves(), QList<int>{1});
        QVERIFY(!w->WaitingForStop);
        QVERIFY(w->tmr->isActive());
    }

    void nextInFadeModeStartsAfterTheFade() {
        LoadPlaylist(3);
        w->itmLPlay->trigger();
        sim->Clear();
        w->cmdNext_Click();
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(40147)});
        QCOMPARE(w->lstList->currentRow(), 1);  // the list shows what comes next
        w->tmrWait_Timer();
        sim->clock.Advance(1000);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{});  // still fading
        sim->clock.Advance(600);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{1});
        QCOMPARE(Count(40045), 1);
    }

    void nextInImmediateModeStartsAtOnce() {
        w->itmOSFade_Click(1);
        LoadPlaylist(3);
        w->itmLPlay->trigger();
        sim->Clear();
        w->itmPNext->trigger();
        QCOMPARE(sim->Posts().first(), SimWinamp::Command(40047));
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{1});
    }

    void nextDuringTheWaitSkipsNothing() {
        LoadPlaylist(4);
        w->itmLPlay->trigger();
        ReachLastLine();
        QVERIFY(w->WaitingForStop);
        sim->Clear();
        w->cmdNext_Click();  // tired of the tail: stop it now
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(40147)});
        QVERIFY(w->WaitingForStop);
        sim->clock.Advance(1600);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{1});
        QCOMPARE(Count(40045), 1);
        QVERIFY(!w->WaitingForStop);
        QVERIFY(!w->tmrWait->isActive());
    }

    void stopDuringTheWaitStartsNothing() {
        LoadPlaylist(3);
        w->itmLPlay->trigger();
        ReachLastLine();
        QVERIFY(w->WaitingForStop);
        sim->Clear();
        w->cmdStop_Click();
        QVERIFY(!w->WaitingForStop);
        QVERIFY(!w->tmrWait->isActive());
        QVERIFY(!w->PlaylistPlaying);
        sim->clock.Advance(TrackSeconds * 1000);
        w->tmrWait_Timer();  // a tick already queued changes nothing either
        QCOMPARE(Moves(), QList<int>{});
        QCOMPARE(Count(40045), 0);
        QVERIFY(w->itmLNew->isEnabled());
        QVERIFY(!w->cmdPlay->isHidden());
    }

    void pauseInTheTailDoesNotStartTheNextSong() {
        LoadPlaylist(3);
        w->itmLPlay->trigger();
        ReachLastLine();
        sim->Clear();
        w->cmdPause_Click();
        sim->clock.Advance(60000);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{});
        w->cmdPause_Click();  // resumes Winamp; the display stays ended
        QVERIFY(!w->tmr->isActive());
        sim->clock.Advance(TrackSeconds * 1000);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{1});
    }

    void repeatPlaysTheSameOrderAgain() {
        w->lblRepeat_Click();
        LoadPlaylist(3);
        w->lstList->setCurrentRow(1);
        w->itmLPlay->trigger();
        for (int i = 0; i < 7; ++i) {
            PlayOutCurrentSong();
        }
        QCOMPARE(Moves(), (QList<int>{1, 2, 0, 1, 2, 0, 1, 2}));
        QVERIFY(w->PlaylistPlaying);
        w->cmdStop_Click();
        QVERIFY(!w->PlaylistPlaying);
    }

    void randomOrderStartsWithTheSelectionAndPlaysEachOnce() {
        w->lblRand_Click();
        w->lblRepeat_Click();
        LoadPlaylist(5);
        w->lstList->setCurrentRow(3);
        w->itmLPlay->trigger();
        for (int i = 0; i < 9; ++i) {
            PlayOutCurrentSong();
        }
        const QList<int> moves = Moves();
        QCOMPARE(moves.size(), 10);
        QCOMPARE(moves.first(), 3);
        const QList<int> pass = moves.mid(0, 5);
        QCOMPARE(std::set<int>(pass.begin(), pass.end()), (std::set<int>{0, 1, 2, 3, 4}));
        QCOMPARE(moves.mid(5), pass);  // the same order on repeat
    }

    void randomOrderIsAUniformShuffle() {
        // Over many orders of four rows with row 0 first, each of the six orders of the
        // other three turns up about equally often.
        w->lblRand_Click();
        LoadPlaylist(4);
        QMap<QList<qint16>, int> seen;
        const int draws = 6000;
        for (int i = 0; i < draws; ++i) {
            w->lstList->setCurrentRow(0);
            w->BuildRandomOrder();
            QCOMPARE(w->PlayOrder.front(), qint16(0));
            seen[QList<qint16>(w->PlayOrder.begin(), w->PlayOrder.end())]++;
        }
        QCOMPARE(seen.size(), 6);
        for (int count : seen) {
            QVERIFY2(count > 800 && count < 1200, qPrintable(QString::number(count)));
        }
    }

    void oneEntryWithRandomizePlays() {
        w->lblRand_Click();
        LoadPlaylist(1);
        w->itmLPlay->trigger();
        QCOMPARE(Moves(), QList<int>{0});
        PlayOutCurrentSong();
        QVERIFY(!w->PlaylistPlaying);
    }

    void doubleClickWhileStoppedStartsThatEntryOnce() {
        LoadPlaylist(4);
        w->lstList->setCurrentRow(2);
        w->lstList_DblClick();
        QCOMPARE(Moves(), QList<int>{2});
        QCOMPARE(Count(40045), 1);
        QVERIFY(w->PlaylistPlaying);
    }

    void unreadableEntryStandsStill() {
        LoadPlaylist(3);
        QFile::remove(dir.filePath("1.cx3"));
        boxes->Answer(platform::MsgResult::OK);
        w->itmLPlay->trigger();
        PlayOutCurrentSong();
        QCOMPARE(boxes->Asked().size(), 1);
        QCOMPARE(boxes->Asked().first().text, QString("Could not read data file."));
        // Nothing to show: the display does not start and nothing loops.
        QVERIFY(!w->tmr->isActive());
        QVERIFY(!w->tmrWait->isActive());
        QVERIFY(w->PlaylistPlaying);
        // Next goes on with the entry after it.
        w->cmdNext_Click();
        sim->clock.Advance(2000);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), (QList<int>{0, 1, 2}));
        QVERIFY(w->tmr->isActive());
    }

    void removedRowsArePassedOver() {
        LoadPlaylist(5);
        w->itmLPlay->trigger();  // order 0 1 2 3 4
        w->playlist->RemoveEntry(4);
        w->playlist->RemoveEntry(3);
        w->playlist->RemoveEntry(1);
        PlayOutCurrentSong();
        PlayOutCurrentSong();
        // Rows 0 and 1 (song 2, Winamp's track 2 from 0) remain; the positions that name
        // rows 2 to 4 are passed over and playback ends.
        QCOMPARE(Moves(), (QList<int>{0, 2}));
        QVERIFY(!w->PlaylistPlaying);
    }

    void newPlaylistLeavesPlayWithTheLyricsFile() {
        LoadPlaylist(2);
        w->lstList->setCurrentRow(1);
        QVERIFY(w->PlayFromPlaylist);
        w->OpenFile(dir.filePath("0.cx3"));
        QVERIFY(!w->PlayFromPlaylist);
        w->itmLNew->trigger();  // empties the list, which loses its selection
        QVERIFY(!w->PlayFromPlaylist);
        QCOMPARE(w->windowTitle(), QString("Song 0 - Band - Cantorix 3"));
        w->cmdPlay_Click();
        QVERIFY(w->tmr->isActive());
        QVERIFY(!w->PlaylistPlaying);
    }

    void emptyPlaylistDisablesPlay() {
        w->itmLPlay->setEnabled(true);
        w->itmLPlay_Click();
        QVERIFY(!w->itmLPlay->isEnabled());
        QVERIFY(!w->PlaylistPlaying);
    }

    void switchesShowTheirState() {
        for (auto [label, flip, flag] :
             {std::tuple{w->lblRand, &frmMain::lblRand_Click, &frmMain::RandomizeList},
              std::tuple{w->lblRepeat, &frmMain::lblRepeat_Click, &frmMain::RepeatList}}) {
            QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::black));
            QVERIFY(!label->font().bold());
            (w.get()->*flip)();
            QVERIFY(w.get()->*flag);
            QCOMPARE(label->palette().color(QPalette::Window), QColor(255, 128, 128));
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
            QVERIFY(label->font().bold());
            (w.get()->*flip)();
            QVERIFY(!(w.get()->*flag));
            QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::black));
        }
    }
};

QTEST_MAIN(tst_Playback)
#include "tst_playback.moc"
