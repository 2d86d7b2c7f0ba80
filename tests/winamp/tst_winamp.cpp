// The Winamp link and menu against a window in this process that records what it receives.
#include <QAction>
#include <QMenu>
#include <QtTest>

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
    std::u16string title, file;
    platform::LocalWindow window{
        QString::fromLatin1(winamp::WindowClass),
        [this](const Message& m) {
            received.append({m.Msg, qint64(m.WParam), m.LParam, m.Posted});
            return platform::WindowTextAnswer(title, m.Msg, m.WParam)
                .value_or(
                    platform::TextAnswer(file, winamp::PlayingFileQuery, m.Msg, m.WParam, m.LParam)
                        .value_or(answer));
        },
        platform::LocalWindow::Scope::Process};
};

}  // namespace

class TestWinamp : public QObject {
    Q_OBJECT

  private slots:
    // Without Winamp, Redetect says so and turns the items off; once Winamp runs it is found
    // without a word. The items reach the link; Pause only while Winamp plays or is paused.
    void menu() {
        QWidget owner;
        winamp::WinampLink link;
        winamp::WinampMenu menu(link, &owner, true, QStringLiteral("&Close..."));
        const auto item = [&menu](const char* name) {
            return menu.Menu()->findChild<QAction*>(QLatin1String(name));
        };
        int stopsAndCloses = 0;
        connect(&menu, &winamp::WinampMenu::StopChosen, [&] { stopsAndCloses += 1; });
        connect(&menu, &winamp::WinampMenu::CloseChosen, [&] { stopsAndCloses += 10; });
        testsupport::ScriptedBoxes boxes;
        boxes.Answer(MsgResult::OK);
        QVERIFY(!menu.itmWRedetect_Click());
        QVERIFY(!item("itmWPlay")->isEnabled());  // triggered below, it must come back on

        RecordingWinamp winamp;
        winamp.answer = 1;
        item("itmWRedetect")->trigger();
        QCOMPARE(boxes.Asked().size(), 1);
        for (const char* name : {"itmWPlay", "itmWPause", "itmWJump", "itmWStop", "itmWClose"}) {
            item(name)->trigger();
        }
        QCOMPARE(stopsAndCloses, 11);  // each program sends those two itself
        QCOMPARE(
            winamp.received,
            (Sent{{273, 40045, 0, 1}, {1024, 0, 104, 0}, {273, 40046, 0, 1}, {273, 40194, 0, 1}}));
        for (const platform::LRESULT state : {0, 2, 3, -1}) {
            winamp.received.clear();
            winamp.answer = state;
            item("itmWPause")->trigger();
            QCOMPARE(winamp.received.size(), state == 3 ? 2 : 1);
        }

        // Closing Winamp asks whether to end as well: Cancel keeps both, No closes Winamp only.
        winamp.received.clear();
        for (const MsgResult answer : {MsgResult::Cancel, MsgResult::No, MsgResult::Yes}) {
            boxes.Answer(answer);
            QCOMPARE(winamp::AskCloseWinamp(nullptr, link), answer == MsgResult::Yes);
            QCOMPARE(winamp.received,
                     (answer == MsgResult::Cancel ? Sent{} : Sent{{273, 40001, 0, 1}}));
            winamp.received.clear();
        }
        QCOMPARE(boxes.Texts().value(3),
                 "Close Cantorix?: Would you like to close Cantorix 3 as well?");
        QCOMPARE(boxes.Asked()[3].Buttons, platform::MsgButtons::YesNoCancel);
    }

    // What is playing, from a window title sent in pieces of four units: lengths around that.
    void nowPlaying_data() {
        QTest::addColumn<QString>("windowTitle");
        QTest::addColumn<QString>("track");  // artist|title
        // clang-format off
        QTest::newRow("playing") << "12. Sigur Rós - Hoppípolla - Winamp" << "Sigur Rós|Hoppípolla";
        QTest::newRow("paused") << "3. Artist - Title - Winamp [Paused]" << "Artist|Title";
        QTest::newRow("stopped, version") << "3. Artist - Title - Winamp 5.9 [Stopped]" << "Artist|Title";
        QTest::newRow("no number, scrolling stars") << "*** Artist - Title - Winamp ***" << "Artist|Title";
        QTest::newRow("no artist") << "7. Title - Winamp" << "|Title";
        QTest::newRow("song's own dashes and brackets") << "1. Band - Song - Live [Remix] - Winamp" << "Band|Song - Live [Remix]";
        QTest::newRow("no suffix, bracket kept") << "Band - Song [Live]" << "Band|Song [Live]";
        QTest::newRow("number that is the song") << "1999 - Winamp" << "|1999";
        QTest::newRow("beyond 16 bits") << "2. 🎸 Band - Sóng 🎵 - Winamp" << "🎸 Band|Sóng 🎵";
        QTest::newRow("nothing loaded") << "Winamp 5.9" << "|";
        QTest::newRow("empty") << "" << "|";
        // clang-format on
    }
    void nowPlaying() {
        QFETCH(QString, windowTitle);
        RecordingWinamp winamp;
        winamp.title = windowTitle.toStdU16String();
        winamp::WinampLink link;
        QVERIFY(link.Redetect());
        const winamp::NowPlayingTrack track = link.NowPlaying();
        QTEST(QString::fromStdU16String(track.Artist + u'|' + track.Title), "track");
    }

    // The playing file, read as the title is, in pieces of four units; one longer than a title
    // may be is no file, rather than another one cut short.
    void playingFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("read");
        const QString longest = '/' + QString(int(platform::LongestWindowText) - 1, u'x');
        // clang-format off
        QTest::newRow("none") << "" << "";
        QTest::newRow("one piece") << "/a/b" << "/a/b";
        QTest::newRow("a unit more") << "/a/bc" << "/a/bc";
        QTest::newRow("beyond 16 bits") << "/m/🎸 Sóng.flac" << "/m/🎸 Sóng.flac";
        QTest::newRow("longest") << longest << longest;
        QTest::newRow("too long") << longest + 'x' << "";
        // clang-format on
    }
    void playingFile() {
        QFETCH(QString, file);
        RecordingWinamp winamp;
        winamp.title = u"1. Band - Song - Winamp";
        winamp.file = file.toStdU16String();
        winamp::WinampLink link;
        QVERIFY(link.Redetect());
        const auto read = [&link] { return QString::fromStdU16String(link.NowPlaying().File); };
        QTEST(read(), "read");
        winamp.received.clear();  // unchanged: its length message alone says so
        QTEST(read(), "read");
        QCOMPARE(std::count_if(winamp.received.begin(), winamp.received.end(),
                               [](const QList<qint64>& m) { return m[0] == winamp::MsgUser; }),
                 1);
        winamp.file = u"/other.mp3";
        QCOMPARE(read(), "/other.mp3");
        winamp.title = u"Winamp";  // nothing loaded: no file either
        QCOMPARE(read(), "");
    }
};

QTEST_MAIN(TestWinamp)
#include "tst_winamp.moc"
