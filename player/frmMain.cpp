#include "player/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPalette>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "lyrics/LyricsFile.h"
#include "lyrics/SettingsFile.h"
#include "platform/CommonDialog.h"
#include "platform/Folders.h"
#include "platform/Menus.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"
#include "player/ImageButton.h"
#include "player/LineFit.h"
#include "player/Skin.h"
#include "player/frmAbout.h"
#include "player/frmSkins.h"
#include "playlist/OpenedFileKind.h"
#include "playlist/PlaylistCommands.h"
#include "winamp/Link.h"
#include "winamp/WinampMenu.h"
#include "winamp/modOne.h"

namespace player {

namespace {

const QString AppTitle = QStringLiteral("Cantorix 3");
const QString PausedPrefix = QStringLiteral("-- PAUSED -- ");
const QString EndOfSong = QStringLiteral("(end of song)");

// Layout in twips, as designed: client area 6870 wide; the outer heights below include
// the title bar and the menu bar.
constexpr int ClientWidth = 6870;
constexpr int TitleBarHeight = 375;
constexpr int MenuBarHeight = 300;
constexpr int FullHeight = 6050;
constexpr int ShortHeight = 2650;
constexpr int CompactHeight = 1450;
constexpr int ButtonTop = 1560;
constexpr int ButtonWidth = 1095;
constexpr int ButtonHeight = 375;

// A label used as a switch: white on black when off, bold on light red when on.
void ShowSwitch(QLabel* label, bool on) {
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, on ? platform::ColorFromBgr(0x008080FF) : QColor(Qt::black));
    colours.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(colours);
    QFont font = label->font();
    font.setBold(on);
    label->setFont(font);
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& key = QKeySequence()) {
    return platform::AddMenuItem(menu, QString::fromLatin1(name), caption, key);
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), cmdlg(this) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppTitle);
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

    lblCurrLine = new QLabel(QStringLiteral(":o)"), client);
    lblCurrLine->setObjectName(QStringLiteral("lblCurrLine"));
    lblCurrLine->setGeometry(platform::TwipsRect(0, 0, 6855, 1095));
    QFont big(QStringLiteral("Verdana Ref"));
    big.setPointSizeF(18);
    big.setBold(true);
    lblCurrLine->setFont(big);
    lblCurrLine->setAlignment(Qt::AlignCenter);
    lblCurrLine->setWordWrap(true);
    lblCurrLine->installEventFilter(this);

    lblNextLine = new QLabel(QStringLiteral(":o)"), client);
    lblNextLine->setObjectName(QStringLiteral("lblNextLine"));
    lblNextLine->setGeometry(platform::TwipsRect(0, 1080, 6855, 375));
    QFont small(QStringLiteral("Arial"));
    small.setPointSizeF(9.75);
    small.setBold(true);
    lblNextLine->setFont(small);
    lblNextLine->setAlignment(Qt::AlignCenter);

    auto toggle = [this, client](const char* name, const QString& caption, int left) {
        auto* label = new QLabel(caption, client);
        label->setObjectName(QString::fromLatin1(name));
        label->setGeometry(platform::TwipsRect(left, 5070, 1215, 255));
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        label->installEventFilter(this);
        return label;
    };
    lblRand = toggle("lblRand", QStringLiteral("Randomize"), 120);
    lblRepeat = toggle("lblRepeat", QStringLiteral("Repeat"), 1455);
    ShowSwitch(lblRand, false);
    ShowSwitch(lblRepeat, false);

    auto button = [client](const char* name, int left) {
        auto* b = new ImageButton(client);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(platform::TwipsRect(left, ButtonTop, ButtonWidth, ButtonHeight));
        return b;
    };
    cmdOpen = button("cmdOpen", 120);
    cmdPlay = button("cmdPlay", 2760);
    cmdNext = button("cmdNext", 2760);
    cmdPause = button("cmdPause", 4200);
    cmdStop = button("cmdStop", 5640);
    ConnectPressFeedback(cmdOpen, SkinButton::Open);
    ConnectPressFeedback(cmdPlay, SkinButton::Play);
    ConnectPressFeedback(cmdNext, SkinButton::Next);
    ConnectPressFeedback(cmdPause, SkinButton::Pause);
    ConnectPressFeedback(cmdStop, SkinButton::Stop);
    connect(cmdOpen, &ImageButton::Click, this, &frmMain::cmdOpen_Click);
    connect(cmdPlay, &ImageButton::Click, this, &frmMain::cmdPlay_Click);
    connect(cmdPause, &ImageButton::Click, this, &frmMain::cmdPause_Click);
    connect(cmdStop, &ImageButton::Click, this, &frmMain::cmdStop_Click);
    connect(cmdNext, &ImageButton::Click, this, &frmMain::cmdNext_Click);

    tmr = new QTimer(this);
    tmr->setObjectName(QStringLiteral("tmr"));
    tmr->setInterval(40);
    connect(tmr, &QTimer::timeout, this, &frmMain::tmr_Timer);

    // Between two playlist entries Winamp is asked, once a tick, whether it still plays.
    tmrWait = new QTimer(this);
    tmrWait->setObjectName(QStringLiteral("tmrWait"));
    tmrWait->setInterval(40);
    connect(tmrWait, &QTimer::timeout, this, &frmMain::tmrWait_Timer);

    lstList = new QListWidget(client);
    lstList->setObjectName(QStringLiteral("lstList"));
    lstList->setGeometry(platform::TwipsRect(120, 2040, 6615, 2985));
    // An emptied list has no row to select: that is no click on the playlist.
    connect(lstList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            lstList_Click();
        }
    });
    connect(lstList, &QListWidget::itemClicked, this, &frmMain::lstList_Click);
    connect(lstList, &QListWidget::itemDoubleClicked, this, &frmMain::lstList_DblClick);
}

void frmMain::BuildMenus() {
    mnuPlayback = menuBar()->addMenu(QStringLiteral("&Playback"));
    mnuPlayback->setObjectName(QStringLiteral("mnuPlayback"));
    itmPPlay = AddItem(mnuPlayback, "itmPPlay", QStringLiteral("&Play"), Qt::Key_F5);
    itmPPause = AddItem(mnuPlayback, "itmPPause", QStringLiteral("P&ause"), Qt::Key_F6);
    itmPStop = AddItem(mnuPlayback, "itmPStop", QStringLiteral("&Stop"), Qt::Key_F7);
    itmPNext = AddItem(mnuPlayback, "itmPNext", QStringLiteral("&Next"), Qt::Key_F8);
    mnuPlayback->addSeparator()->setObjectName(QStringLiteral("itmPDash"));
    itmPOpen = AddItem(mnuPlayback, "itmPOpen", QStringLiteral("&Open File..."),
                       QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(itmPPlay, &QAction::triggered, this, &frmMain::cmdPlay_Click);
    connect(itmPPause, &QAction::triggered, this, &frmMain::cmdPause_Click);
    connect(itmPStop, &QAction::triggered, this, &frmMain::cmdStop_Click);
    connect(itmPNext, &QAction::triggered, this, &frmMain::cmdNext_Click);
    connect(itmPOpen, &QAction::triggered, this, &frmMain::cmdOpen_Click);

    playlist = new playlist::PlaylistCommands(playlist::PlaylistCommands::Variant::Player, this,
                                              cmdlg, lstList, this);
    playlist::PlaylistCommands::PlayerHooks hooks;
    hooks.SetListView = [this](bool force, bool show) { SetListView(force, show); };
    hooks.ShowPlay = [this] {
        cmdPlay->show();
        itmPPlay->setEnabled(true);
    };
    hooks.RandomizeList = [this] { return RandomizeList; };
    hooks.BuildRandomOrder = [this] { BuildRandomOrder(); };
    hooks.SetPlayFromPlaylist = [this] { PlayFromPlaylist = true; };
    hooks.SetCaption = [this](const QString& caption) { setWindowTitle(caption); };
    hooks.CmdOpen = [this] { cmdOpen_Click(); };
    playlist->SetPlayerHooks(hooks);
    mnuList = playlist->mnuList();
    menuBar()->addMenu(mnuList);
    itmLPlay = playlist->Action(QStringLiteral("itmLPlay"));
    itmLNew = playlist->Action(QStringLiteral("itmLNew"));
    itmLAdd = playlist->Action(QStringLiteral("itmLAdd"));
    itmLVShow = playlist->Action(QStringLiteral("itmLVShow"));
    itmLVShow->setEnabled(true);
    connect(itmLPlay, &QAction::triggered, this, &frmMain::itmLPlay_Click);
    connect(itmLVShow, &QAction::triggered, this, &frmMain::itmLVShow_Click);

    mnuControl = menuBar()->addMenu(QStringLiteral("&Settings"));
    mnuControl->setObjectName(QStringLiteral("mnuControl"));
    itmCOnTop = AddItem(mnuControl, "itmCOnTop", QStringLiteral("&Always On Top"), Qt::Key_F12);
    itmCOnTop->setCheckable(true);
    ConnectToggle(itmCOnTop, &frmMain::itmCOnTop_Click);
    itmSCompact = AddItem(mnuControl, "itmSCompact", QStringLiteral("&Retract to Compact"));
    itmSCompact->setCheckable(true);
    ConnectToggle(itmSCompact, &frmMain::itmSCompact_Click);
    mnuControl->addSeparator();
    QMenu* colours = mnuControl->addMenu(QStringLiteral("&Colours"));
    const std::array<const char*, 3> colourNames{"itmCColour0", "itmCColour1", "itmCColour2"};
    const std::array<QString, 3> colourCaptions{QStringLiteral("&Background..."),
                                                QStringLiteral("&Current Line..."),
                                                QStringLiteral("&Next Line...")};
    for (int i = 0; i < 3; ++i) {
        itmCColour[size_t(i)] = AddItem(colours, colourNames[size_t(i)], colourCaptions[size_t(i)]);
        connect(itmCColour[size_t(i)], &QAction::triggered, this,
                [this, i] { itmCColour_Click(i); });
    }
    itmSSkins = AddItem(mnuControl, "itmSSkins", QStringLiteral("&Skins..."));
    connect(itmSSkins, &QAction::triggered, this, &frmMain::itmSSkins_Click);
    mnuControl->addSeparator();
    QMenu* visibility = mnuControl->addMenu(QStringLiteral("&Playlist Visibility"));
    itmLSmart[0] = AddItem(visibility, "itmLSmart0", QStringLiteral("&Autohide"));
    itmLSmart[1] = AddItem(visibility, "itmLSmart1", QStringLiteral("&Manual"));
    mnuControl->addMenu(playlist->itmOLS());
    itmOStop = mnuControl->addMenu(QStringLiteral("&Stop Mode"));
    itmOStop->setObjectName(QStringLiteral("itmOStop"));
    itmOSFade[0] = AddItem(itmOStop, "itmOSFade0", QStringLiteral("&Fade"));
    itmOSFade[1] = AddItem(itmOStop, "itmOSFade1", QStringLiteral("&Immediate"));
    for (int i = 0; i < 2; ++i) {
        // Checked by the commands below, never by a click alone.
        itmLSmart[i]->setCheckable(true);
        itmOSFade[i]->setCheckable(true);
        connect(itmLSmart[i], &QAction::triggered, this, [this, i] { itmLSmart_Click(i); });
        connect(itmOSFade[i], &QAction::triggered, this, [this, i] { itmOSFade_Click(i); });
    }
    itmLSmart[0]->setChecked(true);
    itmOSFade[0]->setChecked(true);

    winampMenu = new winamp::WinampMenu(winamp::WinampMenu::Variant::Player, this);
    winampMenu->ImmediateStop = [this] { return itmOSFade[1]->isChecked(); };
    mnuWinamp = winampMenu->mnuWinamp;
    menuBar()->addMenu(mnuWinamp);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    itmHHelp = AddItem(mnuHelp, "itmHHelp", QStringLiteral("&Help"));
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("itmHBreak"));
    itmHAbout = AddItem(mnuHelp, "itmHAbout", QStringLiteral("&About..."), Qt::Key_F1);
    connect(itmHHelp, &QAction::triggered, this, &frmMain::itmHHelp_Click);
    connect(itmHAbout, &QAction::triggered, this, &frmMain::itmHAbout_Click);
}

void frmMain::Form_Load() {
    itmWRedetect_Click();
    cmdlg.Flags = platform::CommonDialog::HideReadOnly | platform::CommonDialog::PathMustExist |
                  platform::CommonDialog::FileMustExist;
    cmdNext->move(cmdPlay->pos());
    for (ImageButton* b : {cmdNext, cmdPlay, cmdPause, cmdStop}) {
        b->hide();
    }
    for (QAction* item : {itmPNext, itmPPlay, itmPPause, itmPStop}) {
        item->setEnabled(false);
    }
    const QString remembered = ReadSettings();
    ApplySkin();
    // A remembered playlist that can no longer be read leaves a new, empty one.
    if (remembered.isEmpty() || !playlist->LoadPlaylist(remembered)) {
        playlist->itmLNew_Click();
    }
}

void frmMain::itmWRedetect_Click() {
    winampMenu->itmWRedetect_Click();
}

void frmMain::ApplySkin() {
    auto applyColours = [this] {
        QPalette back = centralWidget()->palette();
        back.setColor(QPalette::Window, platform::ColorFromBgr(Colours[0]));
        centralWidget()->setPalette(back);
        QPalette curr = lblCurrLine->palette();
        curr.setColor(QPalette::WindowText, platform::ColorFromBgr(Colours[1]));
        lblCurrLine->setPalette(curr);
        QPalette next = lblNextLine->palette();
        next.setColor(QPalette::WindowText, platform::ColorFromBgr(Colours[2]));
        lblNextLine->setPalette(next);
    };
    auto load = [this](SkinButton button, const QString& path) {
        return ButtonFor(button)->LoadPicture(path);
    };
    const SkinLoadResult result = LoadSkin(SkinFolder, load, applyColours);
    SkinFolder = result.SkinFolder;
    if (result.ShowSkinsMessage) {
        ShowSkinsMessage(this);
    }
    // A chosen folder that is no skin keeps the pictures the buttons had; a button that
    // never had one (a folder from another installation, read at start-up) would be
    // invisible and unclickable, so it shows the default skin's picture instead.
    for (SkinButton button : SkinLoadOrder) {
        if (ButtonFor(button)->pixmap().isNull()) {
            ButtonFor(button)->LoadPicture(DefaultSkinFolder() + NormalBitmapName(button));
        }
    }
}

ImageButton* frmMain::ButtonFor(SkinButton button) const {
    switch (button) {
        case SkinButton::Play:
            return cmdPlay;
        case SkinButton::Stop:
            return cmdStop;
        case SkinButton::Next:
            return cmdNext;
        case SkinButton::Pause:
            return cmdPause;
        case SkinButton::Open:
            break;
    }
    return cmdOpen;
}

void frmMain::ConnectPressFeedback(ImageButton* button, SkinButton which) {
    // Read from the skin on every press and release; a bitmap that is missing leaves the
    // button showing what it had.
    connect(button, &ImageButton::MouseDown, this, [this, button, which] {
        button->LoadPicture(PressFeedbackPath(SkinFolder, which, true));
    });
    connect(button, &ImageButton::MouseUp, this, [this, button, which] {
        button->LoadPicture(PressFeedbackPath(SkinFolder, which, false));
    });
}

void frmMain::itmCColour_Click(int index) {
    if (!cmdlg.ShowColor()) {
        return;
    }
    Colours[size_t(index)] = cmdlg.Color;
    ApplySkin();
}

void frmMain::itmSSkins_Click() {
    frmSkins skins(this);
    skins.SetValue(SkinFolder);
    ShowDialog(&skins);
    if (skins.ReturnState()) {
        SkinFolder = skins.GetValue();
        ApplySkin();
    }
}

QString frmMain::LyricsCaption() const {
    return LyricLines.LyricsTitle + " - " + AppTitle;
}

void frmMain::ShowLoadFailure() {
    platform::MsgBox(this, QStringLiteral("Could not read data file."), platform::MsgButtons::OK,
                     platform::MsgIcon::Exclamation, QStringLiteral("Playlist Loader"));
}

bool frmMain::OpenFile(const QString& path) {
    switch (playlist::KindOfOpenedFile(path)) {
        case playlist::OpenedFileKind::Lyrics:
            LyricLines.LyricsPath = path;
            LoadLyrics();
            // A failed load still leaves the table it read, which Play may show.
            PlayFromPlaylist = false;
            itmLAdd->setEnabled(true);
            cmdPlay->show();
            itmPPlay->setEnabled(true);
            return true;
        case playlist::OpenedFileKind::Playlist:
            playlist->LoadPlaylist(path);
            return true;
        case playlist::OpenedFileKind::Nothing:
            break;
    }
    return false;
}

void frmMain::cmdOpen_Click() {
    cmdlg.Filter = playlist::PlayerOpenFilter();
    if (!cmdlg.ShowOpen()) {
        return;
    }
    OpenFile(cmdlg.FileName);
}

bool frmMain::LoadLyrics() {
    if (!lyrics::LoadLyrics(LyricLines)) {
        ShowLoadFailure();
        return false;
    }
    setWindowTitle(LyricsCaption());
    if (LyricLines.LastLine < 0) {
        ShowLoadFailure();
        return false;
    }
    ShowLine(*lblNextLine, LyricLines.Rows[0].Text);
    SetListView(false, false);
    return true;
}

void frmMain::cmdPlay_Click() {
    if (PlayFromPlaylist) {
        itmLPlay_Click();
    } else if (LyricLines.LastLine >= 0) {
        StartDisplay();
    }
}

void frmMain::itmLPlay_Click() {
    itmWRedetect_Click();
    if (winamp::WinampHandle == 0) {
        return;
    }
    const int last = playlist->LastEntry();
    if (last < 0) {
        itmLPlay->setEnabled(false);
        return;
    }
    const int start = std::max(lstList->currentRow(), 0);
    if (RandomizeList) {
        BuildRandomOrder();
    } else {
        PlayOrder.resize(size_t(last) + 1);
        for (int k = 0; k <= last; ++k) {
            PlayOrder[size_t(k)] = qint16((start + k) % (last + 1));
        }
    }
    PlaylistPlaying = true;
    OrderPos = 0;
    SelectRow(PlayOrder[0]);
    itmLNew->setEnabled(false);
    itmLPlay->setEnabled(false);
    cmdNext->show();
    itmPNext->setEnabled(true);
    PlaySelectedEntry();
}

void frmMain::BuildRandomOrder() {
    const int last = playlist->LastEntry();
    if (last < 0) {
        return;
    }
    // A uniform shuffle with the selected row (or a random one) first.
    QRandomGenerator* random = QRandomGenerator::global();
    const int selected = lstList->currentRow();
    const int first = selected >= 0 && selected <= last ? selected : int(random->bounded(last + 1));
    PlayOrder.resize(size_t(last) + 1);
    for (int row = 0; row <= last; ++row) {
        PlayOrder[size_t(row)] = qint16(row);
    }
    std::swap(PlayOrder[0], PlayOrder[size_t(first)]);
    for (int i = last; i > 1; --i) {
        std::swap(PlayOrder[size_t(i)], PlayOrder[size_t(1 + random->bounded(i))]);
    }
    SelectRow(PlayOrder[0]);
}

void frmMain::SelectRow(int row) {
    lstList->setCurrentRow(row);
    lstList_Click();  // as a click would, also when the row was selected already
}

void frmMain::lstList_Click() {
    PlayFromPlaylist = true;
    setWindowTitle(AppTitle);
}

void frmMain::lstList_DblClick() {
    PlaySelectedEntry();
}

void frmMain::PlaySelectedEntry() {
    if (!PlaylistPlaying) {
        itmLPlay_Click();  // ends by playing the entry it selects
        return;
    }
    const int row = lstList->currentRow();
    if (row < 0 || row > playlist->LastEntry()) {
        return;
    }
    // Only one wait at a time: an entry started now ends any wait for the one before.
    tmrWait->stop();
    WaitingForStop = false;
    const playlist::PlaylistEntry& entry = playlist->Table().Entry(row);
    LyricLines.LyricsPath = entry.LyricsFile;
    LoadLyrics();
    winamp::SetListPosition(entry.TrackNumber - 1);
    StartDisplay();
}

bool frmMain::NextEntryStep() {
    const int last = int(PlayOrder.size()) - 1;
    if (!PlaylistPlaying || last < 0 || (!RepeatList && OrderPos >= last)) {
        return false;
    }
    // Rows removed since the order was built are passed over.
    for (int tries = 0; tries <= last; ++tries) {
        if (OrderPos >= last) {
            if (!RepeatList) {
                return false;
            }
            OrderPos = 0;
        } else {
            ++OrderPos;
        }
        if (PlayOrder[size_t(OrderPos)] <= playlist->LastEntry()) {
            SelectRow(PlayOrder[size_t(OrderPos)]);
            WaitingForStop = true;
            tmrWait->start();
            return true;
        }
    }
    return false;
}

void frmMain::tmrWait_Timer() {
    if (!WaitingForStop) {
        return;  // a tick left over from a wait that Stop or a new entry ended
    }
    // A paused song is still the song: only a stopped Winamp lets the next entry start.
    const platform::LRESULT state = winamp::PlayState();
    if (state == 1 || state == 3) {
        return;
    }
    tmrWait->stop();
    WaitingForStop = false;
    PlaySelectedEntry();
}

void frmMain::SetButtons(bool playing) {
    cmdPlay->setVisible(!playing);
    itmPPlay->setEnabled(!playing);
    cmdPause->setVisible(playing);
    itmPPause->setEnabled(playing);
    cmdOpen->setVisible(!playing);
    itmPOpen->setEnabled(!playing);
    cmdStop->setVisible(playing);
    itmPStop->setEnabled(playing);
}

void frmMain::StartDisplay() {
    itmWRedetect_Click();
    if (winamp::WinampHandle == 0 || LyricLines.LastLine < 0) {
        return;
    }
    SetButtons(true);
    itmLPlay->setEnabled(false);
    winampMenu->itmWPlay_Click();
    CurrentLine = 0;
    ShowLine(*lblCurrLine, LyricLines.Rows[0].Text);
    winamp::StopAfterCurrent();
    if (LyricLines.LastLine == 0) {
        // A single line is current at once and is also the last: the song is followed to
        // its end by Winamp alone, as when the last line is reached by the tick.
        ShowLine(*lblNextLine, EndOfSong);
        EndDisplay(true);
        return;
    }
    ShowLine(*lblNextLine, LyricLines.Rows[1].Text);
    tmr->start();
    SetListView(false, false);
}

void frmMain::tmr_Timer() {
    if (!tmr->isActive()) {
        return;  // a tick left over from a display that has ended
    }
    const double position = double(winamp::PositionMs());
    if (CurrentLine < 0 || CurrentLine >= LyricLines.LastLine) {
        ShowLine(*lblNextLine, EndOfSong);
        EndDisplay(true);
        return;
    }
    if (LyricLines.Rows[size_t(CurrentLine)].TimeMs > position) {
        return;
    }
    ++CurrentLine;
    ShowLine(*lblCurrLine, LyricLines.Rows[size_t(CurrentLine)].Text);
    if (CurrentLine >= LyricLines.LastLine) {
        ShowLine(*lblNextLine, EndOfSong);
        EndDisplay(true);
        return;
    }
    ShowLine(*lblNextLine, LyricLines.Rows[size_t(CurrentLine) + 1].Text);
}

void frmMain::EndDisplay(bool keepWinampPlaying) {
    tmr->stop();
    if (!keepWinampPlaying) {
        winampMenu->itmWStop_Click();
    }
    if (NextEntryStep()) {
        return;  // between entries: the buttons stay as they are
    }
    PlaylistPlaying = false;
    itmLNew->setEnabled(true);
    if (!playlist->PlaylistPath().isEmpty()) {
        SetListView(false, true);
    }
    SetButtons(false);
    cmdNext->hide();
    itmPNext->setEnabled(false);
    if (playlist->LastEntry() >= 0) {
        itmLPlay->setEnabled(true);
    }
}

void frmMain::cmdStop_Click() {
    PlaylistPlaying = false;
    tmrWait->stop();
    WaitingForStop = false;
    itmLNew->setEnabled(true);
    itmLPlay->setEnabled(true);
    cmdNext->hide();
    itmPNext->setEnabled(false);
    HideMenuBar(false);
    EndDisplay(false);
}

void frmMain::cmdNext_Click() {
    if (WaitingForStop) {
        // The song is already over; stop it now and let the wait start the entry it
        // has selected, so nothing is skipped and nothing starts twice.
        winampMenu->itmWStop_Click();
        return;
    }
    EndDisplay(false);
}

void frmMain::cmdPause_Click() {
    const platform::LRESULT state = winamp::PlayState();
    if (state == 1) {
        winampMenu->itmWPause_Click();
        tmr->stop();
        setWindowTitle(PausedPrefix + windowTitle());
    } else if (state == 3) {
        winampMenu->itmWPause_Click();
        if (!WaitingForStop) {  // the last line of a song waits with the display ended
            tmr->start();
        }
        setWindowTitle(LyricsCaption());
    }
}

void frmMain::itmOSFade_Click(int index) {
    itmOSFade[size_t(index)]->setChecked(true);
    itmOSFade[size_t(1 - index)]->setChecked(false);
}

void frmMain::itmLSmart_Click(int index) {
    itmLSmart[size_t(index)]->setChecked(true);
    itmLSmart[size_t(1 - index)]->setChecked(false);
    SetListView(false, false);
}

void frmMain::itmSCompact_Click() {
    itmSCompact->setChecked(!itmSCompact->isChecked());
}

void frmMain::ConnectToggle(QAction* item, void (frmMain::*command)()) {
    // The menu flips a checkable item by itself before the command runs; the command
    // flips it too, so the menu's flip is undone first.
    connect(item, &QAction::triggered, this, [this, item, command] {
        item->setChecked(!item->isChecked());
        (this->*command)();
    });
}

void frmMain::itmLVShow_Click() {
    if (itmLVShow->text().endsWith(QLatin1Char('w'))) {
        SetListView(true, true);
        itmLVShow->setText(QStringLiteral("&Hide"));
    } else {
        SetListView(true, false);
        itmLVShow->setText(QStringLiteral("S&how"));
    }
}

void frmMain::SetOuterHeight(int twips) {
    OuterHeight = twips;
    const bool menus = !menuBar()->isHidden();
    const int client = twips - TitleBarHeight - (menus ? MenuBarHeight : 0);
    setFixedSize(platform::Px(ClientWidth),
                 platform::Px(client) + (menus ? menuBar()->sizeHint().height() : 0));
}

void frmMain::SetListView(bool force, bool show) {
    if (!force && !itmLSmart[0]->isChecked()) {
        return;
    }
    if (show) {
        SetOuterHeight(FullHeight);
        itmLVShow->setText(QStringLiteral("&Hide"));
    } else if (itmSCompact->isChecked() && (tmr->isActive() || PlaylistPlaying)) {
        HideMenuBar(true);
        SetOuterHeight(CompactHeight);
    } else {
        SetOuterHeight(ShortHeight);
        itmLVShow->setText(QStringLiteral("S&how"));
    }
}

void frmMain::HideMenuBar(bool hide) {
    for (QMenu* menu : {mnuPlayback, mnuList, mnuControl, mnuWinamp, mnuHelp}) {
        menu->menuAction()->setVisible(!hide);
    }
    menuBar()->setVisible(!hide);
}

void frmMain::lblCurrLine_MouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::RightButton) {
        mnuPlayback->popup(globalPos);
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == lblCurrLine) {
            lblCurrLine_MouseUp(mouse->button(), mouse->globalPosition().toPoint());
        } else if (watched == lblRand && mouse->button() == Qt::LeftButton) {
            lblRand_Click();
        } else if (watched == lblRepeat && mouse->button() == Qt::LeftButton) {
            lblRepeat_Click();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QString frmMain::ReadSettings() {
    const lyrics::SettingsRead read = lyrics::ReadSettingsFile(platform::SettingsFilePath());
    const lyrics::Settings& v = read.Values;
    Colours = v.Colours;
    if (read.LinesRead >= 2) {
        move(platform::Px(v.Left), platform::Px(v.Top));
        // A position from another desktop (a screen since unplugged) comes back on screen.
        const QScreen* screen = QGuiApplication::screenAt(frameGeometry().center());
        if (screen == nullptr && QGuiApplication::primaryScreen() != nullptr) {
            move(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
        }
    }
    if (v.OnTop) {
        itmCOnTop_Click();
    }
    if (v.Compact) {
        itmSCompact_Click();
    }
    itmOSFade_Click(v.StopFade);
    itmLSmart_Click(v.ListView);
    playlist->itmOLSave_Click(v.ListSave);
    // The switches are set to the opposite and then flipped, so that their labels follow.
    RandomizeList = !v.Randomize;
    lblRand_Click();
    RepeatList = !v.Repeat;
    lblRepeat_Click();
    SkinFolder = v.SkinFolder;
    return v.PlaylistPath;
}

void frmMain::WriteSettings() {
    lyrics::Settings s;
    s.Colours = Colours;
    s.Left = platform::Twips(x());
    s.Top = platform::Twips(y());
    s.OnTop = itmCOnTop->isChecked();
    s.Compact = itmSCompact->isChecked();
    s.StopFade = itmOSFade[1]->isChecked() ? 1 : 0;
    s.ListView = itmLSmart[1]->isChecked() ? 1 : 0;
    s.ListSave = playlist->ListSaveIndex();
    s.Randomize = RandomizeList;
    s.Repeat = RepeatList;
    s.SkinFolder = SkinFolder;
    s.PlaylistPath = playlist->PlaylistPath();
    // A settings file that cannot be written is not worth a word on the way out; the
    // old one stays whole.
    lyrics::WriteSettingsFile(platform::SettingsFilePath(), s);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (playlist->AskSaveOnClose() == platform::MsgResult::Cancel) {
        event->ignore();  // the player stays open and Winamp plays on
        return;
    }
    cmdStop_Click();
    WriteSettings();
    event->accept();
}

void frmMain::itmCOnTop_Click() {
    itmCOnTop->setChecked(!itmCOnTop->isChecked());
    const bool onTop = itmCOnTop->isChecked();
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown) {
        show();  // changing the flags hides the window
    }
    if (!onTop) {
        lower();
    }
}

void frmMain::lblRand_Click() {
    RandomizeList = !RandomizeList;
    ShowSwitch(lblRand, RandomizeList);
}

void frmMain::lblRepeat_Click() {
    RepeatList = !RepeatList;
    ShowSwitch(lblRepeat, RepeatList);
}

void frmMain::ShowDialog(QDialog* dialog) {
    const bool onTop = itmCOnTop->isChecked();
    if (onTop) {
        itmCOnTop_Click();
    }
    platform::ShowModal(dialog, this);
    if (onTop) {
        itmCOnTop_Click();
    }
}

void frmMain::itmHHelp_Click() {
    platform::MsgBox(this,
                     QStringLiteral("For your viewing convenience, the interactive help file, "
                                    "ReadMe.HTM, is stored at ") +
                         platform::ResourceFolder() + platform::PathSeparator(),
                     platform::MsgButtons::OK, platform::MsgIcon::None, QStringLiteral("Help"));
}

void frmMain::itmHAbout_Click() {
    frmAbout about(this);
    ShowDialog(&about);
}

}  // namespace player
