// Message boxes, the common dialog and modal dialogs: through the test seams, as built for
// Qt, and once each for real (driven from inside the modal loop). Started with
// "--unanswered KIND" the binary asks one box or dialog with nobody to answer it, which
// must stop the program.
#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/CommonDialog.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "support/Scripted.h"

using namespace platform;

Q_DECLARE_METATYPE(MsgButtons)
Q_DECLARE_METATYPE(MsgIcon)
Q_DECLARE_METATYPE(MsgResult)
Q_DECLARE_METATYPE(DialogKind)
Q_DECLARE_METATYPE(QMessageBox::Icon)

class ExampleDialog : public QDialog {
    Q_OBJECT

  public:
    using QDialog::QDialog;
};

namespace {

constexpr const char* CantorixFilter = "Cantorix Files (*.cx3, *.cx2, *.cxp)|*.cx3;*.cx2;*.cxp";

int Unanswered(const QByteArray& kind) {
    QWidget owner;
    CommonDialog dialog(&owner);
    dialog.DialogTitle = "Lonely Dialog";
    if (kind == "box after script") {
        testsupport::ScriptedBoxes boxes;
        boxes.Answer(MsgResult::OK);
    }
    if (kind.startsWith("box")) {
        MsgBox(&owner, "Nobody answers", MsgButtons::OK, MsgIcon::Information, "Lonely Box");
    } else if (kind == "open") {
        dialog.ShowOpen();
    } else if (kind == "color") {
        dialog.ShowColor();
    } else if (kind == "modal") {
        ExampleDialog modal;
        modal.setWindowTitle("Lonely Dialog");
        ShowModal(&modal, &owner);
    }
    return 0;  // reached only when nothing stopped the program
}

// Acts on the first modal window from inside its modal loop, as a user would; a modal
// window still open seconds later is closed, so a wrong test fails instead of hanging.
class ModalDriver {
  public:
    explicit ModalDriver(std::function<void(QWidget*)> act) : action(std::move(act)) {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget(); modal && !acted) {
                acted = true;
                QTimer::singleShot(0, modal, [this, modal] { action(modal); });
            } else if (modal && ++ticks > 500) {
                modal->close();
            }
        });
        timer.start(10);
    }
    bool acted = false;

  private:
    std::function<void(QWidget*)> action;
    QTimer timer;
    int ticks = 0;
};

// The real boxes and dialogs run only while CANTORIX_NO_MODAL is off.
auto AllowModal() {
    qunsetenv("CANTORIX_NO_MODAL");
    return qScopeGuard([] { qputenv("CANTORIX_NO_MODAL", "1"); });
}

}  // namespace

class TestDialogs : public QObject {
    Q_OBJECT

  private slots:
    // Boxes go to the script, recorded as asked; a box nobody scripted is counted and
    // answered harmlessly: Cancel where offered, else No, else OK.
    void scriptedBoxes_data() {
        QTest::addColumn<MsgButtons>("buttons");
        QTest::addColumn<MsgResult>("harmless");
        QTest::newRow("OK") << MsgButtons::OK << MsgResult::OK;
        QTest::newRow("OK/Cancel") << MsgButtons::OKCancel << MsgResult::Cancel;
        QTest::newRow("Yes/No") << MsgButtons::YesNo << MsgResult::No;
        QTest::newRow("Yes/No/Cancel") << MsgButtons::YesNoCancel << MsgResult::Cancel;
    }
    void scriptedBoxes() {
        QFETCH(MsgButtons, buttons);
        testsupport::ScriptedBoxes boxes;
        boxes.Answer(MsgResult::Yes);
        QCOMPARE(MsgBox(nullptr, "first", buttons, MsgIcon::Critical, "Expected"), MsgResult::Yes);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("Unexpected message box.*Surprise.*second"));
        QTEST(MsgBox(nullptr, "second", buttons, MsgIcon::None, "Surprise"), "harmless");
        QCOMPARE(boxes.Unexpected(), 1);
        QCOMPARE(boxes.Asked().size(), 2);
        QCOMPARE(boxes.Asked().constFirst().buttons, buttons);
        boxes.Clear();
        QCOMPARE(boxes.Unexpected(), 0);
        QVERIFY(boxes.Asked().isEmpty());
    }

    // The box as Qt shows it; closing it by the title bar answers Cancel where offered,
    // else the last button. Exclamation is Qt's warning.
    void builtBox_data() {
        QTest::addColumn<MsgButtons>("buttons");
        QTest::addColumn<MsgIcon>("icon");
        QTest::addColumn<int>("standardButtons");
        QTest::addColumn<QMessageBox::Icon>("qtIcon");
        QTest::addColumn<MsgResult>("closed");
        QTest::newRow("OK/Cancel") << MsgButtons::OKCancel << MsgIcon::Exclamation
                                   << int(QMessageBox::Ok | QMessageBox::Cancel)
                                   << QMessageBox::Warning << MsgResult::Cancel;
        QTest::newRow("Yes/No") << MsgButtons::YesNo << MsgIcon::Question
                                << int(QMessageBox::Yes | QMessageBox::No) << QMessageBox::Question
                                << MsgResult::No;
        QTest::newRow("Yes/No/Cancel")
            << MsgButtons::YesNoCancel << MsgIcon::Critical
            << int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
            << QMessageBox::Critical << MsgResult::Cancel;
    }
    void builtBox() {
        QFETCH(MsgButtons, buttons);
        QFETCH(MsgIcon, icon);
        QWidget owner;
        const auto box = BuildMsgBox(&owner, "Winamp is not running.\rPress F3.\r\n<b>wait</b>",
                                     buttons, icon, "Winamp Handle");
        QCOMPARE(box->windowTitle(), QString("Winamp Handle"));
        QCOMPARE(box->text(), QString("Winamp is not running.\nPress F3.\n<b>wait</b>"));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->parentWidget(), &owner);
        QTEST(box->icon(), "qtIcon");
        QTEST(int(box->standardButtons()), "standardButtons");
        box->show();
        QVERIFY(box->close());
        QTEST(MsgBoxAnswer(*box), "closed");
    }

    void realBox() {
        const auto allow = AllowModal();
        QString text;
        ModalDriver driver([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box != nullptr);
            text = box->windowTitle() + ": " + box->text();
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(MsgBox(nullptr, "line one\rline two", MsgButtons::YesNoCancel, MsgIcon::Question,
                        "Asking"),
                 MsgResult::No);
        QVERIFY(driver.acted);
        QCOMPARE(text, QString("Asking: line one\nline two"));
    }

    void unansweredStopsTheProgram_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("named");
        QTest::newRow("box") << "box"
                             << "Lonely Box";
        QTest::newRow("box after the script ended") << "box after script"
                                                    << "Lonely Box";
        QTest::newRow("file dialog") << "open"
                                     << "Lonely Dialog";
        QTest::newRow("colour") << "color"
                                << "Lonely Dialog";
        QTest::newRow("modal") << "modal"
                               << "Lonely Dialog";
    }
    void unansweredStopsTheProgram() {
        QFETCH(QString, kind);
        QFETCH(QString, named);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--unanswered", kind});
        QVERIFY(child.waitForFinished(20000));
        QVERIFY(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0);
        const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
        QVERIFY2(errors.contains("Unanswered") && errors.contains(named), qPrintable(errors));
    }

    void qtNameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("patterns in the description")
            << CantorixFilter
            << QStringList{"Cantorix Files (*.cx3, *.cx2, *.cxp) (*.cx3 *.cx2 *.cxp)"};
        QTest::newRow("two filters") << "Lyrics|*.cx3|All Files (*.*)|*.*"
                                     << QStringList{"Lyrics (*.cx3)", "All Files (*.*) (*.*)"};
        QTest::newRow("spaces and empty patterns")
            << " Playlists | *.cxp ; ;*.CXP " << QStringList{"Playlists (*.cxp *.CXP)"};
        QTest::newRow("no description") << "|*.txt" << QStringList{"*.txt (*.txt)"};
        QTest::newRow("trailing bar") << "Text|*.txt|" << QStringList{"Text (*.txt)"};
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
        const QString filter = QString(CantorixFilter) + "|Playlists (*.cxp, *.CXP)|*.cxp;*.CXP";
        const QString proposed = folder.filePath("song.cx3");
        const int mustExist = CommonDialog::FileMustExist;
        for (const DialogRequest& request :
             {DialogRequest{DialogKind::Open, "Open Lyrics", filter, 2, mustExist, proposed},
              DialogRequest{DialogKind::Open, "", filter, 1, 0, proposed},
              DialogRequest{DialogKind::Save, "", filter, 7, mustExist, proposed}}) {
            const auto dialog = BuildFileDialog(request, &owner);
            QCOMPARE(dialog->parentWidget(), &owner);
            QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
            const bool save = request.kind == DialogKind::Save;
            QCOMPARE(dialog->acceptMode(),
                     save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            QCOMPARE(dialog->fileMode(),
                     request.flags && !save ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
            QCOMPARE(dialog->testOption(QFileDialog::DontConfirmOverwrite), save);
            QCOMPARE(dialog->defaultSuffix(), QString());
            QVERIFY(!dialog->windowTitle().isEmpty());  // Qt's own when none is given
            QVERIFY(request.title.isEmpty() || dialog->windowTitle() == request.title);
            QCOMPARE(dialog->nameFilters(), QtNameFilters(filter));
            // What Qt makes of our filter text: the patterns in the last parentheses.
            QCOMPARE(dialog->findChild<QFileSystemModel*>()->nameFilters(),
                     QString(request.filterIndex == 2 ? "*.cxp *.CXP" : "*.cx3 *.cx2 *.cxp")
                         .split(u' '));
            QCOMPARE(QDir(dialog->directory()).canonicalPath(),
                     QDir(folder.path()).canonicalPath());
            QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), QString("song.cx3"));
        }
    }

    // Only a confirmed dialog changes FileName (Open, Save) or Color; the request carries
    // the dialog's properties, and the title stays for the next command.
    void scriptedFileDialogs_data() {
        QTest::addColumn<DialogKind>("kind");
        QTest::addColumn<QString>("script");  // choose, cancel or nothing
        QTest::newRow("open chosen") << DialogKind::Open << "choose";
        QTest::newRow("save cancelled") << DialogKind::Save << "cancel";
        QTest::newRow("save unexpected") << DialogKind::Save << "nothing";
        QTest::newRow("colour chosen") << DialogKind::Color << "choose";
    }
    void scriptedFileDialogs() {
        QFETCH(DialogKind, kind);
        QFETCH(QString, script);
        testsupport::ScriptedDialogs dialogs;
        if (script == "choose") {
            kind == DialogKind::Color ? dialogs.ChooseColor(0x00336699)
                                      : dialogs.ChooseFile("/music/new.cx3");
        } else if (script == "cancel") {
            dialogs.Cancel();
        } else {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Unexpected .*dialog.*My Title"));
        }
        CommonDialog dialog;
        dialog.DialogTitle = "My Title";
        dialog.FileName = "/music/old.cx3";
        dialog.Color = 0x00112233;
        const bool confirmed = kind == DialogKind::Open   ? dialog.ShowOpen()
                               : kind == DialogKind::Save ? dialog.ShowSave()
                                                          : dialog.ShowColor();
        QCOMPARE(confirmed, script == "choose");
        QCOMPARE(dialogs.Asked().size(), 1);
        QCOMPARE(dialogs.Asked().constFirst().kind, kind);
        QCOMPARE(dialogs.Asked().constFirst().fileName, QString("/music/old.cx3"));
        const bool file = confirmed && kind != DialogKind::Color;
        QCOMPARE(dialog.FileName, QString(file ? "/music/new.cx3" : "/music/old.cx3"));
        QCOMPARE(dialog.Color, confirmed && !file ? 0x00336699u : 0x00112233u);
        QCOMPARE(dialog.DialogTitle, QString("My Title"));
    }

    // The name is taken as typed (no extension added) and the filter chosen comes back.
    void realFileDialog() {
        QTemporaryDir folder;
        const auto allow = AllowModal();
        QWidget owner;
        CommonDialog dialog(&owner);
        dialog.DialogTitle = "Pick";
        dialog.Filter = "Lyrics|*.cx3|Everything|*";
        dialog.FileName = folder.filePath("start.cx3");
        QString shownTitle;
        ModalDriver driver([&](QWidget* w) {
            auto* fileDialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(fileDialog != nullptr);
            shownTitle = fileDialog->windowTitle();
            fileDialog->selectNameFilter("Everything (*)");
            fileDialog->findChild<QLineEdit*>("fileNameEdit")->setText("fresh");
            static_cast<QDialog*>(fileDialog)->accept();  // public in QDialog
        });
        QVERIFY(dialog.ShowSave());
        QCOMPARE(shownTitle, QString("Pick"));
        QCOMPARE(dialog.FileName, QDir::toNativeSeparators(folder.filePath("fresh")));
        QCOMPARE(dialog.FilterIndex, 2);
    }

    // Windows keeps colours as 0x00BBGGRR.
    void colorOrder() {
        const QColor color(0x12, 0x34, 0x56);
        QCOMPARE(ColorFromBgr(0x563412), color);
        QCOMPARE(BgrFromColor(color), std::uint32_t(0x563412));
        QCOMPARE(BgrFromColor(color.toHsv()), std::uint32_t(0x563412));
    }

    void realColorDialog() {
        const auto allow = AllowModal();
        CommonDialog dialog;
        dialog.Color = 0x000000ff;
        ModalDriver driver([&](QWidget* w) {
            auto* colorDialog = qobject_cast<QColorDialog*>(w);
            QVERIFY(colorDialog != nullptr);
            colorDialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
            colorDialog->accept();
        });
        QVERIFY(dialog.ShowColor());
        QCOMPARE(dialog.Color, 0x00563412u);
    }

    // Whatever the script does, the dialog ends hidden, owned by the window with its own
    // flags, and rejected unless accepted; a dialog nobody scripted is counted.
    void scriptedModal_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("result");
        QTest::newRow("accepted") << "accept" << int(QDialog::Accepted);
        QTest::newRow("shown and left open") << "show" << int(QDialog::Rejected);
        QTest::newRow("unexpected") << "unexpected" << int(QDialog::Rejected);
    }
    void scriptedModal() {
        QFETCH(QString, action);
        testsupport::ScriptedModal modal;
        if (action == "unexpected") {
            QTest::ignoreMessage(
                QtWarningMsg, QRegularExpression("Unexpected modal dialog ExampleDialog.*Entry"));
        } else {
            modal.Next([action](QDialog* d) { action == "accept" ? d->accept() : d->show(); });
        }
        QWidget owner;
        ExampleDialog dialog;
        dialog.setWindowTitle("Entry");
        const Qt::WindowFlags flags = dialog.windowFlags() | Qt::WindowStaysOnTopHint;
        dialog.setWindowFlags(flags);
        dialog.setResult(QDialog::Accepted);  // left over from an earlier showing
        ShowModal(&dialog, &owner);
        QCOMPARE(dialog.windowFlags(), flags);
        QTEST(dialog.result(), "result");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.parentWidget(), &owner);
        QVERIFY(dialog.isWindow());
        QCOMPARE(modal.Shown(), QStringList{"ExampleDialog"});
        QCOMPARE(modal.Unexpected(), action == "unexpected" ? 1 : 0);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc >= 3 && qstrcmp(argv[1], "--unanswered") == 0) {
        return Unanswered(argv[2]);
    }
    TestDialogs test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_platform_dialogs.moc"
