#include "playlist/PlaylistList.h"

#include <QSignalBlocker>

#include "platform/TextRows.h"
#include "playlist/Playlist.h"

namespace playlist {

PlaylistList::PlaylistList(Playlist& model, QWidget* parent)
    : platform::ListBox(
          new platform::TextRows([&model] { return model.Table().Count(); },
                                 [&model](int row) { return RowText(model.Table().Entry(row)); }),
          parent),
      playlistModel(model) {
    connect(&model, &Playlist::Reloaded, this, &PlaylistList::ReloadList);
    connect(&model, &Playlist::EntryAppended, this,
            [this] { Rows().RowInserted(this->playlistModel.LastEntry()); });
    connect(&model, &Playlist::EntryReplaced, &Rows(), &platform::TextRows::RowChanged);
    connect(&model, &Playlist::EntryRemoved, &Rows(), &platform::TextRows::RowRemoved);
    connect(&model, &Playlist::SelectionChanged, this, [this](int row) {
        if (currentRow() != row) {
            const QSignalBlocker quiet(this);
            setCurrentRow(row);
        }
    });
    // A click, or a move with the keys, selects the entry; an emptied list selects nothing.
    connect(this, &ListBox::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            this->playlistModel.Select(row);
        }
    });
    connect(this, &QListView::clicked, this,
            [this](const QModelIndex& index) { this->playlistModel.Select(index.row()); });
}

void PlaylistList::ReloadList() {
    const QSignalBlocker quiet(this);
    Rows().Reload();
}

}  // namespace playlist
