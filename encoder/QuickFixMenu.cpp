#include "encoder/QuickFixMenu.h"

#include <QMenu>

#include "encoder/Capture.h"
#include "encoder/SourceText.h"
#include "encoder/frmEdit.h"
#include "platform/ListBox.h"
#include "platform/Menus.h"
#include "platform/MsgBox.h"
#include "platform/TextRows.h"

namespace encoder {

QuickFixMenu::QuickFixMenu(Capture& lines, platform::ListBox* lstFile,
                           std::function<void(QDialog*)> showDialog, QWidget* owner)
    : QObject(owner),
      lines(lines),
      lstFile(lstFile),
      showDialog(std::move(showDialog)),
      owner(owner),
      mnuFile(new QMenu(QStringLiteral("&Quickfix"), owner)) {
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    platform::AddMenuItem(mnuFile, "itmFAdd", QStringLiteral("&Add..."), {}, this,
                          &QuickFixMenu::itmFAdd_Click);
    itmFEdit = platform::AddMenuItem(mnuFile, "itmFEdit", QStringLiteral("&Edit..."), {}, this,
                                     &QuickFixMenu::itmFEdit_Click);
    platform::AddMenuItem(mnuFile, "itmFRemove", QStringLiteral("&Remove..."), {}, this,
                          &QuickFixMenu::itmFRemove_Click);
    mnuFile->addSeparator();
    itmFTitle = platform::AddMenuItem(mnuFile, "itmFTitle", QStringLiteral("&Title..."), {}, this,
                                      &QuickFixMenu::TitleWanted);
}

void QuickFixMenu::EnableForSong(bool enabled) {
    itmFEdit->setEnabled(enabled);
    itmFTitle->setEnabled(enabled);
}

int QuickFixMenu::SelectedLine() {
    const int row = lines.RowToFix(lstFile->currentRow());
    if (row >= 0 && lstFile->currentRow() != row) {
        lstFile->setCurrentRow(row);
    }
    return row;
}

void QuickFixMenu::itmFAdd_Click() {
    const int row = SelectedLine();
    if (row < 0) {
        return;
    }
    if (lines.Full()) {
        platform::MsgBox(owner,
                         QStringLiteral("No line can be added: a song holds at most %1 lines.")
                             .arg(MaxSourceLines),
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         QStringLiteral("Add New Line"));
        return;
    }
    frmEdit edit(owner);
    edit.SetComment(QStringLiteral("The line will be added on top of your selection."));
    edit.SetCaption(QStringLiteral("Add New Line"));
    showDialog(&edit);
    if (edit.ReturnState() && lines.InsertLine(row, edit.GetText())) {
        lstFile->Rows().RowInserted(row);
    }
}

void QuickFixMenu::itmFEdit_Click() {
    const int row = SelectedLine();
    if (row < 0) {
        return;
    }
    frmEdit edit(owner);
    edit.SetText(lines.SourceLines[size_t(row)].Text);
    showDialog(&edit);
    if (edit.ReturnState() && lines.SetLineText(row, edit.GetText())) {
        lstFile->Rows().RowChanged(row);
    }
}

void QuickFixMenu::itmFRemove_Click() {
    const int row = SelectedLine();
    if (row < 0) {
        return;
    }
    if (platform::MsgBox(owner,
                         QStringLiteral("Are you sure you wish to remove this line? (Line #%1)\r"
                                        "This will not affect your original file.")
                             .arg(row + 1),
                         platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                         QStringLiteral("Remove Line")) == platform::MsgResult::Yes &&
        lines.RemoveLine(row)) {
        // Nothing stays selected: the next command takes line 1.
        lstFile->Rows().RowRemoved(row);
    }
}

}  // namespace encoder
