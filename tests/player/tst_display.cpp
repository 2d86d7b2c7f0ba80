// The player's lyric display against a simulated Winamp on a manual clock: what the
// labels, caption, buttons and menus show, and what Winamp is told.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "PlayerFixture.h"
#include "player/ImageButton.h"
#include "player/frmMain.h"
#include "support/Scripted.h"
#include "winamp/WinampMenu.h"
#include "winamp/modOne.h"

using platform::MsgResult;
using player::frmMain;

namespace {

const QByteArray WorkedExample =
    "\"Paper Lanterns - The Quiet Harbour\"\r\n"
    "12.48,\"We hung our wishes on the wire\"\r\n"
    "17.952,\"and watched them drift above the town\"\r\n"
    ",\"paper lanterns, burning low\"\r\n";

const char Garbage[] = "\x01\x02\"\xff\xfe\x00,\x80\x81\r\n\x7f\"garbage";

// Eight lines one second apart, for catching up and jumping.
QByteArray EightLines() {
    QByteArray out = "\"Counting - The Numbers\"\r\n";
    for (int i = 1; i <= 8; ++i) {
        out += QByteArray::number(i) + ",\"line " + QByteArray::number(i) + "\"\r\n";
    }
    return out;
}

// Visible, enabled: what the state table says of each button and its menu item.
struct Transport {
    bool play, pause, stop, open, next;
    bool operator==(const Transport&) const = default;
};

Transport Buttons(const frmMain& w) {
    return {!w.cmdPlay->isHidden(), !w.cmdPause->isHidden(), !w.cmdStop->isHidden(),
            !w.cmdOpen->isHidden(), !w.cmdNext->isHidden()};
}
Transport Items(const frmMain& w) {
    return {w.itmPPlay->isEnabled(), w.itmPPause->isEnabled(), w.itmPStop->isEnabled(),
            w.itmPOpen->isEnabled(), w.itmPNext->isEnabled()};
}

constexpr Transport Empty{false, false, false, true, false};
constexpr Transport Ready{true, false, false, true, false};
constexpr Transport Playing{false, true, true, false, false};

}  // namespace

QT_BEGIN_NAMESPACE
namespace QTest {
template <>
char* toString(const Transport& t) {
    return qstrdup(QStringLiteral("play %1 pause %2 stop %3 open %4 next %5")
                       .arg(t.play)
                       .arg(t.pause)
                       .arg(t.stop)
                       .arg(t.open)
                       .arg(t.next)
                       .toUtf8()
                       .constData());
}
}  // namespace QTest
QT_END_NAMESPACE

class tst_Display : public QObject, PlayerFixture {
    Q_OBJECT

    // Opens a file through the Open button, as a user would.
    void Open(const QString& path) {
        dialogs->ChooseFile(path);
        w->cmdOpen_Click();
    }

    // Moves Winamp's clock to ms after the moment Play was posted, and ticks once.
    qint64 playStart = 0;
    void TickAt(qint64 ms) {
        sim->clock.Set(playStart + ms);
        w->tmr_Timer();
    }
    void Play() {
        playStart = sim ? sim->clock.NowMs() : 0;
        w->cmdPlay_Click();
    }

  private slots:
    void init() {
        Prepare();
        Start();
    }
    void cleanup() { Finish(); }

    void startsEmpty() {
        QCOMPARE(w->windowTitle(), QString("Cantorix 3"));
        QCOMPARE(w->lblCurrLine->text(), QString(":o)"));
        QCOMPARE(w->lblNextLine->text(), QString(":o)"));
        QCOMPARE(Buttons(*w), Empty);
        QCOMPARE(Items(*w), Empty);
        QVERIFY(!w->tmr->isActive());
        QCOMPARE(w->tmr->interval(), 40);
        QVERIFY(w->itmOSFade[0]->isChecked());
        QVERIFY(!w->itmOSFade[1]->isChecked());
        QCOMPARE(w->cmdNext->pos(), w->cmdPlay->pos());
        QStringList menus;
        for (QAction* a : w->menuBar()->actions()) {
            menus << a->text();
        }
        QCOMPARE(menus, (QStringList{"&Playback", "P&laylist", "&Settings", "&Winamp", "&Help"}));
        QStringList playback;
        for (QAction* a : w->mnuPlayback->actions()) {
            playback << (a->isSeparator() ? "-" : a->text() + " " + a->shortcut().toString());
        }
        QCOMPARE(playback, (QStringList{"&Play F5", "P&ause F6", "&Stop F7", "&Next F8", "-",
                                        "&Open File... Ctrl+F"}));
    }

    void openChoosesByLastThreeCharacters_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("loads");
        QTest::newRow("cx3") << "song.cx3" << true;
        QTest::newRow("upper case") << "SONG.CX3" << true;
        QTest::newRow("cx2") << "old.cx2" << true;
        QTest::newRow("txt typed") << "song.txt" << false;
        QTest::newRow("no dot") << "songcx3" << true;
    }
    void openChoosesByLastThreeCharacters() {
        QFETCH(QString, name);
        QFETCH(bool, loads);
        Open(Write(name, WorkedExample));
        QCOMPARE(dialogs->Asked().size(), 1);
        const platform::DialogRequest& asked = dialogs->Asked().first();
        QCOMPARE(asked.kind, platform::DialogKind::Open);
        QCOMPARE(asked.filter, QString("Cantorix Files (*.cx3, *.cx2, *.cxp)|*.cx3;*.cx2;*.cxp"));
        QCOMPARE(asked.flags, 6148);
        QCOMPARE(w->LyricLines.LastLine, qint16(loads ? 2 : -1));
        QCOMPARE(w->windowTitle(), loads
                                       ? QString("Paper Lanterns - The Quiet Harbour - Cantorix 3")
                                       : QString("Cantorix 3"));
        QCOMPARE(w->lblNextLine->text(),
                 loads ? QString("We hung our wishes on the wire") : QString(":o)"));
        QCOMPARE(w->lblCurrLine->text(), QString(":o)"));
        QCOMPARE(Buttons(*w), loads ? Ready : Empty);
        QCOMPARE(w->itmLAdd->isEnabled(), loads);
    }

    void cancelledOpenChangesNothing() {
        dialogs->Cancel();
        w->cmdOpen_Click();
        QCOMPARE(Buttons(*w), Empty);
        QCOMPARE(w->windowTitle(), QString("Cantorix 3"));
        QCOMPARE(boxes->Asked().size(), 0);
    }

    void playFollowsWinamp() {
        Open(Write("a.cx3", WorkedExample));
        sim->Clear();
        Play();
        // Play, then stop at the end of the track so the next entry starts from our side.
        QCOMPARE(sim->Posts(), (QStringList{SimWinamp::Command(40045), SimWinamp::Command(40157)}));
        QCOMPARE(Buttons(*w), Playing);
        QCOMPARE(Items(*w), Playing);
        QVERIFY(w->tmr->isActive());
        QCOMPARE(w->lblCurrLine->text(), QString("We hung our wishes on the wire"));
        QCOMPARE(w->lblNextLine->text(), QString("and watched them drift above the town"));

        TickAt(12479);
        QCOMPARE(w->lblCurrLine->text(), QString("We hung our wishes on the wire"));
        TickAt(12480);  // an equal time counts as reached
        QCOMPARE(w->lblCurrLine->text(), QString("and watched them drift above the town"));
        QCOMPARE(w->lblNextLine->text(), QString("paper lanterns, burning low"));
        QCOMPARE(w->CurrentLine, qint16(1));
        TickAt(17952);
        QCOMPARE(w->lblCurrLine->text(), QString("paper lanterns, burning low"));
        QCOMPARE(w->lblNextLine->text(), QString("(end of song)"));
        QVERIFY(!w->tmr->isActive());
        // Winamp plays the song to its end by itself.
        QCOMPARE(sim->Posts(), (QStringList{SimWinamp::Command(40045), SimWinamp::Command(40157)}));
        QCOMPARE(sim->model.PlayState(), winampsim::Winamp::State::Playing);
        QCOMPARE(Buttons(*w), Ready);
        QCOMPARE(Items(*w), Ready);
    }

    void jumpsAheadOneLinePerTickAndNeverBack() {
        Open(Write("count.cx3", EightLines()));
        Play();
        TickAt(5500);  // five lines due at once
        QStringList seen;
        for (int i = 0; i < 5; ++i) {
            seen << w->lblCurrLine->text();
            TickAt(5500);
        }
        QCOMPARE(seen, (QStringList{"line 2", "line 3", "line 4", "line 5", "line 6"}));
        QCOMPARE(w->lblCurrLine->text(), QString("line 6"));
        QCOMPARE(w->CurrentLine, qint16(5));
        // Winamp jumps back: the display stands still until the time comes round again.
        for (qint64 ms : {1000, 2000, 5999}) {
            TickAt(ms);
            QCOMPARE(w->lblCurrLine->text(), QString("line 6"));
        }
        TickAt(6000);
        QCOMPARE(w->lblCurrLine->text(), QString("line 7"));
    }

    void pauseAndResume() {
        Open(Write("a.cx3", WorkedExample));
        Play();
        sim->Clear();
        w->cmdPause_Click();
        QCOMPARE(w->windowTitle(),
                 QString("-- PAUSED -- Paper Lanterns - The Quiet Harbour - Cantorix 3"));
        QVERIFY(!w->tmr->isActive());
        QCOMPARE(sim->model.PlayState(), winampsim::Winamp::State::Paused);
        QCOMPARE(Buttons(*w), Playing);
        w->itmPPause->trigger();
        QCOMPARE(w->windowTitle(), QString("Paper Lanterns - The Quiet Harbour - Cantorix 3"));
        QVERIFY(w->tmr->isActive());
        QCOMPARE(sim->model.PlayState(), winampsim::Winamp::State::Playing);
        QCOMPARE(sim->Posts(), (QStringList{SimWinamp::Command(40046), SimWinamp::Command(40046)}));
    }

    void pauseWhileWinampStoppedDoesNothing() {
        Open(Write("a.cx3", WorkedExample));
        Play();
        sim->model.Stop();  // stopped behind the player's back
        sim->Clear();
        const QString caption = w->windowTitle();
        w->cmdPause_Click();
        QCOMPARE(w->windowTitle(), caption);
        QVERIFY(w->tmr->isActive());
        QCOMPARE(sim->Posts(), QStringList{});
    }

    void stopByStopMode_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("command");
        QTest::newRow("fade") << 0 << 40147;
        QTest::newRow("immediate") << 1 << 40047;
    }
    void stopByStopMode() {
        QFETCH(int, mode);
        QFETCH(int, command);
        w->itmOSFade[size_t(mode)]->trigger();
        QCOMPARE(w->itmOSFade[0]->isChecked(), mode == 0);
        QCOMPARE(w->itmOSFade[1]->isChecked(), mode == 1);
        Open(Write("a.cx3", WorkedExample));
        Play();
        TickAt(13000);
        sim->Clear();
        w->itmPStop->trigger();
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(platform::WPARAM(command))});
        QVERIFY(!w->tmr->isActive());
        QCOMPARE(Buttons(*w), Ready);
        QCOMPARE(Items(*w), Ready);
        // Play again starts from the first line.
        Play();
        QCOMPARE(w->lblCurrLine->text(), QString("We hung our wishes on the wire"));
    }

    void badFilesSayCouldNotRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("create");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("rowsKept");
        QTest::newRow("missing") << QByteArray() << false << "Cantorix 3" << 0;
        QTest::newRow("time not a number")
            << QByteArray("\"T - A\"\r\n1,\"one\"\r\nabc,\"two\"\r\n") << true << "Cantorix 3" << 2;
        QTest::newRow("binary garbage")
            << QByteArray::fromRawData(Garbage, sizeof Garbage - 1) << true << "Cantorix 3" << -1;
        QTest::newRow("header only")
            << QByteArray("\"Only - A Title\"\r\n") << true << "Only - A Title - Cantorix 3" << 0;
    }
    void badFilesSayCouldNotRead() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, create);
        QFETCH(QString, caption);
        QFETCH(int, rowsKept);
        const QString path = create ? Write("bad.cx3", bytes) : dir.filePath("none.cx3");
        boxes->Answer(MsgResult::OK);
        Open(path);
        QCOMPARE(boxes->Asked().size(), 1);
        QCOMPARE(boxes->Asked().first().title, QString("Playlist Loader"));
        QCOMPARE(boxes->Asked().first().text, QString("Could not read data file."));
        QCOMPARE(boxes->Asked().first().icon, platform::MsgIcon::Exclamation);
        QCOMPARE(boxes->Asked().first().buttons, platform::MsgButtons::OK);
        QCOMPARE(w->windowTitle(), caption);
        if (rowsKept >= 0) {  // rows read before the failure stay
            QCOMPARE(int(w->LyricLines.LastLine) + 1, rowsKept);
        }
        // The Open command completes its own steps whatever the load did.
        QCOMPARE(Buttons(*w), Ready);
        QCOMPARE(w->lblNextLine->text(), QString(":o)"));
    }

    void singleLineSongEndsAtOnce() {
        Open(Write("one.cx3", "\"One - Line\"\r\n3.5,\"the only line\"\r\n"));
        Play();
        QCOMPARE(w->lblCurrLine->text(), QString("the only line"));
        QCOMPARE(w->lblNextLine->text(), QString("(end of song)"));
        QVERIFY(!w->tmr->isActive());
        QCOMPARE(Buttons(*w), Ready);
        QCOMPARE(sim->Posts(), (QStringList{SimWinamp::Command(40045), SimWinamp::Command(40157)}));
    }

    void playWithoutWinampSaysSoAndStaysReady() {
        Open(Write("a.cx3", WorkedExample));
        sim.reset();
        boxes->Answer(MsgResult::OK);
        Play();
        QCOMPARE(boxes->Asked().size(), 1);
        QCOMPARE(boxes->Asked().first().title, QString("Winamp Handle"));
        QVERIFY(!w->tmr->isActive());
        QCOMPARE(Buttons(*w), Ready);
        QVERIFY(!w->winampMenu->itmWPlay->isEnabled());
    }

    void winampGoneDuringPlayStandsStill() {
        Open(Write("a.cx3", WorkedExample));
        Play();
        sim.reset();
        for (int i = 0; i < 5; ++i) {
            w->tmr_Timer();
        }
        QCOMPARE(w->lblCurrLine->text(), QString("We hung our wishes on the wire"));
        QVERIFY(w->tmr->isActive());
        QCOMPARE(boxes->Asked().size(), 0);
    }

    void nextOutsidePlaylistStops() {
        Open(Write("a.cx3", WorkedExample));
        Play();
        sim->Clear();
        w->cmdNext_Click();
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(40147)});
        QCOMPARE(Buttons(*w), Ready);
    }

    void rightClickOnCurrentLineOpensPlayback() {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTest::mouseClick(w->lblCurrLine, Qt::LeftButton);
        QVERIFY(!w->mnuPlayback->isVisible());
        QTest::mouseClick(w->lblCurrLine, Qt::RightButton);
        QTRY_VERIFY(w->mnuPlayback->isVisible());
        w->mnuPlayback->hide();
    }
};

QTEST_MAIN(tst_Display)
#include "tst_display.moc"
