#include "player/FollowMenu.h"

#include "platform/CommonDialog.h"
#include "platform/Menus.h"
#include "platform/MsgBox.h"
#include "platform/Product.h"
#include "player/EncoderStart.h"
#include "player/Session.h"

namespace player {

FollowMenu::FollowMenu(Session& session, QMenu* menu, platform::CommonDialog& cmdlg,
                       QWidget* window)
    : QObject(window), session(session), cmdlg(cmdlg), window(window) {
    session.SetLyricsLookup(&lookup);
    itmPFollow = platform::AddMenuItem(menu, QStringLiteral("itmPFollow"),
                                       QStringLiteral("&Follow the Player"), Qt::Key_F9, this,
                                       &FollowMenu::itmPFollow_Click);
    itmPFollow->setCheckable(true);
    itmPTime = platform::AddMenuItem(menu, QStringLiteral("itmPTime"),
                                     QStringLiteral("&Time These Lyrics Now..."), {}, this,
                                     &FollowMenu::itmPTime_Click);
    itmPTime->setEnabled(false);
    platform::AddMenuItem(menu, QStringLiteral("itmPLibrary"),
                          QStringLiteral("Lyrics &Library Folder..."), {}, this,
                          &FollowMenu::itmPLibrary_Click);
    connect(&session, &Session::StateChanged, this,
            [this] { itmPFollow->setChecked(this->session.FollowsPlayer()); });
    connect(&session, &Session::LyricsMissing, this, [this](const QString& songTitle) {
        missingTitle = songTitle;
        itmPTime->setEnabled(!songTitle.isEmpty());
    });
}

QString FollowMenu::ChosenFolder() const {
    return folder.isEmpty() ? library::LibraryFolder() : folder;
}

void FollowMenu::itmPFollow_Click() {
    if (session.FollowsPlayer()) {
        session.Follow(false);
        return;
    }
    if (library.Folder().isEmpty()) {
        library.Open(ChosenFolder());
    }
    session.Follow(true);
    itmPFollow->setChecked(session.FollowsPlayer());  // Winamp may not be there
}

void FollowMenu::itmPTime_Click() {
    if (missingTitle.isEmpty() || StartEncoder(missingTitle)) {
        return;
    }
    platform::MsgBox(window, QStringLiteral("Could not start the encoder."),
                     platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                     platform::PlayerTitle);
}

void FollowMenu::itmPLibrary_Click() {
    cmdlg.DialogTitle = QStringLiteral("Lyrics Library Folder");
    cmdlg.FileName = ChosenFolder();
    if (!cmdlg.ShowFolder()) {
        return;
    }
    folder = cmdlg.FileName;
    if (!library.Folder().isEmpty()) {
        library.Open(folder);
    }
    if (!library::SetLibraryFolder(folder)) {
        platform::MsgBox(window,
                         QStringLiteral("Could not save the library folder. It holds until the "
                                        "player ends."),
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         QStringLiteral("Lyrics Library"));
    }
}

}  // namespace player
