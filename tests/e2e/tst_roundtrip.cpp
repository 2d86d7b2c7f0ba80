// The round trip against the real winamp-sim: the encoder's wizard and capture, and the player
// playing the file just written; then the player's tick and the capture while that Winamp
// freezes, dies or starts again.
#include <signal.h>
#include <sys/wait.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include "encoder/frmMain.h"
#include "player/frmMain.h"
#include "support/Files.h"
#include "support/Find.h"
#include "support/Scripted.h"
#include "support/WindowProcess.h"
#include "winamp/Link.h"

using platform::MsgResult;
using testsupport::Child;
using testsupport::TempPath;
using testsupport::WriteBytes;

// What winamp-sim's trace (--trace FILE) says was posted to it: "msg wParam lParam | ...".
static QString TracedPosts(const QString& path) {
    static const QRegularExpression post(R"(^\d+ post (.*)$)", QRegularExpression::MultilineOption);
    QStringList posts;
    for (auto m = post.globalMatch(QString::fromLatin1(testsupport::ReadBytes(path)));
         m.hasNext();) {
        posts << m.next().captured(1);
    }
    return posts.join(" | ");
}

// Stops the process and waits, without handling events, until it is stopped.
static bool Freeze(qint64 pid) {
    siginfo_t info{};
    return ::kill(pid_t(pid), SIGSTOP) == 0 &&
           ::waitid(P_PID, id_t(pid), &info, WSTOPPED | WNOWAIT) == 0;
}

class tst_RoundTrip : public QObject {
    Q_OBJECT
    QProcess sim;
    QProcess replacement;

    bool StartSim(QProcess& process, const QStringList& arguments) {
        return testsupport::StartWindowProcess(process, CANTORIX_BIN_DIR "/winamp-sim",
                                               QStringList{"--headless"} + arguments,
                                               "Winamp v1.x") != 0;
    }

  private slots:
    void cleanup() {
        for (QProcess* process : {&sim, &replacement}) {
            process->kill();  // frozen or not
            process->waitForFinished(20000);
        }
    }

    void wizardCaptureAndPlayback() {
        testsupport::ScriptedBoxes boxes;
        testsupport::ScriptedDialogs dialogs;
        testsupport::ScriptedModal modal;
        const QString trace = TempPath("sim.log"), source = TempPath("song.txt");
        QVERIFY(WriteBytes(TempPath("song.m3u"), "#EXTINF:6,Song One\nsong.mp3\n"));
        QVERIFY(WriteBytes(source, "First line\r\nSecond line\r\nLast line\r\n"));
        QVERIFY(StartSim(sim, {"--trace", trace, "--speed", "2", TempPath("song.m3u")}));

        encoder::frmMain encoder;
        encoder.Form_Load();
        const auto button = [&](const char* name) { return Child<QPushButton>(&encoder, name); };
        dialogs.ChooseFile(source);
        modal.Next([](QDialog* d) { Child<QPushButton>(d, "cmdSave")->click(); });
        modal.Next([](QDialog* bio) {
            Child<QLineEdit>(bio, "txtArtist")->setText(" Band X ");
            Child<QLineEdit>(bio, "txtSong")->setText("Song One");
            Child<QPushButton>(bio, "cmdOK")->click();
        });
        dialogs.ChooseFile(TempPath("Band X - Song One.cx3"));
        boxes.Answer(MsgResult::Yes);  // Winamp's jump dialog, to pick the song
        button("cmdOpen")->click();
        QCOMPARE(dialogs.Asked().value(1).FileName, "Band X - Song One.cx3");  // from the fields
        QCOMPARE(encoder.windowTitle(), "Song One - Band X - Cantorix 3 Encoder");

        // Next Line as the song passes 1, 2 and 3 s; the third press ends the capture.
        button("cmdPlay")->click();
        boxes.Answer(MsgResult::OK);
        winamp::WinampLink song;
        QVERIFY(song.Redetect());
        for (qint64 ms : {1000, 2000, 3000}) {
            QTRY_VERIFY_WITH_TIMEOUT(song.PositionMs() >= ms, 20000);
            button("cmdNext")->click();
        }
        QVERIFY(
            testsupport::ReadBytes(encoder.SavePath()).startsWith("\"Song One - Band X\"\r\n1."));

        player::frmMain player;
        player.Form_Load();
        QVERIFY(player.OpenFile(encoder.SavePath()));
        const auto* timer = Child<QTimer>(&player, "tmr");
        const auto* current = Child<QLabel>(&player, "lblCurrLine");
        QStringList shown;
        connect(timer, &QTimer::timeout, this, [&] {
            if (shown.value(shown.size() - 1) != current->text()) {
                shown << current->text();
            }
        });
        player.cmdPlay_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 20000);

        // The capture played and stopped the song; the player played it, had Winamp stop at its
        // end, and showed its lines in turn.
        QCOMPARE(TracedPosts(trace),
                 "273 40194 0 | 273 40045 0 | 273 40047 0 | 273 40045 0 | 273 40157 0");
        QCOMPARE(shown, (QStringList{"First line", "Second line", "Last line"}));
        QCOMPARE(boxes.Unexpected() + dialogs.Unexpected() + modal.Unexpected(), 0);
    }

    // A Winamp that stops answering holds a tick for less than a send's full wait; once it
    // answers again the display follows.
    void followingThroughAFreeze() {
        const QString lyrics = TempPath("freeze.cx3");
        QVERIFY(WriteBytes(lyrics, "\"Song - Band\"\r\n1,\"Before\"\r\n,\"After\"\r\n"));
        QVERIFY(StartSim(sim, {"--tracks", "1", "--length", "600"}));
        player::frmMain player;
        player.Form_Load();
        QVERIFY(player.OpenFile(lyrics));
        player.cmdPlay_Click();
        QVERIFY(Freeze(sim.processId()));  // before any tick of the player's own timer
        QElapsedTimer held;
        held.start();
        player.tmr_Timer();
        QVERIFY2(held.elapsed() >= winamp::TickWaitMs - 20 &&
                     held.elapsed() < platform::MaxSendWaitMs - 50,
                 qPrintable(QString::number(held.elapsed())));
        QTest::qWait(1200);  // the song runs on past the first line's end meanwhile
        const auto* current = Child<QLabel>(&player, "lblCurrLine");
        QCOMPARE(current->text(), "Before");
        QCOMPARE(::kill(pid_t(sim.processId()), SIGCONT), 0);
        QTRY_COMPARE_WITH_TIMEOUT(current->text(), "After", 2000);
    }

    // A Winamp closed, frozen, replaced, stopped or played again from the top before a press:
    // the press stops the capture with a message and Winamp is told to stop. The lines before
    // keep their times, written over the lyrics file only when the user says so.
    void lostWinamp_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("line");   // the line whose press finds it
        QTest::addColumn<bool>("save");  // the answer to the offer to save the lines timed
        QTest::newRow("closed") << "closed" << 2 << false;
        QTest::newRow("frozen") << "frozen" << 2 << true;
        QTest::newRow("closed and started again") << "replaced" << 2 << false;
        QTest::newRow("stopped") << "stopped" << 2 << true;
        QTest::newRow("stopped before the first press") << "stopped" << 1 << false;
        QTest::newRow("played again from the top") << "played again" << 2 << false;
    }
    void lostWinamp() {
        QFETCH(QString, fault);
        QFETCH(int, line);
        QFETCH(bool, save);
        testsupport::ScriptedBoxes boxes;
        const QByteArray old = "\"Song - Band\"\r\n1,\"A\"\r\n2,\"B\"\r\n3,\"C\"\r\n";
        const QString lyrics = TempPath("song.cx3"), source = TempPath("song.txt");
        QVERIFY(WriteBytes(lyrics, old) && WriteBytes(source, "A\r\nB\r\nC\r\n"));
        const QStringList song{"--speed", "8", "--tracks", "1", "--length", "600"};
        winamp::WinampLink link;
        QVERIFY(StartSim(sim, song) && link.Redetect());

        encoder::frmMain encoder;
        encoder.Form_Load();
        QVERIFY(encoder.TakeUpSong(source, lyrics, "Song - Band"));
        auto* play = Child<QPushButton>(&encoder, "cmdPlay");
        auto* next = Child<QPushButton>(&encoder, "cmdNext");
        play->click();
        QTRY_VERIFY_WITH_TIMEOUT(link.PositionMs() >= 8000, 20000);
        if (line == 2) {
            next->click();
        }
        if (fault == "closed" || fault == "replaced") {
            sim.kill();
            QVERIFY(sim.waitForFinished(20000));
        }
        if (fault == "replaced") {
            QVERIFY(StartSim(replacement, song) && link.Redetect());
        } else if (fault == "frozen") {
            QVERIFY(Freeze(sim.processId()));
        } else if (fault == "stopped") {
            link.Stop(true);
            QTRY_COMPARE_WITH_TIMEOUT(link.PlayState(), 0, 20000);
        }
        if (fault == "replaced" || fault == "played again") {
            link.Play();
            QTRY_VERIFY_WITH_TIMEOUT(link.PositionMs() > 0 && link.PositionMs() < 8000, 20000);
        }

        const QString why =
            fault == "played again"
                ? "Winamp's position went back, so line #%1 was not timed: the song was stopped "
                  "or started again."
                : "Winamp did not say where the song is, so line #%1 was not timed: it may have "
                  "been closed, stopped, or have stopped answering.";
        QStringList texts{"@ Wizard: " + why.arg(line) + "\r\rThe capture has stopped" +
                          (line == 1 ? "."
                                     : "; the lines before it keep their times. Would you "
                                       "like to save them now, replacing the lyrics file?")};
        if (line == 2) {
            boxes.Answer(save ? MsgResult::Yes : MsgResult::No);
        }
        if (save) {
            texts << "@ Wizard: The lines timed so far were saved.";
        }
        boxes.Answer(MsgResult::OK);  // the only box at line 1; after a save, its notice
        QElapsedTimer held;
        held.start();
        next->click();
        // A frozen Winamp holds the press for the two queries' waits, no longer.
        QVERIFY2(held.elapsed() < 2 * platform::MaxSendWaitMs + 500,
                 qPrintable(QString::number(held.elapsed())));
        QCOMPARE(boxes.Texts(), texts);
        QVERIFY(line == 1 || boxes.Asked()[0].Default == MsgResult::No);
        QVERIFY(play->isEnabled() && !next->isEnabled());
        QCOMPARE(Child<QLabel>(&encoder, "lblCurrLine")->text(), line == 2 ? "B" : "A");
        if (fault == "played again") {
            QTRY_COMPARE_WITH_TIMEOUT(link.PlayState(), 0, 5000);
        }

        // The lines after the loss are written without a time, as no earlier capture timed them.
        const QByteArray written = testsupport::ReadBytes(lyrics);
        const QRegularExpression timedA(
            R"(^"Song - Band"\r\n[1-9][0-9.]*,"A"\r\n,"B"\r\n,"C"\r\n$)");
        QVERIFY2(save ? timedA.match(written).hasMatch() : written == old, written.constData());
    }
};

QTEST_MAIN(tst_RoundTrip)
#include "tst_roundtrip.moc"
