// A capture whose Winamp goes away under it, against the real winamp-sim: closed, frozen,
// replaced by a new one, stopped, or started again from the top between two presses. The press
// that gets no usable position stops the capture with a message instead of stamping it; the
// line before keeps its time, and the lyrics file is written over only when the user says so.
#include <signal.h>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "encoder/frmMain.h"
#include "support/Files.h"
#include "support/Scripted.h"
#include "support/WindowProcess.h"
#include "winamp/Link.h"

using platform::MsgResult;
using testsupport::TempPath;

class tst_CaptureLost : public QObject {
    Q_OBJECT
    QProcess sim;
    QProcess replacement;

    bool StartSim(QProcess& process) {
        return testsupport::StartWindowProcess(
                   process, CANTORIX_BIN_DIR "/winamp-sim",
                   {"--headless", "--speed", "8", "--tracks", "1", "--length", "600"},
                   "Winamp v1.x") != 0;
    }
    static bool Stopped(qint64 pid) {
        return testsupport::ReadBytes(QString("/proc/%1/stat").arg(pid))
            .split(')')
            .last()
            .startsWith(" T");
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

    void lostWinamp_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("save");  // the answer to the offer to save the lines timed
        QTest::addColumn<QString>("why");
        const QString gone =
            "Winamp did not say where the song is, so line #2 was not timed: "
            "it may have been closed, stopped, or have stopped answering.";
        QTest::newRow("closed") << "closed" << false << gone;
        QTest::newRow("frozen") << "frozen" << true << gone;
        QTest::newRow("closed and started again") << "replaced" << false << gone;
        QTest::newRow("stopped") << "stopped" << true << gone;
        QTest::newRow("played again from the top")
            << "played again" << false
            << "Winamp's position went back, so line #2 was not timed: the song was stopped or "
               "started again.";
    }
    void lostWinamp() {
        QFETCH(QString, fault);
        QFETCH(bool, save);
        QFETCH(QString, why);
        testsupport::ScriptedBoxes boxes;
        const QByteArray old = "\"Song - Band\"\r\n1,\"A\"\r\n2,\"B\"\r\n3,\"C\"\r\n";
        const QString lyrics = TempPath("song.cx3"), source = TempPath("song.txt");
        QVERIFY(testsupport::WriteBytes(lyrics, old));
        QVERIFY(testsupport::WriteBytes(source, "A\r\nB\r\nC\r\n"));
        QVERIFY(StartSim(sim));
        winamp::WinampLink link;
        QVERIFY(link.Redetect());

        encoder::frmMain encoder;
        encoder.Form_Load();
        QVERIFY(encoder.TakeUpSong(source, lyrics, "Song - Band"));
        auto* play = encoder.findChild<QPushButton*>("cmdPlay");
        auto* next = encoder.findChild<QPushButton*>("cmdNext");
        auto* stop = encoder.findChild<QPushButton*>("cmdStop");
        play->click();
        QTRY_VERIFY_WITH_TIMEOUT(link.PositionMs() >= 8000, 20000);
        next->click();

        const auto pid = qint64(sim.processId());
        if (fault == "closed" || fault == "replaced") {
            sim.kill();
            QVERIFY(sim.waitForFinished(20000));
        }
        if (fault == "replaced") {
            QVERIFY(StartSim(replacement));
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

        boxes.Answer(save ? MsgResult::Yes : MsgResult::No);
        if (save) {
            boxes.Answer(MsgResult::OK);
        }
        QElapsedTimer held;
        held.start();
        next->click();
        // A frozen Winamp holds the press for the two queries' waits, no longer.
        QVERIFY2(held.elapsed() < 2 * platform::MaxSendWaitMs + 500,
                 qPrintable(QString::number(held.elapsed())));
        QStringList texts{"@ Wizard: " + why +
                          "\r\rThe capture has stopped; the lines before it keep their times. "
                          "Would you like to save them now, replacing the lyrics file?"};
        if (save) {
            texts << "@ Wizard: The lines timed so far were saved.";
        }
        QCOMPARE(boxes.Texts(), texts);
        QCOMPARE(boxes.Asked()[0].Default, std::optional(MsgResult::No));
        QVERIFY(play->isEnabled() && !next->isEnabled() && !stop->isEnabled());
        QCOMPARE(encoder.findChild<QLabel*>("lblCurrLine")->text(), "B");

        // The line timed before the loss keeps its time; the ones after it are written
        // without one, where no earlier capture had timed them.
        const QByteArray written = testsupport::ReadBytes(lyrics);
        if (!save) {
            QCOMPARE(written, old);
            return;
        }
        const QRegularExpressionMatch timed =
            QRegularExpression(R"(^"Song - Band"\r\n([0-9.]+),"A"\r\n,"B"\r\n,"C"\r\n$)")
                .match(QString::fromUtf8(written));
        QVERIFY2(timed.hasMatch(), written.constData());
        QVERIFY2(timed.captured(1).toDouble() >= 8, written.constData());
    }
};

QTEST_MAIN(tst_CaptureLost)
#include "tst_capture_lost.moc"
