// Message boxes, common and modal dialogs: as built for Qt, through the seams, and one for real.
#include <QApplication>
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

class TestDialogs : public QObject {
    Q_OBJECT

  private slots:
    // Lines joined by a lone CR, never rich text; the title bar's close answers Cancel where
    // offered, else the last button; Enter the first button unless the box names one.
    void builtBox() {
        using B = QMessageBox;
        for (const auto& [buttons, icon, standard, qtIcon, closed, given, enter] :
             {std::tuple{MsgButtons::OKCancel, MsgIcon::Exclamation, B::Ok | B::Cancel, B::Warning,
                         MsgResult::Cancel, std::optional<MsgResult>(), B::Ok},
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
            QVERIFY(box->textFormat() == Qt::PlainText && box->parentWidget() == &owner);
            QVERIFY(box->icon() == qtIcon && box->standardButtons() == standard);
            box->show();
            QVERIFY(box->close());
            QCOMPARE(MsgBoxAnswer(*box), closed);
        }
    }

    // Open asks for an existing file only under FileMustExist; Save neither confirms a replacement
    // nor adds an extension. "description|patterns" pairs become Qt's filters, and FilterIndex
    // picks one (the first when out of range), in FileName's folder and name.
    void builtFileDialog() {
        QTemporaryDir folder;
        QWidget owner;
        // Spaces, an empty pattern, no patterns, no description, a trailing bar.
        const QString filter =
            " Cantorix Files | *.cx3 ; ;*.cxp|Playlists|*.cxp;*.CXP|Text|||*.txt|";
        const QStringList qtFilters{"Cantorix Files (*.cx3 *.cxp)", "Playlists (*.cxp *.CXP)",
                                    "*.txt (*.txt)"};
        const QString proposed = folder.filePath("song.cx3");
        const int mustExist = CommonDialog::FileMustExist;
        for (const DialogRequest& request :
             {DialogRequest{DialogKind::Open, "Open Lyrics", filter, 2, mustExist, proposed},
              DialogRequest{DialogKind::Open, "", filter, 1, 0, proposed},
              DialogRequest{DialogKind::Save, "", filter, 7, mustExist, proposed},
              DialogRequest{DialogKind::Folder, "Pick", {}, 1, 0, folder.path()}}) {
            const auto dialog = BuildFileDialog(request, &owner);
            const auto kind = request.Kind;
            QCOMPARE(dialog->parentWidget(), &owner);
            QCOMPARE(dialog->acceptMode(),
                     kind == DialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            QCOMPARE(dialog->fileMode(), kind == DialogKind::Folder ? QFileDialog::Directory
                                         : request.Flags && kind == DialogKind::Open
                                             ? QFileDialog::ExistingFile
                                             : QFileDialog::AnyFile);
            QCOMPARE(dialog->testOption(QFileDialog::DontConfirmOverwrite),
                     kind == DialogKind::Save);
            QCOMPARE(dialog->testOption(QFileDialog::ShowDirsOnly), kind == DialogKind::Folder);
            QCOMPARE(QDir(dialog->directory()).canonicalPath(),
                     QDir(folder.path()).canonicalPath());
            if (kind != DialogKind::Folder) {
                QCOMPARE(dialog->nameFilters(), qtFilters);
                QCOMPARE(dialog->findChild<QFileSystemModel*>()->nameFilters().join(' '),
                         request.FilterIndex == 2 ? "*.cxp *.CXP" : "*.cx3 *.cxp");
                QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), "song.cx3");
            }
        }
    }

    // The real dialog, answered from its modal loop: the name as typed, the filter chosen back.
    void realFileDialog() {
        qunsetenv("CANTORIX_NO_MODAL");
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
        QCOMPARE(dialog.FileName + QString::number(dialog.FilterIndex), folder.filePath("fresh2"));
    }

    // A modal dialog, whatever the script does, ends hidden, owned, its flags kept, rejected
    // unless accepted.
    void scriptedModal() {
        for (const QString action : {"accept", "show"}) {
            testsupport::ScriptedModal modal;
            modal.Next([action](QDialog* d) { action == "accept" ? d->accept() : d->show(); });
            QWidget owner;
            QDialog dialog;
            const Qt::WindowFlags flags = dialog.windowFlags() | Qt::WindowStaysOnTopHint;
            dialog.setWindowFlags(flags);
            dialog.setResult(QDialog::Accepted);  // from an earlier showing
            ShowModal(&dialog, &owner);
            QVERIFY(dialog.windowFlags() == flags && !dialog.isVisible());
            QCOMPARE(dialog.result(), action == "accept" ? QDialog::Accepted : QDialog::Rejected);
            QVERIFY(dialog.parentWidget() == &owner && modal.Shown() == QStringList{"QDialog"});
        }
    }
};

QTEST_MAIN(TestDialogs)

#include "tst_platform_dialogs.moc"
