// The player's window over the timing of a song, against a simulated Winamp on a manual clock:
// the listener's output delay, read from cantorix.conf at start and set from the Settings
// menu, holds every line back by as long; a song's own offset is set by keys while it plays
// and kept in its file when the user says so.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "platform/Folders.h"
#include "player/frmMain.h"
#include "support/Files.h"
#include "support/Scripted.h"
#include "support/SimWinamp.h"

using platform::MsgResult;

class tst_PlayerTiming : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<SimWinamp> sim;
    std::unique_ptr<testsupport::ScriptedBoxes> boxes;
    std::unique_ptr<testsupport::ScriptedDialogs> dialogs;
    std::unique_ptr<testsupport::ScriptedModal> modal;
    std::unique_ptr<player::frmMain> w;

    void Start() {
        w = std::make_unique<player::frmMain>();
        w->Form_Load();
    }
    // The lyrics file name (written first unless bytes is empty), opened and played from its
    // start; by default a song of three lines left at 1, 2 and 3 seconds.
    void Play(const QString& name = "song.cx3",
              const QByteArray& bytes = "\"S\"\r\n1,\"one\"\r\n2,\"two\"\r\n3,\"three\"\r\n") {
        const QString song = dir.filePath(name);
        QVERIFY(bytes.isEmpty() || testsupport::WriteBytes(song, bytes));
        dialogs->ChooseFile(song);
        w->cmdOpen_Click();
        w->cmdPlay_Click();
    }
    // The current line at each position (ms from the start of the song), a tick at each.
    QStringList Shown(const QList<qint64>& positions) {
        QStringList shown;
        for (qint64 ms : positions) {
            sim->clock.Set(sim->clock.NowMs() + ms - sim->model.PositionMs());
            w->tmr_Timer();
            shown << w->findChild<QLabel*>("lblCurrLine")->text();
        }
        return shown;
    }
    void SetDelay(int ms) {
        modal->Next([ms](QDialog* d) {
            QCOMPARE(d->windowTitle(), "Output Delay");
            d->findChild<QSpinBox*>("txtValue")->setValue(ms);
            d->findChild<QPushButton*>("cmdOK")->click();
        });
        w->findChild<QAction*>("itmSDelay")->trigger();
    }

  private slots:
    void init() {
        QFile::remove(platform::SettingsFilePath());
        QFile::remove(platform::ConfFilePath());
        sim = std::make_unique<SimWinamp>(2, 60);
        boxes = std::make_unique<testsupport::ScriptedBoxes>();
        dialogs = std::make_unique<testsupport::ScriptedDialogs>();
        modal = std::make_unique<testsupport::ScriptedModal>();
    }
    void cleanup() {
        const int unexpected = boxes->Unexpected() + dialogs->Unexpected() + modal->Unexpected();
        w.reset();
        modal.reset();
        dialogs.reset();
        boxes.reset();
        sim.reset();
        QCOMPARE(unexpected, 0);
    }

    // A delay read at start holds the lines back; one set from the menu does at once and is
    // written for the next start (and for the encoder); one that cannot be written says so and
    // still holds.
    void outputDelay() {
        QVERIFY(testsupport::WriteBytes(platform::ConfFilePath(), "[Output]\nDelayMs=250\n"));
        Start();
        Play();
        QCOMPARE(Shown({1249, 1250}), (QStringList{"one", "two"}));
        SetDelay(400);
        QCOMPARE(Shown({2399, 2400}), (QStringList{"two", "three"}));
        Start();
        modal->Next([](QDialog* d) {
            QCOMPARE(d->findChild<QSpinBox*>("txtValue")->value(), 400);
            d->findChild<QPushButton*>("cmdCancel")->click();
        });
        w->findChild<QAction*>("itmSDelay")->trigger();

        QVERIFY(QFile::remove(platform::ConfFilePath()));
        QVERIFY(QDir().mkpath(platform::ConfFilePath()));
        boxes->Answer(MsgResult::OK);
        SetDelay(0);
        Play();
        QCOMPARE(Shown({999, 1000}), (QStringList{"one", "two"}));
        QCOMPARE(boxes->Texts(), QStringList{"Output Delay: Could not save the output delay. It "
                                             "holds until the player ends."});
        QVERIFY(QDir(platform::ConfFilePath()).removeRecursively());
    }

    // Ctrl+Right and Ctrl+Left (Shift: a tenth as far) move the lines of the song that plays
    // and say so for a moment. At its end the user is asked, and an LRC file takes the offset
    // that shows its lines, read back, as they were shown. A file that cannot be written is
    // said; closing the player during a song asks too.
    void songOffsetByKeys() {
        Start();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        const QByteArray lrc = "[ti:S]\n[00:00.00]one\n[00:01.00]two\n[00:02.00]three\n";
        Play("song.lrc", lrc);
        QTest::keyClick(w.get(), Qt::Key_Right, Qt::ControlModifier);
        QTest::keyClick(w.get(), Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
        const QLabel* said = w->findChild<QLabel*>("lblOffset");
        QCOMPARE(said->isHidden() ? QString() : said->text(), "Lyrics 0.09 s later");
        QVERIFY(w->findChild<QTimer*>("tmrOffset")->isActive());
        w->tmrOffset_Timer();
        QVERIFY(said->isHidden());
        const QStringList moved{"one", "two", "three"};
        boxes->Answer(MsgResult::Yes);
        QCOMPARE(Shown({1089, 1090, 2090}), moved);
        QCOMPARE(testsupport::ReadBytes(dir.filePath("song.lrc")),
                 "[ti:S]\n[offset:-90]\n" + lrc.mid(7));
        Play("song.lrc", {});
        QCOMPARE(Shown({1089, 1090, 2090}), moved);

        Play();
        QTest::keyClick(w.get(), Qt::Key_Left, Qt::ControlModifier);
        QVERIFY(QFile::rename(dir.filePath("song.cx3"), dir.filePath("away.cx3")));
        boxes->Answer(MsgResult::Yes);
        boxes->Answer(MsgResult::OK);
        QVERIFY(w->close());
        const QString question = "Cantorix 3: Keep the new timing in the lyrics file?";
        QCOMPARE(boxes->Texts(), (QStringList{question, question,
                                              "Cantorix 3: Could not save the new timing in the "
                                              "lyrics file:\r" +
                                                  dir.filePath("song.cx3")}));
    }
};

QTEST_MAIN(tst_PlayerTiming)
#include "tst_player_timing.moc"
