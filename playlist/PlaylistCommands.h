#pragma once
// The playlist file commands both programs call: reading, the player's save rule, the
// encoder's Open, Save and Save As, and the question about unsaved changes. Each shows its
// own message boxes and file dialogs; the program's menus follow the model's signals.
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
extern const QString PlayerReadFailure;   // "Could not read data file."
extern const QString EncoderReadFailure;  // "Could not read playlist file."
extern const QString PlaylistFilter;      // the .cxp filter of the Open and Save dialogs

// Reads path into the model: on success the table and the path are the file's and nothing
// is modified; on failure a "Playlist Loader" box says failureText and the model keeps what
// it had, so a half-read table can never be saved over its file.
bool ReadPlaylist(Playlist& model, const QString& path, QWidget* owner,
                  const QString& failureText);

// The player's save: with force false and "&On Change" not chosen it only marks the
// playlist modified; otherwise it writes the file, asking for a name first when the
// playlist has none (a cancelled dialog writes nothing and changes nothing). True when the
// file was written.
bool SavePlaylist(Playlist& model, bool force, QWidget* owner, platform::CommonDialog& dialog);

// The encoder's Open through the "Open List File" dialog; false when cancelled or failed.
bool OpenEncoderPlaylist(Playlist& model, QWidget* owner, platform::CommonDialog& dialog);
// The encoder's Save (index 0) and Save As (1). Save writes the file the playlist was opened
// from; Save As, and Save of a playlist never opened, write once to a chosen file without
// adopting it.
bool SaveEncoderPlaylist(Playlist& model, int index, QWidget* owner,
                         platform::CommonDialog& dialog);

// The question before a window closes, asked only while the playlist is modified; Yes runs
// save. Answers No when nothing needed asking, and Cancel when Yes could not save (the
// dialog was cancelled or the write failed), so the window stays open and nothing is lost.
platform::MsgResult AskSaveOnClose(const Playlist& model, QWidget* owner,
                                   const std::function<void()>& save);

}  // namespace playlist
