#pragma once
#include "platform/ListBox.h"

namespace playlist {

class Playlist;

// lstList: a list box that shows one row per entry of a playlist model ("3 - Title -
// path"), follows its changes, and hands a click on a row to the model as the selected
// entry. It keeps no state of its own: row k always shows entry k.
class PlaylistList : public platform::ListBox {
    Q_OBJECT
  public:
    PlaylistList(Playlist& model, QWidget* parent);

    // Rebuilds every row from the table; the selection is lost.
    void ReloadList();

  private:
    Playlist& playlistModel;
};

}  // namespace playlist
