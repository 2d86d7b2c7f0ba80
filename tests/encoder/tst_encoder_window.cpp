// The encoder's windows. The main window against a simulated Winamp on a manual clock: a song
// taken up by the wizard or as the command line does, corrected, timed through the buttons, the
// file it leaves, the boxes asked and what Winamp was told. The source text editor's commands and
// keys: whatever happens, a user's file is never lost or overwritten by another text.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "encoder/EditorFile.h"
#include "encoder/SourceText.h"
#include "encoder/frmAbout.h"
#include "encoder/frmBio.h"
#include "encoder/frmEdit.h"
#include "encoder/frmMain.h"
#include "encoder/frmOpen.h"
#include "platform/Folders.h"
#include "platform/ListBox.h"
#include "playlist/PlaylistList.h"
#include "support/Files.h"
#include "support/Find.h"
#include "support/Scripted.h"
#include "support/SimWinamp.h"
#include "winamp/WinampMenu.h"

using encoder::EditorFile;
using platform::MsgResult;
using testsupport::Child;

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
    template <typename T>
    T* Find(const char* name) const {
        return Child<T>(w.get(), name);
    }
    QAction* Item(const char* name) const { return Find<QAction>(name); }
    QPushButton* Button(const char* name) const { return Find<QPushButton>(name); }
    QLabel* Label(const char* name) const { return Find<QLabel>(name); }
    platform::ListBox* LineList() const { return Find<platform::ListBox>("lstFile"); }
    // Next Line at each position of the song (Start plays it from 0).
    void Press(const QList<qint64>& positions) {
        const qint64 started = sim->clock.NowMs() - sim->model.PositionMs();
        for (qint64 ms : positions) {
            sim->clock.Set(started + ms);
            w->cmdNext_Click();
        }
    }
    // The lines as the list shows them, which must be the table's.
    QStringList Lines() const {
        QStringList list, table;
        for (int i = 0; i < LineList()->count(); ++i) {
            list << LineList()->model()->index(i, 0).data().toString();
        }
        for (int i = 0; i <= w->Lines().LastSourceLine; ++i) {
            table << w->Lines().SourceLines[size_t(i)].Text;
        }
        return list == table ? list : QStringList{"list", list.join('|'), "table", table.join('|')};
    }
    void NextEdit(const QString& text, bool confirm = true) {
        modal->Next([=](QDialog* d) {
            auto* edit = qobject_cast<encoder::frmEdit*>(d);
            Child<QLineEdit>(edit, "txtEdit")->setText(text);
            Child<QPushButton>(edit, confirm ? "cmdOK" : "cmdCancel")->click();
        });
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

    // Nothing to time: Play does nothing. A failed load changes nothing; with no lyrics file
    // to write to, the capture's end says so and keeps the stamps. No Winamp: Play says so.
    void nothingToTimeAFailedLoadOrNoWinamp() {
        QVERIFY(w->TakeUpSong(Source(" \r\n\"\"\r\n"), save, "Song - Band"));
        QCOMPARE(Label("lblNextLine")->text(), "[end of file...]");
        sim->Clear();
        w->cmdPlay_Click();
        QVERIFY(sim->Posts().isEmpty() && Button("cmdPlay")->isEnabled());
        QVERIFY(w->TakeUpSong(Source("one\ntwo"), save, "Song - Band"));
        boxes->Answer(MsgResult::OK);
        QVERIFY(!w->TakeUpSong(dir.filePath("missing.txt"), save, "Other"));
        QVERIFY(w->SourcePath().isEmpty() && w->SavePath().isEmpty());
        QCOMPARE(Lines(), (QStringList{"one", "two"}));
        QCOMPARE(w->Lines().SourceLines[2].Text, "[end of file...]");
        w->cmdPlay_Click();
        boxes->Answer(MsgResult::OK);
        Press({1000, 2000});
        QCOMPARE(w->Lines().SourceLines[1].Seconds, std::optional<double>(2));
        sim.reset();
        QVERIFY(w->TakeUpSong(Source("line"), save, "Song - Band"));
        boxes->Answer(MsgResult::OK);
        w->cmdPlay_Click();
        const QString ouch = "@ Wizard: Ouch. The @ Wizard lost it... Please retry.";
        QCOMPARE(boxes->Texts(), (QStringList{ouch, ouch,
                                              "Winamp Handle: Winamp is not running.\rYou may "
                                              "want to start it, and press F3 to try again."}));
        QVERIFY(Button("cmdPlay")->isEnabled() && !Button("cmdNext")->isEnabled());
    }

    // Every failed step says so, forgets both paths and keeps what the steps before it did.
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
        modal->Next([stop](QDialog* d) {
            auto* editor = qobject_cast<encoder::frmOpen*>(d);
            Child<QPushButton>(editor, stop == 1 ? "cmdClose" : "cmdSave")->click();
        });
        modal->Next([stop](QDialog* d) {
            auto* bio = qobject_cast<encoder::frmBio*>(d);
            QVERIFY(Child<QLineEdit>(bio, "txtArtist")->text().isEmpty() &&
                    Child<QLineEdit>(bio, "txtSong")->text().isEmpty());
            Child<QLineEdit>(bio, "txtArtist")->setText("Band");
            Child<QLineEdit>(bio, "txtSong")->setText("New");
            Child<QPushButton>(bio, stop == 2 ? "cmdCancel" : "cmdOK")->click();
        });
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
        QVERIFY(Button("cmdPlay")->isEnabled() == earlierRun &&
                Find<QMenu>("mnuFile")->isEnabled() == earlierRun &&
                Item("itmFTitle")->isEnabled() == earlierRun);
        // With no source, neither the title nor the source can be corrected.
        w->itmFTitle_Click();
        w->itmFREdit_Click();
        QCOMPARE(modal->Shown().size(), stop == 1 ? 1 : 2);
    }

    // A blank field is refused, unchanged, unless its substitute is taken.
    void blankFields() {
        encoder::frmBio bio;
        Child<QLineEdit>(&bio, "txtArtist")->setText(" ");
        for (MsgResult answer : {MsgResult::No, MsgResult::Yes, MsgResult::No, MsgResult::Yes}) {
            boxes->Answer(answer);
        }
        Child<QPushButton>(&bio, "cmdOK")->click();
        QVERIFY(!bio.ReturnState() && Child<QLineEdit>(&bio, "txtArtist")->text() == " ");
        Child<QPushButton>(&bio, "cmdOK")->click();
        QVERIFY(!bio.ReturnState() && Child<QLineEdit>(&bio, "txtArtist")->text() == "[Anon.]");
        Child<QPushButton>(&bio, "cmdOK")->click();
        QVERIFY(bio.ReturnState());
        QCOMPARE(bio.GetTitle(), "[Untitled] - [Anon.]");
        const QString artist =
            "@ Wizard: Artist's name was left blank. Would you like to use "
            "[Anon.] as substitute?";
        const QString song =
            "@ Wizard: Song's name was left blank. Would you like to use "
            "[Untitled] as substitute?";
        QCOMPARE(boxes->Texts(), (QStringList{artist, artist, song, song}));
    }

    // Add above the selection, a capture of the lines as corrected, Edit, Remove and Title,
    // with the list and the table in step.
    void quickFix() {
        QVERIFY(w->TakeUpSong(Source("A\r\nB\r\nC\r\n"), save, "Song One - Band X"));
        // Each correction redraws its own row, never the whole list.
        QSignalSpy reset(LineList()->model(), &QAbstractItemModel::modelReset);
        QSignalSpy redrawn(LineList()->model(), &QAbstractItemModel::dataChanged);
        LineList()->setCurrentRow(1);
        modal->Next([](QDialog* d) {
            QCOMPARE(d->windowTitle(), "Add New Line");
            QCOMPARE(Child<QLabel>(d, "lbl1")->text(),
                     "*Note: this operation will not affect your original file.\n"
                     "The line will be added on top of your selection.");
        });
        NextEdit(" \"new\" ");
        Item("itmFAdd")->trigger();  // cancelled
        Item("itmFAdd")->trigger();
        QCOMPARE(Lines(), (QStringList{"A", "new", "B", "C"}));

        sim->Clear();
        w->cmdPlay_Click();
        // While the song is timed, neither the wizard nor the corrections can be reached.
        QCOMPARE(w->OuterHeight(), 2650);
        QVERIFY(!Item("itmFWizard")->isEnabled() && !Item("itmFREdit")->isEnabled() &&
                !Button("cmdOpen")->isEnabled());
        QVERIFY(!Button("cmdPlay")->isEnabled() && !Find<QMenu>("mnuFile")->isEnabled());
        boxes->Answer(MsgResult::OK);
        Press({83456, 90000, 95500, 99000});
        QCOMPARE(Label("lblCurrLine")->text() + '/' + Label("lblNextLine")->text(),
                 "[end of file...]/[end of file...]");
        QCOMPARE(boxes->Texts(), QStringList{"@ Wizard: Encoding was successfully completed!"});
        const QByteArray fourRecords =
            "\"Song One - Band X\"\r\n83.456,\"A\"\r\n90,\"new\"\r\n"
            "95.5,\"B\"\r\n99,\"C\"\r\n";
        QCOMPARE(testsupport::ReadBytes(save), fourRecords);
        QCOMPARE(w->OuterHeight(), 5655);
        QVERIFY(Button("cmdPlay")->isEnabled() && Item("itmFWizard")->isEnabled() &&
                Item("itmFREdit")->isEnabled());

        // Once emptied, the text can only be cancelled; an edit keeps the line's time.
        LineList()->setCurrentRow(2);
        modal->Next([](QDialog* d) {
            auto* edit = qobject_cast<encoder::frmEdit*>(d);
            QCOMPARE(edit->windowTitle() + ':' + Child<QLineEdit>(edit, "txtEdit")->text(),
                     "Edit Line:B");
            Child<QLineEdit>(edit, "txtEdit")->clear();
            Child<QLineEdit>(edit, "txtEdit")->setText("B2");
            QVERIFY(!Child<QPushButton>(edit, "cmdOK")->isEnabled());
        });
        NextEdit("B2");
        Item("itmFEdit")->trigger();
        Item("itmFEdit")->trigger();
        QCOMPARE(Lines(), (QStringList{"A", "new", "B2", "C"}));
        QVERIFY(redrawn.count() == 1 && redrawn[0][0].toModelIndex().row() == 2);

        // Remove asks about the line by its number; then nothing is selected, so the next
        // command takes the first line.
        LineList()->setCurrentRow(1);
        boxes->Answer(MsgResult::Yes);
        boxes->Answer(MsgResult::No);
        Item("itmFRemove")->trigger();
        Item("itmFRemove")->trigger();
        const QString question =
            "Remove Line: Are you sure you wish to remove this line? (Line "
            "#%1)\rThis will not affect your original file.";
        QCOMPARE(boxes->Texts().mid(1), (QStringList{question.arg(2), question.arg(1)}));
        QCOMPARE(Lines(), (QStringList{"A", "B2", "C"}));
        QCOMPARE(reset.count(), 0);

        modal->Next([](QDialog* d) {
            auto* bio = qobject_cast<encoder::frmBio*>(d);
            QCOMPARE(Child<QLineEdit>(bio, "txtSong")->text() + '/' +
                         Child<QLineEdit>(bio, "txtArtist")->text(),
                     "Song One/Band X");
            Child<QLineEdit>(bio, "txtArtist")->setText("Band \"Y\"");
            Child<QPushButton>(bio, "cmdOK")->click();
        });
        Item("itmFTitle")->trigger();
        QCOMPARE(w->LyricsTitle(), "Song One - Band Y");
        QCOMPARE(w->windowTitle(), "Song One - Band X - Cantorix 3 Encoder");

        // A capture stopped before the end asks first: No writes nothing; Yes keeps the older
        // stamps beyond the line reached, the edited line's among them.
        for (MsgResult answer : {MsgResult::No, MsgResult::Yes, MsgResult::OK}) {
            boxes->Answer(answer);
        }
        for (const QByteArray& file :
             {fourRecords,
              QByteArray("\"Song One - Band Y\"\r\n1.5,\"A\"\r\n95.5,\"B2\"\r\n99,\"C\"\r\n")}) {
            w->cmdPlay_Click();
            Press({1500});
            w->cmdStop_Click();
            QCOMPARE(sim->Posts().last(), SimWinamp::Command(winamp::CmdStop));
            QCOMPARE(testsupport::ReadBytes(save), file);
        }
        const QString early =
            "@ Wizard: The end of the song was not reached. Do you still want "
            "to save your work?";
        QCOMPARE(boxes->Texts().mid(3),
                 (QStringList{early, early, "@ Wizard: Encoding was successfully completed!"}));

        // The right button over the lines pops up Quickfix and leaves the selection alone.
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        LineList()->setCurrentRow(2);
        const QPoint row0 = LineList()->visualRect(LineList()->model()->index(0, 0)).center();
        QTest::mouseClick(LineList()->viewport(), Qt::RightButton, {}, row0);
        QVERIFY(Find<QMenu>("mnuFile")->isVisible() && LineList()->currentRow() == 2);
        Find<QMenu>("mnuFile")->hide();
    }

    void addToAFullTable() {
        QVERIFY(
            w->TakeUpSong(Source(QByteArray("x\n").repeated(encoder::MaxSourceLines)), save, "S"));
        boxes->Answer(MsgResult::OK);
        Item("itmFAdd")->trigger();
        QCOMPARE(boxes->Texts(), QStringList{"Add New Line: No line can be added: a song holds "
                                             "at most 32766 lines."});
        QCOMPARE(LineList()->count(), encoder::MaxSourceLines);
    }

    // The source reopened in the editor: continued, cancelled, unloadable, unreadable.
    void editTheSource() {
        const QString source = Source("A\r\nB\r\n");
        QVERIFY(w->TakeUpSong(source, save, "S - A"));
        for (const QString& text :
             {QString("A\nB2\nC"), QString(), QString("x\n").repeated(32767)}) {
            modal->Next([text](QDialog* d) {
                auto* editor = qobject_cast<encoder::frmOpen*>(d);
                QVERIFY(!Child<QAction>(editor, "itmFOpen")->isEnabled());
                Child<QPlainTextEdit>(editor, "rtb")->setPlainText(text);
                Child<QPushButton>(editor, text.isEmpty() ? "cmdClose" : "cmdSave")->click();
            });
            boxes->Answer(MsgResult::OK);
            Item("itmFREdit")->trigger();
            QCOMPARE(Lines(), (QStringList{"A", "B2", "C"}));
        }
        QCOMPARE(boxes->Texts(),
                 (QStringList{"Editor: The lyrics have been update.",
                              "Editor: The text was saved, but its lines could not be "
                              "read again; the lines are as they were."}));
        QFile::remove(source);
        w->itmFREdit_Click();
        QCOMPARE(boxes->Texts().last(), "@ Wizard: Could not read file.");
        QCOMPARE(modal->Shown().size(), 3);
        QCOMPARE(Lines(), (QStringList{"A", "B2", "C"}));
    }

    // Cancel at either closing question keeps the window; No to saving the changed playlist
    // and Yes to Winamp close both; unchanged, only Winamp is asked about. Winamp's own Close
    // answered Yes ends the encoder without them.
    void closingDialogue() {
        for (MsgResult answer : {MsgResult::Cancel, MsgResult::No, MsgResult::Cancel, MsgResult::No,
                                 MsgResult::Yes, MsgResult::No, MsgResult::Yes}) {
            boxes->Answer(answer);
        }
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
            "Close Cantorix?: Would you like to save the changes you made to "
            "the playlist?\r";
        const QString winamp = "Close Cantorix?: Would you like to close Winamp as well?";
        QCOMPARE(boxes->Texts(),
                 (QStringList{list, list, winamp, list, winamp, winamp,
                              "Close Cantorix?: Would you like to close Cantorix 3 as well?"}));
    }

    void viewsColoursAndTheAboutBox() {
        QTest::mouseClick(Label("lbl1"), Qt::LeftButton);
        QVERIFY(Find<playlist::PlaylistList>("lstList")->isVisibleTo(w.get()) &&
                !LineList()->isVisibleTo(w.get()));
        QVERIFY(Find<QMenu>("mnuList")->menuAction()->isVisible() &&
                !Find<QMenu>("mnuF")->menuAction()->isVisible());
        QVERIFY(Label("lbl1")->font().bold() && !Label("lbl0")->font().bold());
        QTest::mouseClick(Label("lbl0"), Qt::LeftButton);
        QVERIFY(!Find<QMenu>("mnuList")->menuAction()->isVisible() && Label("lbl0")->font().bold());

        testsupport::WriteBytes(platform::SettingsFilePath(), "255,0,65280\r\n");
        encoder::frmMain coloured;
        coloured.Form_Load();
        QCOMPARE(coloured.centralWidget()->palette().color(QPalette::Window), QColor(Qt::red));
        QCOMPARE(coloured.findChild<QLabel*>("lblCurrLine")->palette().color(QPalette::WindowText),
                 QColor(Qt::black));
        QCOMPARE(coloured.findChild<QLabel*>("lblNextLine")->palette().color(QPalette::WindowText),
                 QColor(0, 255, 0));

        // On top, the window lets go of the top for as long as a dialog is open.
        Item("itmCOnTop")->trigger();
        bool onTopDuringTheBox = true;
        modal->Next([&](QDialog* dialog) {
            onTopDuringTheBox = w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            QCOMPARE(dialog->windowTitle(), "About Cantorix 3 Encoder");
            QVERIFY(Child<QLabel>(dialog, "lbl")->text().startsWith("Version 1.1.2\n\n"));
        });
        Item("itmCAbout")->trigger();
        QVERIFY(!onTopDuringTheBox && Item("itmCOnTop")->isChecked());
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    // From the wizard: the Open dialog first; cancelled, a typed text goes to the temporary
    // file. New after a file was opened leaves that file alone, and the next typed text
    // replaces the first in the temporary file. Outside the wizard no other file can be
    // chosen; a failed open or save says so and keeps the file, its text and the editor.
    void editorFiles() {
        QDir(dir.path()).mkdir("sub");
        const QString lyrics = Write("sub/lyrics.txt", "Oh my");
        for (const QString typed : {"first text", "second"}) {
            encoder::frmOpen editor;
            typed == "second" ? dialogs->ChooseFile(lyrics) : dialogs->Cancel();
            editor.InitialState(1);
            auto* text = Child<QPlainTextEdit>(&editor, "rtb");
            const platform::DialogRequest asked = dialogs->Asked().last();
            QCOMPARE(asked.Title + '|' + asked.Filter,
                     "Step 1 - Select Source File|Text files (*.txt, *.text, *.html, *.doc, "
                     "*.wri)|*.txt;*.text;*.htm;*.html;*.doc;*.wri|All Files (*.*)|*.*");
            QVERIFY(asked.FilterIndex == 1 && asked.Flags == 6148);
            QCOMPARE(text->toPlainText(), typed == "second" ? "Oh my" : "");
            editor.itmFNew_Click();
            QVERIFY(text->toPlainText().isEmpty());
            text->setPlainText(typed);
            editor.cmdSave_Click();
            QVERIFY(editor.ReturnState());
            QCOMPARE(editor.ReturnNewFile(), EditorFile::TemporaryFilePath());
            QCOMPARE(testsupport::ReadBytes(EditorFile::TemporaryFilePath()), typed.toUtf8());
        }
        QCOMPARE(testsupport::ReadBytes(lyrics), "Oh my");

        const QString binary = Write("song.mp3", QByteArray("ID3\0\0\0", 6));
        encoder::frmOpen editor;
        editor.InitialState();
        auto* text = Child<QPlainTextEdit>(&editor, "rtb");
        QVERIFY(!Child<QAction>(&editor, "itmFOpen")->isEnabled());
        QVERIFY(editor.OpenFile(lyrics));
        dialogs->ChooseFile(binary);
        boxes->Answer(MsgResult::OK);
        editor.itmFOpen_Click();
        QCOMPARE(text->toPlainText() + '|' + editor.ReturnNewFile(), "Oh my|" + lyrics);
        text->setPlainText("Oh my, my");
        Child<QAction>(&editor, "itmFSave")->trigger();
        QCOMPARE(testsupport::ReadBytes(lyrics), "Oh my, my");
        QCOMPARE(testsupport::ReadBytes(binary), QByteArray("ID3\0\0\0", 6));
        QVERIFY(QDir(dir.filePath("sub")).removeRecursively());
        editor.show();
        boxes->Answer(MsgResult::OK);
        editor.cmdSave_Click();
        QCOMPARE(boxes->Texts(),
                 (QStringList{"@ Wizard: Could not read file.", "@ Wizard: Could not save file."}));
        QVERIFY(boxes->Asked()[0].Icon == platform::MsgIcon::Exclamation &&
                boxes->Asked()[1].Icon == platform::MsgIcon::Exclamation);
        QVERIFY(editor.isVisible() && text->toPlainText() == "Oh my, my");
    }

    // Reload and Ctrl+F4 drop the changes and write nothing. Escape and the window's frame
    // ask before dropping changes (Cancel and "Discard & Close" ask nothing): Cancel keeps the
    // editor, No drops the changes, Yes saves them as Continue does. A no-break space stays one.
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
        QCOMPARE(testsupport::ReadBytes(rich), "{\\rtf1 Oh {\\b my}}");
        QVERIFY(!QFile::exists(EditorFile::TemporaryFilePath()));

        QVERIFY(editor.OpenFile(lyrics));
        editor.show();
        QTest::keyClick(text, Qt::Key_Escape);  // unchanged: no question
        QVERIFY(!editor.isVisible());
        editor.show();
        text->moveCursor(QTextCursor::End);
        text->insertPlainText("la");
        for (MsgResult answer : {MsgResult::Cancel, MsgResult::No, MsgResult::Yes}) {
            boxes->Answer(answer);
        }
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(editor.isVisible());
        QVERIFY(editor.close() && !editor.ReturnState());
        QCOMPARE(testsupport::ReadBytes(lyrics), "Oh\xc2\xa0my\r\n");
        editor.show();
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(!editor.isVisible() && editor.ReturnState());
        QCOMPARE(testsupport::ReadBytes(lyrics), "Oh\xc2\xa0my\r\nla");
        QCOMPARE(boxes->Texts(), QStringList(3,
                                             "Edit Lyrics: Would you like to save the changes "
                                             "you made to the lyrics?"));
    }

    // The Edit menu's keys run its commands also in the text box: plain text only, and Del
    // deletes the selection and nothing else.
    void editKeysRunTheCommands() {
        encoder::frmOpen editor;
        editor.show();
        QPlainTextEdit* box = Child<QPlainTextEdit>(&editor, "rtb");
        const auto select = [box](int from, int to) {
            QTextCursor cursor = box->textCursor();
            cursor.setPosition(from);
            cursor.setPosition(to, QTextCursor::KeepAnchor);
            box->setTextCursor(cursor);
        };
        box->setPlainText("Hello world");
        QApplication::clipboard()->setText("stale");
        select(0, 0);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), "");
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->toPlainText(), "Hello world");
        select(0, 5);
        QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text() + '|' + box->toPlainText(), "Hello| world");
        auto* rich = new QMimeData;
        rich->setHtml("<b>Bold</b>");
        rich->setText("Bold");
        QApplication::clipboard()->setMimeData(rich);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), "Bold world");
        QVERIFY(!box->document()->toHtml().contains("font-weight:700"));
        select(0, 4);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->toPlainText(), " world");
    }
};

QTEST_MAIN(tst_EncoderWindow)
#include "tst_encoder_window.moc"
