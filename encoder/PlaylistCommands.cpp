#include "encoder/PlaylistCommands.h"

#include "platform/CommonDialog.h"
#include "playlist/Playlist.h"
#include "playlist/PlaylistCommands.h"

namespace encoder {

using playlist::Playlist;

namespace {

QString RemoveQuestion(int row) {
    return QStringLiteral("Are you sure you wish to remove this track (Track #%1)?").arg(row + 1);
}

// The encoder's rule after a change.
bool Marked(Playlist& model, bool changed) {
    if (changed) {
        model.SetModified(true);
    }
    return changed;
}

}  // namespace

bool OpenEncoderPlaylist(Playlist& model, QWidget* owner, platform::CommonDialog& dialog) {
    dialog.DialogTitle = QStringLiteral("Open List File");
    dialog.Filter = playlist::PlaylistFilter;
    return dialog.ShowOpen() &&
           playlist::ReadPlaylist(model, dialog.FileName, owner,
                                  QStringLiteral("Could not read playlist file."));
}

bool SaveEncoderPlaylist(Playlist& model, int index, QWidget* owner,
                         platform::CommonDialog& dialog) {
    QString target = model.PlaylistPath();
    if (index == 1 || target.isEmpty()) {
        if (!playlist::AskSaveName(dialog)) {
            return false;
        }
        // A copy: the playlist stays tied to the file it was opened from.
        target = dialog.FileName;
    }
    if (!playlist::WritePlaylist(model, target, owner)) {
        return false;
    }
    model.SetModified(false);
    return true;
}

bool EncoderAddEntry(Playlist& model, const winamp::WinampLink& winamp, QWidget* owner,
                     const playlist::ShowDialogFn& show, int index, const QString& currentTitle,
                     const QString& currentFile) {
    return Marked(model, index == 0 ? playlist::AddEntry(model, winamp, owner, show, currentTitle,
                                                         currentFile)
                                    : playlist::AddEntry(model, winamp, owner, show));
}

bool EncoderEditEntry(Playlist& model, const winamp::WinampLink& winamp, QWidget* owner,
                      const playlist::ShowDialogFn& show) {
    return Marked(model, playlist::EditEntry(model, winamp, owner, show));
}

bool EncoderRemoveEntry(Playlist& model, QWidget* owner) {
    if (!playlist::RemoveEntry(model, owner, RemoveQuestion)) {
        return false;
    }
    if (model.Table().IsEmpty()) {
        model.Clear();
    } else {
        model.SetModified(true);
    }
    return true;
}

bool EncoderSort(Playlist& model, playlist::SortBy by) {
    return Marked(model, playlist::SortPlaylist(model, by));
}

bool EncoderShift(Playlist& model, const playlist::ShowDialogFn& show) {
    return Marked(model, playlist::ShiftEntries(model, show));
}

}  // namespace encoder
