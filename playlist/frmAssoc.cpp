#include "playlist/frmAssoc.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "lyrics/LyricsFile.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"
#include "platform/UpDown.h"
#include "playlist/EntryNumber.h"
#include "playlist/OpenedFileKind.h"
#include "winamp/Link.h"

namespace playlist {

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const QString& caption, const QRect& at) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(at);
    return label;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption,
                       const QRect& at) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(at);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

frmAssoc::frmAssoc(const winamp::WinampLink& winamp, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      cmdlg(this),
      winamp(winamp) {
    using platform::TwipsRect;
    setObjectName(QStringLiteral("frmAssoc"));
    setWindowTitle(QStringLiteral("Edit List Entry"));
    setFixedSize(platform::Px(6300), platform::Px(3150));

    lbl[0] = AddLabel(this, "lbl0", QStringLiteral("Current Song:"), TwipsRect(120, 120, 3000, 255));
    lblTitle = AddLabel(this, "lblTitle", QString(), TwipsRect(120, 390, 6060, 300));
    lbl[1] = AddLabel(this, "lbl1", QStringLiteral("Current File:"), TwipsRect(120, 810, 3000, 255));
    lblFile = AddLabel(this, "lblFile", QString(), TwipsRect(120, 1080, 6060, 300));
    for (QLabel* shown : {lblTitle, lblFile}) {
        shown->setFrameShape(QFrame::Panel);
        shown->setFrameShadow(QFrame::Sunken);
    }
    cmdBrowse = AddButton(this, "cmdBrowse", QStringLiteral("&Browse..."),
                          TwipsRect(4980, 1500, 1200, 360));

    lbl[2] = AddLabel(this, "lbl2", QStringLiteral("&Winamp Playlist Entry:"),
                      TwipsRect(120, 2085, 2400, 255));
    txtItem = new QLineEdit(this);
    txtItem->setObjectName(QStringLiteral("txtItem"));
    txtItem->setGeometry(TwipsRect(2580, 2040, 720, 330));
    lbl[2]->setBuddy(txtItem);
    // Load: Winamp's current entry; with no Winamp the position is 0, so entry 1.
    ud = new platform::UpDown(txtItem, EntryNumberMin, EntryNumberMax, CurrentEntry(), this);
    ud->setObjectName(QStringLiteral("ud"));
    ud->setGeometry(TwipsRect(3300, 2040, 255, 330));
    cmdPick = AddButton(this, "cmdPick", QStringLiteral("&Pick..."), TwipsRect(3660, 2025, 1200, 360));
    cmdCurrent = AddButton(this, "cmdCurrent", QStringLiteral("&Use Current"),
                           TwipsRect(4980, 2025, 1200, 360));

    cmdOK = AddButton(this, "cmdOK", QStringLiteral("&OK"), TwipsRect(3660, 2595, 1200, 375));
    cmdOK->setDefault(true);
    cmdCancel = AddButton(this, "cmdCancel", QStringLiteral("&Cancel"),
                          TwipsRect(4980, 2595, 1200, 375));

    cmdlg.Flags = platform::CommonDialog::HideReadOnly | platform::CommonDialog::PathMustExist |
                  platform::CommonDialog::FileMustExist;
    cmdlg.Filter = PlayerOpenFilter();

    connect(ud, &platform::UpDown::TextEdited, this, &frmAssoc::txtItem_Change);
    connect(cmdCurrent, &QPushButton::clicked, this, &frmAssoc::cmdCurrent_Click);
    connect(cmdPick, &QPushButton::clicked, this, &frmAssoc::cmdPick_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmAssoc::cmdBrowse_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAssoc::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAssoc::cmdCancel_Click);
}

void frmAssoc::SetValue(int iVal, const QString& sTit, const QString& sFil) {
    fileName = sFil;
    title = sTit;
    if (IsEntryNumber(iVal)) {
        ud->SetValue(iVal);
    } else {
        platform::MsgBox(this,
                         QStringLiteral("The playlist track number is invalid for this Winamp "
                                        "playlist."),
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         QStringLiteral("Playlist Number"));
    }
    SetDisplay(sTit, sFil);
}

void frmAssoc::SetDisplay(const QString& sTit, const QString& sFil) {
    lblTitle->setText(sTit);
    lblFile->setText(sFil);
}

int frmAssoc::GetValue() const {
    return ud->Value();
}

int frmAssoc::CurrentEntry() const {
    return EntryNumberAt(winamp.ListPosition());
}

void frmAssoc::cmdCurrent_Click() {
    ud->Reset(CurrentEntry());
}

void frmAssoc::cmdPick_Click() {
    // Posted, not awaited: the number taken is Winamp's entry at the click.
    winamp.OpenJumpToFile();
    cmdCurrent_Click();
}

void frmAssoc::txtItem_Change() {
    // Showing Winamp's entry does not come back here, so it cannot loop.
    ud->TakeTyped(TypedWholeNumber(txtItem->text(), EntryNumberMin, EntryNumberMax),
                  [this] { return CurrentEntry(); });
}

void frmAssoc::cmdBrowse_Click() {
    if (!cmdlg.ShowOpen()) {
        return;
    }
    // A file that cannot be read leaves neither file nor title, so OK refuses until another
    // one is chosen.
    const std::optional<QString> read = lyrics::ReadLyricsTitle(cmdlg.FileName);
    fileName = read ? cmdlg.FileName : QString();
    title = read.value_or(QString());
    SetDisplay(title, fileName);
}

void frmAssoc::cmdOK_Click() {
    if (fileName.isEmpty()) {
        platform::MsgBox(this, QStringLiteral("Oops. No data was collected."),
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         QStringLiteral("Edit List"));
        return;
    }
    returnState = true;
    accept();
}

void frmAssoc::cmdCancel_Click() {
    returnState = false;
    reject();
}

}  // namespace playlist
