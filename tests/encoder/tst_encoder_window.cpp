// The encoder's windows against a simulated Winamp on a manual clock: controls reach the rules,
// and the source editor never loses or overwrites a user's file.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "encoder/EditorFile.h"
#include "encoder/SourceText.h"
#include "encoder/frmBio.h"
#include "encoder/frmMain.h"
#include "encoder/frmOpen.h"
#include "platform/Folders.h"
#include "platform/ListBox.h"
#include "support/Files.h"
#include "support/Find.h"
#include "support/Scripted.h"
#include "support/SimWinamp.h"

using encoder::EditorFile;
using platform::MsgResult;
using testsupport::Child;
using testsupport::ReadBytes;

class tst_EncoderWindow : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<SimWinamp> sim;
    std::unique_ptr<testsupport::ScriptedBoxes> boxes;
    std::unique_ptr<testsupport::ScriptedModal> modal;
    std::unique_ptr<testsupport::ScriptedDialogs> dialogs;
    std::unique_ptr<encoder::frmMain> w;
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
    // Next Line at each position of the song (Start plays it from 0).
    void Press(const QList<qint64>& positions) {
        const qint64 started = sim->clock.NowMs() - sim->model.PositionMs();
        for (qint64 ms : positions) {
            sim->clock.Set(started + ms);
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

  private slots:
    void init() {
        QFile::remove(platform::SettingsFilePath());
        QFile::remove(save);
        QFile::remove(EditorFile::TemporaryFilePath());
        sim = std::make_unique<SimWinamp>(3, 200);
        boxes = std::make_unique<testsupport::ScriptedBoxes>();
        modal = std::make_unique<testsupport::ScriptedModal>();
        dialogs = std::make_unique<testsupport::ScriptedDialogs>();
        w = std::make_unique<encoder::frmMain>();
        w->Form_Load();
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
        NextDialog({{"txtArtist", "Band"}, {"txtSong", "New"}}, stop == 2 ? "cmdCancel" : "cmdOK");
        dialogs->Cancel();
        boxes->Answer(MsgResult::OK);
        Item("itmFWizard")->trigger();
        QCOMPARE(boxes->Texts(),
                 QStringList{"@ Wizard: Ouch. The @ Wizard lost it... Please retry."});
        QVERIFY(w->SourcePath().isEmpty() && w->SavePath().isEmpty());
        QCOMPARE(Lines(), stop == 1 ? QStringList(earlierRun ? 1 : 0, "old")
                                    : QStringList({"new one", "new two"}));
        QCOMPARE(w->LyricsTitle(), stop == 3 ? "New - Band" : earlierRun ? "Old - Band" : "");
        QCOMPARE(w->windowTitle(),
                 earlierRun ? "Old - Band - Cantorix 3 Encoder" : "Cantorix 3 Encoder");
        QCOMPARE(Enabled({"cmdPlay", "mnuFile", "itmFTitle"}), earlierRun ? "111" : "000");
        w->itmFTitle_Click();  // with no source, neither the title nor the source is corrected
        w->itmFREdit_Click();
        QCOMPARE(modal->Shown().size(), stop == 1 ? 1 : 2);
    }

    // A blank field is refused, unchanged, unless its substitute is taken.
    void blankFields() {
        encoder::frmBio bio;
        auto* artist = Child<QLineEdit>(&bio, "txtArtist");
        artist->setText(" ");
        Answers({MsgResult::No, MsgResult::Yes, MsgResult::No, MsgResult::Yes});
        for (const char* after : {" ", "[Anon.]", "[Anon.]"}) {
            QVERIFY(!bio.ReturnState());
            Child<QPushButton>(&bio, "cmdOK")->click();
            QCOMPARE(artist->text(), after);
        }
        QVERIFY(bio.ReturnState() && bio.GetTitle() == "[Untitled] - [Anon.]");
        QCOMPARE(boxes->Texts()[1] + '|' + boxes->Texts()[3],
                 "@ Wizard: Artist's name was left blank. Would you like to use [Anon.] as "
                 "substitute?|@ Wizard: Song's name was left blank. Would you like to use "
                 "[Untitled] as substitute?");
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
        modal->Next([](QDialog* d) {
            auto* text = Child<QLineEdit>(d, "txtEdit");
            QCOMPARE(d->windowTitle() + ':' + text->text(), "Edit Line:B");
            text->clear();
            text->setText("B2");
            QVERIFY(!Child<QPushButton>(d, "cmdOK")->isEnabled());
        });
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
        NextDialog({{"txtArtist", "Band \"Y\""}}, "cmdOK");
        Item("itmFTitle")->trigger();
        QCOMPARE(w->LyricsTitle() + '|' + w->windowTitle(),
                 "Song One - Band Y|Song One - Band X - Cantorix 3 Encoder");

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
        QVERIFY(ReadBytes(save).startsWith("\"Song One - Band Y\"\r\n1,\"A\""));
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
        const QString list =
            "Close Cantorix?: Would you like to save the changes you made to the playlist?\r";
        const QString winamp = "Close Cantorix?: Would you like to close Winamp as well?";
        QCOMPARE(boxes->Texts().mid(0, 6), (QStringList{list, list, winamp, list, winamp, winamp}));
    }

    // The tabs, and on top let go of while a dialog is open.
    void viewsAndOnTop() {
        const auto menus = [this] {
            return QString::number(Child<QMenu>(w.get(), "mnuF")->menuAction()->isVisible()) +
                   QString::number(Child<QMenu>(w.get(), "mnuList")->menuAction()->isVisible()) +
                   QString::number(LineList()->isVisibleTo(w.get()));
        };
        QTest::mouseClick(Child<QLabel>(w.get(), "lbl1"), Qt::LeftButton);
        QCOMPARE(menus(), "010");
        QTest::mouseClick(Child<QLabel>(w.get(), "lbl0"), Qt::LeftButton);
        QCOMPARE(menus(), "101");

        Item("itmCOnTop")->trigger();
        bool onTopDuringTheBox = true;
        modal->Next([&](QDialog*) {
            onTopDuringTheBox = w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        });
        Item("itmCAbout")->trigger();
        QVERIFY(!onTopDuringTheBox && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    // The wizard's editor: Open, then New to the temporary file; outside the wizard a failed
    // open or save keeps file, text and editor.
    void editorFiles() {
        QDir(dir.path()).mkdir("sub");
        const QString lyrics = Write("sub/lyrics.txt", "Oh my");
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

        encoder::frmOpen editor;
        editor.InitialState();
        auto* text = Child<QPlainTextEdit>(&editor, "rtb");
        QVERIFY(!Child<QAction>(&editor, "itmFOpen")->isEnabled());
        QVERIFY(editor.OpenFile(lyrics));
        dialogs->ChooseFile(Write("song.mp3", QByteArray("ID3\0\0\0", 6)));
        Answers({MsgResult::OK, MsgResult::OK});
        editor.itmFOpen_Click();
        QCOMPARE(text->toPlainText() + '|' + editor.ReturnNewFile(), "Oh my|" + lyrics);
        text->setPlainText("Oh my, my");
        Child<QAction>(&editor, "itmFSave")->trigger();
        QCOMPARE(ReadBytes(lyrics), "Oh my, my");
        QVERIFY(QDir(dir.filePath("sub")).removeRecursively());
        editor.show();
        editor.cmdSave_Click();
        QCOMPARE(boxes->Texts(),
                 (QStringList{"@ Wizard: Could not read file.", "@ Wizard: Could not save file."}));
        QVERIFY(editor.isVisible() && text->toPlainText() == "Oh my, my");
    }

    // Reload and Ctrl+F4 drop changes; Escape and the frame ask first (Cancel, No, Yes).
    void closingTheEditor() {
        const QString rich = Write("rich.txt", "{\\rtf1 Oh {\\b my}}");
        const QString lyrics = Write("lyrics.txt", "Oh\xc2\xa0my\r\n");
        encoder::frmOpen editor;
        auto* text = Child<QPlainTextEdit>(&editor, "rtb");
        QVERIFY(editor.OpenFile(rich));
        text->setPlainText("edited");
        editor.itmFReload_Click();
        QCOMPARE(text->toPlainText(), "Oh my");
        text->setPlainText("edited again");
        editor.show();
        QApplication::setActiveWindow(&editor);
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        QTest::keyClick(text, Qt::Key_F4, Qt::ControlModifier);
        QVERIFY(!editor.isVisible() && !editor.ReturnState());
        QCOMPARE(ReadBytes(rich), "{\\rtf1 Oh {\\b my}}");

        QVERIFY(editor.OpenFile(lyrics));
        editor.show();
        QTest::keyClick(text, Qt::Key_Escape);  // unchanged: no question
        QVERIFY(!editor.isVisible());
        editor.show();
        text->moveCursor(QTextCursor::End);
        text->insertPlainText("la");
        Answers({MsgResult::Cancel, MsgResult::No, MsgResult::Yes});
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(editor.isVisible());
        QVERIFY(editor.close() && !editor.ReturnState());
        QCOMPARE(ReadBytes(lyrics), "Oh\xc2\xa0my\r\n");
        editor.show();
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(!editor.isVisible() && editor.ReturnState());
        QCOMPARE(ReadBytes(lyrics), "Oh\xc2\xa0my\r\nla");
        QCOMPARE(boxes->Texts(),
                 QStringList(3,
                             "Edit Lyrics: Would you like to save the changes you made to the "
                             "lyrics?"));
    }
};

QTEST_MAIN(tst_EncoderWindow)
#include "tst_encoder_window.moc"
