#pragma once
#include <QObject>
#include <functional>

class QAction;
class QDialog;
class QMenu;
class QPoint;
class QWidget;

namespace platform {
class CommonDialog;
}
namespace playlist {
class Playlist;
}
namespace winamp {
class WinampLink;
}

namespace player {

class Session;

// The player's "P&laylist" menu with its "&Track" submenu, which the list's right button also
// brings up: the playlist's file and entry commands, each change written as the save mode
// says. The entry commands can be chosen once a playlist is read; Play and New follow the
// session's playback.
class PlaylistMenu : public QObject {
    Q_OBJECT
  public:
    PlaylistMenu(playlist::Playlist& playlist, Session& session, winamp::WinampLink& winamp,
                 platform::CommonDialog& cmdlg, QWidget* window,
                 std::function<void(QDialog*)> showDialog);

    QMenu* Menu() const { return mnuList; }
    void EnableCommands(bool enabled);
    // A lyrics file opened: its song can be added to the playlist.
    void EnableAdd() const;
    // Stop gives the playlist's Play back, even without entries.
    void EnablePlay() const;
    // The caption of Show, which says what choosing it does.
    void SetShowCaption(bool hide) const;

  public slots:
    void itmLNew_Click();
    void itmLSave_Click();
    void itmLAdd_Click();
    void itmLEdit_Click();
    void itmLRemove_Click();
    void itmLSort_Click(int index);
    void itmLShift_Click();
    void itmLVShow_Click();
    void lstList_MouseUp(Qt::MouseButton button, const QPoint& globalPos);

  signals:
    void OpenWanted();
    // New: the list folds away.
    void Cleared();
    void EntryAdded();
    void ListViewWanted(bool show);

  private:
    // After Add, Edit, Remove, Sort and Shift: "&On Change" writes the file at once,
    // "&Manual" leaves it for Save.
    void PlaylistChanged();

    playlist::Playlist& playlist;
    Session& session;
    winamp::WinampLink& winamp;
    platform::CommonDialog& cmdlg;
    QWidget* window;
    std::function<void(QDialog*)> showDialog;
    QMenu* mnuList;
    QAction* itmLPlay;
    QAction* itmLNew;
    QAction* itmLSave;
    QMenu* mnuListPop;
    QAction* itmLAdd;
    QAction* itmLEdit;
    QAction* itmLRemove;
    QAction* itmLVShow;
    QMenu* itmLS;
    QAction* itmLShift;
};

}  // namespace player
