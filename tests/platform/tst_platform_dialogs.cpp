// Message boxes, the common dialog and modal dialogs: through the test seams, and for real
// (driven from inside their modal loops) where the seams would hide the Qt behaviour.
// Started with "--unanswered KIND" the binary asks one box or dialog with nobody to answer
// it, which must stop the program.
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
using testsupport::ScriptedBoxes;
using testsupport::ScriptedDialogs;
using testsupport::ScriptedModal;

Q_DECLARE_METATYPE(MsgButtons)
Q_DECLARE_METATYPE(MsgIcon)
Q_DECLARE_METATYPE(MsgResult)
Q_DECLARE_METATYPE(DialogKind)
Q_DECLARE_METATYPE(QMessageBox::Icon)
Q_DECLARE_METATYPE(QFileDialog::FileMode)
Q_DECLARE_METATYPE(QFileDialog::AcceptMode)

class ExampleDialog : public QDialog {
    Q_OBJECT

  public:
    using QDialog::QDialog;
};

namespace {

constexpr const char* CantorixFilter = "Cantorix Files (*.cx3, *.cx2, *.cxp)|*.cx3;*.cx2;*.cxp";

int Unanswered(const QByteArray& kind) {
    QWidget owner;
    if (kind == "box") {
        MsgBox(&owner, "Nobody answers", MsgButtons::OK, MsgIcon::Information, "Lonely Box");
    } else if (kind == "box after script") {
        {
            ScriptedBoxes boxes;
            boxes.Answer(MsgResult::OK);
        }
        MsgBox(&owner, "Nobody answers", MsgButtons::OK, MsgIcon::Information, "Lonely Box");
    } else if (kind == "open" || kind == "save" || kind == "color") {
        CommonDialog dialog(&owner);
        dialog.DialogTitle = "Lonely Dialog";
        if (kind == "open") {
            dialog.ShowOpen();
        } else if (kind == "save") {
            dialog.ShowSave();
        } else {
            dialog.ShowColor();
        }
    } else if (kind == "modal") {
        ExampleDialog dialog;
        dialog.setWindowTitle("Lonely Dialog");
        ShowModal(&dialog, &owner);
    }
    return 0;  // reached only when nothing stopped the program
}

// Acts on the next modal window from inside its modal loop, as a user would. Any further
// modal window (a question the code should not ask) is counted and closed.
class ModalDriver {
  public:
    explicit ModalDriver(std::function<void(QWidget*)> act) : action(std::move(act)) {
        QObject::connect(&timer, &QTimer::timeout, [this] { Tick(); });
        timer.start(10);
    }
    bool Acted() const { return acted; }
    int Extra() const { return extra; }

  private:
    void Tick() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        if (!acted) {
            acted = true;
            first = modal;
            // Outside this timer's slot, so that a question the action brings up (a nested
            // modal loop) still meets the timer.
            QTimer::singleShot(0, modal, [this, modal] { action(modal); });
        } else if (modal != first) {
            ++extra;
            qWarning() << "Unexpected modal window" << modal->metaObject()->className()
                       << modal->windowTitle();
            modal->close();
        } else if (++stuck > 300) {
            modal->close();  // the action did not close it; the test fails on its result
        }
    }

    std::function<void(QWidget*)> action;
    QTimer timer;
    bool acted = false;
    QWidget* first = nullptr;
    int stuck = 0;
    int extra = 0;
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
    void scriptedBoxRecordsTheCall_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<MsgButtons>("buttons");
        QTest::addColumn<MsgIcon>("icon");
        QTest::addColumn<MsgResult>("answer");
        QTest::newRow("information") << "Winamp Handle"
                                     << "Winamp is not running.\rYou may want to start it."
                                     << MsgButtons::OK << MsgIcon::Information << MsgResult::OK;
        QTest::newRow("question yes") << "Close Cantorix?"
                                      << "Close it as well?" << MsgButtons::YesNoCancel
                                      << MsgIcon::Question << MsgResult::Yes;
        QTest::newRow("question cancel") << "Close Cantorix?"
                                         << "Close it as well?" << MsgButtons::YesNoCancel
                                         << MsgIcon::Question << MsgResult::Cancel;
        QTest::newRow("yes/no no")
            << "Save?"
            << "Save changes?" << MsgButtons::YesNo << MsgIcon::Exclamation << MsgResult::No;
        QTest::newRow("critical") << "Error"
                                  << "Cannot read." << MsgButtons::OKCancel << MsgIcon::Critical
                                  << MsgResult::Cancel;
    }
    void scriptedBoxRecordsTheCall() {
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(MsgButtons, buttons);
        QFETCH(MsgIcon, icon);
        QFETCH(MsgResult, answer);
        ScriptedBoxes boxes;
        boxes.Answer(answer);
        QCOMPARE(MsgBox(nullptr, text, buttons, icon, title), answer);
        QCOMPARE(boxes.Asked().size(), 1);
        const MsgBoxCall& call = boxes.Asked().constFirst();
        QCOMPARE(call.title, title);
        QCOMPARE(call.text, text);
        QCOMPARE(call.buttons, buttons);
        QCOMPARE(call.icon, icon);
        QCOMPARE(boxes.Unexpected(), 0);
    }

    void unexpectedBoxIsAnsweredHarmlessly_data() {
        QTest::addColumn<MsgButtons>("buttons");
        QTest::addColumn<MsgResult>("answer");
        QTest::newRow("OK") << MsgButtons::OK << MsgResult::OK;
        QTest::newRow("OK/Cancel") << MsgButtons::OKCancel << MsgResult::Cancel;
        QTest::newRow("Yes/No") << MsgButtons::YesNo << MsgResult::No;
        QTest::newRow("Yes/No/Cancel") << MsgButtons::YesNoCancel << MsgResult::Cancel;
    }
    void unexpectedBoxIsAnsweredHarmlessly() {
        QFETCH(MsgButtons, buttons);
        QFETCH(MsgResult, answer);
        ScriptedBoxes boxes;
        boxes.Answer(MsgResult::Yes);
        QCOMPARE(MsgBox(nullptr, "first", buttons, MsgIcon::None, "Expected"), MsgResult::Yes);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("Unexpected message box.*Surprise.*second"));
        QCOMPARE(MsgBox(nullptr, "second", buttons, MsgIcon::None, "Surprise"), answer);
        QCOMPARE(boxes.Unexpected(), 1);
        QCOMPARE(boxes.Asked().size(), 2);
        boxes.Clear();
        QCOMPARE(boxes.Unexpected(), 0);
        QVERIFY(boxes.Asked().isEmpty());
    }

    void builtBoxMatchesTheCall_data() {
        QTest::addColumn<MsgButtons>("buttons");
        QTest::addColumn<MsgIcon>("icon");
        QTest::addColumn<QList<int>>("standardButtons");
        QTest::addColumn<QMessageBox::Icon>("qtIcon");
        QTest::addColumn<MsgResult>("closed");
        QTest::newRow("OK") << MsgButtons::OK << MsgIcon::Information << QList<int>{QMessageBox::Ok}
                            << QMessageBox::Information << MsgResult::OK;
        QTest::newRow("OK/Cancel") << MsgButtons::OKCancel << MsgIcon::Exclamation
                                   << QList<int>{QMessageBox::Ok, QMessageBox::Cancel}
                                   << QMessageBox::Warning << MsgResult::Cancel;
        QTest::newRow("Yes/No") << MsgButtons::YesNo << MsgIcon::Question
                                << QList<int>{QMessageBox::Yes, QMessageBox::No}
                                << QMessageBox::Question << MsgResult::No;
        QTest::newRow("Yes/No/Cancel")
            << MsgButtons::YesNoCancel << MsgIcon::Critical
            << QList<int>{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}
            << QMessageBox::Critical << MsgResult::Cancel;
        QTest::newRow("no icon") << MsgButtons::OK << MsgIcon::None << QList<int>{QMessageBox::Ok}
                                 << QMessageBox::NoIcon << MsgResult::OK;
    }
    void builtBoxMatchesTheCall() {
        QFETCH(MsgButtons, buttons);
        QFETCH(MsgIcon, icon);
        QFETCH(QList<int>, standardButtons);
        QFETCH(QMessageBox::Icon, qtIcon);
        QFETCH(MsgResult, closed);
        QWidget owner;
        const auto box =
            BuildMsgBox(&owner, "Winamp is not running.\rPress F3.\r\nThen <b>wait</b>", buttons,
                        icon, "Winamp Handle");
        QCOMPARE(box->windowTitle(), QString("Winamp Handle"));
        QCOMPARE(box->text(), QString("Winamp is not running.\nPress F3.\nThen <b>wait</b>"));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->icon(), qtIcon);
        QCOMPARE(box->parentWidget(), &owner);
        QList<int> shown;
        for (QAbstractButton* b : box->buttons()) {
            shown << box->standardButton(b);
        }
        std::sort(shown.begin(), shown.end());
        std::sort(standardButtons.begin(), standardButtons.end());
        QCOMPARE(shown, standardButtons);
        // Closing by the title bar.
        box->show();
        QVERIFY(box->close());
        QCOMPARE(MsgBoxAnswer(*box), closed);
    }

    void realBoxAnswers_data() {
        QTest::addColumn<MsgButtons>("buttons");
        QTest::addColumn<int>("click");  // a standard button, or 0 to close by the title bar
        QTest::addColumn<MsgResult>("answer");
        QTest::newRow("OK clicked") << MsgButtons::OK << int(QMessageBox::Ok) << MsgResult::OK;
        QTest::newRow("OK closed") << MsgButtons::OK << 0 << MsgResult::OK;
        QTest::newRow("No clicked")
            << MsgButtons::YesNoCancel << int(QMessageBox::No) << MsgResult::No;
        QTest::newRow("Yes clicked")
            << MsgButtons::YesNo << int(QMessageBox::Yes) << MsgResult::Yes;
        QTest::newRow("Yes/No closed") << MsgButtons::YesNo << 0 << MsgResult::No;
        QTest::newRow("Yes/No/Cancel closed") << MsgButtons::YesNoCancel << 0 << MsgResult::Cancel;
    }
    void realBoxAnswers() {
        QFETCH(MsgButtons, buttons);
        QFETCH(int, click);
        QFETCH(MsgResult, answer);
        const auto allow = AllowModal();
        QString title, text;
        ModalDriver driver([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box != nullptr);
            title = box->windowTitle();
            text = box->text();
            if (click == 0) {
                box->close();
            } else {
                box->button(QMessageBox::StandardButton(click))->click();
            }
        });
        QCOMPARE(MsgBox(nullptr, "line one\rline two", buttons, MsgIcon::Question, "Asking"),
                 answer);
        QVERIFY(driver.Acted());
        QCOMPARE(driver.Extra(), 0);
        QCOMPARE(title, QString("Asking"));
        QCOMPARE(text, QString("line one\nline two"));
    }

    void unansweredStopsTheProgram_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("named");
        QTest::newRow("box") << "box"
                             << "Lonely Box";
        QTest::newRow("box after the script ended") << "box after script"
                                                    << "Lonely Box";
        QTest::newRow("open") << "open"
                              << "Lonely Dialog";
        QTest::newRow("save") << "save"
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
        QTest::newRow("lyrics files")
            << CantorixFilter
            << QStringList{"Cantorix Files (*.cx3, *.cx2, *.cxp) (*.cx3 *.cx2 *.cxp)"};
        QTest::newRow("two filters")
            << "Lyrics (*.cx3)|*.cx3|All Files (*.*)|*.*"
            << QStringList{"Lyrics (*.cx3) (*.cx3)", "All Files (*.*) (*.*)"};
        QTest::newRow("plain description")
            << "Text files|*.txt" << QStringList{"Text files (*.txt)"};
        QTest::newRow("spaces and empty patterns")
            << " Playlists | *.cxp ; ;*.CXP " << QStringList{"Playlists (*.cxp *.CXP)"};
        QTest::newRow("no description") << "|*.txt" << QStringList{"*.txt (*.txt)"};
        QTest::newRow("trailing bar") << "Text|*.txt|" << QStringList{"Text (*.txt)"};
        QTest::newRow("description alone") << "Text" << QStringList{};
        QTest::newRow("no patterns") << "Text||Lyrics|*.cx3" << QStringList{"Lyrics (*.cx3)"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void qtNameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(QtNameFilters(filter), expected);
    }

    void builtFileDialog_data() {
        QTest::addColumn<DialogKind>("kind");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QFileDialog::AcceptMode>("acceptMode");
        QTest::addColumn<QFileDialog::FileMode>("fileMode");
        QTest::addColumn<QStringList>("patterns");
        const QString two = "Lyrics (*.cx3)|*.cx3|Playlists (*.cxp, *.CXP)|*.cxp;*.CXP";
        QTest::newRow("open existing")
            << DialogKind::Open << CommonDialog::FileMustExist << QString(CantorixFilter) << 1
            << "Open Lyrics" << QFileDialog::AcceptOpen << QFileDialog::ExistingFile
            << QStringList{"*.cx3", "*.cx2", "*.cxp"};
        QTest::newRow("open any") << DialogKind::Open << CommonDialog::HideReadOnly << two << 2
                                  << "Open" << QFileDialog::AcceptOpen << QFileDialog::AnyFile
                                  << QStringList{"*.cxp", "*.CXP"};
        QTest::newRow("save") << DialogKind::Save << CommonDialog::HideReadOnly << two << 1
                              << "Save Lyrics" << QFileDialog::AcceptSave << QFileDialog::AnyFile
                              << QStringList{"*.cx3"};
        QTest::newRow("index out of range")
            << DialogKind::Save << 0 << two << 7 << "" << QFileDialog::AcceptSave
            << QFileDialog::AnyFile << QStringList{"*.cx3"};
    }
    void builtFileDialog() {
        QFETCH(DialogKind, kind);
        QFETCH(int, flags);
        QFETCH(QString, filter);
        QFETCH(int, filterIndex);
        QFETCH(QString, title);
        QFETCH(QFileDialog::AcceptMode, acceptMode);
        QFETCH(QFileDialog::FileMode, fileMode);
        QFETCH(QStringList, patterns);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString proposed = folder.filePath("song.cx3");
        QWidget owner;
        const auto dialog =
            BuildFileDialog({kind, title, filter, filterIndex, flags, proposed}, &owner);
        QCOMPARE(dialog->parentWidget(), &owner);
        QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
        QCOMPARE(dialog->acceptMode(), acceptMode);
        QCOMPARE(dialog->fileMode(), fileMode);
        if (kind == DialogKind::Save) {
            QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            QCOMPARE(dialog->defaultSuffix(), QString());
        }
        if (title.isEmpty()) {
            QVERIFY(!dialog->windowTitle().isEmpty());  // Qt's own
        } else {
            QCOMPARE(dialog->windowTitle(), title);
        }
        const QStringList filters = QtNameFilters(filter);
        QCOMPARE(dialog->nameFilters(), filters);
        const int expectedIndex =
            filterIndex >= 1 && filterIndex <= filters.size() ? filterIndex : 1;
        QCOMPARE(dialog->selectedNameFilter(), filters.at(expectedIndex - 1));
        // What Qt makes of our filter text: the patterns in the last parentheses.
        auto* model = dialog->findChild<QFileSystemModel*>();
        QVERIFY(model != nullptr);
        QCOMPARE(model->nameFilters(), patterns);
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(folder.path()).canonicalPath());
        QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), QString("song.cx3"));
    }

    void scriptedFileDialogs_data() {
        QTest::addColumn<DialogKind>("kind");
        QTest::addColumn<QString>("script");  // choose, cancel or nothing
        QTest::addColumn<bool>("confirmed");
        for (const auto kind : {DialogKind::Open, DialogKind::Save, DialogKind::Color}) {
            const char* name = kind == DialogKind::Open   ? "open"
                               : kind == DialogKind::Save ? "save"
                                                          : "colour";
            QTest::addRow("%s chosen", name) << kind << "choose" << true;
            QTest::addRow("%s cancelled", name) << kind << "cancel" << false;
            QTest::addRow("%s unexpected", name) << kind << "nothing" << false;
        }
    }
    void scriptedFileDialogs() {
        QFETCH(DialogKind, kind);
        QFETCH(QString, script);
        QFETCH(bool, confirmed);
        ScriptedDialogs dialogs;
        if (script == "choose") {
            if (kind == DialogKind::Color) {
                dialogs.ChooseColor(0x00336699);
            } else {
                dialogs.ChooseFile("/music/new.cx3");
            }
        } else if (script == "cancel") {
            dialogs.Cancel();
        } else {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Unexpected .*dialog.*My Title"));
        }
        CommonDialog dialog;
        dialog.DialogTitle = "My Title";
        dialog.Filter = CantorixFilter;
        dialog.FilterIndex = 1;
        dialog.Flags = CommonDialog::FileMustExist;
        dialog.FileName = "/music/old.cx3";
        dialog.Color = 0x00112233;
        const bool answer = kind == DialogKind::Open   ? dialog.ShowOpen()
                            : kind == DialogKind::Save ? dialog.ShowSave()
                                                       : dialog.ShowColor();
        QCOMPARE(answer, confirmed);
        QCOMPARE(dialogs.Asked().size(), 1);
        const DialogRequest& asked = dialogs.Asked().constFirst();
        QCOMPARE(asked.kind, kind);
        QCOMPARE(asked.title, QString("My Title"));
        QCOMPARE(asked.filter, QString(CantorixFilter));
        QCOMPARE(asked.filterIndex, 1);
        QCOMPARE(asked.flags, CommonDialog::FileMustExist);
        QCOMPARE(asked.fileName, QString("/music/old.cx3"));
        QCOMPARE(dialogs.Unexpected(), script == "nothing" ? 1 : 0);
        const bool fileChanged = confirmed && kind != DialogKind::Color;
        const bool colorChanged = confirmed && kind == DialogKind::Color;
        QCOMPARE(dialog.FileName, QString(fileChanged ? "/music/new.cx3" : "/music/old.cx3"));
        QCOMPARE(dialog.Color, colorChanged ? 0x00336699u : 0x00112233u);
        // The title stays for the next command.
        QCOMPARE(dialog.DialogTitle, QString("My Title"));
    }

    void realFileDialogs_data() {
        QTest::addColumn<DialogKind>("kind");
        QTest::addColumn<QString>("choose");  // file name in the folder; empty: cancel
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("open an existing file") << DialogKind::Open << "a.cx3" << 1 << true;
        QTest::newRow("open cancelled") << DialogKind::Open << "" << 1 << false;
        QTest::newRow("save over a file without asking")
            << DialogKind::Save << "a.cx3" << 1 << true;
        QTest::newRow("save adds no extension") << DialogKind::Save << "fresh" << 2 << true;
        QTest::newRow("save cancelled") << DialogKind::Save << "" << 1 << false;
    }
    void realFileDialogs() {
        QFETCH(DialogKind, kind);
        QFETCH(QString, choose);
        QFETCH(int, filterIndex);
        QFETCH(bool, confirmed);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QFile existing(folder.filePath("a.cx3"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        const auto allow = AllowModal();
        QWidget owner;
        CommonDialog dialog(&owner);
        dialog.DialogTitle = "Pick";
        dialog.Filter = "Lyrics|*.cx3|Everything|*";
        dialog.Flags = CommonDialog::FileMustExist;
        dialog.FileName = folder.filePath("start.cx3");
        QString shownTitle;
        const QString filters = dialog.Filter;
        ModalDriver driver([&](QWidget* w) {
            auto* fileDialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(fileDialog != nullptr);
            shownTitle = fileDialog->windowTitle();
            if (choose.isEmpty()) {
                fileDialog->reject();
                return;
            }
            fileDialog->selectNameFilter(QtNameFilters(filters).at(filterIndex - 1));
            auto* typed = fileDialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(typed != nullptr);
            typed->setText(choose);
            static_cast<QDialog*>(fileDialog)->accept();  // public in QDialog
        });
        const bool answer = kind == DialogKind::Open ? dialog.ShowOpen() : dialog.ShowSave();
        QVERIFY(driver.Acted());
        QCOMPARE(driver.Extra(), 0);
        QCOMPARE(shownTitle, QString("Pick"));
        QCOMPARE(answer, confirmed);
        QCOMPARE(dialog.FileName,
                 QDir::toNativeSeparators(folder.filePath(confirmed ? choose : "start.cx3")));
        QCOMPARE(dialog.FilterIndex, confirmed ? filterIndex : 1);
    }

    void colorOrder_data() {
        QTest::addColumn<uint>("bgr");
        QTest::addColumn<QColor>("color");
        QTest::newRow("black") << 0x000000u << QColor(0, 0, 0);
        QTest::newRow("red") << 0x0000ffu << QColor(255, 0, 0);
        QTest::newRow("green") << 0x00ff00u << QColor(0, 255, 0);
        QTest::newRow("blue") << 0xff0000u << QColor(0, 0, 255);
        QTest::newRow("mixed") << 0x563412u << QColor(0x12, 0x34, 0x56);
        QTest::newRow("white") << 0xffffffu << QColor(255, 255, 255);
    }
    void colorOrder() {
        QFETCH(uint, bgr);
        QFETCH(QColor, color);
        QCOMPARE(ColorFromBgr(bgr), color);
        QCOMPARE(BgrFromColor(color), std::uint32_t(bgr));
        QCOMPARE(BgrFromColor(color.toHsv()), std::uint32_t(bgr));
    }

    void realColorDialog_data() {
        QTest::addColumn<bool>("accept");
        QTest::newRow("chosen") << true;
        QTest::newRow("cancelled") << false;
    }
    void realColorDialog() {
        QFETCH(bool, accept);
        const auto allow = AllowModal();
        CommonDialog dialog;
        dialog.Color = 0x000000ff;
        QColor offered;
        ModalDriver driver([&](QWidget* w) {
            auto* colorDialog = qobject_cast<QColorDialog*>(w);
            QVERIFY(colorDialog != nullptr);
            offered = colorDialog->currentColor();
            colorDialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
            accept ? colorDialog->accept() : colorDialog->reject();
        });
        QCOMPARE(dialog.ShowColor(), accept);
        QVERIFY(driver.Acted());
        QVERIFY(offered != ColorFromBgr(0x000000ff));  // the current colour is not preselected
        QCOMPARE(dialog.Color, accept ? 0x00563412u : 0x000000ffu);
    }

    void scriptedModal_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("result");
        QTest::newRow("accepted") << "accept" << int(QDialog::Accepted);
        QTest::newRow("rejected") << "reject" << int(QDialog::Rejected);
        QTest::newRow("shown and left open") << "show" << int(QDialog::Rejected);
        QTest::newRow("left alone") << "none" << int(QDialog::Rejected);
        QTest::newRow("unexpected") << "unexpected" << int(QDialog::Rejected);
    }
    void scriptedModal() {
        QFETCH(QString, action);
        QFETCH(int, result);
        ScriptedModal modal;
        if (action == "unexpected") {
            QTest::ignoreMessage(
                QtWarningMsg, QRegularExpression("Unexpected modal dialog ExampleDialog.*Entry"));
        } else {
            modal.Next([action](QDialog* d) {
                if (action == "accept") {
                    d->accept();
                } else if (action == "reject") {
                    d->reject();
                } else if (action == "show") {
                    d->show();
                }
            });
        }
        QWidget owner;
        ExampleDialog dialog;
        dialog.setWindowTitle("Entry");
        dialog.setResult(QDialog::Accepted);  // left over from an earlier showing
        ShowModal(&dialog, &owner);
        QCOMPARE(dialog.result(), result);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.parentWidget(), &owner);
        QVERIFY(dialog.isWindow());
        QCOMPARE(modal.Shown(), QStringList{"ExampleDialog"});
        QCOMPARE(modal.Unexpected(), action == "unexpected" ? 1 : 0);
    }

    void realModal() {
        const auto allow = AllowModal();
        QWidget owner;
        ExampleDialog dialog;
        const Qt::WindowFlags flags = dialog.windowFlags() | Qt::WindowStaysOnTopHint;
        dialog.setWindowFlags(flags);
        QWidget* parentSeen = nullptr;
        ModalDriver driver([&](QWidget* w) {
            QCOMPARE(w, &dialog);
            parentSeen = w->parentWidget();
            dialog.accept();
        });
        ShowModal(&dialog, &owner);
        QVERIFY(driver.Acted());
        QCOMPARE(parentSeen, &owner);
        QCOMPARE(dialog.windowFlags(), flags);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
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
