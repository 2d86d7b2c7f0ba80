#include "encoder/frmOpen.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include "platform/Menus.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"

namespace encoder {

namespace {

const QString MessageTitle = QStringLiteral("@ Wizard");

using platform::AddMenuItem;

}  // namespace

frmOpen::frmOpen(QWidget* parent) : QDialog(parent), cmdlg(this) {
    setObjectName(QStringLiteral("frmOpen"));
    setWindowTitle(QStringLiteral("Edit Lyrics"));
    cmdlg.Flags = platform::CommonDialog::HideReadOnly | platform::CommonDialog::PathMustExist |
                  platform::CommonDialog::FileMustExist;

    auto* bar = new QMenuBar(this);
    QMenu* mnuFile = platform::AddMenu(bar, "mnuFile", QStringLiteral("&File"));
    itmFNew =
        AddMenuItem(mnuFile, "itmFNew", QStringLiteral("&New"), {}, this, &frmOpen::itmFNew_Click);
    itmFOpen = AddMenuItem(mnuFile, "itmFOpen", QStringLiteral("&Open"), {}, this,
                           &frmOpen::itmFOpen_Click);
    AddMenuItem(mnuFile, "itmFReload", QStringLiteral("&Reload"),
                QKeySequence(Qt::CTRL | Qt::Key_O), this, &frmOpen::itmFReload_Click);
    mnuFile->addSeparator();
    AddMenuItem(mnuFile, "itmFSave", QStringLiteral("&Save && Return"),
                QKeySequence(Qt::CTRL | Qt::Key_S), this, &frmOpen::cmdSave_Click);
    AddMenuItem(mnuFile, "itmFClose", QStringLiteral("&Discard && Close"),
                QKeySequence(Qt::CTRL | Qt::Key_F4), this, &frmOpen::cmdClose_Click);
    mnuEdit = platform::AddMenu(bar, "mnuEdit", QStringLiteral("&Edit"));
    AddMenuItem(mnuEdit, "itmECut", QStringLiteral("&Cut"), QKeySequence(Qt::CTRL | Qt::Key_X),
                this, &frmOpen::itmECut_Click);
    AddMenuItem(mnuEdit, "itmECopy", QStringLiteral("C&opy"), QKeySequence(Qt::CTRL | Qt::Key_C),
                this, &frmOpen::itmECopy_Click);
    AddMenuItem(mnuEdit, "itmEPaste", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V),
                this, &frmOpen::itmEPaste_Click);
    AddMenuItem(mnuEdit, "itmClear", QStringLiteral("C&lear"), Qt::Key_Delete, this,
                &frmOpen::itmClear_Click);
    // Only the wizard may change which file the text belongs to.
    itmFNew->setEnabled(false);
    itmFOpen->setEnabled(false);

    auto* client = new QWidget(this);
    client->setFixedSize(platform::Px(9105), platform::Px(6525));
    rtb = new QPlainTextEdit(client);
    rtb->setObjectName(QStringLiteral("rtb"));
    rtb->setGeometry(platform::TwipsRect(120, 120, 8775, 5775));
    QFont fixed(QStringLiteral("Fixedsys"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSize(9);
    rtb->setFont(fixed);
    rtb->installEventFilter(this);
    auto button = [this, client](const char* name, const QString& caption, int left,
                                 void (frmOpen::*command)()) {
        auto* b = new QPushButton(caption, client);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(platform::TwipsRect(left, 6000, 1215, 375));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, command);
        return b;
    };
    button("cmdCut", QStringLiteral("&Cut"), 240, &frmOpen::itmECut_Click);
    button("cmdCopy", QStringLiteral("C&opy"), 1800, &frmOpen::itmECopy_Click);
    button("cmdPaste", QStringLiteral("&Paste"), 3360, &frmOpen::itmEPaste_Click);
    button("cmdSave", QStringLiteral("Co&ntinue"), 6000, &frmOpen::cmdSave_Click)->setDefault(true);
    button("cmdClose", QStringLiteral("C&ancel"), 7560, &frmOpen::cmdClose_Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(bar);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool frmOpen::InitialState(int iState) {
    if (iState != 1) {
        return false;
    }
    itmFNew->setEnabled(true);
    itmFOpen->setEnabled(true);
    itmFOpen_Click();
    return true;
}

bool frmOpen::OpenFile(const QString& sFN) {
    const std::optional<QString> text = file.Open(sFN);
    if (text) {
        rtb->setPlainText(*text);
    }
    return text.has_value();
}

void frmOpen::ShowReadFailure() {
    platform::MsgBox(this, QStringLiteral("Could not read file."), platform::MsgButtons::OK,
                     platform::MsgIcon::Exclamation, MessageTitle);
}

void frmOpen::itmFNew_Click() {
    rtb->clear();
    file.New();
}

void frmOpen::itmFOpen_Click() {
    cmdlg.DialogTitle = QStringLiteral("Step 1 - Select Source File");
    cmdlg.Filter = QStringLiteral(
        "Text files (*.txt, *.text, *.html, *.doc, *.wri)|*.txt;*.text;*.htm;*.html;*.doc;*.wri|"
        "All Files (*.*)|*.*");
    cmdlg.FilterIndex = 1;
    if (cmdlg.ShowOpen() && !OpenFile(cmdlg.FileName)) {
        ShowReadFailure();
    }
}

void frmOpen::itmFReload_Click() {
    if (!OpenFile(file.FileName)) {
        ShowReadFailure();
    }
}

QString frmOpen::Text() const {
    return rtb->document()->toRawText().replace(QChar::ParagraphSeparator, u'\n');
}

void frmOpen::cmdSave_Click() {
    if (!file.Save(Text())) {
        // The editor stays open with the text, so nothing typed is lost.
        platform::MsgBox(this, QStringLiteral("Could not save file."), platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, MessageTitle);
        return;
    }
    accept();
}

void frmOpen::cmdClose_Click() {
    QDialog::reject();
}

void frmOpen::reject() {
    if (!file.Changed(Text())) {
        QDialog::reject();
        return;
    }
    switch (platform::MsgBox(this,
                             QStringLiteral("Would you like to save the changes you made to the "
                                            "lyrics?"),
                             platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question,
                             windowTitle())) {
        case platform::MsgResult::Yes:
            cmdSave_Click();  // a failed save says so and keeps the editor open
            break;
        case platform::MsgResult::No:
            QDialog::reject();
            break;
        default:
            break;  // the editor stays open
    }
}

void frmOpen::itmECut_Click() {
    itmECopy_Click();
    itmClear_Click();
}

void frmOpen::itmECopy_Click() {
    QString selected = rtb->textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, u'\n');
    QGuiApplication::clipboard()->setText(selected);
    rtb->setFocus();
}

void frmOpen::itmEPaste_Click() {
    rtb->textCursor().insertText(QGuiApplication::clipboard()->text());
    rtb->setFocus();
}

void frmOpen::itmClear_Click() {
    rtb->textCursor().removeSelectedText();
    rtb->setFocus();
}

bool frmOpen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == rtb &&
        (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        const QKeySequence key(static_cast<QKeyEvent*>(event)->keyCombination());
        for (QAction* item : mnuEdit->actions()) {
            if (item->shortcut() == key) {
                // Claimed from the shortcut map, then run as the command when it arrives.
                event->accept();
                if (event->type() == QEvent::KeyPress && item->isEnabled()) {
                    item->trigger();
                }
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace encoder
