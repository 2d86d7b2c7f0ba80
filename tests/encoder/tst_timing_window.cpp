// The timing window against a simulated Winamp on a manual clock: keys and menus reach the
// table's rules, saving and closing, and the encoder's way in.
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "encoder/frmMain.h"
#include "encoder/frmTiming.h"
#include "platform/Folders.h"
#include "support/Files.h"
#include "support/Find.h"
#include "support/Scripted.h"
#include "support/SimWinamp.h"
#include "winamp/Link.h"

using encoder::frmTiming;
using platform::MsgResult;
using testsupport::Child;
using testsupport::ReadBytes;

namespace {

QString TimesOf(const encoder::TimingTable& table) {
    QStringList times;
    for (int row = 0; row < table.Count(); ++row) {
        times << table.index(row, encoder::TimingTable::TimeColumn).data().toString();
    }
    return times.join(u' ');
}

}  // namespace

class tst_TimingWindow : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<SimWinamp> sim;
    std::unique_ptr<testsupport::ScriptedBoxes> boxes;
    std::unique_ptr<testsupport::ScriptedModal> modal;
    std::unique_ptr<testsupport::ScriptedDialogs> dialogs;
    winamp::WinampLink link;
    std::unique_ptr<frmTiming> w;

    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        testsupport::WriteBytes(path, bytes);
        return path;
    }
    void Open(const QString& path) {
        w = std::make_unique<frmTiming>(
            link, [this] { return link.Redetect(); }, 0);
        QVERIFY(w->OpenFile(path));
        w->show();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Lines(), key, modifiers);
    }
    QTableView* Lines() const { return Child<QTableView>(w.get(), "lstLines"); }
    void Select(int row) { Lines()->setCurrentIndex(w->Table().index(row, 1)); }
    // Winamp's position in the song that plays.
    void At(qint64 ms) { sim->clock.Set(sim->clock.NowMs() + ms - sim->model.PositionMs()); }

  private slots:
    void init() {
        QFile::remove(platform::ConfFilePath());
        sim = std::make_unique<SimWinamp>(3, 200);
        link.Redetect();
        boxes = std::make_unique<testsupport::ScriptedBoxes>();
        modal = std::make_unique<testsupport::ScriptedModal>();
        dialogs = std::make_unique<testsupport::ScriptedDialogs>();
    }
    void cleanup() {
        const int unexpected = boxes->Unexpected() + modal->Unexpected() + dialogs->Unexpected();
        w.reset();
        dialogs.reset();
        modal.reset();
        boxes.reset();
        sim.reset();
        QCOMPARE(unexpected, 0);
    }

    // The demo song's fifth line re-timed by Ctrl+P, Space, Ctrl+S; no other line's bytes change.
    void retimeOneLineOfTheDemoSong() {
        const QByteArray demo = ReadBytes(QStringLiteral(CANTORIX_BIN_DIR "/demo/demo.cx3"));
        const QString song = Write("demo.cx3", demo);
        Open(song);
        QCOMPARE(w->windowTitle(), "demo.cx3 - Timing");
        w->resize(w->width(), 120);
        Select(4);
        sim->Clear();
        Key(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(sim->Posts(),
                 (QStringList{SimWinamp::Command(winamp::CmdPlay), "1024:14100:106"}));
        At(20000);
        w->tmr_Timer();
        QCOMPARE(w->Table().Sung(), 4);
        At(21650);
        Key(Qt::Key_Space);
        QCOMPARE(w->windowTitle(), "*demo.cx3 - Timing");
        Key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w->windowTitle(), "demo.cx3 - Timing");
        QCOMPARE(ReadBytes(song), QByteArray(demo).replace("21.4,\"carry", "21.65,\"carry"));
        Select(0);
        At(39000);
        w->tmr_Timer();
        const QRect sung = Lines()->visualRect(w->Table().index(w->Table().Sung(), 1));
        QVERIFY(w->Table().Sung() == 9 && Lines()->viewport()->rect().contains(sung.center()));
        sim->model.Stop();
        w->tmr_Timer();
        QCOMPARE(w->Table().Sung(), -1);
    }

    // Each key and Shift from here; Space only while playing; Ctrl+P stopped, paused, playing.
    void correctingByKeys() {
        Open(Write("song.cx3",
                   "\"S - A\"\r\n1,\"one\"\r\n2,\"two\"\r\n3,\"three\"\r\n,\"four\"\r\n"));
        Select(1);
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        const Qt::KeyboardModifiers shift = Qt::ControlModifier | Qt::ShiftModifier;
        // clang-format off
        for (auto [key, modifiers] : {std::pair{Qt::Key_Right, ctrl}, {Qt::Key_Right, shift}, {Qt::Key_Right, shift},
                                      {Qt::Key_Left, ctrl}, {Qt::Key_Left, shift}, {Qt::Key_Z, ctrl}, {Qt::Key_Z, ctrl},
                                      {Qt::Key_Y, ctrl}}) {
            Key(key, modifiers);
        }
        // clang-format on
        modal->Next([](QDialog* d) {
            Child<QSpinBox>(d, "txtValue")->setValue(-2500);
            Child<QPushButton>(d, "cmdOK")->click();
        });
        Select(2);
        Child<QAction>(w.get(), "itmShift")->trigger();
        Select(3);
        Key(Qt::Key_Space);
        QCOMPARE(TimesOf(w->Table()), "00:01.000 00:02.020 00:02.020 --:--.---");

        sim->Clear();
        Key(Qt::Key_P, ctrl);
        sim->model.PauseResume();
        Key(Qt::Key_P, ctrl);
        Key(Qt::Key_P, ctrl);
        const QString seek = "1024:0:106";
        QCOMPARE(sim->Posts(), (QStringList{SimWinamp::Command(winamp::CmdPlay), seek, seek,
                                            SimWinamp::Command(winamp::CmdPause), seek}));
        At(4321);
        Key(Qt::Key_Space);
        QCOMPARE(TimesOf(w->Table()), "00:01.000 00:02.020 00:02.020 00:04.321");
        sim.reset();
        Key(Qt::Key_P, ctrl);
        QVERIFY(link.WinampHandle == 0);
    }

    // A foreign LRC rewritten only after asking; Save As by extension or filter, replacing
    // only when told; a failed save keeps the changes; closing asks Cancel, No, Yes.
    void savingAndClosing() {
        const QByteArray foreign = "[al:Album]\n[00:01.00]one\n[00:04.03]two\n";
        const QString lrc = Write("song.lrc", foreign);
        Open(lrc);
        Key(Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        Open(lrc);
        Select(1);
        Key(Qt::Key_Right, Qt::ControlModifier);
        boxes->Answer(MsgResult::No);
        Key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ReadBytes(lrc), foreign);
        dialogs->ChooseFile(dir.filePath("copy"));
        QAction* saveAs = Child<QAction>(w.get(), "itmSaveAs");
        saveAs->trigger();
        QCOMPARE(dialogs->Asked().back().Filter,
                 "Cantorix Files (*.cx3)|*.cx3|LRC Files (*.lrc)|*.lrc");
        QCOMPARE(ReadBytes(dir.filePath("copy.lrc")),
                 "[ti:song]\r\n[00:00.00]\r\n[00:01.00]one\r\n[00:04.13]two\r\n");
        const QString other = Write("other.cx3", "old");
        dialogs->ChooseFile(other);
        boxes->Answer(MsgResult::No);
        dialogs->ChooseFile(other);
        boxes->Answer(MsgResult::Yes);
        saveAs->trigger();
        QCOMPARE(ReadBytes(other), "old");
        saveAs->trigger();
        QCOMPARE(ReadBytes(other), "\"song\"\r\n1,\"\"\r\n4.13,\"one\"\r\n,\"two\"\r\n");
        QCOMPARE(w->windowTitle(), "other.cx3 - Timing");

        Key(Qt::Key_Left, Qt::ControlModifier);
        dialogs->ChooseFile(dir.filePath("missing/x.cx3"));
        boxes->Answer(MsgResult::OK);
        saveAs->trigger();
        boxes->Answer(MsgResult::Cancel);
        Key(Qt::Key_Escape);
        QVERIFY(w->isVisible() && w->windowTitle() == "*other.cx3 - Timing");
        boxes->Answer(MsgResult::No);
        QVERIFY(w->close());
        QCOMPARE(ReadBytes(other), "\"song\"\r\n1,\"\"\r\n4.13,\"one\"\r\n,\"two\"\r\n");
        Open(other);
        Select(1);
        Key(Qt::Key_Right, Qt::ControlModifier);
        boxes->Answer(MsgResult::Yes);
        Child<QAction>(w.get(), "itmClose")->trigger();
        QVERIFY(!w->isVisible());
        QCOMPARE(ReadBytes(other), "\"song\"\r\n1,\"\"\r\n4.23,\"one\"\r\n,\"two\"\r\n");
        const QString replace =
            "Save Lyrics File As: " + other + " already exists.\rDo you want to replace it?";
        const QString question =
            "Timing: Would you like to save the changes you made to the timing?\r" + other;
        QCOMPARE(boxes->Texts(),
                 (QStringList{"Timing: This LRC file will be written anew from its lines and "
                              "times: whatever else it holds (other tags, word timing) is not "
                              "kept.\rSave it anyway?",
                              replace, replace, "Timing: Could not save lyrics file.", question,
                              question, question}));
    }

    // The lines just captured and a file opened, stamped through cantorix.conf's output delay.
    void fromTheEncoder() {
        QVERIFY(testsupport::WriteBytes(platform::ConfFilePath(), "[Output]\nDelayMs=200\n"));
        encoder::frmMain main;
        main.Form_Load();
        QAction* timing = Child<QAction>(&main, "itmFTiming");
        const QString save = dir.filePath("captured.cx3");
        QVERIFY(main.TakeUpSong(Write("source.txt", "one\r\ntwo\r\nthree\r\n"), save, "S - A"));
        main.cmdPlay_Click();
        QVERIFY(!timing->isEnabled() && !Child<QAction>(&main, "itmFOpenLyrics")->isEnabled());
        At(1000);
        main.cmdNext_Click();
        At(2000);
        main.cmdNext_Click();
        boxes->Answer(MsgResult::OK);
        main.cmdStop_Click();
        QCOMPARE(ReadBytes(save), "\"S - A\"\r\n0.8,\"one\"\r\n1.8,\"two\"\r\n,\"three\"\r\n");

        modal->Next([this](QDialog* d) {
            QCOMPARE(TimesOf(qobject_cast<frmTiming*>(d)->Table()),
                     "00:00.800 00:01.800 --:--.---");
            sim->model.Play();
            At(2600);
            Child<QAction>(d, "itmTap")->trigger();
            Child<QAction>(d, "itmTap")->trigger();
            Child<QAction>(d, "itmSave")->trigger();
        });
        timing->trigger();
        QCOMPARE(ReadBytes(save), "\"S - A\"\r\n1.8,\"one\"\r\n2.4,\"two\"\r\n,\"three\"\r\n");
        QCOMPARE(main.Lines().SourceLines[1].Seconds, std::optional<double>(2.4));

        dialogs->ChooseFile(dir.filePath("missing.lrc"));
        boxes->Answer(MsgResult::OK);
        Child<QAction>(&main, "itmFOpenLyrics")->trigger();
        dialogs->ChooseFile(save);
        modal->Next([](QDialog* d) { QCOMPARE(d->windowTitle(), "captured.cx3 - Timing"); });
        Child<QAction>(&main, "itmFOpenLyrics")->trigger();
        QCOMPARE(boxes->Texts().mid(1), QStringList{"Open Lyrics: Could not read data file."});
        QCOMPARE(dialogs->Asked().front().Filter,
                 "Lyrics Files (*.cx3, *.cx2, *.lrc)|*.cx3;*.cx2;*.lrc");
    }
};

QTEST_MAIN(tst_TimingWindow)
#include "tst_timing_window.moc"
