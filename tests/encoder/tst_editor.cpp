// The source text editor: the file rules of EditorFile in tables, and frmOpen's commands
// and keys. Whatever happens, a user's file is never lost or overwritten by another text.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

#include "encoder/EditorFile.h"
#include "encoder/frmOpen.h"
#include "lyrics/DelimitedFile.h"
#include "platform/Folders.h"
#include "support/Files.h"
#include "support/Scripted.h"

using encoder::EditorFile;

class tst_Editor : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<testsupport::ScriptedBoxes> boxes;
    std::unique_ptr<testsupport::ScriptedDialogs> dialogs;

    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        testsupport::WriteBytes(path, bytes);
        return path;
    }
    QString Temporary() const { return EditorFile::TemporaryFilePath(); }
    void ExpectBox(const QString& text) {
        QCOMPARE(boxes->Asked().size(), 1);
        QCOMPARE(boxes->Asked()[0].Title, "@ Wizard");
        QCOMPARE(boxes->Asked()[0].Text, text);
        QCOMPARE(boxes->Asked()[0].Icon, platform::MsgIcon::Exclamation);
    }

  private slots:
    void init() {
        QFile::remove(Temporary());
        boxes = std::make_unique<testsupport::ScriptedBoxes>();
        dialogs = std::make_unique<testsupport::ScriptedDialogs>();
    }
    void cleanup() {
        const int unexpected = boxes->Unexpected() + dialogs->Unexpected();
        boxes.reset();
        dialogs.reset();
        QCOMPARE(unexpected, 0);
    }

    void open_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");  // "-" when it cannot be opened
        QTest::newRow("text") << "text" << "Oh my\nthe tide";
        QTest::newRow("NUL bytes") << "binary" << "-";
        QTest::newRow("too big") << "big" << "-";
        QTest::newRow("FIFO") << "fifo" << "-";
        QTest::newRow("folder") << "folder" << "-";
        QTest::newRow("missing") << "missing" << "-";
    }
    void open() {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        const QString path = dir.filePath(kind);
        if (kind == "text") {
            Write(kind, "Oh my\nthe tide");
        } else if (kind == "binary") {
            Write(kind, QByteArray("Oh\0\1\2", 5));
        } else if (kind == "big") {
            QFile big(path);
            QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(lyrics::FieldReader::MaxFileSize + 1));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == "folder") {
            QVERIFY(QDir(dir.path()).mkdir(kind));
        }
        EditorFile file;
        file.FileName = "/earlier.txt";
        file.Confirmed = true;
        QCOMPARE(file.Open(path).value_or("-"), text);
        QCOMPARE(file.FileName, text == "-" ? "/earlier.txt" : path);
        QCOMPARE(file.Confirmed, text == "-");
    }

    void save_data() {
        QTest::addColumn<QString>("target");  // the file name, "" for none
        QTest::addColumn<bool>("saved");
        QTest::newRow("the opened file") << "lyrics.txt" << true;
        QTest::newRow("no file: the temporary file") << "" << true;
        QTest::newRow("a folder that is gone") << "gone/lyrics.txt" << false;
        QTest::newRow("a folder where the file was") << "folder" << false;
        QTest::newRow("a read-only folder") << "locked/lyrics.txt" << false;
    }
    void save() {
        QFETCH(QString, target);
        QFETCH(bool, saved);
        QDir(dir.path()).mkdir("folder");
        QDir(dir.path()).mkdir("locked");
        const QString path = target.isEmpty() ? QString() : dir.filePath(target);
        if (!path.isEmpty() && !target.startsWith("gone")) {
            Write(target, "old text");
        }
        if (target.startsWith("locked")) {
            if (::geteuid() == 0) {
                QSKIP("root writes into a read-only folder");
            }
            QVERIFY(QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner));
        }
        EditorFile file;
        file.FileName = path;
        QCOMPARE(file.Save("new\ntext"), saved);
        QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(file.Confirmed, saved);
        const QString written = target.isEmpty() ? Temporary() : path;
        QCOMPARE(file.FileName, saved ? written : path);
        QCOMPARE(QFileInfo(written).path(), target.isEmpty() ? platform::SettingsFolder()
                                                             : QFileInfo(path).path());
        if (saved) {
            QCOMPARE(testsupport::ReadBytes(written), "new\ntext");
        } else if (target.startsWith("locked")) {
            QCOMPARE(testsupport::ReadBytes(written), "old text");
        }
    }

    // From the wizard: the Open dialog first; cancelled, a typed text goes to the temporary
    // file, and the next typed text replaces it there.
    void typedTextsGoToTheTemporaryFile() {
        for (const QString typed : {"first text", "second"}) {
            encoder::frmOpen editor;
            dialogs->Cancel();
            editor.InitialState(1);
            const platform::DialogRequest asked = dialogs->Asked().last();
            QCOMPARE(asked.Title, "Step 1 - Select Source File");
            QCOMPARE(asked.Filter, "Text files (*.txt, *.text, *.html, *.doc, *.wri)|"
                                   "*.txt;*.text;*.htm;*.html;*.doc;*.wri|All Files (*.*)|*.*");
            QCOMPARE(asked.FilterIndex, 1);
            QCOMPARE(asked.Flags, 6148);
            QVERIFY(editor.rtb->toPlainText().isEmpty() && editor.itmFNew->isEnabled());
            editor.rtb->setPlainText(typed);
            editor.cmdSave_Click();
            QVERIFY(editor.ReturnState());
            QCOMPARE(editor.ReturnNewFile(), Temporary());
            QCOMPARE(testsupport::ReadBytes(Temporary()), typed.toUtf8());
        }
    }

    void failedOpenKeepsTheFileAndItsText() {
        const QString lyrics = Write("lyrics.txt", "Oh my");
        const QString binary = Write("song.mp3", QByteArray("ID3\0\0\0", 6));
        encoder::frmOpen editor;
        editor.InitialState();
        QVERIFY(!editor.itmFOpen->isEnabled());  // only the wizard may choose another file
        QVERIFY(editor.OpenFile(lyrics));
        dialogs->ChooseFile(binary);
        boxes->Answer(platform::MsgResult::OK);
        editor.itmFOpen_Click();
        ExpectBox("Could not read file.");
        QCOMPARE(editor.rtb->toPlainText(), "Oh my");
        QCOMPARE(editor.ReturnNewFile(), lyrics);
        editor.rtb->setPlainText("Oh my, my");
        editor.itmFSave->trigger();
        QCOMPARE(testsupport::ReadBytes(lyrics), "Oh my, my");
        QCOMPARE(testsupport::ReadBytes(binary), QByteArray("ID3\0\0\0", 6));
    }

    void newLeavesTheOpenedFileAlone() {
        const QString lyrics = Write("lyrics.txt", "Oh my");
        encoder::frmOpen editor;
        dialogs->ChooseFile(lyrics);
        editor.InitialState(1);
        editor.itmFNew_Click();
        QVERIFY(editor.rtb->toPlainText().isEmpty());
        editor.rtb->setPlainText("typed");
        editor.cmdSave_Click();
        QCOMPARE(editor.ReturnNewFile(), Temporary());
        QCOMPARE(testsupport::ReadBytes(lyrics), "Oh my");
    }

    void discardAndReloadWriteNothing() {
        const QString lyrics = Write("lyrics.txt", "{\\rtf1 Oh {\\b my}}");
        encoder::frmOpen editor;
        QVERIFY(editor.OpenFile(lyrics));
        QCOMPARE(editor.rtb->toPlainText(), "Oh my");
        editor.rtb->setPlainText("edited");
        editor.itmFReload_Click();
        QCOMPARE(editor.rtb->toPlainText(), "Oh my");
        editor.rtb->setPlainText("edited again");
        editor.show();
        QApplication::setActiveWindow(&editor);
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        QTest::keyClick(editor.rtb, Qt::Key_F4, Qt::ControlModifier);
        QVERIFY(!editor.isVisible() && !editor.ReturnState());
        QCOMPARE(testsupport::ReadBytes(lyrics), "{\\rtf1 Oh {\\b my}}");
        QVERIFY(!QFile::exists(Temporary()));
    }

    void failedSaveKeepsTheEditorOpen() {
        QDir(dir.path()).mkdir("sub");
        const QString lyrics = Write("sub/lyrics.txt", "Oh my");
        encoder::frmOpen editor;
        editor.OpenFile(lyrics);
        QVERIFY(QDir(dir.filePath("sub")).removeRecursively());
        editor.show();
        boxes->Answer(platform::MsgResult::OK);
        editor.cmdSave_Click();
        ExpectBox("Could not save file.");
        QVERIFY(editor.isVisible() && !editor.ReturnState());
        QCOMPARE(editor.rtb->toPlainText(), "Oh my");
    }

    // The Edit menu's keys run its commands also in the text box: plain text only, and Del
    // deletes the selection and nothing else.
    void editKeysRunTheCommands() {
        encoder::frmOpen editor;
        editor.show();
        QPlainTextEdit* box = editor.rtb;
        box->setPlainText("Hello world");
        QApplication::clipboard()->setText("stale");
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(0);
        box->setTextCursor(cursor);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), "");
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->toPlainText(), "Hello world");
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
        QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), "Hello");
        QCOMPARE(box->toPlainText(), " world");
        auto* rich = new QMimeData;
        rich->setHtml("<b>Bold</b>");
        rich->setText("Bold");
        QApplication::clipboard()->setMimeData(rich);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), "Bold world");
        QVERIFY(!box->document()->toHtml().contains("font-weight:700"));
        cursor.setPosition(0);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->toPlainText(), " world");
    }
};

QTEST_MAIN(tst_Editor)
#include "tst_editor.moc"
