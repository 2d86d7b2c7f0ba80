#include "player/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPalette>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <array>

#include "lyrics/LyricsPane.h"
#include "platform/Folders.h"
#include "platform/Menus.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/Product.h"
#include "platform/Twips.h"
#include "platform/frmNumber.h"
#include "player/FollowMenu.h"
#include "player/ImageButton.h"
#include "player/Karaoke.h"
#include "player/ListView.h"
#include "player/OnlineCommands.h"
#include "player/OpenedFileKind.h"
#include "player/Overlay.h"
#include "player/PlaylistMenu.h"
#include "player/PlaylistPanel.h"
#include "player/PlaylistTexts.h"
#include "player/Session.h"
#include "player/SettingsMenu.h"
#include "player/Skin.h"
#include "player/Transport.h"
#include "player/frmAbout.h"
#include "player/frmSkins.h"
#include "playlist/PlaylistCommands.h"
#include "winamp/WinampMenu.h"

namespace player {

namespace {

using platform::AddMenu;
using platform::AddMenuItem;

// Layout in twips, as designed: client area 6870 wide; the outer heights include the title
// bar and the menu bar.
constexpr int ClientWidth = 6870;
constexpr int TitleBarHeight = 375;
constexpr int MenuBarHeight = 300;

// A song's lines later, sooner, a little later, a little sooner; and how long that shows.
constexpr std::array<int, 4> OffsetStepsMs{100, -100, 10, -10};
constexpr int OffsetShownMs = 1500;

}  // namespace

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent),
      session(new Session(winamp, playlist, *QRandomGenerator::global(), this)),
      cmdlg(this) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(session->Caption());
    BuildControls();
    BuildMenus();
    ConnectSession();
    SetOuterHeight(FullHeight);
    setAcceptDrops(true);
}

frmMain::~frmMain() = default;

void frmMain::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    lyricsPane = new lyrics::LyricsPane(Qt::AlignCenter, client);
    connect(lyricsPane, &lyrics::LyricsPane::CurrentLineMouseUp, this,
            &frmMain::lblCurrLine_MouseUp);
    overlay = new Overlay(*session, this);
    karaoke = new Karaoke(*session, {lyricsPane, overlay->Pane()}, this);
    // A song's lines moved: said for a moment over the current line.
    lblOffset = new QLabel(client);
    lblOffset->setObjectName(QStringLiteral("lblOffset"));
    lblOffset->setGeometry(platform::TwipsRect(4335, 0, 2400, 300));
    lblOffset->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblOffset->hide();
    tmrOffset = new QTimer(this);
    tmrOffset->setObjectName(QStringLiteral("tmrOffset"));
    tmrOffset->setSingleShot(true);
    tmrOffset->setInterval(OffsetShownMs);
    connect(tmrOffset, &QTimer::timeout, this, &frmMain::tmrOffset_Timer);

    transport = new Transport(client);
    connect(transport->Button(SkinButton::Open), &ImageButton::Click, this,
            &frmMain::cmdOpen_Click);
    connect(transport->Button(SkinButton::Play), &ImageButton::Click, this,
            &frmMain::cmdPlay_Click);
    connect(transport->Button(SkinButton::Pause), &ImageButton::Click, this,
            &frmMain::cmdPause_Click);
    connect(transport->Button(SkinButton::Stop), &ImageButton::Click, this,
            &frmMain::cmdStop_Click);
    connect(transport->Button(SkinButton::Next), &ImageButton::Click, this,
            &frmMain::cmdNext_Click);

    auto* panel = new PlaylistPanel(playlist, client);
    connect(panel, &PlaylistPanel::EntryDoubleClicked, this, &frmMain::lstList_DblClick);
    connect(panel, &PlaylistPanel::RightButtonUp, this,
            [this](const QPoint& at) { playlistMenu->lstList_MouseUp(Qt::RightButton, at); });
}

void frmMain::BuildMenus() {
    mnuPlayback = AddMenu(menuBar(), "mnuPlayback", QStringLiteral("&Playback"));
    itmPPlay = AddMenuItem(mnuPlayback, "itmPPlay", QStringLiteral("&Play"), Qt::Key_F5, this,
                           &frmMain::cmdPlay_Click);
    itmPPause = AddMenuItem(mnuPlayback, "itmPPause", QStringLiteral("P&ause"), Qt::Key_F6, this,
                            &frmMain::cmdPause_Click);
    itmPStop = AddMenuItem(mnuPlayback, "itmPStop", QStringLiteral("&Stop"), Qt::Key_F7, this,
                           &frmMain::cmdStop_Click);
    itmPNext = AddMenuItem(mnuPlayback, "itmPNext", QStringLiteral("&Next"), Qt::Key_F8, this,
                           &frmMain::cmdNext_Click);
    mnuPlayback->addSeparator()->setObjectName(QStringLiteral("itmPDash"));
    itmPOpen = AddMenuItem(mnuPlayback, "itmPOpen", QStringLiteral("&Open File..."),
                           QKeySequence(Qt::CTRL | Qt::Key_F), this, &frmMain::cmdOpen_Click);
    mnuPlayback->addSeparator();
    followMenu = new FollowMenu(*session, mnuPlayback, cmdlg, this);
    // Also in the Playback menu, which a right click on the lyrics pane brings up.
    online = new OnlineCommands(winamp, this, showDialog);
    mnuPlayback->addAction(online->SearchItem());
    online->Serve(followMenu->Lookup());
    connect(online, &OnlineCommands::LyricsFound, this, &frmMain::OpenFile);
    connect(online, &OnlineCommands::Say, this, [this](const QString& line, const QString& why) {
        lyricsPane->ShowCurrent(line);
        lyricsPane->ShowNext(why);
    });
    // On the window rather than in a menu: they work in the compact strip, menu bar hidden.
    const std::array<QKeySequence, 4> offsetKeys{QKeySequence(Qt::CTRL | Qt::Key_Right),
                                                 QKeySequence(Qt::CTRL | Qt::Key_Left),
                                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right),
                                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left)};
    for (int i = 0; i < 4; ++i) {
        auto* item = new QAction(this);
        item->setObjectName(QStringLiteral("itmPOffset%1").arg(i));
        item->setShortcut(offsetKeys[size_t(i)]);
        addAction(item);
        connect(item, &QAction::triggered, this, [this, i] { itmPOffset_Click(i); });
    }

    BuildPlaylistMenu();
    BuildSettingsMenu();

    // F5 to F8 belong to the Playback menu, so Winamp's own Play, Stop and Pause have no keys.
    winampMenu = new winamp::WinampMenu(winamp, this, false, QStringLiteral("&Close"));
    mnuWinamp = winampMenu->Menu();
    menuBar()->addMenu(mnuWinamp);
    connect(winampMenu, &winamp::WinampMenu::StopChosen, this, &frmMain::itmWStop_Click);
    connect(winampMenu, &winamp::WinampMenu::CloseChosen, this, &frmMain::itmWClose_Click);

    mnuHelp = AddMenu(menuBar(), "mnuHelp", QStringLiteral("&Help"));
    AddMenuItem(mnuHelp, "itmHHelp", QStringLiteral("&Help"), {}, this, &frmMain::itmHHelp_Click);
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("itmHBreak"));
    AddMenuItem(mnuHelp, "itmHAbout", QStringLiteral("&About..."), Qt::Key_F1, this,
                &frmMain::itmHAbout_Click);
}

void frmMain::BuildPlaylistMenu() {
    playlistMenu = new PlaylistMenu(playlist, *session, winamp, cmdlg, this, showDialog);
    menuBar()->addMenu(playlistMenu->Menu());
    playlistMenu->Menu()->addAction(online->SearchItem());
    connect(playlistMenu, &PlaylistMenu::OpenWanted, this, &frmMain::cmdOpen_Click);
    connect(playlistMenu, &PlaylistMenu::Cleared, this, [this] { SetListView(false, false); });
    connect(playlistMenu, &PlaylistMenu::EntryAdded, this, [this] { itmPPlay->setEnabled(true); });
    connect(playlistMenu, &PlaylistMenu::ListViewWanted, this,
            [this](bool show) { SetListView(true, show); });
}

void frmMain::BuildSettingsMenu() {
    settingsMenu = new SettingsMenu(settings, conf, this);
    mnuControl = settingsMenu->Menu();
    menuBar()->addMenu(mnuControl);
    connect(settingsMenu, &SettingsMenu::OnTopChanged, this,
            [this](bool onTop) { platform::SetAlwaysOnTop(this, onTop); });
    connect(settingsMenu, &SettingsMenu::StopModeChanged, session, &Session::SetImmediateStop);
    connect(settingsMenu, &SettingsMenu::ListViewChanged, this,
            [this] { SetListView(false, false); });
    connect(settingsMenu, &SettingsMenu::SaveModeChanged, this,
            [this](int index) { playlist.SetSaveMode(playlist::SaveMode(index)); });
    connect(settingsMenu, &SettingsMenu::ColourWanted, this, &frmMain::itmCColour_Click);
    connect(settingsMenu, &SettingsMenu::SkinsWanted, this, &frmMain::itmSSkins_Click);
    connect(settingsMenu, &SettingsMenu::DelayWanted, this, &frmMain::itmSDelay_Click);
    connect(settingsMenu, &SettingsMenu::KaraokeChanged, karaoke, &Karaoke::SetOn);
    connect(settingsMenu, &SettingsMenu::OverlayChanged, overlay, &Overlay::SetShown);
    connect(settingsMenu, &SettingsMenu::OverlayLockChanged, overlay, &Overlay::SetLocked);
    connect(overlay, &Overlay::UnlockWanted, settingsMenu, &SettingsMenu::itmSLock_Click);
    mnuControl->addSeparator();
    mnuControl->addAction(online->AllowItem());
}

// The window shows what the session says: the lines, the caption and the transport (the
// Playlist menu follows playback by itself).
void frmMain::ConnectSession() {
    connect(session, &Session::CaptionChanged, this, &QWidget::setWindowTitle);
    connect(session, &Session::CurrentLineChanged, lyricsPane, &lyrics::LyricsPane::ShowCurrent);
    connect(session, &Session::NextLineChanged, lyricsPane, &lyrics::LyricsPane::ShowNext);
    connect(session, &Session::LyricsUnreadable, this, [this] { ShowLoadFailure(); });
    connect(session, &Session::WinampLookedUp, winampMenu, &winamp::WinampMenu::ShowRedetected);
    connect(session, &Session::PanelDue, this, [this](bool shown) { SetListView(false, shown); });
    connect(session, &Session::DisplayStarted, this, [this] { SetButtons(true); });
    connect(session, &Session::PlaybackStopped, this, [this] {
        SetButtons(false);
        SetNextShown(false);
    });
    connect(session, &Session::PlaylistStarted, this, [this] { SetNextShown(true); });
    connect(session, &Session::LyricsMoved, this, [this](int shiftMs) {
        lblOffset->setText(SongOffset::Text(shiftMs));
        lblOffset->show();
        lblOffset->raise();
        tmrOffset->start();
    });
    session->SetKeepQuestion([this] {
        return platform::MsgBox(this, QStringLiteral("Keep the new timing in the lyrics file?"),
                                platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                                platform::PlayerTitle) == platform::MsgResult::Yes;
    });
    connect(session, &Session::OffsetNotKept, this, [this](const QString& path) {
        platform::MsgBox(
            this, QStringLiteral("Could not save the new timing in the lyrics file:\r") + path,
            platform::MsgButtons::OK, platform::MsgIcon::Exclamation, platform::PlayerTitle);
    });
}

void frmMain::itmPOffset_Click(int index) {
    if (index >= 0 && index < int(OffsetStepsMs.size())) {
        session->MoveLyrics(OffsetStepsMs[size_t(index)]);
    }
}

void frmMain::tmrOffset_Timer() {
    lblOffset->hide();
}

void frmMain::Form_Load() {
    itmWRedetect_Click();
    cmdlg.Flags = platform::CommonDialog::HideReadOnly | platform::CommonDialog::PathMustExist |
                  platform::CommonDialog::FileMustExist;
    for (QAction* item : {itmPNext, itmPPlay, itmPPause, itmPStop}) {
        item->setEnabled(false);
    }
    ReadSettings();
    ApplySkin();
    // A remembered playlist that can no longer be read leaves a new, empty one.
    if (settings.PlaylistPath.isEmpty() || !LoadPlaylist(settings.PlaylistPath)) {
        playlistMenu->itmLNew_Click();
    }
}

void frmMain::ReadSettings() {
    conf = lyrics::ReadConfFile(platform::ConfFilePath());
    session->SetOutputDelay(conf.OutputDelayMs);
    overlay->Place(conf.OverlayPlace);
    settingsMenu->ApplyConf(conf);
    online->SetAllowed(conf.SearchOnline);
    const lyrics::SettingsRead read = lyrics::ReadSettingsFile(platform::SettingsFilePath());
    if (read.LinesRead >= 2) {
        move(platform::Px(read.Values.Left), platform::Px(read.Values.Top));
        // A position from another desktop (a screen since unplugged) comes back on screen.
        const QScreen* screen = QGuiApplication::screenAt(frameGeometry().center());
        if (screen == nullptr && QGuiApplication::primaryScreen() != nullptr) {
            move(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
        }
    }
    settingsMenu->Apply(read.Values);
    playlist.SetRandomizeList(read.Values.Randomize);
    playlist.SetRepeatList(read.Values.Repeat);
}

void frmMain::WriteSettings() {
    lyrics::Settings s = settings;
    s.Left = platform::Twips(x());
    s.Top = platform::Twips(y());
    s.ListSave = lyrics::ListSaving(playlist.GetSaveMode());
    s.Randomize = playlist.RandomizeList();
    s.Repeat = playlist.RepeatList();
    s.PlaylistPath = playlist.PlaylistPath();
    // A settings file that cannot be written is not worth a word on the way out; the
    // old one stays whole.
    lyrics::WriteSettingsFile(platform::SettingsFilePath(), s);
}

void frmMain::closeEvent(QCloseEvent* event) {
    const platform::MsgResult answer =
        playlist::AskSaveOnClose(playlist, this, [this] { playlistMenu->itmLSave_Click(); });
    if (answer == platform::MsgResult::Cancel) {
        event->ignore();  // the player stays open and Winamp plays on
        return;
    }
    cmdStop_Click();
    WriteSettings();
    event->accept();
}

void frmMain::itmWRedetect_Click() {
    winampMenu->itmWRedetect_Click();
}

void frmMain::itmWStop_Click() {
    session->StopWinamp();
}

void frmMain::itmWClose_Click() {
    winamp.Close();
}

void frmMain::ApplySkin() {
    const SkinLoadResult result = transport->ApplySkin(settings.SkinFolder, [this] {
        QPalette colours = centralWidget()->palette();
        colours.setColor(QPalette::Window, platform::ColorFromBgr(settings.Colours[0]));
        centralWidget()->setPalette(colours);
        for (lyrics::LyricsPane* pane : {lyricsPane, overlay->Pane()}) {
            pane->SetColours(platform::ColorFromBgr(settings.Colours[1]),
                             platform::ColorFromBgr(settings.Colours[2]));
        }
    });
    settings.SkinFolder = result.SkinFolder;
    if (result.ShowSkinsMessage) {
        ShowSkinsMessage(this);
    }
}

void frmMain::itmCColour_Click(int index) {
    if (!cmdlg.ShowColor()) {
        return;
    }
    settings.Colours[size_t(index)] = cmdlg.Color;
    ApplySkin();
}

void frmMain::itmSSkins_Click() {
    frmSkins skins(this);
    skins.SetValue(settings.SkinFolder);
    ShowDialog(&skins);
    if (skins.ReturnState()) {
        settings.SkinFolder = skins.GetValue();
        ApplySkin();
    }
}

void frmMain::itmSDelay_Click() {
    platform::frmNumber delay(this);
    delay.SetCaption(QStringLiteral("Output Delay"));
    delay.SetText(
        QStringLiteral("How many milliseconds your speakers or headphones lag behind "
                       "the player (Bluetooth: 100 to 300). The lyrics and the "
                       "encoder's timing wait as long."));
    delay.SetRange(0, lyrics::MaxOutputDelayMs);
    delay.SetValue(conf.OutputDelayMs);
    ShowDialog(&delay);
    if (!delay.ReturnState()) {
        return;
    }
    conf.OutputDelayMs = delay.GetValue();
    session->SetOutputDelay(conf.OutputDelayMs);
    if (!lyrics::WriteOutputDelay(platform::ConfFilePath(), conf.OutputDelayMs)) {
        platform::MsgBox(this,
                         QStringLiteral("Could not save the output delay. It holds until the "
                                        "player ends."),
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         QStringLiteral("Output Delay"));
    }
}

void frmMain::ShowLoadFailure(const QString& text) {
    platform::MsgBox(this, text, platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                     QStringLiteral("Playlist Loader"));
}

bool frmMain::OpenFile(const QString& path) {
    switch (KindOfOpenedFile(path)) {
        case OpenedFileKind::Lyrics:
            // A failed load still leaves the table it read, which Play may show.
            session->OpenLyrics(path);
            playlistMenu->EnableAdd();
            transport->Button(SkinButton::Play)->show();
            itmPPlay->setEnabled(true);
            return true;
        case OpenedFileKind::Playlist:
            LoadPlaylist(path);
            return true;
        case OpenedFileKind::Nothing:
            break;
    }
    return false;
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedFileToOpen(event->mimeData()->urls(), itmPOpen->isEnabled())) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event) {
    const std::optional<QString> path =
        DroppedFileToOpen(event->mimeData()->urls(), itmPOpen->isEnabled());
    if (path) {
        event->acceptProposedAction();
        // After the drop has been answered: a box saying the file cannot be read must not
        // hold the program the file came from.
        QTimer::singleShot(0, this, [this, file = *path] { OpenFile(file); });
    }
}

void frmMain::cmdOpen_Click() {
    cmdlg.Filter = playlist::CantorixFilesFilter;
    cmdlg.FilterIndex = 1;  // the Cantorix files, even after LRC was chosen last time
    if (!cmdlg.ShowOpen()) {
        return;
    }
    OpenFile(cmdlg.FileName);
}

bool frmMain::LoadPlaylist(const QString& path) {
    if (!playlist::ReadPlaylist(playlist, path, this, ReadFailureText)) {
        return false;
    }
    SetListView(true, true);
    playlistMenu->EnableCommands(true);
    transport->Button(SkinButton::Play)->show();
    itmPPlay->setEnabled(true);
    if (playlist.RandomizeList()) {
        playlist.BuildRandomOrder(*QRandomGenerator::global());
    }
    session->ChoosePlaylist();
    return true;
}

void frmMain::tmr_Timer() {
    session->Tick();
}

void frmMain::cmdPlay_Click() {
    session->Play();
}

void frmMain::lstList_DblClick() {
    session->PlaySelectedEntry();
}

void frmMain::cmdPause_Click() {
    session->Pause();
}

void frmMain::cmdNext_Click() {
    session->Next();
}

void frmMain::cmdStop_Click() {
    // New and Next come back with PlaybackStopped; the playlist's Play even without entries.
    playlistMenu->EnablePlay();
    HideMenuBar(false);
    session->Stop();
}

void frmMain::SetButtons(bool playing) {
    transport->SetPlaying(playing);
    itmPPlay->setEnabled(!playing);
    itmPPause->setEnabled(playing);
    itmPOpen->setEnabled(!playing);
    itmPStop->setEnabled(playing);
}

void frmMain::SetNextShown(bool shown) {
    transport->SetNextShown(shown);
    itmPNext->setEnabled(shown);
}

void frmMain::SetOuterHeight(int twips) {
    outerHeight = twips;
    const bool menus = !menuBar()->isHidden();
    const int client = twips - TitleBarHeight - (menus ? MenuBarHeight : 0);
    setFixedSize(platform::Px(ClientWidth),
                 platform::Px(client) + (menus ? menuBar()->sizeHint().height() : 0));
}

void frmMain::SetListView(bool force, bool show) {
    const bool following = session->GetState() == Session::State::Following ||
                           session->FollowsPlayer() || playlist.PlaylistPlaying();
    const std::optional<ListViewChange> change =
        DecideListView(force, show, settings.ListView == lyrics::ListVisibility::Autohide,
                       settings.Compact, following);
    if (!change) {
        return;
    }
    if (change->HideMenuBar) {
        HideMenuBar(true);
    }
    SetOuterHeight(change->OuterHeight);
    if (change->CaptionHide) {
        playlistMenu->SetShowCaption(*change->CaptionHide);
    }
}

void frmMain::HideMenuBar(bool hide) {
    for (QMenu* menu : {mnuPlayback, playlistMenu->Menu(), mnuControl, mnuWinamp, mnuHelp}) {
        menu->menuAction()->setVisible(!hide);
    }
    menuBar()->setVisible(!hide);
}

void frmMain::lblCurrLine_MouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::RightButton) {
        mnuPlayback->popup(globalPos);
    } else if (button == Qt::LeftButton) {
        followMenu->itmPTime_Click();  // a song without lyrics offers to time them
    }
}

void frmMain::ShowDialog(QDialog* dialog) {
    platform::ShowModalFromTop(dialog, this, settings.OnTop,
                               [this] { settingsMenu->itmCOnTop_Click(); });
}

void frmMain::itmHHelp_Click() {
    platform::MsgBox(this,
                     QStringLiteral("For your viewing convenience, the interactive help file, "
                                    "ReadMe.HTM, is stored at ") +
                         platform::ResourceFolder() + platform::PathSeparator(),
                     platform::MsgButtons::OK, platform::MsgIcon::None, QStringLiteral("Help"));
}

void frmMain::itmPFollow_Click() {
    followMenu->itmPFollow_Click();
}

void frmMain::itmHAbout_Click() {
    frmAbout about(this);
    ShowDialog(&about);
}

}  // namespace player
