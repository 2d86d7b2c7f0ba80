#include "encoder/PlaylistMenu.h"

#include <QMenu>
#include <utility>

#include "encoder/PlaylistCommands.h"
#include "platform/Menus.h"
#include "playlist/Playlist.h"

namespace encoder {

using platform::AddMenuItem;

PlaylistMenu::PlaylistMenu(playlist::Playlist& playlist, const winamp::WinampLink& winamp,
                           platform::CommonDialog& dialog, playlist::ShowDialogFn showDialog,
                           const QString& currentTitle, const QString& currentFile, QWidget* owner)
    : QObject(owner),
      playlist(playlist),
      winamp(winamp),
      cmdlg(dialog),
      showDialog(std::move(showDialog)),
      currentTitle(currentTitle),
      currentFile(currentFile),
      owner(owner),
      mnuList(new QMenu(QStringLiteral("&Playlist"), owner)) {
    mnuList->setObjectName(QStringLiteral("mnuList"));
    AddMenuItem(mnuList, "itmLNew", QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N),
                this, &PlaylistMenu::itmLNew_Click);
    AddMenuItem(mnuList, "itmLLoad", QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O),
                this, &PlaylistMenu::itmLLoad_Click);
    itmLSave[0] =
        AddMenuItem(mnuList, "itmLSave0", QStringLiteral("&Save"),
                    QKeySequence(Qt::CTRL | Qt::Key_S), this, [this] { itmLSave_Click(0); });
    itmLSave[1] = AddMenuItem(mnuList, "itmLSave1", QStringLiteral("S&ave As..."), {}, this,
                              [this] { itmLSave_Click(1); });
    mnuList->addSeparator();
    mnuListPop = platform::AddSubmenu(mnuList, "mnuListPop", QStringLiteral("&Track"));
    QMenu* itmLA = platform::AddSubmenu(mnuListPop, "itmLA", QStringLiteral("&Add"));
    itmLAdd[0] = AddMenuItem(itmLA, "itmLAdd0", QStringLiteral("&Current..."), {}, this,
                             [this] { itmLAdd_Click(0); });
    itmLAdd[1] = AddMenuItem(itmLA, "itmLAdd1", QStringLiteral("&New..."), {}, this,
                             [this] { itmLAdd_Click(1); });
    itmLEdit = AddMenuItem(mnuListPop, "itmLEdit", QStringLiteral("&Edit..."), {}, this,
                           &PlaylistMenu::itmLEdit_Click);
    itmLRemove = AddMenuItem(mnuListPop, "itmLRemove", QStringLiteral("&Remove..."), {}, this,
                             &PlaylistMenu::itmLRemove_Click);
    mnuList->addSeparator();
    itmLS = platform::AddSubmenu(mnuList, "itmLS", QStringLiteral("So&rt"));
    const std::array<QString, 3> sorts{QStringLiteral("&Artist"), QStringLiteral("&Title"),
                                       QStringLiteral("T&rack")};
    for (int i = 0; i < 3; ++i) {
        AddMenuItem(itmLS, QStringLiteral("itmLSort%1").arg(i), sorts[size_t(i)], {}, this,
                    [this, i] { itmLSort_Click(i); });
    }
    itmLShift = AddMenuItem(mnuList, "itmLShift", QStringLiteral("S&hift..."), {}, this,
                            &PlaylistMenu::itmLShift_Click);
    connect(&playlist, &playlist::Playlist::ModifiedChanged, itmLSave[0], &QAction::setEnabled);
}

void PlaylistMenu::OfferCurrent() {
    itmLAdd[0]->setEnabled(true);
}

void PlaylistMenu::itmLNew_Click() {
    playlist.Clear();
    itmLSave[0]->setEnabled(false);
    itmLAdd[0]->setEnabled(false);
    EnableEntryCommands(false);
}

void PlaylistMenu::EnableEntryCommands(bool enabled) {
    for (QAction* item : {itmLSave[1], itmLEdit, itmLRemove, itmLS->menuAction(), itmLShift}) {
        item->setEnabled(enabled);
    }
}

void PlaylistMenu::itmLLoad_Click() {
    if (OpenEncoderPlaylist(playlist, owner, cmdlg)) {
        EnableEntryCommands(true);
    }
}

void PlaylistMenu::itmLSave_Click(int index) {
    SaveEncoderPlaylist(playlist, index, owner, cmdlg);
}

void PlaylistMenu::itmLAdd_Click(int index) {
    if (!EncoderAddEntry(playlist, winamp, owner, showDialog, index, currentTitle, currentFile)) {
        return;
    }
    EnableEntryCommands(true);
    itmLAdd[0]->setEnabled(false);
}

void PlaylistMenu::itmLEdit_Click() {
    EncoderEditEntry(playlist, winamp, owner, showDialog);
}

void PlaylistMenu::itmLRemove_Click() {
    if (EncoderRemoveEntry(playlist, owner) && playlist.Table().IsEmpty()) {
        itmLNew_Click();
    }
}

void PlaylistMenu::itmLSort_Click(int index) {
    EncoderSort(playlist, playlist::SortBy(index));
}

void PlaylistMenu::itmLShift_Click() {
    EncoderShift(playlist, showDialog);
}

}  // namespace encoder
