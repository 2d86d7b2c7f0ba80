#pragma once
#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>

#include "encoder/Capture.h"
#include "lyrics/SettingsFile.h"
#include "platform/CommonDialog.h"
#include "playlist/Playlist.h"
#include "winamp/Link.h"

class QAction;
class QDialog;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

namespace winamp {
class WinampMenu;
}
namespace playlist {
class PlaylistList;
}

namespace encoder {

// The encoder's main window: the lines of a source text are timed while Winamp plays the
// song, one Next Line press per line, and written as a lyrics file. It owns the Winamp
// link, the capture and the playlist; the rules live in those, the window wires them.
class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: finds Winamp, sets up the menus, the playlist and the colours. Separate from
    // the constructor so that a box during start-up has a window to belong to.
    void Form_Load();

    // Reads SourcePath into the lines and the line list. A file that cannot be read, or has
    // too many lines, changes nothing: false.
    bool LoadSourceLines();
    // The wizard's steps, shared by the wizard and the command line. The source: its lines
    // loaded, or false after the failure message.
    bool TakeUpSource(const QString& source);
    // The title, without the double quotes the lyrics file cannot hold inside it.
    void TakeUpTitle(const QString& title);
    // The wizard's last steps once a source, a title and a lyrics file are chosen: Start,
    // the corrections and "&Current..." become available, the caption names the song.
    void SourceReady();
    // The wizard's way out of a failed step: both paths forgotten, and the user told.
    void WizardFailed();
    // What the wizard's three steps set, given at once (the command line): false after the
    // failure message when the source cannot be loaded.
    bool TakeUpSong(const QString& source, const QString& save, const QString& title);

    // Shows a modal dialog owned by this window, letting go of the top while it is open.
    void ShowDialog(QDialog* dialog);
    void ApplyColours();

    winamp::WinampLink Winamp;
    playlist::Playlist Playlist;
    Capture Lines;
    QString SourcePath;
    QString SavePath;
    QString LyricsTitle;
    lyrics::ColourTable Colours = lyrics::DefaultColours;
    bool OnTop = false;
    // The outer height last given, in twips (title and menu bar included).
    int OuterHeight = 0;

    // Controls.
    QLabel* lblCurrLine;
    QLabel* lblNextLine;
    QPushButton* cmdOpen;
    QPushButton* cmdPlay;
    QPushButton* cmdNext;
    QPushButton* cmdStop;
    std::array<QLabel*, 2> lbl;
    QListWidget* lstFile;
    playlist::PlaylistList* lstList;
    platform::CommonDialog cmdlg;

    // Menus.
    QMenu* mnuF;
    QAction* itmFWizard;
    QAction* itmFREdit;
    QAction* itmFExport;
    QMenu* mnuFile;
    QAction* itmFAdd;
    QAction* itmFEdit;
    QAction* itmFRemove;
    QAction* itmFTitle;
    QMenu* mnuList;
    QAction* itmLNew;
    QAction* itmLLoad;
    std::array<QAction*, 2> itmLSave;
    QMenu* mnuListPop;
    std::array<QAction*, 2> itmLAdd;
    QAction* itmLEdit;
    QAction* itmLRemove;
    QMenu* itmLS;
    std::array<QAction*, 3> itmLSort;
    QAction* itmLShift;
    QMenu* mnuControl;
    QAction* itmCOnTop;
    QAction* itmCEvoke;
    QAction* itmCAbout;
    winamp::WinampMenu* winampMenu;
    QMenu* mnuWinamp;

  public slots:
    void cmdOpen_Click();
    void itmFWizard_Click();
    void itmFAdd_Click();
    void itmFEdit_Click();
    void itmFRemove_Click();
    void itmFTitle_Click();
    void itmFREdit_Click();
    void cmdPlay_Click();
    void cmdNext_Click();
    void cmdStop_Click();
    void lbl_Click(int index);
    void lstFile_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void lstList_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void itmLNew_Click();
    void itmLLoad_Click();
    void itmLSave_Click(int index);
    void itmLAdd_Click(int index);
    void itmLEdit_Click();
    void itmLRemove_Click();
    void itmLSort_Click(int index);
    void itmLShift_Click();
    void itmFExport_Click();
    void itmCOnTop_Click();
    void itmCEvoke_Click();
    void itmCAbout_Click();
    void itmWRedetect_Click();
    void itmWStop_Click();
    void itmWClose_Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Form_Unload: the questions about unsaved playlist changes and about closing Winamp.
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void BuildMenus();
    void BuildPlaylistMenu();
    void SetOuterHeight(int twips);
    // Available between captures: the wizard, the corrections once a song is taken up.
    void SetCapturing(bool capturing);
    // A press that got no usable position: the capture stops, keeping its stamps, and the
    // lyrics file is written only if the user asks for it.
    void CaptureLost(Capture::Press why);
    // Writes the lyrics file and tells the user done, or that it failed.
    void WriteLyrics(const QString& done);
    // The line Quick fix acts on: the selected one, else the first, which is then
    // selected; -1 with no lines.
    int SelectedLine();

    // Set once a song has been taken up: Edit, Title and the source edit are available.
    bool songTakenUp = false;
    // Winamp's Close answered Yes: the encoder ends without its closing questions.
    bool endWithoutQuestions = false;
    const std::function<void(QDialog*)> showDialog = [this](QDialog* d) { ShowDialog(d); };
};

}  // namespace encoder
