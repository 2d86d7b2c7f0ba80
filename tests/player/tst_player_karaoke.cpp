// The karaoke fill and the overlay in the player's window, against a simulated Winamp on a
// manual clock: the switches of "&Settings" kept in cantorix.conf across a restart, the fill
// moving on with the song in the window and the overlay, held by a pause, gone at Stop, and
// nothing of it while the switch is off; the overlay locked and unlocked by its handle.
#include <QAction>
#include <QtTest>
#include <memory>

#include "lyrics/ConfFile.h"
#include "lyrics/LyricLabel.h"
#include "lyrics/LyricsPane.h"
#include "platform/Folders.h"
#include "player/Karaoke.h"
#include "player/Overlay.h"
#include "player/frmMain.h"
#include "support/Files.h"
#include "support/Find.h"
#include "support/Scripted.h"
#include "support/SimWinamp.h"

class tst_PlayerKaraoke : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<SimWinamp> sim;
    std::unique_ptr<testsupport::ScriptedBoxes> boxes;
    std::unique_ptr<testsupport::ScriptedDialogs> dialogs;
    std::unique_ptr<player::frmMain> w;

    void Start() {
        w = std::make_unique<player::frmMain>();
        w->Form_Load();
    }
    QAction* Item(const char* name) const { return testsupport::Child<QAction>(w.get(), name); }
    player::Overlay* TheOverlay() const { return w->findChild<player::Overlay*>(); }
    // Where the sung part of the current line ends in the window's pane and the overlay's,
    // as painted; 0 for none.
    QList<int> FillEnds() const {
        QList<int> ends;
        for (const QObject* pane :
             {static_cast<QObject*>(w.get()), static_cast<QObject*>(TheOverlay()->Pane())}) {
            const QRect sung = testsupport::Child<lyrics::LyricLabel>(pane, "lblCurrLine")
                                   ->SungRegion()
                                   .boundingRect();
            ends << (sung.isEmpty() ? 0 : sung.right());
        }
        return ends;
    }
    // A tick with Winamp at ms, then a frame of the fill.
    void At(qint64 ms) {
        sim->clock.Set(sim->clock.NowMs() + ms - sim->model.PositionMs());
        w->tmr_Timer();
        w->findChild<player::Karaoke*>()->Frame();
    }

  private slots:
    void init() {
        QFile::remove(platform::SettingsFilePath());
        QFile::remove(platform::ConfFilePath());
        sim = std::make_unique<SimWinamp>(2, 60);
        boxes = std::make_unique<testsupport::ScriptedBoxes>();
        dialogs = std::make_unique<testsupport::ScriptedDialogs>();
        Start();
    }
    void cleanup() {
        const int unexpected = boxes->Unexpected() + dialogs->Unexpected();
        w.reset();
        dialogs.reset();
        boxes.reset();
        sim.reset();
        QCOMPARE(unexpected, 0);
    }

    void fillFollowsTheSong_data() {
        QTest::addColumn<bool>("on");
        QTest::newRow("off: as ever") << false;
        QTest::newRow("on") << true;
    }
    void fillFollowsTheSong() {
        QFETCH(bool, on);
        QVERIFY(!Item("itmSKaraoke")->isChecked() && !Item("itmSOverlay")->isChecked() &&
                !Item("itmSLock")->isEnabled());
        if (on) {
            Item("itmSKaraoke")->trigger();
        }
        Item("itmSOverlay")->trigger();
        Start();    // what cantorix.conf keeps
        w->show();  // hidden panes are left for when they show
        QCOMPARE(Item("itmSKaraoke")->isChecked(), on);
        QVERIFY(Item("itmSOverlay")->isChecked() && TheOverlay()->Window()->isVisible());

        const QString song = dir.filePath("song.lrc");
        QVERIFY(testsupport::WriteBytes(
            song,
            "[00:01.00]<00:01.00>one <00:02.00>two <00:03.00>three\n[00:05.00]next\n"
            "[00:09.00]last\n"));
        dialogs->ChooseFile(song);
        w->cmdOpen_Click();
        w->cmdPlay_Click();
        auto* karaoke = w->findChild<player::Karaoke*>();
        At(1500);
        QCOMPARE(testsupport::Child<QLabel>(TheOverlay()->Pane(), "lblCurrLine")->text(),
                 "one two three");
        QCOMPARE(karaoke->IsRunning(), on);
        const QList<int> early = FillEnds();
        At(2500);
        const QList<int> later = FillEnds();
        if (!on) {
            QCOMPARE(later, QList<int>({0, 0}));
            return;
        }
        QVERIFY2(early[0] > 0 && later[0] > early[0] && later[1] > early[1],
                 qPrintable(QStringLiteral("%1,%2 then %3,%4")
                                .arg(early[0])
                                .arg(early[1])
                                .arg(later[0])
                                .arg(later[1])));
        w->cmdPause_Click();
        QVERIFY(!karaoke->IsRunning());
        karaoke->Frame();
        const QList<int> held = FillEnds();
        QVERIFY(held[0] >= later[0]);
        sim->clock.Set(sim->clock.NowMs() + 1000);
        QTest::qWait(60);
        karaoke->Frame();
        QCOMPARE(FillEnds(), held);
        w->cmdPause_Click();
        At(2600);
        QVERIFY(karaoke->IsRunning());
        w->cmdStop_Click();
        QVERIFY(!karaoke->IsRunning());
        QCOMPARE(FillEnds(), QList<int>({0, 0}));

        // Following the player: the fill runs over the lyrics found for what it plays.
        QVERIFY(lyrics::WriteLibraryFolder(platform::ConfFilePath(), dir.path()) &&
                QFile::copy(song, dir.filePath("Track 1.lrc")));
        Start();
        w->show();
        sim->model.Play();
        Item("itmPFollow")->trigger();
        QTRY_VERIFY([&] {
            At(1500);
            return w->findChild<player::Karaoke*>()->IsRunning() && FillEnds()[0] > 0;
        }());
    }

    void overlayLocksAndUnlocks() {
        QVERIFY(!Item("itmSLock")->isEnabled());
        Item("itmSOverlay")->trigger();
        Item("itmSLock")->trigger();
        QWidget* window = TheOverlay()->Window();
        QVERIFY(window->isVisible() &&
                window->windowFlags().testFlag(Qt::WindowTransparentForInput));
        QVERIFY(TheOverlay()->Handle()->isVisible());
        QVERIFY(lyrics::ReadConfFile(platform::ConfFilePath()).OverlayLocked);
        QTest::mouseClick(TheOverlay()->Handle(), Qt::LeftButton);
        QVERIFY(window->isVisible() &&
                !window->windowFlags().testFlag(Qt::WindowTransparentForInput));
        QVERIFY(!TheOverlay()->Handle()->isVisible() && !Item("itmSLock")->isChecked());
        QVERIFY(!lyrics::ReadConfFile(platform::ConfFilePath()).OverlayLocked);
        Item("itmSOverlay")->trigger();
        QVERIFY(!window->isVisible() && !Item("itmSLock")->isEnabled());
    }
};

QTEST_MAIN(tst_PlayerKaraoke)
#include "tst_player_karaoke.moc"
