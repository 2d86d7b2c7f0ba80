// The whole round trip against the real winamp-sim: the encoder's wizard takes up a song, a
// capture times it while the simulated song plays, Evoke Player starts the real player, and
// the player plays a playlist of the file just written and a second song, song after song,
// in step with the same simulated songs, judged from the simulator's trace and the player's
// labels. Then captures and the player's display while that Winamp goes away under them.
// Only the waits depend on the machine's speed.
#include <signal.h>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include "encoder/frmBio.h"
#include "encoder/frmMain.h"
#include "encoder/frmOpen.h"
#include "player/frmMain.h"
#include "support/Files.h"
#include "support/Scripted.h"
#include "support/SimTrace.h"
#include "support/WindowProcess.h"
#include "winamp/Link.h"

using platform::MsgResult;
using testsupport::TempPath;

// The running programs at exe that carry this test's CANTORIX_HOME: the ones it started.
static QList<pid_t> OwnProcessesOf(const QString& exe) {
    QList<pid_t> ids;
    const QByteArray home = "CANTORIX_HOME=" + qgetenv("CANTORIX_HOME");
    for (const QFileInfo& process :
         QDir("/proc").entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (process.fileName().toInt() > 0 &&
            QFileInfo(process.filePath() + "/exe").canonicalFilePath() == exe &&
            testsupport::ReadBytes(process.filePath() + "/environ").split('\0').contains(home)) {
            ids << pid_t(process.fileName().toInt());
        }
    }
    return ids;
}

// Whether the process is stopped by a signal.
static bool Stopped(qint64 pid) {
    return testsupport::ReadBytes(QString("/proc/%1/stat").arg(pid))
        .split(')')
        .last()
        .startsWith(" T");
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
            if (process->state() != QProcess::NotRunning) {
                ::kill(pid_t(process->processId()), SIGCONT);
                process->kill();
                process->waitForFinished(20000);
            }
        }
    }

    void wizardCaptureAndPlayback() {
        testsupport::ScriptedBoxes boxes;
        testsupport::ScriptedDialogs dialogs;
        testsupport::ScriptedModal modal;
        const QString trace = TempPath("sim.log"), source = TempPath("song.txt");
        QVERIFY(testsupport::WriteBytes(TempPath("song.m3u"),
                                        "#EXTINF:6,Song One\nsong.mp3\n#EXTINF:40,Other\no.mp3\n"));
        QVERIFY(testsupport::WriteBytes(source, "First line\r\nSecond line\r\nLast line\r\n"));
        QVERIFY(StartSim(sim, {"--trace", trace, "--speed", "2", TempPath("song.m3u")}));

        encoder::frmMain encoder;
        encoder.Form_Load();
        dialogs.ChooseFile(source);
        modal.Next([](QDialog* d) { qobject_cast<encoder::frmOpen*>(d)->cmdSave->click(); });
        modal.Next([](QDialog* d) {
            auto* bio = qobject_cast<encoder::frmBio*>(d);
            bio->txtArtist->setText(" Band X ");
            bio->txtSong->setText("Song One");
            bio->cmdOK->click();
        });
        dialogs.ChooseFile(TempPath("Band X - Song One.cx3"));
        boxes.Answer(platform::MsgResult::Yes);  // Winamp's jump dialog, to pick the song
        encoder.cmdOpen->click();
        const platform::DialogRequest step3 = dialogs.Asked().value(1);
        QCOMPARE((QStringList{step3.Title, step3.Filter, step3.FileName}),
                 (QStringList{"Step 3 - Create Lyrics File", "Cantorix Files (*.cx3)|*.cx3",
                              "Band X - Song One.cx3"}));
        QCOMPARE(boxes.Asked().value(0).Text,
                 "Congratulations! Just press play and you are so done!\rThank you for using "
                 "Cantorix Encoder. Hope you found @ Wizard useful. ;)\r\rOh, and by the way, "
                 "would you like to pick your song now?");
        QCOMPARE(encoder.windowTitle(), "Song One - Band X - Cantorix 3 Encoder");
        QCOMPARE(encoder.lblNextLine->text() + encoder.lblCurrLine->text(), "First line:o)");
        for (QAction* item : {encoder.mnuFile->menuAction(), encoder.itmFEdit, encoder.itmFTitle,
                              encoder.itmFREdit, encoder.itmLAdd[0]}) {
            QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
        }

        // Next Line as the song passes 1, 2 and 3 s; the third press ends the capture.
        encoder.cmdPlay->click();
        boxes.Answer(platform::MsgResult::OK);
        for (qint64 ms : {1000, 2000, 3000}) {
            QTRY_VERIFY_WITH_TIMEOUT(encoder.Winamp.PositionMs() >= ms, 20000);
            encoder.cmdNext->click();
        }
        QCOMPARE(boxes.Asked().last().Text, "Encoding was successfully completed!");
        QVERIFY(testsupport::ReadBytes(encoder.SavePath).startsWith("\"Song One - Band X\"\r\n1."));

        // The evoked player finds the same Winamp: one that does not says so in a box, which
        // ends it here.
        const QString program = QFileInfo(CANTORIX_BIN_DIR "/cantorix").canonicalFilePath();
        encoder.itmCEvoke->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(OwnProcessesOf(program).size(), 1, 20000);
        QTest::qWait(2000);
        const QList<pid_t> evoked = OwnProcessesOf(program);
        QCOMPARE(evoked.size(), 1);
        QCOMPARE(::kill(evoked[0], SIGKILL), 0);  // it has no remote close

        // A playlist of the song just timed and a second one whose line moves on at 1 s.
        const QString other = TempPath("other.cx3"), list = TempPath("two.cxp");
        QVERIFY(testsupport::WriteBytes(
            other, "\"Other - Band\"\r\n1,\"Other first\"\r\n,\"Other last\"\r\n"));
        QVERIFY(testsupport::WriteBytes(list, "\"" + encoder.SavePath.toUtf8() +
                                                  "\",1,\"Song One - Band X\"\r\n\"" +
                                                  other.toUtf8() + "\",2,\"Other - Band\"\r\n"));
        QStringList labels;  // the current line after each tick
        player::frmMain player;
        player.Form_Load();
        QVERIFY(player.LoadPlaylist(list));
        connect(player.tmr, &QTimer::timeout, this, [&] { labels << player.lblCurrLine->text(); });
        player.cmdPlay_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!player.Playlist.PlaylistPlaying() && !player.tmr->isActive(),
                                 20000);

        // The capture played and stopped the song; the player moved Winamp to each entry's
        // track, played it and had it stop at its end, and started the second entry only once
        // the first song had ended: the wait asked the play state every tick, answered 1 until
        // the song stopped.
        const testsupport::Trace seen(trace);
        QCOMPARE(seen.posts.join(" | "),
                 "273 40194 0 | 273 40045 0 | 273 40047 0 | 1024 0 121 | 273 40045 0 | "
                 "273 40157 0 | 1024 1 121 | 273 40045 0 | 273 40157 0");
        QList<testsupport::TraceLine> first = seen.sends.value(6);
        qsizetype waits = 0;
        while (!first.isEmpty() && first.last().Call == "1024 0 104") {
            QCOMPARE(first.takeLast().Answer, qint64(waits++ == 0 ? 0 : 1));
        }
        QVERIFY2(waits >= 5, qPrintable(QString::number(waits)));
        QVERIFY((seen.sends.value(7) + seen.sends.value(8)).isEmpty());

        // Each tick asked for the position once; the display moved on a line at the first tick
        // that had reached that line's stamp, and asked no more after its last line.
        qsizetype tick = 0;
        const auto follows = [&](const QList<testsupport::TraceLine>& ticks,
                                 const QList<qint64>& stamps, const QStringList& lines) {
            QVERIFY(!ticks.isEmpty());
            qsizetype on = 0;
            for (const testsupport::TraceLine& t : ticks) {
                QCOMPARE(t.Call, "1024 0 105");
                on += on < stamps.size() && t.Answer >= stamps[on];
                QCOMPARE(labels.value(tick++), lines[on]);
            }
            QCOMPARE(on, stamps.size());
        };
        const auto stamp = [&](size_t row) {
            return qRound64(*encoder.Lines.SourceLines[row].Seconds * 1000);
        };
        follows(first, {stamp(0), stamp(1)}, {"First line", "Second line", "Last line"});
        follows(seen.sends.value(9), {1000}, {"Other first", "Other last"});
        QCOMPARE(tick, labels.size());
        QCOMPARE(boxes.Unexpected() + dialogs.Unexpected() + modal.Unexpected(), 0);
    }

    // A Winamp that stops answering holds the player's tick once, and for less than a send's
    // full wait; the ticks after answer at once while it stays silent, and once it answers
    // again the display follows at the next ticks.
    void followingThroughAFreeze() {
        const QString lyrics = TempPath("freeze.cx3");
        QVERIFY(
            testsupport::WriteBytes(lyrics, "\"Song - Band\"\r\n1,\"Before\"\r\n,\"After\"\r\n"));
        QVERIFY(StartSim(sim, {"--tracks", "1", "--length", "600"}));
        player::frmMain player;
        player.Form_Load();
        QVERIFY(player.OpenFile(lyrics));
        player.cmdPlay_Click();
        QVERIFY(player.tmr->isActive());
        const auto pid = pid_t(sim.processId());
        QCOMPARE(::kill(pid, SIGSTOP), 0);
        // Waited for without events, so that no tick of the player's own timer comes first.
        for (int i = 0; i < 200 && !Stopped(pid); ++i) {
            QThread::msleep(10);
        }
        QVERIFY(Stopped(pid));
        QElapsedTimer held;
        held.start();
        player.tmr_Timer();
        QVERIFY2(held.elapsed() >= winamp::TickWaitMs - 20 &&
                     held.elapsed() < platform::MaxSendWaitMs - 50,
                 qPrintable(QString::number(held.elapsed())));
        held.restart();
        for (int tick = 0; tick < 25; ++tick) {
            player.tmr_Timer();
        }
        QVERIFY2(held.elapsed() < 100, qPrintable(QString::number(held.elapsed())));
        QTest::qWait(1200);  // the song runs on past the first line's end meanwhile
        QCOMPARE(player.lblCurrLine->text(), "Before");
        QCOMPARE(::kill(pid, SIGCONT), 0);
        QTRY_COMPARE_WITH_TIMEOUT(player.lblCurrLine->text(), "After", 2000);
    }

    // A capture whose Winamp is closed, frozen, replaced by a new one, stopped, or started
    // again from the top before a press: that press stops the capture with a message instead
    // of stamping its line, and Winamp is told to stop. The lines before it keep their times,
    // and the lyrics file is written over only when the user then says so; with no line
    // timed, there is nothing to offer.
    void lostWinamp_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("line");   // the line whose press finds it
        QTest::addColumn<bool>("save");  // the answer to the offer to save the lines timed
        QTest::addColumn<QString>("why");
        const QString gone =
            "Winamp did not say where the song is, so line #%1 was not timed: "
            "it may have been closed, stopped, or have stopped answering.";
        QTest::newRow("closed") << "closed" << 2 << false << gone;
        QTest::newRow("frozen") << "frozen" << 2 << true << gone;
        QTest::newRow("closed and started again") << "replaced" << 2 << false << gone;
        QTest::newRow("stopped") << "stopped" << 2 << true << gone;
        QTest::newRow("stopped before the first press") << "stopped" << 1 << false << gone;
        QTest::newRow("played again from the top")
            << "played again" << 2 << false
            << "Winamp's position went back, so line #%1 was not timed: the song was stopped "
               "or started again.";
    }
    void lostWinamp() {
        QFETCH(QString, fault);
        QFETCH(int, line);
        QFETCH(bool, save);
        QFETCH(QString, why);
        testsupport::ScriptedBoxes boxes;
        const QByteArray old = "\"Song - Band\"\r\n1,\"A\"\r\n2,\"B\"\r\n3,\"C\"\r\n";
        const QString lyrics = TempPath("song.cx3"), source = TempPath("song.txt");
        QVERIFY(testsupport::WriteBytes(lyrics, old));
        QVERIFY(testsupport::WriteBytes(source, "A\r\nB\r\nC\r\n"));
        const QStringList song{"--speed", "8", "--tracks", "1", "--length", "600"};
        QVERIFY(StartSim(sim, song));
        winamp::WinampLink link;
        QVERIFY(link.Redetect());

        encoder::frmMain encoder;
        encoder.Form_Load();
        QVERIFY(encoder.TakeUpSong(source, lyrics, "Song - Band"));
        auto* play = encoder.findChild<QPushButton*>("cmdPlay");
        auto* next = encoder.findChild<QPushButton*>("cmdNext");
        play->click();
        QTRY_VERIFY_WITH_TIMEOUT(link.PositionMs() >= 8000, 20000);
        if (line == 2) {
            next->click();
        }

        const auto pid = qint64(sim.processId());
        if (fault == "closed" || fault == "replaced") {
            sim.kill();
            QVERIFY(sim.waitForFinished(20000));
        }
        if (fault == "replaced") {
            QVERIFY(StartSim(replacement, song));
            winamp::WinampLink other;
            QVERIFY(other.Redetect());
            other.Play();
            QTRY_VERIFY_WITH_TIMEOUT(other.PositionMs() > 0, 20000);
        } else if (fault == "frozen") {
            QCOMPARE(::kill(pid_t(pid), SIGSTOP), 0);
            QTRY_VERIFY_WITH_TIMEOUT(Stopped(pid), 2000);
        } else if (fault == "stopped") {
            link.Stop(true);
            QTRY_COMPARE_WITH_TIMEOUT(link.PlayState(), 0, 20000);
        } else if (fault == "played again") {
            link.Play();
            QTRY_VERIFY_WITH_TIMEOUT(link.PositionMs() > 0 && link.PositionMs() < 8000, 20000);
        }

        const QString stopped = "@ Wizard: " + why.arg(line) + "\r\rThe capture has stopped";
        QStringList texts{stopped + '.'};
        if (line == 2) {
            texts = QStringList{stopped +
                                "; the lines before it keep their times. Would you "
                                "like to save them now, replacing the lyrics file?"};
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
        QCOMPARE(encoder.findChild<QLabel*>("lblCurrLine")->text(), line == 2 ? "B" : "A");
        if (fault == "played again") {
            QTRY_COMPARE_WITH_TIMEOUT(link.PlayState(), 0, 5000);
        }

        // The line timed before the loss keeps its time; the ones after it are written
        // without one, as no earlier capture timed them.
        const QByteArray written = testsupport::ReadBytes(lyrics);
        QVERIFY2(
            save ? QRegularExpression(R"(^"Song - Band"\r\n[1-9][0-9.]*,"A"\r\n,"B"\r\n,"C"\r\n$)")
                       .match(written)
                       .hasMatch()
                 : written == old,
            written.constData());
    }
};

QTEST_MAIN(tst_RoundTrip)
#include "tst_roundtrip.moc"
