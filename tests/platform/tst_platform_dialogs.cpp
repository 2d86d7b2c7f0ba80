// Message boxes, the common dialog and modal dialogs: through the test seams, as built for
// Qt, and one file dialog for real.
#include <QApplication>
#include <QColor>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/CommonDialog.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "support/Scripted.h"

using namespace platform;

class ExampleDialog : public QDialog {
    Q_OBJECT

  public:
    using QDialog::QDialog;
};

class TestDialogs : public QObject {
    Q_OBJECT

  private slots:
    // Our texts join lines with a lone carriage return and are never rich text; closing
    // the box by its title bar answers Cancel where offered, else the last button. Enter
    // answers the first button unless the box names one of its own.
    void builtBox() {
        using B = QMessageBox;
        const std::optional<MsgResult> first;
        for (const auto& [buttons, icon, standard, qtIcon, closed, given, enter] :
             {std::tuple{MsgButtons::OKCancel, MsgIcon::Exclamation, B::Ok | B::Cancel, B::Warning,
                         MsgResult::Cancel, first, B::Ok},
              {MsgButtons::YesNo, MsgIcon::Question, B::Yes | B::No, B::Question, MsgResult::No,
               std::optional(MsgResult::No), B::No},
              {MsgButtons::YesNoCancel, MsgIcon::Critical, B::Yes | B::No | B::Cancel, B::Critical,
               MsgResult::Cancel, std::optional(MsgResult::OK), B::Yes}}) {
            QWidget owner;
            const auto box = BuildMsgBox(&owner, "Winamp is not running.\rPress F3.\r\n<b>wait</b>",
                                         buttons, icon, "Hi", given);
            QCOMPARE(box->standardButton(box->defaultButton()), enter);
            QCOMPARE(box->windowTitle() + ": " + box->text(),
                     QString("Hi: Winamp is not running.\nPress F3.\n<b>wait</b>"));
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->parentWidget(), &owner);
            QCOMPARE(box->icon(), qtIcon);
            QCOMPARE(box->standardButtons(), standard);
            box->show();
            QVERIFY(box->close());
            QCOMPARE(MsgBoxAnswer(*box), closed);
        }
    }

    void qtNameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("patterns in the description, two filters")
            << "Lyrics (*.cx3, *.cx2)|*.cx3;*.cx2|All Files (*.*)|*.*"
            << QStringList{"Lyrics (*.cx3, *.cx2) (*.cx3 *.cx2)", "All Files (*.*) (*.*)"};
        QTest::newRow("spaces and empty patterns")
            << " Playlists | *.cxp ; ;*.CXP " << QStringList{"Playlists (*.cxp *.CXP)"};
        QTest::newRow("no description, trailing bar") << "|*.txt|" << QStringList{"*.txt (*.txt)"};
        QTest::newRow("no patterns") << "Text||Lyrics|*.cx3" << QStringList{"Lyrics (*.cx3)"};
    }
    void qtNameFilters() {
        QFETCH(QString, filter);
        QTEST(QtNameFilters(filter), "expected");
    }

    // Open asks for an existing file only under FileMustExist; Save neither asks before
    // replacing nor adds an extension. The filter given by FilterIndex (the first when out
    // of range) is chosen, in the folder and with the name of FileName.
    void builtFileDialog() {
        QTemporaryDir folder;
        QWidget owner;
        const QString filter =
            "Cantorix Files|*.cx3;*.cx2;*.cxp|Playlists (*.cxp, *.CXP)|*.cxp;*.CXP";
        const QString proposed = folder.filePath("song.cx3");
        const int mustExist = CommonDialog::FileMustExist;
        for (const DialogRequest& request :
             {DialogRequest{DialogKind::Open, "Open Lyrics", filter, 2, mustExist, proposed},
              DialogRequest{DialogKind::Open, "", filter, 1, 0, proposed},
              DialogRequest{DialogKind::Save, "", filter, 7, mustExist, proposed}}) {
            const auto dialog = BuildFileDialog(request, &owner);
            QCOMPARE(dialog->parentWidget(), &owner);
            const bool save = request.Kind == DialogKind::Save;
            QCOMPARE(dialog->acceptMode(),
                     save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            QCOMPARE(dialog->fileMode(),
                     request.Flags && !save ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
            QCOMPARE(dialog->testOption(QFileDialog::DontConfirmOverwrite), save);
            QCOMPARE(dialog->defaultSuffix(), QString());
            QVERIFY(request.Title.isEmpty() || dialog->windowTitle() == request.Title);
            QCOMPARE(dialog->findChild<QFileSystemModel*>()->nameFilters(),
                     QString(request.FilterIndex == 2 ? "*.cxp *.CXP" : "*.cx3 *.cx2 *.cxp")
                         .split(u' '));
            QCOMPARE(QDir(dialog->directory()).canonicalPath(),
                     QDir(folder.path()).canonicalPath());
            QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), QString("song.cx3"));
        }
        // A folder is chosen among folders, starting in the one given.
        const auto folders =
            BuildFileDialog({DialogKind::Folder, "Pick", {}, 1, 0, folder.path()}, &owner);
        QCOMPARE(folders->fileMode(), QFileDialog::Directory);
        QVERIFY(folders->testOption(QFileDialog::ShowDirsOnly));
        QCOMPARE(folders->windowTitle(), QString("Pick"));
        QCOMPARE(QDir(folders->directory()).canonicalPath(), QDir(folder.path()).canonicalPath());
    }

    // The real dialog, answered from inside its modal loop: the name is taken as typed (no
    // extension added) and the filter chosen comes back.
    void realFileDialog() {
        qunsetenv("CANTORIX_NO_MODAL");  // the real dialogs run only without it
        auto restore = qScopeGuard([] { qputenv("CANTORIX_NO_MODAL", "1"); });
        QTemporaryDir folder;
        CommonDialog dialog;
        dialog.Filter = "Lyrics|*.cx3|Everything|*";
        dialog.FileName = folder.filePath("start.cx3");
        QTimer::singleShot(0, [] {
            auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(shown != nullptr);
            shown->selectNameFilter("Everything (*)");
            shown->findChild<QLineEdit*>("fileNameEdit")->setText("fresh");
            static_cast<QDialog*>(shown)->accept();  // public in QDialog
        });
        QVERIFY(dialog.ShowSave());
        QCOMPARE(dialog.FileName, folder.filePath("fresh"));
        QCOMPARE(dialog.FilterIndex, 2);
    }

    // Only a confirmed dialog changes FileName (Open, Save) or Color; the request carries
    // the dialog's properties, and the title stays for the next command. Windows keeps
    // colours as 0x00BBGGRR.
    void scriptedFileDialogs() {
        testsupport::ScriptedDialogs dialogs;
        CommonDialog dialog;
        dialog.DialogTitle = "My Title";
        dialog.FileName = "/music/old.cx3";
        dialog.Color = 0x00112233;
        dialogs.Cancel();
        dialogs.Cancel();
        QVERIFY(!dialog.ShowSave() && !dialog.ShowColor());
        QCOMPARE(dialog.FileName + QString::number(dialog.Color, 16), "/music/old.cx3112233");
        dialogs.ChooseColor(0x00336699);
        dialogs.ChooseFile("/music/new.cx3");
        QVERIFY(dialog.ShowColor() && dialog.ShowOpen());
        QCOMPARE(dialog.FileName + QString::number(dialog.Color, 16), "/music/new.cx3336699");
        QStringList asked;
        for (const DialogRequest& r : dialogs.Asked()) {
            asked << QStringLiteral("%1 %2 %3").arg(int(r.Kind)).arg(r.Title, r.FileName);
        }
        QCOMPARE(asked, (QStringList{"1 My Title /music/old.cx3", "2 My Title /music/old.cx3",
                                     "2 My Title /music/old.cx3", "0 My Title /music/old.cx3"}));
        QCOMPARE(ColorFromBgr(0x563412), QColor(0x12, 0x34, 0x56));
        QCOMPARE(BgrFromColor(QColor(0x12, 0x34, 0x56).toHsv()), 0x563412u);
    }

    // Whatever the script does, the dialog ends hidden, owned by the window with its own
    // flags, and rejected unless accepted.
    void scriptedModal() {
        for (const QString action : {"accept", "show"}) {
            testsupport::ScriptedModal modal;
            modal.Next([action](QDialog* d) { action == "accept" ? d->accept() : d->show(); });
            QWidget owner;
            ExampleDialog dialog;
            const Qt::WindowFlags flags = dialog.windowFlags() | Qt::WindowStaysOnTopHint;
            dialog.setWindowFlags(flags);
            dialog.setResult(QDialog::Accepted);  // left over from an earlier showing
            ShowModal(&dialog, &owner);
            QCOMPARE(dialog.windowFlags(), flags);
            QCOMPARE(dialog.result(), action == "accept" ? QDialog::Accepted : QDialog::Rejected);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.parentWidget(), &owner);
            QCOMPARE(modal.Shown(), QStringList{"ExampleDialog"});
        }
    }
};

QTEST_MAIN(TestDialogs)

#include "tst_platform_dialogs.moc"
