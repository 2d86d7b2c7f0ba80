#pragma once
// The playlist file commands both programs call: reading, the save name and the write, the
// player's save rule, and the question about unsaved changes. Each shows its own message
// boxes and file dialogs; the program's menus follow the model's signals.
#include <QString>
#include <functional>

#include "platform/MsgBox.h"

class QWidget;

namespace platform {
class CommonDialog;
}

namespace playlist {

class Playlist;

// The texts of the playlist commands, each defined once.
extern const QString PlaylistFilter;  // the .cxp filter of the Open and Save dialogs
// The lyrics files and playlists a user may choose, in the player's Open and in "Edit List
// Entry"; LRC files have a filter of their own after it.
extern const QString CantorixFilesFilter;

// Reads path into the model: on success the table and the path are the file's and nothing
// is modified; on failure a "Playlist Loader" box says failureText and the model keeps what
// it had, so a half-read table can never be saved over its file.
bool ReadPlaylist(Playlist& model, const QString& path, QWidget* owner,
                  const QString& failureText);

// A name for a save through the "Save List File As" dialog; false when it was cancelled.
bool AskSaveName(platform::CommonDialog& dialog);

// Writes the table to path; a failure says so in a "Playlist Saver" box.
bool WritePlaylist(const Playlist& model, const QString& path, QWidget* owner);

// The player's save: with force false and "&On Change" not chosen it only marks the
// playlist modified; otherwise it writes the file, asking for a name first when the
// playlist has none (a cancelled dialog writes nothing and changes nothing). True when the
// file was written.
bool SavePlaylist(Playlist& model, bool force, QWidget* owner, platform::CommonDialog& dialog);

// The question before a window closes, asked only while the playlist is modified; Yes runs
// save. Answers No when nothing needed asking, and Cancel when Yes could not save (the
// dialog was cancelled or the write failed), so the window stays open and nothing is lost.
platform::MsgResult AskSaveOnClose(const Playlist& model, QWidget* owner,
                                   const std::function<void()>& save);

}  // namespace playlist
