#pragma once
#include <QObject>
#include <QString>

#include "library/LyricsLibrary.h"
#include "player/LyricsLookup.h"

class QAction;
class QMenu;
class QWidget;

namespace platform {
class CommonDialog;
}

namespace player {

class Session;

// Following the player from the Playback menu: "&Follow the Player", the offer to time a song
// for which no lyrics were found, and the lyrics library's folder. The library is opened the
// first time following starts, so a listener who never follows pays nothing for it.
class FollowMenu : public QObject {
    Q_OBJECT
  public:
    FollowMenu(Session& session, QMenu* menu, platform::CommonDialog& cmdlg, QWidget* window);

    LyricsLookup& Lookup() { return lookup; }

  public slots:
    void itmPFollow_Click();
    // The encoder, for the song without lyrics.
    void itmPTime_Click();
    void itmPLibrary_Click();

  private:
    // The folder chosen while the player runs, else the one kept in cantorix.conf.
    QString ChosenFolder() const;

    Session& session;
    platform::CommonDialog& cmdlg;
    QWidget* window;
    library::LyricsLibrary library;
    LyricsLookup lookup{library};
    QString folder;  // chosen here
    QString missingTitle;
    QAction* itmPFollow;
    QAction* itmPTime;
};

}  // namespace player
