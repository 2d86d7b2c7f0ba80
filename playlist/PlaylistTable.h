#pragma once
#include <QList>

#include "playlist/PlaylistEntry.h"

namespace playlist {

// The entries of a playlist, indexed from 0 in file and list order. Indices are 16-bit
// signed, so the table holds at most MaxEntries entries and LastEntry() is -1 when empty.
class PlaylistTable {
  public:
    static constexpr int MaxEntries = 32768;

    qint16 LastEntry() const { return static_cast<qint16>(entries.size() - 1); }
    int Count() const { return static_cast<int>(entries.size()); }
    bool IsEmpty() const { return entries.isEmpty(); }
    bool IsFull() const { return entries.size() >= MaxEntries; }

    const PlaylistEntry& Entry(int index) const { return entries.at(index); }
    PlaylistEntry& Entry(int index) { return entries[index]; }
    const QList<PlaylistEntry>& Entries() const { return entries; }

    // False, leaving the table as it was, when it already holds MaxEntries entries.
    bool Append(const PlaylistEntry& entry);
    void RemoveAt(int index) { entries.removeAt(index); }
    void Clear() { entries.clear(); }

    // Reordering in place (Sort, Shift) cannot change the count.
    QList<PlaylistEntry>::iterator begin() { return entries.begin(); }
    QList<PlaylistEntry>::iterator end() { return entries.end(); }
    QList<PlaylistEntry>::const_iterator begin() const { return entries.begin(); }
    QList<PlaylistEntry>::const_iterator end() const { return entries.end(); }

    friend bool operator==(const PlaylistTable&, const PlaylistTable&) = default;

  private:
    QList<PlaylistEntry> entries;
};

}  // namespace playlist
