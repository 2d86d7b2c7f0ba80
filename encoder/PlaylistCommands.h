#pragma once
// The encoder's playlist commands over the ones both programs share: its Open, its Save and
// Save As, and the entry commands with its own rule after them: a change marks the playlist
// modified, and it is never saved by itself.
#include <QString>

#include "playlist/EntryCommands.h"
#include "playlist/SortShift.h"

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

// Open through the "Open List File" dialog; false when cancelled or failed.
bool OpenEncoderPlaylist(playlist::Playlist& model, QWidget* owner, platform::CommonDialog& dialog);
// Save (index 0) and Save As (1). Save writes the file the playlist was opened from; Save As,
// and Save of a playlist never opened, write once to a chosen file without adopting it.
bool SaveEncoderPlaylist(playlist::Playlist& model, int index, QWidget* owner,
                         platform::CommonDialog& dialog);

// Add index 0 ("&Current...") presets the lyrics file the encoder last wrote or chose, index 1
// ("&New...") nothing. Removing the last entry leaves a new, unnamed playlist.
bool EncoderAddEntry(playlist::Playlist& model, const winamp::WinampLink& winamp, QWidget* owner,
                     const playlist::ShowDialogFn& show, int index, const QString& currentTitle,
                     const QString& currentFile);
bool EncoderEditEntry(playlist::Playlist& model, const winamp::WinampLink& winamp, QWidget* owner,
                      const playlist::ShowDialogFn& show);
bool EncoderRemoveEntry(playlist::Playlist& model, QWidget* owner);
bool EncoderSort(playlist::Playlist& model, playlist::SortBy by);
bool EncoderShift(playlist::Playlist& model, const playlist::ShowDialogFn& show);

}  // namespace encoder
