#include "encoder/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <utility>

#include "encoder/ListViews.h"
#include "encoder/PlaylistMenu.h"
#include "encoder/QuickFixMenu.h"
#include "encoder/SourceText.h"
#include "encoder/frmAbout.h"
#include "encoder/frmBio.h"
#include "encoder/frmOpen.h"
#include "encoder/frmPublish.h"
#include "encoder/frmTiming.h"
#include "lyrics/ConfFile.h"
#include "lyrics/LrcFile.h"
#include "lyrics/LyricsFile.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/LyricsPane.h"
#include "platform/Folders.h"
#include "platform/ListBox.h"
#include "platform/Menus.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/Product.h"
#include "platform/TextRows.h"
#include "platform/Twips.h"
#include "playlist/PlaylistCommands.h"
#include "winamp/WinampMenu.h"

namespace encoder {

namespace {

const QString WizardTitle = QStringLiteral("@ Wizard");
const QString WizardLostIt = QStringLiteral("Ouch. The @ Wizard lost it... Please retry.");
const QString NoPositionText = QStringLiteral(
    "Winamp did not say where the song is, so line #%1 was not timed: it may have "
    "been closed, stopped, or have stopped answering.");
const QString WentBackText = QStringLiteral(
    "Winamp's position went back, so line #%1 was not timed: the song was stopped or started "
    "again.");

// Layout in twips: the client area is 6855 wide; the outer heights include the title bar
// and the menu bar. A capture shows only the two lines and the buttons.
constexpr int ClientWidth = 6855;
constexpr int TitleBarHeight = 375;
constexpr int MenuBarHeight = 300;
constexpr int FullHeight = 5655;
constexpr int CaptureHeight = 2650;

using platform::AddMenu;
using platform::AddMenuItem;

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), cmdlg(this) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(platform::EncoderTitle);
    BuildControls();
    BuildMenus();
    SetOuterHeight(FullHeight);
}

frmMain::~frmMain() = default;

void frmMain::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    lyricsPane = new lyrics::LyricsPane(Qt::AlignRight | Qt::AlignVCenter, client);

    auto button = [this, client](const char* name, const QString& caption, int left,
                                 void (frmMain::*command)()) {
        auto* b = new QPushButton(caption, client);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(platform::TwipsRect(left, 1560, 1095, 375));
        connect(b, &QPushButton::clicked, this, command);
        return b;
    };
    cmdOpen = button("cmdOpen", QStringLiteral("@ &Wizard"), 120, &frmMain::cmdOpen_Click);
    cmdPlay = button("cmdPlay", QStringLiteral("&Start!"), 3240, &frmMain::cmdPlay_Click);
    cmdNext = button("cmdNext", QStringLiteral("&Next Line"), 4440, &frmMain::cmdNext_Click);
    cmdStop = button("cmdStop", QStringLiteral("&Stop"), 5640, &frmMain::cmdStop_Click);
    for (QPushButton* b : {cmdPlay, cmdNext, cmdStop}) {
        b->setEnabled(false);
    }

    views = new ListViews(lines, playlist, client);
    connect(views, &ListViews::TabClicked, this, &frmMain::lbl_Click);
    connect(views, &ListViews::FileListMouseUp, this,
            [this](const QPoint& at) { lstFile_MouseUp(Qt::RightButton, at); });
    connect(views, &ListViews::PlaylistMouseUp, this,
            [this](const QPoint& at) { lstList_MouseUp(Qt::RightButton, at); });
}

void frmMain::BuildMenus() {
    mnuF = AddMenu(menuBar(), "mnuF", QStringLiteral("&File"));
    itmFWizard = AddMenuItem(mnuF, "itmFWizard", QStringLiteral("@ &Wizard"), Qt::Key_F12, this,
                             &frmMain::itmFWizard_Click);
    mnuF->addSeparator();
    itmFREdit = AddMenuItem(mnuF, "itmFREdit", QStringLiteral("&Edit"),
                            QKeySequence(Qt::CTRL | Qt::Key_E), this, &frmMain::itmFREdit_Click);
    itmFExport = AddMenuItem(mnuF, "itmFExport", QStringLiteral("Export as &LRC..."), {}, this,
                             &frmMain::itmFExport_Click);
    connect(itmFExport, &QAction::enabledChanged,
            AddMenuItem(mnuF, "itmFPublish", QStringLiteral("&Publish..."), {}, this,
                        [this] { PublishLyrics(savePath, winamp, this, showDialog); }),
            &QAction::setEnabled);
    mnuF->addSeparator();
    itmFOpenLyrics = AddMenuItem(mnuF, "itmFOpenLyrics", QStringLiteral("Open &Lyrics..."), {},
                                 this, &frmMain::itmFOpenLyrics_Click);
    itmFTiming = AddMenuItem(mnuF, "itmFTiming", QStringLiteral("&Timing..."),
                             QKeySequence(Qt::CTRL | Qt::Key_T), this, &frmMain::itmFTiming_Click);

    quickFix = new QuickFixMenu(lines, views->FileList(), showDialog, this);
    mnuFile = quickFix->Menu();
    menuBar()->addMenu(mnuFile);
    connect(quickFix, &QuickFixMenu::TitleWanted, this, &frmMain::itmFTitle_Click);

    playlistMenu =
        new PlaylistMenu(playlist, winamp, cmdlg, showDialog, lyricsTitle, savePath, this);
    menuBar()->addMenu(playlistMenu->Menu());

    QMenu* mnuControl = AddMenu(menuBar(), "mnuControl", QStringLiteral("&Control"));
    itmCOnTop = AddMenuItem(mnuControl, "itmCOnTop", QStringLiteral("&On Top"), Qt::Key_F5, this,
                            &frmMain::itmCOnTop_Click);
    itmCOnTop->setCheckable(true);
    mnuControl->addSeparator();
    AddMenuItem(mnuControl, "itmCEvoke", QStringLiteral("&Evoke Player"),
                QKeySequence(Qt::CTRL | Qt::Key_L), this, &frmMain::itmCEvoke_Click);
    mnuControl->addSeparator();
    AddMenuItem(mnuControl, "itmCAbout", QStringLiteral("&About..."), Qt::Key_F1, this,
                &frmMain::itmCAbout_Click);

    winampMenu = new winamp::WinampMenu(winamp, this, true, QStringLiteral("&Close..."));
    menuBar()->addMenu(winampMenu->Menu());
    connect(winampMenu, &winamp::WinampMenu::StopChosen, this, &frmMain::itmWStop_Click);
    connect(winampMenu, &winamp::WinampMenu::CloseChosen, this, &frmMain::itmWClose_Click);
}

void frmMain::Form_Load() {
    itmWRedetect_Click();
    mnuFile->setEnabled(false);
    quickFix->EnableForSong(false);
    itmFREdit->setEnabled(false);
    itmFExport->setEnabled(false);
    itmFTiming->setEnabled(false);
    playlistMenu->Menu()->menuAction()->setVisible(false);
    playlistMenu->itmLNew_Click();
    cmdlg.Flags = platform::CommonDialog::HideReadOnly | platform::CommonDialog::PathMustExist |
                  platform::CommonDialog::FileMustExist;
    // A missing or unreadable settings file gives the default colours, without a word.
    const lyrics::ColourTable colours =
        lyrics::ReadColourLine(platform::SettingsFilePath()).value_or(lyrics::DefaultColours);
    QPalette background = centralWidget()->palette();
    background.setColor(QPalette::Window, platform::ColorFromBgr(colours[0]));
    centralWidget()->setPalette(background);
    lyricsPane->SetColours(platform::ColorFromBgr(colours[1]), platform::ColorFromBgr(colours[2]));
    // The listener's output delay: the capture and the timing window stamp the moment heard.
    lines.OutputDelayMs = lyrics::ReadConfFile(platform::ConfFilePath()).OutputDelayMs;
}

void frmMain::SetOuterHeight(int twips) {
    outerHeight = twips;
    const int client = twips - TitleBarHeight - MenuBarHeight;
    setFixedSize(platform::Px(ClientWidth), platform::Px(client) + menuBar()->sizeHint().height());
}

bool frmMain::LoadSourceLines() {
    const std::optional<QStringList> read = ReadSourceLines(sourcePath);
    if (!read || !lines.Load(*read)) {
        return false;
    }
    views->FileList()->Rows().Reload();
    return true;
}

void frmMain::SourceReady() {
    songTakenUp = true;
    mnuFile->setEnabled(true);
    quickFix->EnableForSong(true);
    itmFREdit->setEnabled(true);
    itmFExport->setEnabled(true);
    itmFTiming->setEnabled(true);
    cmdPlay->setEnabled(true);
    lyricsPane->ShowNext(lines.SourceLines.front().Text);
    playlistMenu->OfferCurrent();
    setWindowTitle(lyricsTitle + QStringLiteral(" - ") + platform::EncoderTitle);
}

void frmMain::WizardFailed() {
    sourcePath.clear();
    savePath.clear();
    platform::MsgBox(this, WizardLostIt, platform::MsgButtons::OK, platform::MsgIcon::Information,
                     WizardTitle);
}

bool frmMain::TakeUpSource(const QString& source) {
    sourcePath = source;
    if (!LoadSourceLines()) {
        WizardFailed();
        return false;
    }
    return true;
}

void frmMain::TakeUpTitle(const QString& title) {
    // The title is written between quotes, which it therefore cannot hold.
    lyricsTitle = QString(title).remove(u'"');
}

bool frmMain::TakeUpSong(const QString& source, const QString& save, const QString& title) {
    if (!TakeUpSource(source)) {
        return false;
    }
    TakeUpTitle(title);
    savePath = save;
    SourceReady();
    return true;
}

void frmMain::StartWizard(const QString& title) {
    offeredTitle = title;
    cmdOpen_Click();
}

void frmMain::itmFWizard_Click() {
    cmdOpen_Click();
}

void frmMain::cmdOpen_Click() {
    // Step 1: the source text, chosen or typed, saved by the editor on the way out.
    QString source;
    {
        frmOpen editor(this);
        editor.InitialState(1);
        ShowDialog(&editor);
        if (!editor.ReturnState()) {
            WizardFailed();
            return;
        }
        source = editor.ReturnNewFile();
    }
    if (!TakeUpSource(source)) {
        return;
    }
    // Step 2: who sings what.
    QString proposedName;
    {
        frmBio bio(this);
        if (!offeredTitle.isEmpty()) {
            bio.SetValue(std::exchange(offeredTitle, QString()));
        }
        ShowDialog(&bio);
        if (!bio.ReturnState()) {
            WizardFailed();
            return;
        }
        TakeUpTitle(bio.GetTitle());
        proposedName = bio.GetMP3Name();
    }
    // Step 3: where the timed lines will be written; the file need not exist yet.
    cmdlg.DialogTitle = QStringLiteral("Step 3 - Create Lyrics File");
    cmdlg.Filter = QStringLiteral("Cantorix Files (*.cx3)|*.cx3");
    cmdlg.FilterIndex = 1;
    cmdlg.FileName = proposedName + QStringLiteral(".cx3");
    if (!cmdlg.ShowSave()) {
        WizardFailed();
        return;
    }
    savePath = cmdlg.FileName;
    if (platform::MsgBox(this,
                         QStringLiteral("Congratulations! Just press play and you are so done!\r"
                                        "Thank you for using Cantorix Encoder. Hope you found @ "
                                        "Wizard useful. ;)\r\rOh, and by the way, would you like "
                                        "to pick your song now?"),
                         platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                         WizardTitle) == platform::MsgResult::Yes &&
        winamp.WinampHandle != 0) {
        winamp.OpenJumpToFile();
    }
    SourceReady();
}

void frmMain::itmFTitle_Click() {
    if (sourcePath.isEmpty()) {
        return;
    }
    // The caption and the lyrics file keep what the wizard gave them.
    frmBio bio(this);
    bio.SetValue(lyricsTitle);
    ShowDialog(&bio);
    if (bio.ReturnState()) {
        TakeUpTitle(bio.GetTitle());
    }
}

void frmMain::itmFREdit_Click() {
    if (sourcePath.isEmpty()) {
        return;
    }
    frmOpen editor(this);
    if (!editor.OpenFile(sourcePath)) {
        editor.ShowReadFailure();
        return;
    }
    ShowDialog(&editor);
    if (!editor.ReturnState()) {
        return;
    }
    // The editor has saved the text over the source; its lines replace the ones timed.
    const bool reloaded = LoadSourceLines();
    platform::MsgBox(this,
                     reloaded ? QStringLiteral("The lyrics have been update.")
                              : QStringLiteral("The text was saved, but its lines could not be "
                                               "read again; the lines are as they were."),
                     platform::MsgButtons::OK,
                     reloaded ? platform::MsgIcon::Information : platform::MsgIcon::Exclamation,
                     QStringLiteral("Editor"));
}

void frmMain::itmFExport_Click() {
    // The lyrics file last written or chosen, as LRC for other players.
    const QFileInfo lyricsFile(savePath);
    cmdlg.DialogTitle = QStringLiteral("Export as LRC");
    cmdlg.Filter = QStringLiteral("LRC Files (*.lrc)|*.lrc");
    cmdlg.FileName = lyricsFile.dir().filePath(lyricsFile.completeBaseName() +
                                               lyrics::ExtensionOf(lyrics::LyricsFormat::Lrc));
    if (!cmdlg.ShowSave()) {
        return;
    }
    const lyrics::SaveResult exported = lyrics::ExportLrc(savePath, cmdlg.FileName);
    if (!exported.Saved()) {
        platform::MsgBox(
            this, QStringLiteral("Could not export the lyrics file as LRC:\n") + exported.Error,
            platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
            QStringLiteral("Export as LRC"));
    }
}

void frmMain::itmFOpenLyrics_Click() {
    if (lines.Running()) {
        return;
    }
    cmdlg.DialogTitle = QStringLiteral("Open Lyrics");
    cmdlg.Filter = QStringLiteral("Lyrics Files (*.cx3, *.cx2, *.lrc)|*.cx3;*.cx2;*.lrc");
    cmdlg.FilterIndex = 1;
    if (cmdlg.ShowOpen()) {
        RetimeFile(cmdlg.FileName);
    }
}

bool frmMain::RetimeFile(const QString& path) {
    frmTiming timing(winamp, redetect, lines.OutputDelayMs, this);
    if (!timing.OpenFile(path)) {
        platform::MsgBox(this, QStringLiteral("Could not read data file."),
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         QStringLiteral("Open Lyrics"));
        return false;
    }
    ShowDialog(&timing);
    return true;
}

void frmMain::itmFTiming_Click() {
    if (lines.Running() || lines.LastSourceLine < 0) {
        return;
    }
    const auto first = lines.SourceLines.begin();
    frmTiming timing(winamp, redetect, lines.OutputDelayMs, this);
    timing.OpenLines(savePath, lyricsTitle,
                     TimingRowsOf({first, first + lines.LastSourceLine + 1}));
    ShowDialog(&timing);
    // The times saved are the ones a later capture keeps where it does not reach.
    if (const std::optional<std::vector<TimingRow>>& saved = timing.SavedRows()) {
        lines.KeepTimes(SourceRowsOf(*saved));
    }
}

void frmMain::SetCapturing(bool capturing) {
    SetOuterHeight(capturing ? CaptureHeight : FullHeight);
    cmdNext->setEnabled(capturing);
    cmdStop->setEnabled(capturing);
    cmdPlay->setEnabled(!capturing);
    cmdOpen->setEnabled(!capturing);
    itmFWizard->setEnabled(!capturing);
    itmFREdit->setEnabled(!capturing && songTakenUp);
    itmFTiming->setEnabled(!capturing && songTakenUp);
    itmFOpenLyrics->setEnabled(!capturing);
    mnuFile->setEnabled(!capturing);
}

void frmMain::cmdPlay_Click() {
    // With no line to time there is nothing to start, and Winamp is not told to play.
    if (lines.LastSourceLine < 0) {
        return;
    }
    itmWRedetect_Click();
    if (winamp.WinampHandle == 0) {
        return;
    }
    lines.Start();
    SetCapturing(true);
    winampMenu->itmWPlay_Click();
    ShowCaptureLines();
}

void frmMain::ShowCaptureLines() {
    lyricsPane->ShowCurrent(lines.CurrentText());
    lyricsPane->ShowNext(lines.NextText());
}

void frmMain::cmdNext_Click() {
    const Capture::Press press =
        lines.Next(winamp.PositionMs(), [this] { return winamp.PlayState(); });
    switch (press) {
        case Capture::Press::Ignored:
            return;
        case Capture::Press::NoPosition:
        case Capture::Press::WentBack:
            CaptureLost(press);
            return;
        case Capture::Press::Stamped:
        case Capture::Press::Finished:
            break;
    }
    ShowCaptureLines();
    if (press == Capture::Press::Finished) {
        cmdStop_Click();
    }
}

void frmMain::CaptureLost(Capture::Press why) {
    itmWStop_Click();
    SetCapturing(false);
    const QString text = (why == Capture::Press::WentBack ? WentBackText : NoPositionText)
                             .arg(lines.CaptureLine + 1) +
                         QStringLiteral("\r\rThe capture has stopped");
    if (lines.CaptureLine == 0) {
        platform::MsgBox(this, text + u'.', platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, WizardTitle);
        return;
    }
    // No is the default: the box comes up while the user is pressing keys in time with the
    // song, and a stray Enter must not write over the lyrics file.
    if (platform::MsgBox(this,
                         text + QStringLiteral("; the lines before it keep their times. Would you "
                                               "like to save them now, replacing the lyrics file?"),
                         platform::MsgButtons::YesNo, platform::MsgIcon::Exclamation, WizardTitle,
                         platform::MsgResult::No) == platform::MsgResult::Yes) {
        WriteLyrics(QStringLiteral("The lines timed so far were saved."));
    }
}

void frmMain::cmdStop_Click() {
    if (!lines.Running()) {
        return;
    }
    itmWStop_Click();
    const bool early = lines.Stop();
    SetCapturing(false);
    if (early &&
        platform::MsgBox(this,
                         QStringLiteral("The end of the song was not reached. Do you still want "
                                        "to save your work?"),
                         platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                         WizardTitle) != platform::MsgResult::Yes) {
        return;  // the stamps stay for the next capture
    }
    WriteLyrics(QStringLiteral("Encoding was successfully completed!"));
}

void frmMain::WriteLyrics(const QString& done) {
    if (!lyrics::WriteLyricsFile(savePath, lyricsTitle, lines.SourceLines, lines.LastSourceLine)) {
        platform::MsgBox(this, WizardLostIt, platform::MsgButtons::OK,
                         platform::MsgIcon::Information, WizardTitle);
        return;
    }
    playlistMenu->OfferCurrent();
    platform::MsgBox(this, done, platform::MsgButtons::OK, platform::MsgIcon::Information,
                     WizardTitle);
}

void frmMain::lbl_Click(int index) {
    if (index != 0 && index != 1) {
        return;
    }
    const bool files = index == 0;
    views->ShowFiles(files);
    playlistMenu->Menu()->menuAction()->setVisible(!files);
    mnuF->menuAction()->setVisible(files);
}

void frmMain::lstFile_MouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::RightButton && mnuFile->isEnabled()) {
        mnuFile->popup(globalPos);
    }
}

void frmMain::lstList_MouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::RightButton) {
        playlistMenu->TrackMenu()->popup(globalPos);
    }
}

void frmMain::itmCOnTop_Click() {
    onTop = !onTop;
    itmCOnTop->setChecked(onTop);
    platform::SetAlwaysOnTop(this, onTop);
}

void frmMain::ShowDialog(QDialog* dialog) {
    platform::ShowModalFromTop(dialog, this, onTop, [this] { itmCOnTop_Click(); });
}

void frmMain::itmCEvoke_Click() {
    // The player beside the encoder; if it cannot be started there is nothing to say.
    QProcess::startDetached(platform::ProgramFolder() + platform::PathSeparator() +
                            platform::ExecutableName(QStringLiteral("cantorix")));
}

void frmMain::itmCAbout_Click() {
    frmAbout about(this);
    ShowDialog(&about);
}

void frmMain::itmWRedetect_Click() {
    winampMenu->itmWRedetect_Click();
}

void frmMain::itmWStop_Click() {
    winamp.Stop(true);
}

void frmMain::itmWClose_Click() {
    if (winamp::AskCloseWinamp(this, winamp)) {
        endWithoutQuestions = true;
        close();
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (endWithoutQuestions) {
        event->accept();
        return;
    }
    if (playlist::AskSaveOnClose(playlist, this, [this] { playlistMenu->itmLSave_Click(0); }) ==
        platform::MsgResult::Cancel) {
        event->ignore();
        return;
    }
    // Looked up again, silently: Winamp may have come or gone since the last Redetect.
    winamp.Redetect();
    if (winamp.WinampHandle != 0) {
        const platform::MsgResult answer =
            platform::MsgBox(this, QStringLiteral("Would you like to close Winamp as well?"),
                             platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question,
                             QStringLiteral("Close Cantorix?"));
        if (answer == platform::MsgResult::Cancel) {
            event->ignore();
            return;
        }
        if (answer == platform::MsgResult::Yes) {
            winamp.Close();
        }
    }
    event->accept();
}

}  // namespace encoder
