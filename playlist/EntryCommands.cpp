#include "playlist/EntryCommands.h"

#include "platform/MsgBox.h"
#include "playlist/Playlist.h"
#include "playlist/frmAssoc.h"
#include "playlist/frmShift.h"

namespace playlist {

namespace {

PlaylistEntry EntryFrom(const frmAssoc& dialog) {
    return {dialog.GetFName(), qint16(dialog.GetValue()), dialog.GetFTitle()};
}

}  // namespace

bool AddEntry(Playlist& model, const winamp::WinampLink& winamp, QWidget* owner,
              const ShowDialogFn& show, const QString& title, const QString& file) {
    if (model.Table().IsFull()) {
        platform::MsgBox(owner,
                         QStringLiteral("The playlist is full: it cannot hold more than %1 "
                                        "entries.")
                             .arg(PlaylistTable::MaxEntries),
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         QStringLiteral("Add Entry"));
        return false;
    }
    frmAssoc dialog(winamp, owner);
    if (!file.isEmpty()) {
        dialog.SetValue(dialog.GetValue(), title, file);
    }
    show(&dialog);
    return dialog.ReturnState() && model.Append(EntryFrom(dialog));
}

int ChooseEntry(Playlist& model) {
    if (model.SelectedEntry() < 0 && !model.Table().IsEmpty()) {
        model.Select(0);
    }
    return model.SelectedEntry();
}

bool EditEntry(Playlist& model, const winamp::WinampLink& winamp, QWidget* owner,
               const ShowDialogFn& show) {
    const int row = ChooseEntry(model);
    if (row < 0) {
        return false;
    }
    const PlaylistEntry& entry = model.Table().Entry(row);
    frmAssoc dialog(winamp, owner);
    dialog.SetValue(entry.TrackNumber, entry.Title, entry.LyricsFile);
    show(&dialog);
    if (!dialog.ReturnState()) {
        return false;
    }
    model.ReplaceEntry(row, EntryFrom(dialog));
    return true;
}

bool RemoveEntry(Playlist& model, QWidget* owner, QString (*question)(int row)) {
    const int row = ChooseEntry(model);
    if (row < 0 || platform::MsgBox(owner, question(row), platform::MsgButtons::YesNo,
                                    platform::MsgIcon::Question,
                                    QStringLiteral("Remove Entry")) != platform::MsgResult::Yes) {
        return false;
    }
    model.RemoveEntry(row);
    return true;
}

bool ShiftEntries(Playlist& model, const ShowDialogFn& show) {
    if (model.Table().IsEmpty()) {
        return false;
    }
    frmShift dialog;
    show(&dialog);
    return dialog.ReturnState() && ShiftPlaylist(model, dialog.GetLocation(), dialog.GetShift());
}

}  // namespace playlist
