#pragma once
#include <QMainWindow>
#include <QString>
#include <functional>

#include "lyrics/ConfFile.h"
#include "lyrics/SettingsFile.h"
#include "platform/CommonDialog.h"
#include "player/PlaylistTexts.h"
#include "playlist/Playlist.h"
#include "winamp/Link.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QTimer;

namespace lyrics {
class LyricsPane;
}
namespace winamp {
class WinampMenu;
}

namespace player {

class FollowMenu;
class Karaoke;
class Overlay;
class OnlineCommands;
class PlaylistMenu;
class Session;
class SettingsMenu;
class Transport;

// The player's main window. It owns the Winamp link, the playlist, the playback session and
// the settings; the session follows Winamp and plays the playlist, and the window forwards
// its commands to it and shows what it says.
class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: finds Winamp, sets up the window and the settings. Separate from the
    // constructor so that a message box during start-up has a window to belong to.
    void Form_Load();

    // Opens a lyrics file or a playlist as the Open command does with a chosen name; used
    // for a file given on the command line or dropped on the window. False when the name
    // is not one the player opens.
    bool OpenFile(const QString& path);
    // "Could not read data file.", as every failed load says it, unless text says more.
    void ShowLoadFailure(const QString& text = ReadFailureText);
    bool LoadPlaylist(const QString& path);

    playlist::Playlist& Playlist() { return playlist; }
    OnlineCommands& Online() { return *online; }
    const lyrics::Settings& Settings() const { return settings; }
    // The outer height the window was last given, in twips (title and menu bar included).
    int OuterHeight() const { return outerHeight; }

  public slots:
    void tmr_Timer();
    void cmdOpen_Click();
    void cmdPlay_Click();
    void cmdPause_Click();
    void cmdStop_Click();
    void cmdNext_Click();
    void lstList_DblClick();
    void itmWRedetect_Click();
    void itmWStop_Click();
    void itmWClose_Click();
    void itmCColour_Click(int index);
    void itmSSkins_Click();
    void itmSDelay_Click();
    // itmPOffset(0..3), Ctrl+Right, Ctrl+Left, with Shift: the song's lines later or sooner.
    void itmPOffset_Click(int index);
    void tmrOffset_Timer();
    void itmHHelp_Click();
    void itmHAbout_Click();
    // Follow the Player: the lyrics of whatever Winamp plays.
    void itmPFollow_Click();
    void lblCurrLine_MouseUp(Qt::MouseButton button, const QPoint& globalPos);

  protected:
    // A lyrics file or playlist dropped on the window opens as Open would open it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Form_Unload: the question about unsaved playlist changes, Stop, the settings.
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void BuildMenus();
    void BuildPlaylistMenu();
    void BuildSettingsMenu();
    void ConnectSession();
    void SetButtons(bool playing);
    void SetNextShown(bool shown);
    void SetOuterHeight(int twips);
    void SetListView(bool force, bool show);
    void HideMenuBar(bool hide);
    void ApplySkin();
    void ReadSettings();
    void WriteSettings();
    // Shows a modal dialog owned by this window; with Always On Top ticked the window lets
    // go of the top for as long as the dialog is open.
    void ShowDialog(QDialog* dialog);

    winamp::WinampLink winamp;
    playlist::Playlist playlist;
    Session* session;
    // Read once at start-up, written once at the end; the menus show it.
    lyrics::Settings settings;
    // The settings beyond cantorix.ini, read at start-up; each is written when it is set.
    lyrics::ConfSettings conf;
    int outerHeight = 0;

    lyrics::LyricsPane* lyricsPane;
    Karaoke* karaoke;
    Overlay* overlay;
    QLabel* lblOffset;
    QTimer* tmrOffset;
    Transport* transport;
    platform::CommonDialog cmdlg;

    QMenu* mnuPlayback;
    QAction* itmPPlay;
    QAction* itmPPause;
    QAction* itmPStop;
    QAction* itmPNext;
    QAction* itmPOpen;
    QMenu* mnuControl;
    PlaylistMenu* playlistMenu;
    SettingsMenu* settingsMenu;
    FollowMenu* followMenu;
    OnlineCommands* online;
    winamp::WinampMenu* winampMenu;
    QMenu* mnuWinamp;
    QMenu* mnuHelp;

    // ShowDialog, as the shared entry commands take it.
    const std::function<void(QDialog*)> showDialog = [this](QDialog* d) { ShowDialog(d); };
};

}  // namespace player
