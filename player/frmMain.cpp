#include "player/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QColor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>

#include "lyrics/LyricsFile.h"
#include "platform/Folders.h"
#include "platform/Menus.h"
#include "platform/Modal.h"
#include "platform/Product.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"
#include "player/ImageButton.h"
#include "player/LineFit.h"
#include "player/ListView.h"
#include "player/OpenedFileKind.h"
#include "player/PlaylistTexts.h"
#include "player/Skin.h"
#include "player/frmAbout.h"
#include "player/frmSkins.h"
#include "playlist/EntryCommands.h"
#include "playlist/PlaylistCommands.h"
#include "playlist/PlaylistList.h"
#include "winamp/Messages.h"
#include "winamp/WinampMenu.h"

namespace player {

namespace {

const QString PausedPrefix = QStringLiteral("-- PAUSED -- ");

// Layout in twips, as designed: client area 6870 wide; the outer heights include the title
// bar and the menu bar.
constexpr int ClientWidth = 6870;
constexpr int TitleBarHeight = 375;
constexpr int MenuBarHeight = 300;
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

void SetTextColour(QWidget* widget, QPalette::ColorRole role, std::uint32_t bgr) {
    QPalette colours = widget->palette();
    colours.setColor(role, platform::ColorFromBgr(bgr));
    widget->setPalette(colours);
}

QAction* AddItem(QMenu* menu, const QString& name, const QString& caption,
                 const QKeySequence& key = QKeySequence()) {
    return platform::AddMenuItem(menu, name, caption, key);
}

QMenu* AddSubmenu(QMenu* menu, const char* name, const QString& caption) {
    QMenu* submenu = menu->addMenu(caption);
    submenu->setObjectName(QString::fromLatin1(name));
    submenu->menuAction()->setObjectName(QString::fromLatin1(name));
    return submenu;
}

// Two items of which exactly one is ticked, each running command with its index.
template <typename Command>
void AddChoice(QMenu* menu, std::array<QAction*, 2>& items, const char* name,
               const std::array<QString, 2>& captions, QObject* receiver, Command command) {
    for (int i = 0; i < 2; ++i) {
        items[size_t(i)] =
            AddItem(menu, QString::fromLatin1(name) + QString::number(i), captions[size_t(i)]);
        items[size_t(i)]->setCheckable(true);
        QObject::connect(items[size_t(i)], &QAction::triggered, receiver,
                         [command, i] { command(i); });
    }
}

void Tick(std::array<QAction*, 2>& items, int index) {
    items[size_t(index)]->setChecked(true);
    items[size_t(1 - index)]->setChecked(false);
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), cmdlg(this) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(platform::PlayerTitle);
    BuildControls();
    BuildMenus();
    SetOuterHeight(FullHeight);
    setAcceptDrops(true);
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
    ShowSwitches();
    connect(&Playlist, &playlist::Playlist::SwitchesChanged, this, &frmMain::ShowSwitches);

    auto button = [this, client](const char* name, int left, SkinButton which) {
        auto* b = new ImageButton(client);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(platform::TwipsRect(left, ButtonTop, ButtonWidth, ButtonHeight));
        ConnectPressFeedback(b, which);
        return b;
    };
    cmdOpen = button("cmdOpen", 120, SkinButton::Open);
    cmdPlay = button("cmdPlay", 2760, SkinButton::Play);
    cmdNext = button("cmdNext", 2760, SkinButton::Next);
    cmdPause = button("cmdPause", 4200, SkinButton::Pause);
    cmdStop = button("cmdStop", 5640, SkinButton::Stop);
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

    lstList = new playlist::PlaylistList(Playlist, client);
    lstList->setObjectName(QStringLiteral("lstList"));
    lstList->setGeometry(platform::TwipsRect(120, 2040, 6615, 2985));
    lstList->setToolTip(QStringLiteral("Double-click to play"));
    connect(&Playlist, &playlist::Playlist::SelectionChanged, this, [this](int row) {
        if (row >= 0) {
            lstList_Click();
        }
    });
    connect(lstList, &QListWidget::itemDoubleClicked, this, &frmMain::lstList_DblClick);
    lstList->viewport()->installEventFilter(this);
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

    BuildPlaylistMenu();
    BuildSettingsMenu();

    // F5 to F8 belong to the Playback menu, so Winamp's own Play, Stop and Pause have no keys.
    winampMenu = new winamp::WinampMenu(Winamp, this, false, QStringLiteral("&Close"));
    mnuWinamp = winampMenu->mnuWinamp;
    menuBar()->addMenu(mnuWinamp);
    connect(winampMenu->itmWStop, &QAction::triggered, this, &frmMain::itmWStop_Click);
    connect(winampMenu->itmWClose, &QAction::triggered, this, &frmMain::itmWClose_Click);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    itmHHelp = AddItem(mnuHelp, "itmHHelp", QStringLiteral("&Help"));
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("itmHBreak"));
    itmHAbout = AddItem(mnuHelp, "itmHAbout", QStringLiteral("&About..."), Qt::Key_F1);
    connect(itmHHelp, &QAction::triggered, this, &frmMain::itmHHelp_Click);
    connect(itmHAbout, &QAction::triggered, this, &frmMain::itmHAbout_Click);
}

void frmMain::BuildPlaylistMenu() {
    mnuList = menuBar()->addMenu(QStringLiteral("P&laylist"));
    mnuList->setObjectName(QStringLiteral("mnuList"));
    itmLPlay = AddItem(mnuList, "itmLPlay", QStringLiteral("&Play"),
                       QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuList->addSeparator();
    itmLNew = AddItem(mnuList, "itmLNew", QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    itmLOpen = AddItem(mnuList, "itmLOpen", QStringLiteral("&Open..."),
                       QKeySequence(Qt::CTRL | Qt::Key_O));
    itmLSave = AddItem(mnuList, "itmLSave", QStringLiteral("&Save"),
                       QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuList->addSeparator();
    mnuListPop = AddSubmenu(mnuList, "mnuListPop", QStringLiteral("&Track"));
    itmLAdd = AddItem(mnuListPop, "itmLAdd", QStringLiteral("&Add..."),
                      QKeySequence(Qt::CTRL | Qt::Key_A));
    itmLEdit = AddItem(mnuListPop, "itmLEdit", QStringLiteral("&Edit..."), Qt::Key_F2);
    itmLRemove = AddItem(mnuListPop, "itmLRemove", QStringLiteral("&Remove..."), Qt::Key_Delete);
    mnuList->addSeparator();
    itmLVShow = AddItem(mnuList, "itmLVShow", QStringLiteral("S&how"), Qt::Key_F11);
    mnuList->addSeparator();
    itmLS = AddSubmenu(mnuList, "itmLS", QStringLiteral("So&rt"));
    itmLSort[0] = AddItem(itmLS, "itmLSort0", QStringLiteral("&Artist"));
    itmLSort[1] = AddItem(itmLS, "itmLSort1", QStringLiteral("&Title"));
    itmLSort[2] = AddItem(itmLS, "itmLSort2", QStringLiteral("T&rack"));
    itmLShift = AddItem(mnuList, "itmLShift", QStringLiteral("Sh&ift..."));

    connect(itmLPlay, &QAction::triggered, this, &frmMain::itmLPlay_Click);
    connect(itmLNew, &QAction::triggered, this, &frmMain::itmLNew_Click);
    connect(itmLOpen, &QAction::triggered, this, &frmMain::cmdOpen_Click);
    connect(itmLSave, &QAction::triggered, this, &frmMain::itmLSave_Click);
    connect(itmLVShow, &QAction::triggered, this, &frmMain::itmLVShow_Click);
    connect(itmLAdd, &QAction::triggered, this, &frmMain::itmLAdd_Click);
    connect(itmLEdit, &QAction::triggered, this, &frmMain::itmLEdit_Click);
    connect(itmLRemove, &QAction::triggered, this, &frmMain::itmLRemove_Click);
    for (int i = 0; i < int(itmLSort.size()); ++i) {
        connect(itmLSort[size_t(i)], &QAction::triggered, this, [this, i] { itmLSort_Click(i); });
    }
    connect(itmLShift, &QAction::triggered, this, &frmMain::itmLShift_Click);
    connect(&Playlist, &playlist::Playlist::ModifiedChanged, itmLSave, &QAction::setEnabled);
    EnablePlaylistCommands(false);
    itmLSave->setEnabled(false);
}

void frmMain::BuildSettingsMenu() {
    mnuControl = menuBar()->addMenu(QStringLiteral("&Settings"));
    mnuControl->setObjectName(QStringLiteral("mnuControl"));
    itmCOnTop = AddItem(mnuControl, "itmCOnTop", QStringLiteral("&Always On Top"), Qt::Key_F12);
    itmCOnTop->setCheckable(true);
    connect(itmCOnTop, &QAction::triggered, this, &frmMain::itmCOnTop_Click);
    itmSCompact = AddItem(mnuControl, "itmSCompact", QStringLiteral("&Retract to Compact"));
    itmSCompact->setCheckable(true);
    connect(itmSCompact, &QAction::triggered, this, &frmMain::itmSCompact_Click);
    mnuControl->addSeparator();
    QMenu* colours = mnuControl->addMenu(QStringLiteral("&Colours"));
    const std::array<QString, 3> colourCaptions{QStringLiteral("&Background..."),
                                                QStringLiteral("&Current Line..."),
                                                QStringLiteral("&Next Line...")};
    for (int i = 0; i < 3; ++i) {
        itmCColour[size_t(i)] = AddItem(colours, QStringLiteral("itmCColour%1").arg(i),
                                        colourCaptions[size_t(i)]);
        connect(itmCColour[size_t(i)], &QAction::triggered, this,
                [this, i] { itmCColour_Click(i); });
    }
    itmSSkins = AddItem(mnuControl, "itmSSkins", QStringLiteral("&Skins..."));
    connect(itmSSkins, &QAction::triggered, this, &frmMain::itmSSkins_Click);
    mnuControl->addSeparator();
    AddChoice(mnuControl->addMenu(QStringLiteral("&Playlist Visibility")), itmLSmart, "itmLSmart",
              {QStringLiteral("&Autohide"), QStringLiteral("&Manual")}, this,
              [this](int i) { itmLSmart_Click(i); });
    itmOLS = AddSubmenu(mnuControl, "itmOLS", QStringLiteral("Playlist Save"));
    AddChoice(itmOLS, itmOLSave, "itmOLSave", {QStringLiteral("&On Change"), QStringLiteral("&Manual")},
              this, [this](int i) { itmOLSave_Click(i); });
    itmOStop = AddSubmenu(mnuControl, "itmOStop", QStringLiteral("&Stop Mode"));
    AddChoice(itmOStop, itmOSFade, "itmOSFade", {QStringLiteral("&Fade"), QStringLiteral("&Immediate")},
              this, [this](int i) { itmOSFade_Click(i); });
    Tick(itmLSmart, Settings.ListView);
    Tick(itmOLSave, int(Playlist.GetSaveMode()));
    Tick(itmOSFade, Settings.StopFade);
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
    ReadSettings();
    ApplySkin();
    // A remembered playlist that can no longer be read leaves a new, empty one.
    if (Settings.PlaylistPath.isEmpty() || !LoadPlaylist(Settings.PlaylistPath)) {
        itmLNew_Click();
    }
}

void frmMain::ReadSettings() {
    const lyrics::SettingsRead read = lyrics::ReadSettingsFile(platform::SettingsFilePath());
    Settings = read.Values;
    if (read.LinesRead >= 2) {
        move(platform::Px(Settings.Left), platform::Px(Settings.Top));
        // A position from another desktop (a screen since unplugged) comes back on screen.
        const QScreen* screen = QGuiApplication::screenAt(frameGeometry().center());
        if (screen == nullptr && QGuiApplication::primaryScreen() != nullptr) {
            move(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
        }
    }
    // The two toggles start off and are switched on through their commands.
    Settings.OnTop = Settings.Compact = false;
    if (read.Values.OnTop) {
        itmCOnTop_Click();
    }
    if (read.Values.Compact) {
        itmSCompact_Click();
    }
    itmOSFade_Click(Settings.StopFade);
    itmLSmart_Click(Settings.ListView);
    itmOLSave_Click(Settings.ListSave);
    Playlist.SetRandomizeList(Settings.Randomize);
    Playlist.SetRepeatList(Settings.Repeat);
}

void frmMain::WriteSettings() {
    lyrics::Settings s = Settings;
    s.Left = platform::Twips(x());
    s.Top = platform::Twips(y());
    s.ListSave = int(Playlist.GetSaveMode());
    s.Randomize = Playlist.RandomizeList();
    s.Repeat = Playlist.RepeatList();
    s.PlaylistPath = Playlist.PlaylistPath();
    // A settings file that cannot be written is not worth a word on the way out; the
    // old one stays whole.
    lyrics::WriteSettingsFile(platform::SettingsFilePath(), s);
}

void frmMain::closeEvent(QCloseEvent* event) {
    const platform::MsgResult answer =
        playlist::AskSaveOnClose(Playlist, this, [this] { itmLSave_Click(); });
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
    Winamp.Stop(Settings.StopFade == 1);
}

void frmMain::itmWClose_Click() {
    Winamp.Close();
}

void frmMain::ApplySkin() {
    auto applyColours = [this] {
        SetTextColour(centralWidget(), QPalette::Window, Settings.Colours[0]);
        SetTextColour(lblCurrLine, QPalette::WindowText, Settings.Colours[1]);
        SetTextColour(lblNextLine, QPalette::WindowText, Settings.Colours[2]);
    };
    auto load = [this](SkinButton button, const QString& path) {
        return ButtonFor(button)->LoadPicture(path);
    };
    const SkinLoadResult result = LoadSkin(Settings.SkinFolder, load, applyColours);
    Settings.SkinFolder = result.SkinFolder;
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
        button->LoadPicture(PressFeedbackPath(Settings.SkinFolder, which, true));
    });
    connect(button, &ImageButton::MouseUp, this, [this, button, which] {
        button->LoadPicture(PressFeedbackPath(Settings.SkinFolder, which, false));
    });
}

void frmMain::itmCColour_Click(int index) {
    if (!cmdlg.ShowColor()) {
        return;
    }
    Settings.Colours[size_t(index)] = cmdlg.Color;
    ApplySkin();
}

void frmMain::itmSSkins_Click() {
    frmSkins skins(this);
    skins.SetValue(Settings.SkinFolder);
    ShowDialog(&skins);
    if (skins.ReturnState()) {
        Settings.SkinFolder = skins.GetValue();
        ApplySkin();
    }
}

QString frmMain::LyricsCaption() const {
    return LyricLines.LyricsTitle + QStringLiteral(" - ") + platform::PlayerTitle;
}

void frmMain::ShowLoadFailure(const QString& text) {
    platform::MsgBox(this, text, platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                     QStringLiteral("Playlist Loader"));
}

bool frmMain::OpenFile(const QString& path) {
    switch (KindOfOpenedFile(path)) {
        case OpenedFileKind::Lyrics:
            LyricLines.LyricsPath = path;
            LoadLyrics();
            // A failed load still leaves the table it read, which Play may show.
            PlayFromPlaylist = false;
            itmLAdd->setEnabled(true);
            cmdPlay->show();
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

bool frmMain::LoadPlaylist(const QString& path) {
    if (!playlist::ReadPlaylist(Playlist, path, this, ReadFailureText)) {
        return false;
    }
    SetListView(true, true);
    EnablePlaylistCommands(true);
    cmdPlay->show();
    itmPPlay->setEnabled(true);
    if (Playlist.RandomizeList()) {
        Playlist.BuildRandomOrder(*QRandomGenerator::global());
    }
    PlayFromPlaylist = true;
    setWindowTitle(platform::PlayerTitle);
    return true;
}

void frmMain::itmLNew_Click() {
    Playlist.Clear();
    SetListView(false, false);
    EnablePlaylistCommands(false);
}

void frmMain::itmLSave_Click() {
    playlist::SavePlaylist(Playlist, true, this, cmdlg);
}

void frmMain::PlaylistChanged() {
    playlist::SavePlaylist(Playlist, false, this, cmdlg);
}

void frmMain::itmLAdd_Click() {
    // The lyrics on display, if any, are offered for the song Winamp is on.
    if (!playlist::AddEntry(Playlist, Winamp, this, showDialog,
                            LyricLines.LyricsTitle, LyricLines.LyricsPath)) {
        return;
    }
    itmLPlay->setEnabled(true);
    itmPPlay->setEnabled(true);
    PlaylistChanged();
    if (Playlist.RandomizeList()) {
        Playlist.BuildRandomOrder(*QRandomGenerator::global());
    }
}

void frmMain::itmLEdit_Click() {
    if (playlist::EditEntry(Playlist, Winamp, this, showDialog)) {
        PlaylistChanged();
    }
}

void frmMain::itmLRemove_Click() {
    if (!playlist::RemoveEntry(Playlist, this, RemoveQuestion)) {
        return;
    }
    if (Playlist.Table().IsEmpty()) {
        itmLNew_Click();
    } else {
        PlaylistChanged();
    }
}

void frmMain::itmLSort_Click(int index) {
    if (playlist::SortPlaylist(Playlist, playlist::SortBy(index))) {
        PlaylistChanged();
    }
}

void frmMain::itmLShift_Click() {
    if (playlist::ShiftEntries(Playlist, showDialog)) {
        PlaylistChanged();
    }
}

void frmMain::lstList_MouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::RightButton) {
        mnuListPop->popup(globalPos);
    }
}

void frmMain::EnablePlaylistCommands(bool enabled) {
    for (QAction* item : {itmLAdd, itmLEdit, itmLRemove, itmLPlay, itmLS->menuAction(), itmLShift}) {
        item->setEnabled(enabled);
    }
}

void frmMain::itmOLSave_Click(int index) {
    Tick(itmOLSave, index);
    Playlist.SetSaveMode(playlist::SaveMode(index));
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
    if (Winamp.WinampHandle == 0) {
        return;
    }
    if (!Playlist.StartPlayback(*QRandomGenerator::global())) {
        itmLPlay->setEnabled(false);
        return;
    }
    itmLNew->setEnabled(false);
    itmLPlay->setEnabled(false);
    SetNextShown(true);
    PlaySelectedEntry();
}

void frmMain::lstList_Click() {
    PlayFromPlaylist = true;
    setWindowTitle(platform::PlayerTitle);
}

void frmMain::lstList_DblClick() {
    PlaySelectedEntry();
}

void frmMain::PlaySelectedEntry() {
    if (!Playlist.PlaylistPlaying()) {
        itmLPlay_Click();  // ends by playing the entry it selects
        return;
    }
    const int row = Playlist.SelectedEntry();
    if (row < 0 || row > Playlist.LastEntry()) {
        return;
    }
    // Only one wait at a time: an entry started now ends any wait for the one before.
    tmrWait->stop();
    WaitingForStop = false;
    const playlist::PlaylistEntry entry = Playlist.Table().Entry(row);
    LyricLines.LyricsPath = entry.LyricsFile;
    LoadLyrics();
    Winamp.SetListPosition(entry.TrackNumber - 1);
    StartDisplay();
}

void frmMain::tmrWait_Timer() {
    if (!WaitingForStop) {
        return;  // a tick left over from a wait that Stop or a new entry ended
    }
    // A paused song is still the song: only a stopped Winamp lets the next entry start.
    const platform::LRESULT state = Winamp.PlayState();
    if (state == winamp::StatePlaying || state == winamp::StatePaused) {
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

void frmMain::SetNextShown(bool shown) {
    cmdNext->setVisible(shown);
    itmPNext->setEnabled(shown);
}

void frmMain::ShowLineView(const LineView& view) {
    if (view.Current) {
        ShowLine(*lblCurrLine, *view.Current);
    }
    ShowLine(*lblNextLine, view.Next);
    if (view.Ended) {
        EndDisplay(true);
    }
}

void frmMain::StartDisplay() {
    itmWRedetect_Click();
    if (Winamp.WinampHandle == 0 || LyricLines.LastLine < 0) {
        return;
    }
    if (Paused) {
        setWindowTitle(LyricsCaption());
        Paused = false;
    }
    SetButtons(true);
    itmLPlay->setEnabled(false);
    winampMenu->itmWPlay_Click();
    const LineView view = Follower.Start();
    ShowLine(*lblCurrLine, *view.Current);
    Winamp.StopAfterCurrent();
    if (view.Ended) {
        // A single line is current at once and is also the last: the song is followed to
        // its end by Winamp alone, as when the last line is reached by the tick.
        ShowLineView(view);
        return;
    }
    ShowLine(*lblNextLine, view.Next);
    tmr->start();
    SetListView(false, false);
}

void frmMain::tmr_Timer() {
    if (!tmr->isActive()) {
        return;  // a tick left over from a display that has ended
    }
    if (const std::optional<LineView> view = Follower.Tick(double(Winamp.TickPositionMs()))) {
        ShowLineView(*view);
    }
}

void frmMain::EndDisplay(bool keepWinampPlaying) {
    tmr->stop();
    if (!keepWinampPlaying) {
        itmWStop_Click();
    }
    if (Playlist.NextEntry()) {
        // Between entries: the buttons stay as they are until Winamp has stopped.
        WaitingForStop = true;
        tmrWait->start();
        return;
    }
    itmLNew->setEnabled(true);
    if (!Playlist.PlaylistPath().isEmpty()) {
        SetListView(false, true);
    }
    SetButtons(false);
    SetNextShown(false);
    if (Playlist.LastEntry() >= 0) {
        itmLPlay->setEnabled(true);
    }
}

void frmMain::cmdStop_Click() {
    Playlist.StopPlayback();
    tmrWait->stop();
    WaitingForStop = false;
    if (Paused) {
        setWindowTitle(LyricsCaption());
        Paused = false;
    }
    itmLNew->setEnabled(true);
    itmLPlay->setEnabled(true);
    SetNextShown(false);
    HideMenuBar(false);
    EndDisplay(false);
}

void frmMain::cmdNext_Click() {
    if (WaitingForStop) {
        // The song is already over; stop it now and let the wait start the entry it
        // has selected, so nothing is skipped and nothing starts twice.
        itmWStop_Click();
        return;
    }
    EndDisplay(false);
}

void frmMain::cmdPause_Click() {
    const platform::LRESULT state = Winamp.PlayState();
    if (state == winamp::StatePlaying) {
        winampMenu->itmWPause_Click();
        tmr->stop();
        if (!Paused) {
            setWindowTitle(PausedPrefix + windowTitle());
            Paused = true;
        }
    } else if (state == winamp::StatePaused) {
        winampMenu->itmWPause_Click();
        if (!WaitingForStop) {  // the last line of a song waits with the display ended
            tmr->start();
        }
        setWindowTitle(LyricsCaption());
        Paused = false;
    }
}

void frmMain::itmOSFade_Click(int index) {
    Tick(itmOSFade, index);
    Settings.StopFade = index;
}

void frmMain::itmLSmart_Click(int index) {
    Tick(itmLSmart, index);
    Settings.ListView = index;
    SetListView(false, false);
}

void frmMain::itmSCompact_Click() {
    Settings.Compact = !Settings.Compact;
    itmSCompact->setChecked(Settings.Compact);
}

void frmMain::itmLVShow_Click() {
    const bool show = itmLVShow->text().endsWith(QLatin1Char('w'));
    SetListView(true, show);
    itmLVShow->setText(show ? QStringLiteral("&Hide") : QStringLiteral("S&how"));
}

void frmMain::SetOuterHeight(int twips) {
    OuterHeight = twips;
    const bool menus = !menuBar()->isHidden();
    const int client = twips - TitleBarHeight - (menus ? MenuBarHeight : 0);
    setFixedSize(platform::Px(ClientWidth),
                 platform::Px(client) + (menus ? menuBar()->sizeHint().height() : 0));
}

void frmMain::SetListView(bool force, bool show) {
    const bool following = tmr->isActive() || Playlist.PlaylistPlaying();
    const std::optional<ListViewChange> change =
        DecideListView(force, show, Settings.ListView == 0, Settings.Compact, following);
    if (!change) {
        return;
    }
    if (change->HideMenuBar) {
        HideMenuBar(true);
    }
    SetOuterHeight(change->OuterHeight);
    if (change->CaptionHide) {
        itmLVShow->setText(*change->CaptionHide ? QStringLiteral("&Hide") : QStringLiteral("S&how"));
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
    // Mouse events only: the other filtered controls get events while the window is still
    // being built, before lstList exists.
    if ((event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick ||
         event->type() == QEvent::MouseButtonRelease) &&
        watched == lstList->viewport() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        // The right button only pops up the "&Track" menu; it never moves the selection.
        if (event->type() == QEvent::MouseButtonRelease) {
            lstList_MouseUp(Qt::RightButton,
                            static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        }
        return true;
    }
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

void frmMain::itmCOnTop_Click() {
    Settings.OnTop = !Settings.OnTop;
    itmCOnTop->setChecked(Settings.OnTop);
    platform::SetAlwaysOnTop(this, Settings.OnTop);
}

void frmMain::lblRand_Click() {
    Playlist.SetRandomizeList(!Playlist.RandomizeList());
}

void frmMain::lblRepeat_Click() {
    Playlist.SetRepeatList(!Playlist.RepeatList());
}

void frmMain::ShowSwitches() {
    ShowSwitch(lblRand, Playlist.RandomizeList());
    ShowSwitch(lblRepeat, Playlist.RepeatList());
}

void frmMain::ShowDialog(QDialog* dialog) {
    platform::ShowModalFromTop(dialog, this, Settings.OnTop, [this] { itmCOnTop_Click(); });
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
