// The Winamp link and menu against a window in this process that records what it receives.
#include <QAction>
#include <QtTest>
#include <algorithm>

#include "platform/LocalWindow.h"
#include "support/Scripted.h"
#include "winamp/Link.h"
#include "winamp/Messages.h"
#include "winamp/WinampMenu.h"

using platform::Message;
using platform::MsgResult;
using Sent = QList<QList<qint64>>;  // {msg, wParam, lParam, posted}

namespace {

struct RecordingWinamp {
    Sent received;
    platform::LRESULT answer = 0;
    platform::LocalWindow window{QString::fromLatin1(winamp::WindowClass),
                                 [this](const Message& m) {
                                     received.append({m.Msg, qint64(m.WParam), m.LParam, m.Posted});
                                     return answer;
                                 },
                                 platform::LocalWindow::Scope::Process};
};

}  // namespace

class TestWinamp : public QObject {
    Q_OBJECT

  private slots:
    // Without Winamp, Redetect says so and the five items that need it go off; once Winamp
    // runs it is found without a word and they come on. The items reach the link; Pause only
    // while Winamp plays or is paused.
    void menu() {
        QWidget owner;
        winamp::WinampLink link;
        winamp::WinampMenu menu(link, &owner, true, QStringLiteral("&Close..."));
        const QList<QAction*> five{menu.itmWPlay, menu.itmWStop, menu.itmWPause, menu.itmWJump,
                                   menu.itmWClose};
        const auto enabled = [&] {
            return long(
                std::count_if(five.begin(), five.end(), [](QAction* a) { return a->isEnabled(); }));
        };
        testsupport::ScriptedBoxes boxes;
        boxes.Answer(MsgResult::OK);
        QVERIFY(!menu.itmWRedetect_Click());
        QCOMPARE(enabled(), 0L);
        QVERIFY(menu.itmWRedetect->isEnabled());
        QCOMPARE(boxes.Texts(), QStringList{"Winamp Handle: Winamp is not running.\rYou may want "
                                            "to start it, and press F3 to try again."});
        QVERIFY(boxes.Asked()[0].Buttons == platform::MsgButtons::OK &&
                boxes.Asked()[0].Icon == platform::MsgIcon::Information);

        RecordingWinamp winamp;
        winamp.answer = 1;
        menu.itmWRedetect->trigger();
        QCOMPARE(enabled(), 5L);
        QCOMPARE(boxes.Asked().size(), 1);
        for (QAction* item : {menu.itmWPlay, menu.itmWPause, menu.itmWJump}) {
            item->trigger();
        }
        QCOMPARE(
            winamp.received,
            (Sent{{273, 40045, 0, 1}, {1024, 0, 104, 0}, {273, 40046, 0, 1}, {273, 40194, 0, 1}}));
        for (const platform::LRESULT state : {0, 2, 3, -1}) {
            winamp.received.clear();
            winamp.answer = state;
            menu.itmWPause->trigger();
            QCOMPARE(winamp.received.size(), state == 3 ? 2 : 1);
        }

        // Closing Winamp asks whether to end as well: Cancel keeps both, No closes Winamp only.
        winamp.received.clear();
        for (const MsgResult answer : {MsgResult::Cancel, MsgResult::No, MsgResult::Yes}) {
            boxes.Answer(answer);
            QCOMPARE(winamp::AskCloseWinamp(nullptr, link), answer == MsgResult::Yes);
        }
        QCOMPARE(winamp.received, (Sent{{273, 40001, 0, 1}, {273, 40001, 0, 1}}));
        QCOMPARE(boxes.Texts().value(3),
                 "Close Cantorix?: Would you like to close Cantorix 3 as well?");
        QVERIFY(boxes.Asked()[3].Buttons == platform::MsgButtons::YesNoCancel &&
                boxes.Asked()[3].Icon == platform::MsgIcon::Question);
    }
};

QTEST_MAIN(TestWinamp)
#include "tst_winamp.moc"
