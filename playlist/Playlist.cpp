#include "playlist/Playlist.h"

#include <QRandomGenerator>

namespace playlist {

Playlist::Playlist(QObject* parent) : QObject(parent) {}

void Playlist::Replace(PlaylistTable newTable, const QString& path) {
    playlistPath = path;
    ReplaceTable(std::move(newTable));
    SetModified(false);
}

void Playlist::ReplaceTable(PlaylistTable newTable) {
    table = std::move(newTable);
    selectedEntry = -1;
    emit Reloaded();
}

void Playlist::Clear() {
    Replace(PlaylistTable(), QString());
}

void Playlist::SetModified(bool modified) {
    playlistModified = modified;
    emit ModifiedChanged(modified);
}

bool Playlist::Append(const PlaylistEntry& entry) {
    if (!table.Append(entry)) {
        return false;
    }
    emit EntryAppended();
    return true;
}

void Playlist::ReplaceEntry(int row, const PlaylistEntry& entry) {
    table.Entry(row) = entry;
    emit EntryReplaced(row);
}

void Playlist::RemoveEntry(int row) {
    table.RemoveAt(row);
    selectedEntry = -1;
    emit EntryRemoved(row);
}

void Playlist::SetSaveMode(SaveMode mode) {
    saveMode = mode;
    emit SwitchesChanged();
}

void Playlist::SetRandomizeList(bool on) {
    randomizeList = on;
    emit SwitchesChanged();
}

void Playlist::SetRepeatList(bool on) {
    repeatList = on;
    emit SwitchesChanged();
}

void Playlist::Select(int row) {
    selectedEntry = row >= 0 && row <= table.LastEntry() ? row : -1;
    emit SelectionChanged(selectedEntry);
}

void Playlist::BuildRandomOrder(QRandomGenerator& random) {
    if (table.IsEmpty()) {
        return;
    }
    order.BuildRandom(selectedEntry, table.Count(), random);
    Select(order.Row());
}

bool Playlist::StartPlayback(QRandomGenerator& random) {
    if (table.IsEmpty()) {
        return false;
    }
    if (randomizeList) {
        BuildRandomOrder(random);
    } else {
        order.BuildInOrder(std::max(selectedEntry, 0), table.Count());
        Select(order.Row());
    }
    playlistPlaying = true;
    return true;
}

bool Playlist::NextEntry() {
    if (!playlistPlaying || !order.Advance(repeatList, table.Count())) {
        playlistPlaying = false;
        return false;
    }
    Select(order.Row());
    return true;
}

}  // namespace playlist
