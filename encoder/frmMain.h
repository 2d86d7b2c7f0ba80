#pragma once
#include <QMainWindow>
#include <QString>
#include <functional>

#include "encoder/Capture.h"
#include "lyrics/SettingsFile.h"
#include "platform/CommonDialog.h"
#include "playlist/Playlist.h"
#include "winamp/Link.h"

class QAction;
class QDialog;
class QMenu;
class QPushButton;

namespace lyrics {
class LyricsPane;
}
namespace winamp {
class WinampMenu;
}

namespace encoder {

class ListViews;
class PlaylistMenu;
class QuickFixMenu;

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

    // What the wizard's three steps set, given at once (the command line): false after the
    // failure message when the source cannot be loaded.
    bool TakeUpSong(const QString& source, const QString& save, const QString& title);
    // The @ Wizard with title ("Song - Artist") offered in its second step, for a song that
    // has a title but no lyrics text yet.
    void StartWizard(const QString& title);
    // The lyrics file at path in the timing window; false after the failure message when it
    // cannot be read.
    bool RetimeFile(const QString& path);

    const Capture& Lines() const { return lines; }
    const QString& SourcePath() const { return sourcePath; }
    const QString& SavePath() const { return savePath; }
    const QString& LyricsTitle() const { return lyricsTitle; }
    playlist::Playlist& Playlist() { return playlist; }
    // The outer height last given, in twips (title and menu bar included).
    int OuterHeight() const { return outerHeight; }

  public slots:
    void cmdOpen_Click();
    void itmFWizard_Click();
    void itmFTitle_Click();
    void itmFREdit_Click();
    void cmdPlay_Click();
    void cmdNext_Click();
    void cmdStop_Click();
    void lbl_Click(int index);
    void lstFile_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void lstList_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void itmFExport_Click();
    void itmFOpenLyrics_Click();
    void itmFTiming_Click();
    void itmCOnTop_Click();
    void itmCEvoke_Click();
    void itmCAbout_Click();
    void itmWRedetect_Click();
    void itmWStop_Click();
    void itmWClose_Click();

  protected:
    // Form_Unload: the questions about unsaved playlist changes and about closing Winamp.
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void BuildMenus();
    void SetOuterHeight(int twips);
    // Reads sourcePath into the lines and the line list. A file that cannot be read, or has
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
    // Shows a modal dialog owned by this window, letting go of the top while it is open.
    void ShowDialog(QDialog* dialog);
    // Available between captures: the wizard, the corrections once a song is taken up.
    void SetCapturing(bool capturing);
    void ShowCaptureLines();
    // A press that got no usable position: the capture stops, keeping its stamps, and the
    // lyrics file is written only if the user asks for it.
    void CaptureLost(Capture::Press why);
    // Writes the lyrics file and tells the user done, or that it failed.
    void WriteLyrics(const QString& done);

    winamp::WinampLink winamp;
    playlist::Playlist playlist;
    Capture lines;
    QString sourcePath;
    QString savePath;
    QString lyricsTitle;
    QString offeredTitle;  // for the wizard's second step, once
    bool onTop = false;
    int outerHeight = 0;
    // Set once a song has been taken up: Edit, Title and the source edit are available.
    bool songTakenUp = false;
    // Winamp's Close answered Yes: the encoder ends without its closing questions.
    bool endWithoutQuestions = false;

    lyrics::LyricsPane* lyricsPane;
    QPushButton* cmdOpen;
    QPushButton* cmdPlay;
    QPushButton* cmdNext;
    QPushButton* cmdStop;
    ListViews* views;
    platform::CommonDialog cmdlg;

    QMenu* mnuF;
    QAction* itmFWizard;
    QAction* itmFREdit;
    QAction* itmFExport;
    QAction* itmFOpenLyrics;
    QAction* itmFTiming;
    QuickFixMenu* quickFix;
    QMenu* mnuFile;
    PlaylistMenu* playlistMenu;
    QAction* itmCOnTop;
    winamp::WinampMenu* winampMenu;

    const std::function<void(QDialog*)> showDialog = [this](QDialog* d) { ShowDialog(d); };
    const std::function<bool()> redetect = [this] {
        itmWRedetect_Click();
        return winamp.WinampHandle != 0;
    };
};

}  // namespace encoder
