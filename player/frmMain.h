#pragma once
#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "lyrics/LyricLines.h"
#include "platform/CommonDialog.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QTimer;

class QListWidget;
class QListWidgetItem;

namespace winamp {
class WinampMenu;
}
namespace playlist {
class PlaylistCommands;
}

namespace player {

class ImageButton;
enum class SkinButton;

// The player's main window: follows Winamp's position 25 times a second and shows the
// current and the next lyric line.
class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: finds Winamp, sets up the window and the settings. Separate from the
    // constructor so that a message box during start-up has a window to belong to.
    void Form_Load();

    // Opens a lyrics file as the Open command does with a chosen name; used for a file
    // given on the command line. False when the name is not one the player opens.
    bool OpenFile(const QString& path);
    // "Could not read data file.", as every failed load says it.
    void ShowLoadFailure();

    // Display.
    bool LoadLyrics();  // LoadLyrics with display set-up: reads LyricsPath
    void StartDisplay();
    void EndDisplay(bool keepWinampPlaying);
    void SetListView(bool force, bool show);
    void HideMenuBar(bool hide);
    void ApplySkin();
    // Applies cantorix.ini; answers the playlist it names, which start-up loads.
    QString ReadSettings();
    void WriteSettings();
    // Shows a modal dialog owned by this window; with Always On Top ticked the window lets
    // go of the top for as long as the dialog is open.
    void ShowDialog(QDialog* dialog);

    // The state the display runs on.
    lyrics::LyricLines LyricLines;
    qint16 CurrentLine = 0;
    bool PlayFromPlaylist = false;
    bool PlaylistPlaying = false;
    bool RandomizeList = false;
    bool RepeatList = false;
    // Playlist playback: PlayOrder(k) is the row played at step k, OrderPos the step on.
    std::vector<qint16> PlayOrder;
    qint16 OrderPos = 0;
    // Between two entries: waiting for Winamp to stop before the selected entry starts.
    bool WaitingForStop = false;
    QTimer* tmrWait;
    // Window background, current line, next line; 0x00BBGGRR.
    std::array<std::uint32_t, 3> Colours{0x0080C0FF, 0x00FF0000, 0x0000C000};
    QString SkinFolder;
    // The outer height the window was last given, in twips (title and menu bar included).
    int OuterHeight = 0;

    // Controls.
    QLabel* lblCurrLine;
    QLabel* lblNextLine;
    QListWidget* lstList;
    QLabel* lblRand;
    QLabel* lblRepeat;
    ImageButton* cmdOpen;
    ImageButton* cmdPlay;
    ImageButton* cmdPause;
    ImageButton* cmdStop;
    ImageButton* cmdNext;
    QTimer* tmr;
    platform::CommonDialog cmdlg;

    // Menus.
    QMenu* mnuPlayback;
    QAction* itmPPlay;
    QAction* itmPPause;
    QAction* itmPStop;
    QAction* itmPNext;
    QAction* itmPOpen;
    playlist::PlaylistCommands* playlist;
    QMenu* mnuList;
    QAction* itmLPlay;
    QAction* itmLNew;
    QAction* itmLAdd;
    QAction* itmLVShow;
    QMenu* mnuControl;
    QAction* itmCOnTop;
    QAction* itmSCompact;
    std::array<QAction*, 3> itmCColour;
    QAction* itmSSkins;
    std::array<QAction*, 2> itmLSmart;
    QMenu* itmOStop;
    std::array<QAction*, 2> itmOSFade;
    winamp::WinampMenu* winampMenu;
    QMenu* mnuWinamp;
    QMenu* mnuHelp;
    QAction* itmHHelp;
    QAction* itmHAbout;

  public slots:
    void tmr_Timer();
    void cmdOpen_Click();
    void cmdPlay_Click();
    void cmdPause_Click();
    void cmdStop_Click();
    void cmdNext_Click();
    void itmLPlay_Click();
    void lstList_Click();
    void lstList_DblClick();
    void PlaySelectedEntry();
    void BuildRandomOrder();
    void tmrWait_Timer();
    void itmOSFade_Click(int index);
    void itmLSmart_Click(int index);
    void itmSCompact_Click();
    void itmLVShow_Click();
    void itmWRedetect_Click();
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
    // Form_Unload: the question about unsaved playlist changes, Stop, the settings.
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void BuildControls();
    void SetButtons(bool playing);
    void SetOuterHeight(int twips);
    void SelectRow(int row);
    void ConnectPressFeedback(ImageButton* button, SkinButton which);
    void ConnectToggle(QAction* item, void (frmMain::*command)());
    ImageButton* ButtonFor(SkinButton button) const;
    bool NextEntryStep();
    QString LyricsCaption() const;
};

}  // namespace player
