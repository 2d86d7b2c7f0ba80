#include "player/PlaylistMenu.h"

#include <QMenu>
#include <QRandomGenerator>
#include <QWidget>
#include <array>

#include "platform/Menus.h"
#include "player/PlaylistTexts.h"
#include "player/Session.h"
#include "playlist/EntryCommands.h"
#include "playlist/Playlist.h"
#include "playlist/PlaylistCommands.h"

namespace player {

using platform::AddMenuItem;

PlaylistMenu::PlaylistMenu(playlist::Playlist& playlist, Session& session,
                           winamp::WinampLink& winamp, platform::CommonDialog& cmdlg,
                           QWidget* window, std::function<void(QDialog*)> showDialog)
    : QObject(window),
      playlist(playlist),
      session(session),
      winamp(winamp),
      cmdlg(cmdlg),
      window(window),
      showDialog(std::move(showDialog)),
      mnuList(new QMenu(QStringLiteral("P&laylist"), window)) {
    mnuList->setObjectName(QStringLiteral("mnuList"));
    itmLPlay = AddMenuItem(mnuList, "itmLPlay", QStringLiteral("&Play"),
                           QKeySequence(Qt::CTRL | Qt::Key_P), &session, &Session::PlayPlaylist);
    mnuList->addSeparator();
    itmLNew = AddMenuItem(mnuList, "itmLNew", QStringLiteral("&New"),
                          QKeySequence(Qt::CTRL | Qt::Key_N), this, &PlaylistMenu::itmLNew_Click);
    AddMenuItem(mnuList, "itmLOpen", QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O),
                this, &PlaylistMenu::OpenWanted);
    itmLSave = AddMenuItem(mnuList, "itmLSave", QStringLiteral("&Save"),
                           QKeySequence(Qt::CTRL | Qt::Key_S), this, &PlaylistMenu::itmLSave_Click);
    mnuList->addSeparator();
    mnuListPop = platform::AddSubmenu(mnuList, "mnuListPop", QStringLiteral("&Track"));
    itmLAdd = AddMenuItem(mnuListPop, "itmLAdd", QStringLiteral("&Add..."),
                          QKeySequence(Qt::CTRL | Qt::Key_A), this, &PlaylistMenu::itmLAdd_Click);
    itmLEdit = AddMenuItem(mnuListPop, "itmLEdit", QStringLiteral("&Edit..."), Qt::Key_F2, this,
                           &PlaylistMenu::itmLEdit_Click);
    itmLRemove = AddMenuItem(mnuListPop, "itmLRemove", QStringLiteral("&Remove..."), Qt::Key_Delete,
                             this, &PlaylistMenu::itmLRemove_Click);
    mnuList->addSeparator();
    itmLVShow = AddMenuItem(mnuList, "itmLVShow", QStringLiteral("S&how"), Qt::Key_F11, this,
                            &PlaylistMenu::itmLVShow_Click);
    mnuList->addSeparator();
    itmLS = platform::AddSubmenu(mnuList, "itmLS", QStringLiteral("So&rt"));
    const std::array<QString, 3> sorts{QStringLiteral("&Artist"), QStringLiteral("&Title"),
                                       QStringLiteral("T&rack")};
    for (int i = 0; i < int(sorts.size()); ++i) {
        AddMenuItem(itmLS, QStringLiteral("itmLSort%1").arg(i), sorts[size_t(i)], {}, this,
                    [this, i] { itmLSort_Click(i); });
    }
    itmLShift = AddMenuItem(mnuList, "itmLShift", QStringLiteral("Sh&ift..."), {}, this,
                            &PlaylistMenu::itmLShift_Click);
    mnuList->addSeparator();
    connect(&playlist, &playlist::Playlist::ModifiedChanged, itmLSave, &QAction::setEnabled);
    EnableCommands(false);
    itmLSave->setEnabled(false);

    connect(&session, &Session::DisplayStarted, this, [this] { itmLPlay->setEnabled(false); });
    connect(&session, &Session::PlaybackStopped, this, [this] {
        itmLNew->setEnabled(true);
        if (this->playlist.LastEntry() >= 0) {
            itmLPlay->setEnabled(true);
        }
    });
    connect(&session, &Session::PlaylistStarted, this, [this] {
        itmLNew->setEnabled(false);
        itmLPlay->setEnabled(false);
    });
    connect(&session, &Session::PlaylistEmpty, this, [this] { itmLPlay->setEnabled(false); });
}

void PlaylistMenu::EnableCommands(bool enabled) {
    for (QAction* item :
         {itmLAdd, itmLEdit, itmLRemove, itmLPlay, itmLS->menuAction(), itmLShift}) {
        item->setEnabled(enabled);
    }
}

void PlaylistMenu::EnableAdd() const {
    itmLAdd->setEnabled(true);
}

void PlaylistMenu::EnablePlay() const {
    itmLPlay->setEnabled(true);
}

void PlaylistMenu::SetShowCaption(bool hide) const {
    itmLVShow->setText(hide ? QStringLiteral("&Hide") : QStringLiteral("S&how"));
}

void PlaylistMenu::itmLNew_Click() {
    playlist.Clear();
    emit Cleared();
    EnableCommands(false);
}

void PlaylistMenu::itmLSave_Click() {
    playlist::SavePlaylist(playlist, true, window, cmdlg);
}

void PlaylistMenu::PlaylistChanged() {
    playlist::SavePlaylist(playlist, false, window, cmdlg);
}

void PlaylistMenu::itmLAdd_Click() {
    // The lyrics on display, if any, are offered for the song Winamp is on.
    const lyrics::LyricLines& shown = session.Lyrics();
    if (!playlist::AddEntry(playlist, winamp, window, showDialog, shown.LyricsTitle,
                            shown.LyricsPath)) {
        return;
    }
    itmLPlay->setEnabled(true);
    emit EntryAdded();
    PlaylistChanged();
    if (playlist.RandomizeList()) {
        playlist.BuildRandomOrder(*QRandomGenerator::global());
    }
}

void PlaylistMenu::itmLEdit_Click() {
    if (playlist::EditEntry(playlist, winamp, window, showDialog)) {
        PlaylistChanged();
    }
}

void PlaylistMenu::itmLRemove_Click() {
    if (!playlist::RemoveEntry(playlist, window, RemoveQuestion)) {
        return;
    }
    if (playlist.Table().IsEmpty()) {
        itmLNew_Click();
    } else {
        PlaylistChanged();
    }
}

void PlaylistMenu::itmLSort_Click(int index) {
    if (playlist::SortPlaylist(playlist, playlist::SortBy(index))) {
        PlaylistChanged();
    }
}

void PlaylistMenu::itmLShift_Click() {
    if (playlist::ShiftEntries(playlist, showDialog)) {
        PlaylistChanged();
    }
}

void PlaylistMenu::itmLVShow_Click() {
    const bool show = itmLVShow->text().endsWith(QLatin1Char('w'));
    emit ListViewWanted(show);
    SetShowCaption(show);
}

void PlaylistMenu::lstList_MouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::RightButton) {
        mnuListPop->popup(globalPos);
    }
}

}  // namespace player
