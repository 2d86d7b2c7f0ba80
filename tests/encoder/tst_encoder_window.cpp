// The encoder's windows against a simulated Winamp: controls reach the rules, the source editor
// never loses or overwrites a user's file, the timing window, publishing to a stand-in.
#include <QAction>
#include <QApplication>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "encoder/EditorFile.h"
#include "encoder/SourceText.h"
#include "encoder/frmMain.h"
#include "encoder/frmOpen.h"
#include "encoder/frmPublish.h"
#include "encoder/frmTiming.h"
#include "platform/Folders.h"
#include "platform/ListBox.h"
#include "support/Files.h"
#include "support/Find.h"
#include "support/LrclibStandIn.h"
#include "support/Scripted.h"
#include "support/SimWinamp.h"
#include "winamp/Link.h"

using encoder::EditorFile;
using encoder::frmTiming;
using platform::MsgResult;
using testsupport::Child;
using testsupport::LrclibStandIn;
using testsupport::ReadBytes;

Q_DECLARE_METATYPE(LrclibStandIn::Mode)

class tst_EncoderWindow : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<SimWinamp> sim;
    std::unique_ptr<testsupport::ScriptedBoxes> boxes;
    std::unique_ptr<testsupport::ScriptedModal> modal;
    std::unique_ptr<testsupport::ScriptedDialogs> dialogs;
    std::unique_ptr<encoder::frmMain> w;
    winamp::WinampLink link;
    std::unique_ptr<frmTiming> timing;
    const QString save = dir.filePath("song.cx3");

    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        testsupport::WriteBytes(path, bytes);
        return path;
    }
    QString Source(const QByteArray& text) { return Write("source.txt", text); }
    QAction* Item(const char* name) const { return Child<QAction>(w.get(), name); }
    platform::ListBox* LineList() const { return Child<platform::ListBox>(w.get(), "lstFile"); }
    // '1' or '0' for each control named: enabled or not.
    QString Enabled(const QStringList& names) const {
        QString on;
        for (const QString& name : names) {
            on +=
                Child<QObject>(w.get(), qPrintable(name))->property("enabled").toBool() ? '1' : '0';
        }
        return on;
    }
    // Winamp's position in the song that plays.
    void At(qint64 ms) { sim->clock.Set(sim->clock.NowMs() + ms - sim->model.PositionMs()); }
    // Next Line at each position of the song (Start plays it from 0).
    void Press(const QList<qint64>& positions) {
        for (qint64 ms : positions) {
            At(ms);
            w->cmdNext_Click();
        }
    }
    QStringList Lines() const {
        QStringList list;
        for (int i = 0; i < LineList()->count(); ++i) {
            list << LineList()->model()->index(i, 0).data().toString();
        }
        return list;
    }
    // The next modal dialog: its line edits given these texts, then the button clicked.
    void NextDialog(const QList<std::pair<const char*, QString>>& texts, const char* button) {
        modal->Next([=](QDialog* d) {
            for (const auto& [name, text] : texts) {
                Child<QLineEdit>(d, name)->setText(text);
            }
            Child<QPushButton>(d, button)->click();
        });
    }
    void Answers(std::initializer_list<MsgResult> answers) {
        for (MsgResult answer : answers) {
            boxes->Answer(answer);
        }
    }
    // The timing window over a file, shown and active.
    void Open(const QString& path) {
        timing = std::make_unique<frmTiming>(
            link, [this] { return link.Redetect(); }, 0);
        QVERIFY(timing->OpenFile(path));
        timing->show();
        QApplication::setActiveWindow(timing.get());
        QVERIFY(QTest::qWaitForWindowActive(timing.get()));
    }
    QTableView* View() const { return Child<QTableView>(timing.get(), "lstLines"); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(View(), key, modifiers);
    }
    void Select(int row) { View()->setCurrentIndex(timing->Table().index(row, 1)); }
    static QString TimesOf(const encoder::TimingTable& table) {
        QStringList times;
        for (int row = 0; row < table.Count(); ++row) {
            times << table.index(row, encoder::TimingTable::TimeColumn).data().toString();
        }
        return times.join(u' ');
    }

  private slots:
    void init() {
        QFile::remove(platform::SettingsFilePath());
        QFile::remove(platform::ConfFilePath());
        QFile::remove(save);
        QFile::remove(EditorFile::TemporaryFilePath());
        sim = std::make_unique<SimWinamp>(3, 200);
        link.Redetect();
        boxes = std::make_unique<testsupport::ScriptedBoxes>();
        modal = std::make_unique<testsupport::ScriptedModal>();
        dialogs = std::make_unique<testsupport::ScriptedDialogs>();
        w = std::make_unique<encoder::frmMain>();
        w->Form_Load();
    }
    void cleanup() {
        const int unexpected = boxes->Unexpected() + modal->Unexpected() + dialogs->Unexpected();
        timing.reset();
        w.reset();
        dialogs.reset();
        modal.reset();
        boxes.reset();
        sim.reset();
        QCOMPARE(unexpected, 0);
    }

    // Nothing to time, a failed load, no lyrics file to write, no Winamp: each says so.
    void nothingToTimeAFailedLoadOrNoWinamp() {
        QVERIFY(w->TakeUpSong(Source(" \r\n\"\"\r\n"), save, "Song - Band"));
        QCOMPARE(Child<QLabel>(w.get(), "lblNextLine")->text(), "[end of file...]");
        sim->Clear();
        w->cmdPlay_Click();
        QVERIFY(sim->Posts().isEmpty() && Enabled({"cmdPlay", "cmdNext"}) == "10");
        QVERIFY(w->TakeUpSong(Source("one\ntwo"), save, "Song - Band"));
        Answers({MsgResult::OK, MsgResult::OK, MsgResult::OK});
        QVERIFY(!w->TakeUpSong(dir.filePath("missing.txt"), save, "Other"));
        QVERIFY(w->SourcePath().isEmpty() && w->SavePath().isEmpty());
        w->cmdPlay_Click();
        Press({1000, 2000});
        QCOMPARE(w->Lines().SourceLines[1].Seconds, std::optional<double>(2));
        sim.reset();
        w->cmdPlay_Click();
        const QString ouch = "@ Wizard: Ouch. The @ Wizard lost it... Please retry.";
        QCOMPARE(boxes->Texts(), (QStringList{ouch, ouch,
                                              "Winamp Handle: Winamp is not running.\rYou may "
                                              "want to start it, and press F3 to try again."}));
        QCOMPARE(Enabled({"cmdPlay", "cmdNext"}), "10");
    }

    // A failed step says so, forgets both paths and keeps what the steps before it did.
    void wizardFailure_data() {
        QTest::addColumn<int>("stop");  // cancelled at 1 the editor, 2 Authoring Info, 3 saving
        QTest::addColumn<bool>("earlierRun");
        QTest::newRow("editor") << 1 << false;
        QTest::newRow("Authoring Info") << 2 << false;
        QTest::newRow("save dialog, after a run") << 3 << true;
    }
    void wizardFailure() {
        QFETCH(int, stop);
        QFETCH(bool, earlierRun);
        if (earlierRun) {
            QVERIFY(w->TakeUpSong(Source("old"), save, "Old - Band"));
        }
        dialogs->ChooseFile(Source("new one\nnew two"));
        NextDialog({}, stop == 1 ? "cmdClose" : "cmdSave");
        NextDialog({{"txtArtist", "Band"}, {"txtSong", "\"New\""}},
                   stop == 2 ? "cmdCancel" : "cmdOK");
        dialogs->Cancel();
        boxes->Answer(MsgResult::OK);
        Item("itmFWizard")->trigger();
        QCOMPARE(boxes->Texts(),
                 QStringList{"@ Wizard: Ouch. The @ Wizard lost it... Please retry."});
        QVERIFY(w->SourcePath().isEmpty() && w->SavePath().isEmpty());
        QCOMPARE(Lines(), stop == 1 ? QStringList(earlierRun ? 1 : 0, "old")
                                    : QStringList({"new one", "new two"}));
        QCOMPARE(w->LyricsTitle(), stop == 3 ? "New - Band" : earlierRun ? "Old - Band" : "");
        QCOMPARE(Enabled({"cmdPlay", "mnuFile", "itmFTitle"}), earlierRun ? "111" : "000");
        w->itmFTitle_Click();  // with no source, neither the title nor the source is corrected
        w->itmFREdit_Click();
        QCOMPARE(modal->Shown().size(), stop == 1 ? 1 : 2);
    }

    // Quickfix between captures, each change redrawing its own row; stopped early asks first.
    void quickFix() {
        QVERIFY(w->TakeUpSong(Source("A\r\nB\r\nC\r\n"), save, "Song One - Band X"));
        QSignalSpy reset(LineList()->model(), &QAbstractItemModel::modelReset);
        QSignalSpy redrawn(LineList()->model(), &QAbstractItemModel::dataChanged);
        LineList()->setCurrentRow(1);
        NextDialog({{"txtEdit", " \"new\" "}}, "cmdOK");
        Item("itmFAdd")->trigger();
        QCOMPARE(Lines(), (QStringList{"A", "new", "B", "C"}));
        LineList()->setCurrentRow(2);
        modal->Next([](QDialog* d) { QCOMPARE(Child<QLineEdit>(d, "txtEdit")->text(), "B"); });
        NextDialog({{"txtEdit", "B2"}}, "cmdOK");
        Item("itmFEdit")->trigger();
        Item("itmFEdit")->trigger();
        QVERIFY(redrawn.count() == 1 && redrawn[0][0].toModelIndex().row() == 2);
        LineList()->setCurrentRow(1);
        Answers({MsgResult::Yes, MsgResult::No});
        Item("itmFRemove")->trigger();
        Item("itmFRemove")->trigger();  // nothing selected now: the first line
        const QString question =
            "Remove Line: Are you sure you wish to remove this line? (Line "
            "#%1)\rThis will not affect your original file.";
        QCOMPARE(boxes->Texts(), (QStringList{question.arg(2), question.arg(1)}));
        QVERIFY(Lines() == QStringList({"A", "B2", "C"}) && reset.isEmpty());
        // A blank field is asked about again until its substitute is taken; on top is let go
        // of while the dialog is open.
        Item("itmCOnTop")->trigger();
        modal->Next([this](QDialog* d) {
            QVERIFY(!w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            Child<QLineEdit>(d, "txtArtist")->setText(" ");
            Child<QLineEdit>(d, "txtSong")->setText(" ");
            for (int i = 0; i < 3; ++i) {
                Child<QPushButton>(d, "cmdOK")->click();
            }
        });
        Answers({MsgResult::No, MsgResult::Yes, MsgResult::No, MsgResult::Yes});
        Item("itmFTitle")->trigger();
        QCOMPARE(w->LyricsTitle() + '|' + w->windowTitle(),
                 "[Untitled] - [Anon.]|Song One - Band X - Cantorix 3 Encoder");
        QCOMPARE(boxes->Texts()[3] + '|' + boxes->Texts()[4],
                 "@ Wizard: Artist's name was left blank. Would you like to use [Anon.] as "
                 "substitute?|@ Wizard: Song's name was left blank. Would you like to use "
                 "[Untitled] as substitute?");
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

        w->cmdPlay_Click();
        const QStringList between{"itmFWizard", "itmFREdit", "cmdOpen", "mnuFile", "cmdPlay"};
        QVERIFY(w->OuterHeight() == 2650 && Enabled(between) == "00000");
        boxes->Answer(MsgResult::No);
        Press({1500});
        QCOMPARE(Child<QLabel>(w.get(), "lblCurrLine")->text(), "B2");
        w->cmdStop_Click();
        QCOMPARE(sim->Posts().last(), SimWinamp::Command(winamp::CmdStop));
        QCOMPARE(boxes->Texts().last(),
                 "@ Wizard: The end of the song was not reached. Do you "
                 "still want to save your work?");
        QVERIFY(!QFile::exists(save) && w->OuterHeight() == 5655 && Enabled(between) == "11111");
        boxes->Answer(MsgResult::OK);
        w->cmdPlay_Click();
        Press({1000, 2000, 3000});
        QCOMPARE(boxes->Texts().last(), "@ Wizard: Encoding was successfully completed!");
        QVERIFY(ReadBytes(save).startsWith("\"[Untitled] - [Anon.]\"\r\n1,\"A\""));
    }

    void addToAFullTable() {
        QVERIFY(
            w->TakeUpSong(Source(QByteArray("x\n").repeated(encoder::MaxSourceLines)), save, "S"));
        boxes->Answer(MsgResult::OK);
        Item("itmFAdd")->trigger();
        QCOMPARE(boxes->Texts(), QStringList{"Add New Line: No line can be added: a song holds "
                                             "at most 32766 lines."});
    }

    // The source reopened: continued, cancelled, unloadable, unreadable.
    void editTheSource() {
        const QString source = Source("A\r\nB\r\n");
        QVERIFY(w->TakeUpSong(source, save, "S - A"));
        for (const QString& text :
             {QString("A\nB2\nC"), QString(), QString("x\n").repeated(32767)}) {
            modal->Next([text](QDialog* d) {
                QVERIFY(!Child<QAction>(d, "itmFOpen")->isEnabled());
                Child<QPlainTextEdit>(d, "rtb")->setPlainText(text);
                Child<QPushButton>(d, text.isEmpty() ? "cmdClose" : "cmdSave")->click();
            });
            boxes->Answer(MsgResult::OK);
            Item("itmFREdit")->trigger();
            QCOMPARE(Lines(), (QStringList{"A", "B2", "C"}));
        }
        QFile::remove(source);
        w->itmFREdit_Click();
        QCOMPARE(boxes->Texts(),
                 (QStringList{"Editor: The lyrics have been update.",
                              "Editor: The text was saved, but its lines could not be "
                              "read again; the lines are as they were.",
                              "@ Wizard: Could not read file."}));
        QCOMPARE(modal->Shown().size(), 3);
    }

    // Cancel keeps the window; unchanged, only Winamp is asked about; Winamp's Close asks neither.
    void closingDialogue() {
        Answers({MsgResult::Cancel, MsgResult::No, MsgResult::Cancel, MsgResult::No, MsgResult::Yes,
                 MsgResult::No, MsgResult::Yes});  // the last, Winamp's own Close
        for (bool modified : {true, false}) {
            w->Playlist().SetModified(modified);
            w->show();
            sim->Clear();
            QVERIFY(!modified || (!w->close() && !w->close()));
            QVERIFY(w->close());
            QCOMPARE(sim->Posts().contains(SimWinamp::Command(winamp::CmdClose)), modified);
        }
        w->Playlist().SetModified(true);
        w->show();
        Item("itmWClose")->trigger();
        QVERIFY(!w->isVisible());
        QCOMPARE(boxes->Texts().value(2),
                 "Close Cantorix?: Would you like to close Winamp as well?");
    }

    // The wizard's editor: Open, then New to the temporary file, the file opened left as it was.
    void editorFiles() {
        const QString lyrics = Write("lyrics.txt", "Oh my");
        encoder::frmOpen wizard;
        dialogs->ChooseFile(lyrics);
        wizard.InitialState(1);
        auto* typed = Child<QPlainTextEdit>(&wizard, "rtb");
        QCOMPARE(typed->toPlainText(), "Oh my");
        wizard.itmFNew_Click();
        typed->insertPlainText("typed");
        wizard.cmdSave_Click();
        QVERIFY(wizard.ReturnState() && wizard.ReturnNewFile() == EditorFile::TemporaryFilePath());
        QCOMPARE(ReadBytes(EditorFile::TemporaryFilePath()) + '|' + ReadBytes(lyrics),
                 "typed|Oh my");
    }

    // Outside the wizard: Reload and Ctrl+F4 drop changes; Escape and the frame ask first
    // (Cancel, No, Yes); a failed open or save keeps the file, the text and the editor.
    void closingTheEditor() {
        QDir(dir.path()).mkdir("sub");
        const QString lyrics = Write("sub/lyrics.txt", "Oh\xc2\xa0my\r\n");
        encoder::frmOpen editor;
        auto* text = Child<QPlainTextEdit>(&editor, "rtb");
        QVERIFY(editor.OpenFile(lyrics));
        text->setPlainText("edited");
        editor.itmFReload_Click();
        QCOMPARE(text->toPlainText(), "Oh my\n");
        text->setPlainText("edited again");
        editor.show();
        QApplication::setActiveWindow(&editor);
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        QTest::keyClick(text, Qt::Key_F4, Qt::ControlModifier);
        QVERIFY(!editor.isVisible() && !editor.ReturnState());

        QVERIFY(editor.OpenFile(lyrics));
        editor.show();
        QTest::keyClick(text, Qt::Key_Escape);  // unchanged: no question
        QVERIFY(!editor.isVisible());
        editor.show();
        text->moveCursor(QTextCursor::End);
        text->insertPlainText("la");
        Answers({MsgResult::Cancel, MsgResult::No, MsgResult::Yes, MsgResult::OK, MsgResult::OK});
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(editor.isVisible());
        QVERIFY(editor.close() && !editor.ReturnState());
        QCOMPARE(ReadBytes(lyrics), "Oh\xc2\xa0my\r\n");
        editor.show();
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(!editor.isVisible() && editor.ReturnState());
        QCOMPARE(ReadBytes(lyrics), "Oh\xc2\xa0my\r\nla");

        dialogs->ChooseFile(Write("song.mp3", QByteArray("ID3\0\0\0", 6)));
        editor.itmFOpen_Click();
        QCOMPARE(text->toPlainText() + '|' + editor.ReturnNewFile(), "Oh my\nla|" + lyrics);
        QVERIFY(QDir(dir.filePath("sub")).removeRecursively());
        editor.show();
        Child<QAction>(&editor, "itmFSave")->trigger();
        QVERIFY(editor.isVisible() && text->toPlainText() == "Oh my\nla");
        const QString ask =
            "Edit Lyrics: Would you like to save the changes you made to the lyrics?";
        QCOMPARE(boxes->Texts(), (QStringList{ask, ask, ask, "@ Wizard: Could not read file.",
                                              "@ Wizard: Could not save file."}));
    }

    // The demo song's fifth line re-timed by Ctrl+P, Space, Ctrl+S; no other line's bytes change.
    void retimeOneLineOfTheDemoSong() {
        const QByteArray demo = ReadBytes(QStringLiteral(CANTORIX_BIN_DIR "/demo/demo.cx3"));
        const QString song = Write("demo.cx3", demo);
        Open(song);
        Select(4);
        sim->Clear();
        Key(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(sim->Posts(),
                 (QStringList{SimWinamp::Command(winamp::CmdPlay), "1024:14100:106"}));
        At(20000);
        timing->tmr_Timer();
        QCOMPARE(timing->Table().Sung(), 4);
        At(21650);
        Key(Qt::Key_Space);
        QCOMPARE(timing->windowTitle(), "*demo.cx3 - Timing");
        Key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(timing->windowTitle(), "demo.cx3 - Timing");
        QCOMPARE(ReadBytes(song), QByteArray(demo).replace("21.4,\"carry", "21.65,\"carry"));
        sim->model.Stop();
        timing->tmr_Timer();
        QCOMPARE(timing->Table().Sung(), -1);
    }

    // Each key, undone and redone, and Shift from here; Space only while playing; Ctrl+P stopped,
    // paused, playing.
    void correctingByKeys() {
        Open(Write("song.cx3",
                   "\"S - A\"\r\n1,\"one\"\r\n2,\"two\"\r\n3,\"three\"\r\n,\"four\"\r\n"));
        Select(1);
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        const Qt::KeyboardModifiers shift = Qt::ControlModifier | Qt::ShiftModifier;
        // clang-format off
        for (auto [key, modifiers] : {std::pair{Qt::Key_Right, ctrl}, {Qt::Key_Right, shift}, {Qt::Key_Right, shift},
                                      {Qt::Key_Left, ctrl}, {Qt::Key_Left, shift}, {Qt::Key_Z, ctrl}, {Qt::Key_Z, ctrl},
                                      {Qt::Key_Y, ctrl}, {Qt::Key_Y, ctrl}}) {
            Key(key, modifiers);
        }
        // clang-format on
        modal->Next([](QDialog* d) {
            Child<QSpinBox>(d, "txtValue")->setValue(-2500);
            Child<QPushButton>(d, "cmdOK")->click();
        });
        Select(2);
        Child<QAction>(timing.get(), "itmShift")->trigger();
        Select(3);
        Key(Qt::Key_Space);
        QCOMPARE(TimesOf(timing->Table()), "00:01.000 00:02.010 00:02.010 --:--.---");

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
        QCOMPARE(TimesOf(timing->Table()), "00:01.000 00:02.010 00:02.010 00:04.321");
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
        QVERIFY(!timing->isVisible());
        Open(lrc);
        Select(1);
        Key(Qt::Key_Right, Qt::ControlModifier);
        boxes->Answer(MsgResult::No);
        Key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ReadBytes(lrc), foreign);
        dialogs->ChooseFile(dir.filePath("copy"));
        QAction* saveAs = Child<QAction>(timing.get(), "itmSaveAs");
        saveAs->trigger();
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
        QCOMPARE(timing->windowTitle(), "other.cx3 - Timing");

        Key(Qt::Key_Left, Qt::ControlModifier);
        dialogs->ChooseFile(dir.filePath("missing/x.cx3"));
        boxes->Answer(MsgResult::OK);
        saveAs->trigger();
        boxes->Answer(MsgResult::Cancel);
        Key(Qt::Key_Escape);
        QVERIFY(timing->isVisible() && timing->windowTitle() == "*other.cx3 - Timing");
        boxes->Answer(MsgResult::No);
        QVERIFY(timing->close());
        QCOMPARE(ReadBytes(other), "\"song\"\r\n1,\"\"\r\n4.13,\"one\"\r\n,\"two\"\r\n");
        Open(other);
        Select(1);
        Key(Qt::Key_Right, Qt::ControlModifier);
        boxes->Answer(MsgResult::Yes);
        Child<QAction>(timing.get(), "itmClose")->trigger();
        QVERIFY(!timing->isVisible());
        QCOMPARE(ReadBytes(other), "\"song\"\r\n1,\"\"\r\n4.23,\"one\"\r\n,\"two\"\r\n");
        const QString replace =
            "Save Lyrics File As: " + other + " already exists.\rDo you want to replace it?";
        QCOMPARE(boxes->Texts().mid(0, 4),
                 (QStringList{"Timing: This LRC file will be written anew from its lines and "
                              "times: whatever else it holds (other tags, word timing) is not "
                              "kept.\rSave it anyway?",
                              replace, replace, "Timing: Could not save lyrics file."}));
    }

    // The lines just captured and a file opened, stamped through cantorix.conf's output delay.
    void fromTheEncoder() {
        QVERIFY(testsupport::WriteBytes(platform::ConfFilePath(), "[Output]\nDelayMs=200\n"));
        w->Form_Load();
        QVERIFY(w->TakeUpSong(Source("one\r\ntwo\r\nthree\r\n"), save, "S - A"));
        w->cmdPlay_Click();
        QVERIFY(!Item("itmFTiming")->isEnabled() && !Item("itmFOpenLyrics")->isEnabled());
        Press({1000, 2000});
        boxes->Answer(MsgResult::OK);
        w->cmdStop_Click();
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
        Item("itmFTiming")->trigger();
        QCOMPARE(ReadBytes(save), "\"S - A\"\r\n1.8,\"one\"\r\n2.4,\"two\"\r\n,\"three\"\r\n");
        QCOMPARE(w->Lines().SourceLines[1].Seconds, std::optional<double>(2.4));

        dialogs->ChooseFile(dir.filePath("missing.lrc"));
        boxes->Answer(MsgResult::OK);
        Item("itmFOpenLyrics")->trigger();
        dialogs->ChooseFile(save);
        modal->Next([](QDialog* d) { QCOMPARE(d->windowTitle(), "song.cx3 - Timing"); });
        Item("itmFOpenLyrics")->trigger();
        QCOMPARE(boxes->Texts().mid(1), QStringList{"Open Lyrics: Could not read data file."});
    }

    // "&Publish...": nothing leaves before Publish; the stand-in checks the nonce.
    void publish_data() {
        QTest::addColumn<QString>("action");  // publish, cancel (while solving), close
        QTest::addColumn<LrclibStandIn::Mode>("mode");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("sent");
        QTest::addColumn<int>("requests");
        const QByteArray easy = "0fff" + QByteArray(60, 'f');
        const auto normal = LrclibStandIn::Mode::Normal;
        // clang-format off
        QTest::newRow("published") << "publish" << normal << easy << "The lyrics database took the song. Thank you!" << true << 2;
        QTest::newRow("refused") << "publish" << LrclibStandIn::Mode::TooMany << easy
            << "The lyrics database did not take the song: too many requests, try again later." << false << 1;
        QTest::newRow("cancelled while the challenge is solved") << "cancel" << normal << QByteArray(64, '0')
            << "Cancelled. Nothing was sent." << false << 1;
        QTest::newRow("closed without publishing") << "close" << normal << easy << "" << false << 0;
        // clang-format on
    }
    void publish() {
        QFETCH(QString, action);
        QFETCH(LrclibStandIn::Mode, mode);
        QFETCH(QByteArray, target);
        LrclibStandIn standIn;
        standIn.Answer = mode;
        standIn.TargetHex = target;
        qputenv("CANTORIX_LRCLIB_URL", standIn.Url().toUtf8());
        const QByteArray timed =
            "\"Night Song - Lost Band\"\r\n1.5,\"Out in the night\"\r\n3,\"We sing\"\r\n";
        QVERIFY(w->TakeUpSong(Source("Out in the night\nWe sing"), Write("song.cx3", timed),
                              "Night Song - Lost Band"));
        QString status;
        modal->Next([&](QDialog* d) {
            auto* publish = qobject_cast<encoder::frmPublish*>(d);
            Child<QLineEdit>(publish, "txtAlbum")->setText("Dusk");
            if (action == "close") {
                publish->reject();
                return;
            }
            publish->cmdPublish_Click();
            publish->cmdPublish_Click();  // one dialog publishes once
            if (action == "cancel") {
                QTRY_COMPARE(standIn.Issued.size(), 1);
                QTest::qWait(2 * online::ChallengeSolver::ProgressIntervalMs);  // solving now
                publish->reject();
            }
            QTRY_VERIFY_WITH_TIMEOUT(publish->GetStatus().startsWith("The lyrics database") ||
                                         publish->GetStatus().startsWith("Cancelled"),
                                     20000);
            status = publish->GetStatus();
            QCOMPARE(publish->ReturnState(), status.contains("took"));
        });
        Item("itmFPublish")->trigger();
        QCOMPARE(modal->Shown().size(), 1);
        QTEST(status, "status");
        QFETCH(bool, sent);
        // clang-format off
        const QList<QJsonObject> expected{{{"trackName", "Night Song"}, {"artistName", "Lost Band"},
            {"albumName", "Dusk"}, {"duration", 200}, {"plainLyrics", "Out in the night\nWe sing"},
            {"syncedLyrics", "[00:00.00]Out in the night\n[00:01.50]We sing"}}};
        // clang-format on
        QCOMPARE(standIn.Published, sent ? expected : QList<QJsonObject>{});
        QTEST(int(standIn.UserAgents.size()), "requests");
    }
};

QTEST_MAIN(tst_EncoderWindow)
#include "tst_encoder_window.moc"
