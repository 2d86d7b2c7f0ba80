#include "playlist/PlaylistCommands.h"

#include "platform/CommonDialog.h"
#include "playlist/Playlist.h"
#include "playlist/PlaylistFile.h"

namespace playlist {

const QString PlayerReadFailure = QStringLiteral("Could not read data file.");
const QString EncoderReadFailure = QStringLiteral("Could not read playlist file.");
const QString PlaylistFilter = QStringLiteral("Cantorix Playlist Files (*.cxp)|*.cxp");

namespace {

// A chosen name for a save, or nothing when the dialog was cancelled.
bool AskSaveName(platform::CommonDialog& dialog) {
    dialog.DialogTitle = QStringLiteral("Save List File As");
    dialog.Filter = PlaylistFilter;
    return dialog.ShowSave();
}

bool WriteTo(const Playlist& model, const QString& path, QWidget* owner) {
    if (WritePlaylistFile(path, model.Table())) {
        return true;
    }
    platform::MsgBox(owner, QStringLiteral("Could not save playlist."), platform::MsgButtons::OK,
                     platform::MsgIcon::Exclamation, QStringLiteral("Playlist Saver"));
    return false;
}

}  // namespace

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
    if (!WriteTo(model, model.PlaylistPath(), owner)) {
        return false;
    }
    model.SetModified(false);
    return true;
}

bool OpenEncoderPlaylist(Playlist& model, QWidget* owner, platform::CommonDialog& dialog) {
    dialog.DialogTitle = QStringLiteral("Open List File");
    dialog.Filter = PlaylistFilter;
    return dialog.ShowOpen() && ReadPlaylist(model, dialog.FileName, owner, EncoderReadFailure);
}

bool SaveEncoderPlaylist(Playlist& model, int index, QWidget* owner,
                         platform::CommonDialog& dialog) {
    QString target = model.PlaylistPath();
    if (index == 1 || target.isEmpty()) {
        if (!AskSaveName(dialog)) {
            return false;
        }
        // A copy: the playlist stays tied to the file it was opened from.
        target = dialog.FileName;
    }
    if (!WriteTo(model, target, owner)) {
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
