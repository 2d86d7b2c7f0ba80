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

    void menuLayout_data() {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("player") << int(Variant::Player)
                                << QStringList{"&Play",       "&Stop", "P&ause",    "",
                                               "&Jump to...", "",      "&Redetect", "&Close"}
                                << QStringList{"", "", "", "", "F4", "", "F3", ""};
        QTest::newRow("encoder") << int(Variant::Encoder)
                                 << QStringList{"&Play",       "&Stop", "P&ause",    "",
                                                "&Jump to...", "",      "&Redetect", "&Close..."}
                                 << QStringList{"F6", "F7", "F8", "", "F4", "", "F3", ""};
    }
    void menuLayout() {
        QFETCH(int, variant);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, keys);
        QWidget owner;
        winamp::WinampMenu menu(Variant(variant), &owner);
        QCOMPARE(menu.mnuWinamp->title(), QString("&Winamp"));
        QStringList gotCaptions, gotKeys;
        for (QAction* a : menu.mnuWinamp->actions()) {
            gotCaptions << (a->isSeparator() ? QString() : a->text());
            gotKeys << a->shortcut().toString();
        }
        QCOMPARE(gotCaptions, captions);
        QCOMPARE(gotKeys, keys);
    }

    void redetectWithoutWinamp_data() {
        QTest::addColumn<int>("variant");
        QTest::newRow("player") << int(Variant::Player);
        QTest::newRow("encoder") << int(Variant::Encoder);
    }
    void redetectWithoutWinamp() {
        QFETCH(int, variant);
        QWidget owner;
        winamp::WinampMenu menu(Variant(variant), &owner);
        testsupport::ScriptedBoxes boxes;
        boxes.Answer(MsgResult::OK);
        menu.itmWRedetect_Click();
        QCOMPARE(boxes.Asked().size(), 1);
        const platform::MsgBoxCall& box = boxes.Asked().first();
        QCOMPARE(box.title, QString("Winamp Handle"));
        QCOMPARE(box.text, QString("Winamp is not running.\rYou may want to start it, and press "
                                   "F3 to try again."));
        QCOMPARE(box.buttons, MsgButtons::OK);
        QCOMPARE(box.icon, MsgIcon::Information);
        QCOMPARE(FiveEnabled(menu), QList<bool>(5, false));
        QVERIFY(menu.itmWRedetect->isEnabled());
        QCOMPARE(winamp::WinampHandle, platform::HWND(0));

        // Winamp started afterwards: F3 finds it, enables the items, says nothing.
        RecordingWinamp winamp;
        menu.itmWRedetect_Click();
        QCOMPARE(boxes.Asked().size(), 1);
        QCOMPARE(winamp::WinampHandle, winamp.window->Handle());
        QCOMPARE(FiveEnabled(menu), QList<bool>(5, true));
        QCOMPARE(boxes.Unexpected(), 0);
    }

    void pauseOnlyWhenPlayingOrPaused_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("toggles");
        QTest::newRow("stopped") << 0 << false;
        QTest::newRow("playing") << 1 << true;
        QTest::newRow("unknown 2") << 2 << false;
        QTest::newRow("paused") << 3 << true;
        QTest::newRow("negative") << -1 << false;
    }
    void pauseOnlyWhenPlayingOrPaused() {
        QFETCH(int, state);
        QFETCH(bool, toggles);
        RecordingWinamp winamp;
        winamp.playState = state;
        QWidget owner;
        winamp::WinampMenu menu(Variant::Player, &owner);
        menu.itmWRedetect_Click();
        menu.itmWPause_Click();
        QCOMPARE(winamp.received.size(), toggles ? 2 : 1);
        const Message& ask = winamp.received.first();
        QVERIFY(!ask.posted);
        QCOMPARE(ask.msg, winamp::MsgUser);
        QCOMPARE(ask.lParam, winamp::AskPlayState);
        QCOMPARE(winamp.Commands(),
                 toggles ? QList<platform::WPARAM>{winamp::CmdPause} : QList<platform::WPARAM>{});
    }

    void commands_data() {
        QTest::addColumn<int>("variant");
        QTest::addColumn<bool>("immediate");
        QTest::addColumn<QString>("item");
        QTest::addColumn<platform::WPARAM>("command");
        QTest::newRow("player play")
            << int(Variant::Player) << false << "itmWPlay" << winamp::CmdPlay;
        QTest::newRow("player stop fade")
            << int(Variant::Player) << false << "itmWStop" << winamp::CmdFadeStop;
        QTest::newRow("player stop immediate")
            << int(Variant::Player) << true << "itmWStop" << winamp::CmdStop;
        QTest::newRow("player jump")
            << int(Variant::Player) << false << "itmWJump" << winamp::CmdJumpToFile;
        QTest::newRow("player close")
            << int(Variant::Player) << false << "itmWClose" << winamp::CmdClose;
        QTest::newRow("encoder stop")
            << int(Variant::Encoder) << false << "itmWStop" << winamp::CmdStop;
        QTest::newRow("encoder play")
            << int(Variant::Encoder) << false << "itmWPlay" << winamp::CmdPlay;
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
        QAction* action = menu.mnuWinamp->findChild<QAction*>(item);
        QVERIFY(action);
        action->trigger();
        QCOMPARE(winamp.Commands(), QList<platform::WPARAM>{command});
        QCOMPARE(winamp.received.first().lParam, platform::LPARAM(0));
        QCOMPARE(boxes.Asked().size(), 0);
        QCOMPARE(boxes.Unexpected(), 0);
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
        QCOMPARE(boxes.Asked().first().title, QString("Close Cantorix?"));
        QCOMPARE(boxes.Asked().first().text,
                 QString("Would you like to close Cantorix 3 as well?"));
        QCOMPARE(boxes.Asked().first().buttons, MsgButtons::YesNoCancel);
        QCOMPARE(boxes.Asked().first().icon, MsgIcon::Question);
        QCOMPARE(winamp.Commands(), closesWinamp ? QList<platform::WPARAM>{winamp::CmdClose}
                                                 : QList<platform::WPARAM>{});
        QCOMPARE(ended, endsEncoder);
        // Close never touches the handle or the menu.
        QCOMPARE(winamp::WinampHandle, winamp.window->Handle());
        QCOMPARE(FiveEnabled(menu), QList<bool>(5, true));
    }

    void winampGoneKeepsHandleUntilRedetect() {
        QWidget owner;
        winamp::WinampMenu menu(Variant::Player, &owner);
        auto winamp = std::make_unique<RecordingWinamp>();
        winamp->playState = 1;
        menu.itmWRedetect_Click();
        const platform::HWND old = winamp::WinampHandle;
        QCOMPARE(winamp::PlayState(), platform::LRESULT(1));
        winamp.reset();  // Winamp closed behind our back
        QCOMPARE(winamp::WinampHandle, old);
        QCOMPARE(FiveEnabled(menu), QList<bool>(5, true));
        QCOMPARE(winamp::PlayState(), platform::LRESULT(0));
        QCOMPARE(winamp::PositionMs(), platform::LRESULT(0));
        QCOMPARE(winamp::ListPosition(), platform::LRESULT(0));
        menu.itmWPause_Click();  // asks, gets 0, sends nothing; nothing to crash on

        // A new Winamp is a new window: the old handle stays dead.
        RecordingWinamp again;
        QVERIFY(again.window->Handle() != old);
        QCOMPARE(winamp::PlayState(), platform::LRESULT(0));
        QVERIFY(again.received.isEmpty());
    }

    void listPositionCommand() {
        RecordingWinamp winamp;
        QWidget owner;
        winamp::WinampMenu menu(Variant::Player, &owner);
        menu.itmWRedetect_Click();
        winamp::SetListPosition(6);
        winamp::Play();
        QCOMPARE(winamp.received.size(), 2);
        QCOMPARE(winamp.received[0].msg, winamp::MsgUser);
        QCOMPARE(winamp.received[0].wParam, platform::WPARAM(6));
        QCOMPARE(winamp.received[0].lParam, winamp::SetListPositionTo);
        QVERIFY(winamp.received[0].posted);
        QCOMPARE(winamp.received[1].wParam, winamp::CmdPlay);
    }
};

QTEST_MAIN(tst_WinampMenu)
#include "tst_winampmenu.moc"
