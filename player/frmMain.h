#pragma once
#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "lyrics/LyricLines.h"
#include "lyrics/SettingsFile.h"
#include "platform/CommonDialog.h"
#include "player/LineFollower.h"
#include "player/PlaylistTexts.h"
#include "playlist/Playlist.h"
#include "winamp/Link.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QTimer;

namespace winamp {
class WinampMenu;
}
namespace playlist {
class PlaylistList;
}

namespace player {

class ImageButton;
enum class SkinButton;

// The player's main window: follows Winamp's position 25 times a second and shows the
// current and the next lyric line. It owns the Winamp link, the lyrics-line table, the
// playlist model and the settings; the rules live in those and in plain classes, and the
// window wires its controls to them.
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

    bool LoadLyrics();  // LoadLyrics with display set-up: reads LyricsPath
    bool LoadPlaylist(const QString& path);
    void StartDisplay();
    void EndDisplay(bool keepWinampPlaying);
    void SetListView(bool force, bool show);
    void HideMenuBar(bool hide);
    void ApplySkin();
    void ReadSettings();
    void WriteSettings();
    // Shows a modal dialog owned by this window; with Always On Top ticked the window lets
    // go of the top for as long as the dialog is open.
    void ShowDialog(QDialog* dialog);

    winamp::WinampLink Winamp;
    playlist::Playlist Playlist;
    lyrics::LyricLines LyricLines;
    LineFollower Follower{LyricLines};
    // Read once at start-up, written once at the end; the menus show it.
    lyrics::Settings Settings;
    bool PlayFromPlaylist = false;
    bool Paused = false;
    // Between two entries: waiting for Winamp to stop before the selected entry starts.
    bool WaitingForStop = false;
    // The outer height the window was last given, in twips (title and menu bar included).
    int OuterHeight = 0;

    // Controls.
    QLabel* lblCurrLine;
    QLabel* lblNextLine;
    playlist::PlaylistList* lstList;
    QLabel* lblRand;
    QLabel* lblRepeat;
    ImageButton* cmdOpen;
    ImageButton* cmdPlay;
    ImageButton* cmdPause;
    ImageButton* cmdStop;
    ImageButton* cmdNext;
    QTimer* tmr;
    QTimer* tmrWait;
    platform::CommonDialog cmdlg;

    // Menus.
    QMenu* mnuPlayback;
    QAction* itmPPlay;
    QAction* itmPPause;
    QAction* itmPStop;
    QAction* itmPNext;
    QAction* itmPOpen;
    QMenu* mnuList;
    QAction* itmLPlay;
    QAction* itmLNew;
    QAction* itmLOpen;
    QAction* itmLSave;
    QMenu* mnuListPop;
    QAction* itmLAdd;
    QAction* itmLEdit;
    QAction* itmLRemove;
    QAction* itmLVShow;
    QMenu* itmLS;
    std::array<QAction*, 3> itmLSort;
    QAction* itmLShift;
    QMenu* mnuControl;
    QAction* itmCOnTop;
    QAction* itmSCompact;
    std::array<QAction*, 3> itmCColour;
    QAction* itmSSkins;
    std::array<QAction*, 2> itmLSmart;
    QMenu* itmOLS;
    std::array<QAction*, 2> itmOLSave;
    QMenu* itmOStop;
    std::array<QAction*, 2> itmOSFade;
    winamp::WinampMenu* winampMenu;
    QMenu* mnuWinamp;
    QMenu* mnuHelp;
    QAction* itmHHelp;
    QAction* itmHAbout;

  public slots:
    void tmr_Timer();
    void tmrWait_Timer();
    void cmdOpen_Click();
    void cmdPlay_Click();
    void cmdPause_Click();
    void cmdStop_Click();
    void cmdNext_Click();
    void itmLPlay_Click();
    void itmLNew_Click();
    void itmLSave_Click();
    void itmOLSave_Click(int index);
    void itmLAdd_Click();
    void itmLEdit_Click();
    void itmLRemove_Click();
    void itmLSort_Click(int index);
    void itmLShift_Click();
    void lstList_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void lstList_Click();
    void lstList_DblClick();
    void PlaySelectedEntry();
    void itmOSFade_Click(int index);
    void itmLSmart_Click(int index);
    void itmSCompact_Click();
    void itmLVShow_Click();
    void itmWRedetect_Click();
    void itmWStop_Click();
    void itmWClose_Click();
    void itmCOnTop_Click();
    void itmCColour_Click(int index);
    void itmSSkins_Click();
    void lblRand_Click();
    void lblRepeat_Click();
    void itmHHelp_Click();
    void itmHAbout_Click();
    void lblCurrLine_MouseUp(Qt::MouseButton button, const QPoint& globalPos);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
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
    void SetButtons(bool playing);
    void SetNextShown(bool shown);
    void ShowLineView(const LineView& view);
    void SetOuterHeight(int twips);
    void ShowSwitches();
    void EnablePlaylistCommands(bool enabled);
    // After Add, Edit, Remove, Sort and Shift: "&On Change" writes the file at once,
    // "&Manual" leaves it for Save.
    void PlaylistChanged();
    void ConnectPressFeedback(ImageButton* button, SkinButton which);
    ImageButton* ButtonFor(SkinButton button) const;
    QString LyricsCaption() const;

    // ShowDialog, as the shared entry commands take it.
    const std::function<void(QDialog*)> showDialog = [this](QDialog* d) { ShowDialog(d); };
};

}  // namespace player
