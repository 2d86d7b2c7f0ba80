#pragma once
#include <QObject>
#include <QString>

#include "playlist/PlayOrder.h"
#include "playlist/PlaylistEntry.h"
#include "playlist/PlaylistTable.h"

class QRandomGenerator;

namespace playlist {

// "Playlist Save": write the file at every change, or only on Save.
enum class SaveMode { OnChange = 0, Manual = 1 };

// The lyrics playlist of a program, with no widgets: the table, its file, whether it holds
// changes not in the file, the save mode, the switches Randomize and Repeat, the entry
// selected (what playlist playback plays next) and the play order. The program's list box
// and menus only reflect it, through the signals.
class Playlist : public QObject {
    Q_OBJECT
  public:
    explicit Playlist(QObject* parent = nullptr);

    const PlaylistTable& Table() const { return table; }
    qint16 LastEntry() const { return table.LastEntry(); }
    const QString& PlaylistPath() const { return playlistPath; }
    // The table holds changes that are not in the file; Save is available exactly then.
    bool PlaylistModified() const { return playlistModified; }

    // The whole table and its file, as a read gave them; not modified.
    void Replace(PlaylistTable newTable, const QString& path);
    // The same playlist rearranged (Sort, Shift): the file and the modified flag stay.
    void ReplaceTable(PlaylistTable newTable);
    // New: an empty, unnamed, unmodified playlist.
    void Clear();
    void SetPath(const QString& path) { playlistPath = path; }
    void SetModified(bool modified);

    // Entry commands keep the rows of the list in step through the signals. Append is false,
    // changing nothing, when the table is full.
    bool Append(const PlaylistEntry& entry);
    void ReplaceEntry(int row, const PlaylistEntry& entry);
    void RemoveEntry(int row);

    SaveMode GetSaveMode() const { return saveMode; }
    void SetSaveMode(SaveMode mode);
    bool RandomizeList() const { return randomizeList; }
    bool RepeatList() const { return repeatList; }
    void SetRandomizeList(bool on);
    void SetRepeatList(bool on);

    // The selected entry, -1 for none. Selecting announces itself even when the row was
    // selected already, as a click on the list does.
    int SelectedEntry() const { return selectedEntry; }
    void Select(int row);

    // Playlist playback.
    bool PlaylistPlaying() const { return playlistPlaying; }
    const PlayOrder& Order() const { return order; }
    // A new random order starting at the selected entry; selects its first row.
    void BuildRandomOrder(QRandomGenerator& random);
    // Starts playback from the selected entry (row 0 when none): a random order with
    // Randomize on, else list order. Selects the first row. False for an empty playlist.
    bool StartPlayback(QRandomGenerator& random);
    // The next entry of the order, selected; false when playback has run out (it then ends).
    bool NextEntry();
    void StopPlayback() { playlistPlaying = false; }

  signals:
    void Reloaded();  // the whole table changed
    void EntryAppended();
    void EntryReplaced(int row);
    void EntryRemoved(int row);
    void ModifiedChanged(bool modified);
    void SwitchesChanged();
    void SelectionChanged(int row);

  private:
    PlaylistTable table;
    QString playlistPath;
    bool playlistModified = false;
    SaveMode saveMode = SaveMode::OnChange;
    bool randomizeList = false;
    bool repeatList = false;
    int selectedEntry = -1;
    bool playlistPlaying = false;
    PlayOrder order;
};

}  // namespace playlist
