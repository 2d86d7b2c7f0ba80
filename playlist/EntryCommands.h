#pragma once
// The entry commands both programs call: Add, Edit and Remove through "Edit List Entry", and
// Shift through its dialog (Sort needs none: SortPlaylist). Each returns true when it changed
// the playlist, and each program then applies its own rule for saving.
#include <QString>
#include <functional>

#include "playlist/SortShift.h"

class QDialog;
class QWidget;

namespace winamp {
class WinampLink;
}

namespace playlist {

class Playlist;

// How a main window shows a modal dialog: owned by it, and with Always On Top let go of for
// as long as the dialog is open.
using ShowDialogFn = std::function<void(QDialog*)>;

// Appends the entry the dialog gives. A file given presets the dialog with it and its title
// at Winamp's current entry. A full table changes nothing and says so before any dialog.
bool AddEntry(Playlist& model, const winamp::WinampLink& winamp, QWidget* owner,
              const ShowDialogFn& show, const QString& title = QString(),
              const QString& file = QString());

// The entry Edit and Remove act on: the selected one; with none selected the first, which
// is selected as a click would; -1 for an empty playlist.
int ChooseEntry(Playlist& model);

bool EditEntry(Playlist& model, const winamp::WinampLink& winamp, QWidget* owner,
               const ShowDialogFn& show);

// Removes the chosen entry once the question, asked by the row acted on (counted from 0), is
// answered Yes; the list then has no selection. The caller makes a playlist left empty a new
// one.
bool RemoveEntry(Playlist& model, QWidget* owner, QString (*question)(int row));

// Shift through frmShift; false when cancelled or when there is nothing to shift.
bool ShiftEntries(Playlist& model, const ShowDialogFn& show);

}  // namespace playlist
