// The Winamp menu of both programs against a window in this process that records what
// it receives and answers the play-state query as the test says.
#include <QAction>
#include <QMenu>
#include <QWidget>
#include <QtTest>
#include <memory>

#include "platform/LocalWindow.h"
#include "support/Scripted.h"
#include "winamp/Link.h"
#include "winamp/Messages.h"
#include "winamp/WinampMenu.h"
#include "winamp/modOne.h"

using platform::Message;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using Variant = winamp::WinampMenu::Variant;

namespace {

struct RecordingWinamp {
    QList<Message> received;
    platform::LRESULT playState = 0;
    std::unique_ptr<platform::LocalWindow> window;

    RecordingWinamp() {
        window = std::make_unique<platform::LocalWindow>(
            QString::fromLatin1(winamp::WindowClass),
            [this](const Message& m) -> platform::LRESULT {
                received.append(m);
                if (m.msg == winamp::MsgUser && m.lParam == winamp::AskPlayState) {
                    return playState;
                }
                return 0;
            },
            platform::LocalWindow::Scope::Process);
    }
    // The commands posted, as wParam of message 273.
    QList<platform::WPARAM> Commands() const {
        QList<platform::WPARAM> out;
        for (const Message& m : received) {
            if (m.msg == winamp::MsgCommand && m.posted) {
                out.append(m.wParam);
            }
        }
        return out;
    }
};

QList<bool> FiveEnabled(const winamp::WinampMenu& menu) {
    return {menu.itmWPlay->isEnabled(), menu.itmWStop->isEnabled(), menu.itmWPause->isEnabled(),
            menu.itmWJump->isEnabled(), menu.itmWClose->isEnabled()};
}

}  // namespace

class tst_WinampMenu : public QObject {
    Q_OBJECT

  private slots:
    void init() { winamp::WinampHandle = 0; }

    // Without Winamp, Redetect says so and disables the other items; once Winamp runs it
    // finds it, enables them and says nothing.
    void redetect() {
        for (const Variant variant : {Variant::Player, Variant::Encoder}) {
            QWidget owner;
            winamp::WinampMenu menu(variant, &owner);
            testsupport::ScriptedBoxes boxes;
            boxes.Answer(MsgResult::OK);
            menu.itmWRedetect_Click();
            QCOMPARE(boxes.Asked().size(), 1);
            const platform::MsgBoxCall& box = boxes.Asked().first();
            QCOMPARE(box.title + ": " + box.text,
                     QString("Winamp Handle: Winamp is not running.\rYou may want to start it, "
                             "and press F3 to try again."));
            QVERIFY(box.buttons == MsgButtons::OK && box.icon == MsgIcon::Information);
            QCOMPARE(FiveEnabled(menu), QList<bool>(5, false));
            QVERIFY(menu.itmWRedetect->isEnabled());
            QCOMPARE(winamp::WinampHandle, platform::HWND(0));

            RecordingWinamp winamp;
            menu.itmWRedetect->trigger();
            QCOMPARE(boxes.Asked().size(), 1);
            QCOMPARE(winamp::WinampHandle, winamp.window->Handle());
            QCOMPARE(FiveEnabled(menu), QList<bool>(5, true));
        }
    }

    // Pause asks the play state first and toggles only while playing (1) or paused (3).
    void pauseOnlyWhenPlayingOrPaused() {
        RecordingWinamp winamp;
        QWidget owner;
        winamp::WinampMenu menu(Variant::Player, &owner);
        menu.itmWRedetect_Click();
        for (const platform::LRESULT state : {0, 1, 2, 3, -1}) {
            winamp.received.clear();
            winamp.playState = state;
            menu.itmWPause->trigger();
            QVERIFY(!winamp.received.first().posted);
            QCOMPARE(winamp.received.first().lParam, winamp::AskPlayState);
            QCOMPARE(winamp.Commands(), state == 1 || state == 3
                                            ? QList<platform::WPARAM>{winamp::CmdPause}
                                            : QList<platform::WPARAM>{});
        }
    }

    // Each item posts its one command, the player's Close without a question; the player's
    // Stop fades unless "&Immediate" is ticked, the encoder's always stops at once.
    void commands_data() {
        QTest::addColumn<int>("variant");
        QTest::addColumn<bool>("immediate");
        QTest::addColumn<QString>("item");
        QTest::addColumn<platform::WPARAM>("command");
        auto row = [](const char* name, Variant v, bool immediate, const char* item,
                      platform::WPARAM command) {
            QTest::newRow(name) << int(v) << immediate << QString(item) << command;
        };
        row("player play", Variant::Player, false, "itmWPlay", winamp::CmdPlay);
        row("player stop fade", Variant::Player, false, "itmWStop", winamp::CmdFadeStop);
        row("player stop immediate", Variant::Player, true, "itmWStop", winamp::CmdStop);
        row("player jump", Variant::Player, false, "itmWJump", winamp::CmdJumpToFile);
        row("player close", Variant::Player, false, "itmWClose", winamp::CmdClose);
        row("encoder stop", Variant::Encoder, false, "itmWStop", winamp::CmdStop);
    }
    void commands() {
        QFETCH(int, variant);
        QFETCH(bool, immediate);
        QFETCH(QString, item);
        QFETCH(platform::WPARAM, command);
        RecordingWinamp winamp;
        QWidget owner;
        winamp::WinampMenu menu(Variant(variant), &owner);
        if (variant == int(Variant::Player)) {
            menu.ImmediateStop = [immediate] { return immediate; };
        }
        testsupport::ScriptedBoxes boxes;  // the player's Close asks nothing
        menu.itmWRedetect_Click();
        menu.mnuWinamp->findChild<QAction*>(item)->trigger();
        QCOMPARE(winamp.Commands(), QList<platform::WPARAM>{command});
        QCOMPARE(winamp.received.first().lParam, platform::LPARAM(0));
        QCOMPARE(boxes.Asked().size(), 0);
    }

    void encoderClose_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("closesWinamp");
        QTest::addColumn<bool>("endsEncoder");
        QTest::newRow("cancel") << MsgResult::Cancel << false << false;
        QTest::newRow("no") << MsgResult::No << true << false;
        QTest::newRow("yes") << MsgResult::Yes << true << true;
    }
    void encoderClose() {
        QFETCH(MsgResult, answer);
        QFETCH(bool, closesWinamp);
        QFETCH(bool, endsEncoder);
        RecordingWinamp winamp;
        QWidget owner;
        winamp::WinampMenu menu(Variant::Encoder, &owner);
        bool ended = false;
        menu.EndProgram = [&] { ended = true; };
        menu.itmWRedetect_Click();
        testsupport::ScriptedBoxes boxes;
        boxes.Answer(answer);
        menu.itmWClose_Click();
        QCOMPARE(boxes.Asked().size(), 1);
        const platform::MsgBoxCall& box = boxes.Asked().first();
        QCOMPARE(box.title + ": " + box.text,
                 QString("Close Cantorix?: Would you like to close Cantorix 3 as well?"));
        QVERIFY(box.buttons == MsgButtons::YesNoCancel && box.icon == MsgIcon::Question);
        QCOMPARE(winamp.Commands(), closesWinamp ? QList<platform::WPARAM>{winamp::CmdClose}
                                                 : QList<platform::WPARAM>{});
        QCOMPARE(ended, endsEncoder);
        // Close never touches the handle or the menu.
        QCOMPARE(winamp::WinampHandle, winamp.window->Handle());
        QCOMPARE(FiveEnabled(menu), QList<bool>(5, true));
    }

    // Winamp closed behind our back: the handle stays until Redetect, answers nothing, and
    // a new Winamp is a new window that the old handle does not reach.
    void winampGoneKeepsHandleUntilRedetect() {
        QWidget owner;
        winamp::WinampMenu menu(Variant::Player, &owner);
        auto winamp = std::make_unique<RecordingWinamp>();
        winamp->playState = 1;
        menu.itmWRedetect_Click();
        const platform::HWND old = winamp::WinampHandle;
        QCOMPARE(winamp::PlayState(), platform::LRESULT(1));
        winamp.reset();
        QCOMPARE(winamp::WinampHandle, old);
        QCOMPARE(FiveEnabled(menu), QList<bool>(5, true));
        menu.itmWPause_Click();  // asks, gets 0, sends nothing; nothing to crash on
        RecordingWinamp again;
        QVERIFY(again.window->Handle() != old);
        QCOMPARE(winamp::PlayState(), platform::LRESULT(0));
        QVERIFY(again.received.isEmpty());
    }
};

QTEST_MAIN(tst_WinampMenu)
#include "tst_winampmenu.moc"
