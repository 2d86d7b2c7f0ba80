#include "playlist/PlaylistCommands.h"

#include "platform/CommonDialog.h"
#include "playlist/Playlist.h"
#include "playlist/PlaylistFile.h"

namespace playlist {

const QString PlaylistFilter = QStringLiteral("Cantorix Playlist Files (*.cxp)|*.cxp");
const QString CantorixFilesFilter = QStringLiteral(
    "Cantorix Files (*.cx3, *.cx2, *.cxp)|*.cx3;*.cx2;*.cxp|LRC Files (*.lrc)|*.lrc");

bool ReadPlaylist(Playlist& model, const QString& path, QWidget* owner,
                  const QString& failureText) {
    PlaylistReadResult result = ReadPlaylistFile(path);
    if (!result.Ok()) {
        platform::MsgBox(owner, failureText, platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, QStringLiteral("Playlist Loader"));
        return false;
    }
    model.Replace(std::move(result.Table), path);
    return true;
}

bool AskSaveName(platform::CommonDialog& dialog) {
    dialog.DialogTitle = QStringLiteral("Save List File As");
    dialog.Filter = PlaylistFilter;
    return dialog.ShowSave();
}

bool WritePlaylist(const Playlist& model, const QString& path, QWidget* owner) {
    if (WritePlaylistFile(path, model.Table())) {
        return true;
    }
    platform::MsgBox(owner, QStringLiteral("Could not save playlist."), platform::MsgButtons::OK,
                     platform::MsgIcon::Exclamation, QStringLiteral("Playlist Saver"));
    return false;
}

bool SavePlaylist(Playlist& model, bool force, QWidget* owner, platform::CommonDialog& dialog) {
    if (!force) {
        // A change was made: it counts as unsaved until it is on disk, so a cancelled or
        // failed save still leaves Save enabled and the question at closing.
        model.SetModified(true);
        if (model.GetSaveMode() != SaveMode::OnChange) {
            return false;
        }
    }
    if (model.PlaylistPath().isEmpty()) {
        if (!AskSaveName(dialog)) {
            return false;
        }
        // Kept even when the write below fails, so the next Save goes to the same name.
        model.SetPath(dialog.FileName);
    }
    if (!WritePlaylist(model, model.PlaylistPath(), owner)) {
        return false;
    }
    model.SetModified(false);
    return true;
}

platform::MsgResult AskSaveOnClose(const Playlist& model, QWidget* owner,
                                   const std::function<void()>& save) {
    if (!model.PlaylistModified()) {
        return platform::MsgResult::No;
    }
    const platform::MsgResult answer = platform::MsgBox(
        owner,
        QStringLiteral("Would you like to save the changes you made to the playlist?") +
            QChar(u'\r') + model.PlaylistPath(),
        platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question,
        QStringLiteral("Close Cantorix?"));
    if (answer == platform::MsgResult::Yes) {
        save();
        if (model.PlaylistModified()) {
            return platform::MsgResult::Cancel;
        }
    }
    return answer;
}

}  // namespace playlist
