#include "playlist/PlaylistList.h"

#include <QSignalBlocker>
#include <QStringList>

#include "playlist/Playlist.h"

namespace playlist {

PlaylistList::PlaylistList(Playlist& model, QWidget* parent) : QListWidget(parent), model(model) {
    setSortingEnabled(false);
    connect(&model, &Playlist::Reloaded, this, &PlaylistList::ReloadList);
    connect(&model, &Playlist::EntryAppended, this,
            [this] { addItem(RowText(this->model.Table().Entry(this->model.LastEntry()))); });
    connect(&model, &Playlist::EntryReplaced, this,
            [this](int row) { item(row)->setText(RowText(this->model.Table().Entry(row))); });
    connect(&model, &Playlist::EntryRemoved, this, [this](int row) {
        // A list box moves its current row to a neighbour by itself; after a removal
        // nothing is selected.
        const QSignalBlocker quiet(this);
        delete takeItem(row);
        setCurrentRow(-1);
    });
    connect(&model, &Playlist::SelectionChanged, this, [this](int row) {
        if (currentRow() != row) {
            const QSignalBlocker quiet(this);
            setCurrentRow(row);
        }
    });
    // A click, or a move with the keys, selects the entry; an emptied list selects nothing.
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            this->model.Select(row);
        }
    });
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { this->model.Select(row(item)); });
}

void PlaylistList::ReloadList() {
    QStringList rows;
    rows.reserve(model.Table().Count());
    for (const PlaylistEntry& entry : model.Table()) {
        rows.append(RowText(entry));
    }
    const QSignalBlocker quiet(this);
    setUpdatesEnabled(false);
    clear();
    addItems(rows);
    setUpdatesEnabled(true);
}

}  // namespace playlist
