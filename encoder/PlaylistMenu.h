#pragma once
#include <QObject>
#include <QString>
#include <array>

#include "playlist/EntryCommands.h"

class QAction;
class QMenu;
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

namespace encoder {

// The encoder's "&Playlist" menu over its playlist: the file commands and the entry commands,
// each available only while it has something to act on. "&Current..." offers the lyrics file
// the encoder last wrote or chose, once until another is.
class PlaylistMenu : public QObject {
    Q_OBJECT
  public:
    // currentTitle and currentFile are the window's, read when "&Current..." is chosen.
    PlaylistMenu(playlist::Playlist& playlist, const winamp::WinampLink& winamp,
                 platform::CommonDialog& dialog, playlist::ShowDialogFn showDialog,
                 const QString& currentTitle, const QString& currentFile, QWidget* owner);

    QMenu* Menu() const { return mnuList; }
    // The "&Track" submenu, which the right button pops up over the list.
    QMenu* TrackMenu() const { return mnuListPop; }
    // A lyrics file was chosen or written: "&Current..." may add it.
    void OfferCurrent();

  public slots:
    void itmLNew_Click();
    void itmLLoad_Click();
    void itmLSave_Click(int index);
    void itmLAdd_Click(int index);
    void itmLEdit_Click();
    void itmLRemove_Click();
    void itmLSort_Click(int index);
    void itmLShift_Click();

  private:
    // Save As, Edit, Remove, Sort and Shift, which need an entry.
    void EnableEntryCommands(bool enabled);

    playlist::Playlist& playlist;
    const winamp::WinampLink& winamp;
    platform::CommonDialog& cmdlg;
    playlist::ShowDialogFn showDialog;
    const QString& currentTitle;
    const QString& currentFile;
    QWidget* owner;
    QMenu* mnuList;
    std::array<QAction*, 2> itmLSave;
    QMenu* mnuListPop;
    std::array<QAction*, 2> itmLAdd;
    QAction* itmLEdit;
    QAction* itmLRemove;
    QMenu* itmLS;
    QAction* itmLShift;
};

}  // namespace encoder
