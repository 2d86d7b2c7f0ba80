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

QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& key = QKeySequence()) {
    return platform::AddMenuItem(menu, QString::fromLatin1(name), caption, key);
}

}  // namespace

frmOpen::frmOpen(QWidget* parent) : QDialog(parent), cmdlg(this) {
    setObjectName(QStringLiteral("frmOpen"));
    setWindowTitle(QStringLiteral("Edit Lyrics"));
    cmdlg.Flags = platform::CommonDialog::HideReadOnly | platform::CommonDialog::PathMustExist |
                  platform::CommonDialog::FileMustExist;

    auto* bar = new QMenuBar(this);
    mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    itmFNew = AddItem(mnuFile, "itmFNew", QStringLiteral("&New"));
    itmFOpen = AddItem(mnuFile, "itmFOpen", QStringLiteral("&Open"));
    itmFReload = AddItem(mnuFile, "itmFReload", QStringLiteral("&Reload"),
                         QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFile->addSeparator();
    itmFSave = AddItem(mnuFile, "itmFSave", QStringLiteral("&Save && Return"),
                       QKeySequence(Qt::CTRL | Qt::Key_S));
    itmFClose = AddItem(mnuFile, "itmFClose", QStringLiteral("&Discard && Close"),
                        QKeySequence(Qt::CTRL | Qt::Key_F4));
    mnuEdit = bar->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    itmECut = AddItem(mnuEdit, "itmECut", QStringLiteral("&Cut"), QKeySequence(Qt::CTRL | Qt::Key_X));
    itmECopy = AddItem(mnuEdit, "itmECopy", QStringLiteral("C&opy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    itmEPaste = AddItem(mnuEdit, "itmEPaste", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    itmClear = AddItem(mnuEdit, "itmClear", QStringLiteral("C&lear"), Qt::Key_Delete);
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
    auto button = [client](const char* name, const QString& caption, int left) {
        auto* b = new QPushButton(caption, client);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(platform::TwipsRect(left, 6000, 1215, 375));
        b->setAutoDefault(false);
        return b;
    };
    cmdCut = button("cmdCut", QStringLiteral("&Cut"), 240);
    cmdCopy = button("cmdCopy", QStringLiteral("C&opy"), 1800);
    cmdPaste = button("cmdPaste", QStringLiteral("&Paste"), 3360);
    cmdSave = button("cmdSave", QStringLiteral("Co&ntinue"), 6000);
    cmdClose = button("cmdClose", QStringLiteral("C&ancel"), 7560);
    cmdSave->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(bar);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(itmFNew, &QAction::triggered, this, &frmOpen::itmFNew_Click);
    connect(itmFOpen, &QAction::triggered, this, &frmOpen::itmFOpen_Click);
    connect(itmFReload, &QAction::triggered, this, &frmOpen::itmFReload_Click);
    connect(itmFSave, &QAction::triggered, this, &frmOpen::cmdSave_Click);
    connect(itmFClose, &QAction::triggered, this, &frmOpen::cmdClose_Click);
    connect(itmECut, &QAction::triggered, this, &frmOpen::itmECut_Click);
    connect(itmECopy, &QAction::triggered, this, &frmOpen::itmECopy_Click);
    connect(itmEPaste, &QAction::triggered, this, &frmOpen::itmEPaste_Click);
    connect(itmClear, &QAction::triggered, this, &frmOpen::itmClear_Click);
    connect(cmdCut, &QPushButton::clicked, this, &frmOpen::itmECut_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &frmOpen::itmECopy_Click);
    connect(cmdPaste, &QPushButton::clicked, this, &frmOpen::itmEPaste_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmOpen::cmdSave_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmOpen::cmdClose_Click);
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
