#include "encoder/frmMain.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QCloseEvent>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPalette>
#include <QProcess>
#include <QPushButton>

#include "encoder/SourceText.h"
#include "encoder/frmAbout.h"
#include "encoder/frmBio.h"
#include "encoder/frmEdit.h"
#include "encoder/frmOpen.h"
#include "lyrics/LrcFile.h"
#include "lyrics/LyricsFile.h"
#include "platform/Folders.h"
#include "platform/Menus.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/Product.h"
#include "platform/Twips.h"
#include "playlist/EntryCommands.h"
#include "playlist/PlaylistCommands.h"
#include "playlist/PlaylistList.h"
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

QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& key = QKeySequence()) {
    return platform::AddMenuItem(menu, QString::fromLatin1(name), caption, key);
}

QMenu* AddMenu(QMenu* parent, QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = parent != nullptr ? parent->addMenu(caption) : bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette colours = widget->palette();
    colours.setColor(role, colour);
    widget->setPalette(colours);
}

void SetBold(QWidget* widget, bool bold) {
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

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

    auto label = [client](const char* name, const QString& text, const QRect& place) {
        auto* l = new QLabel(text, client);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(place);
        return l;
    };
    lblCurrLine = label("lblCurrLine", QStringLiteral(":o)"), platform::TwipsRect(0, 0, 6855, 1095));
    QFont big(QStringLiteral("Verdana Ref"));
    big.setPointSizeF(18);
    big.setBold(true);
    lblCurrLine->setFont(big);
    lblCurrLine->setAlignment(Qt::AlignCenter);
    lblCurrLine->setWordWrap(true);
    lblNextLine = label("lblNextLine", QStringLiteral(":o)"), platform::TwipsRect(0, 1080, 6855, 375));
    QFont small(QStringLiteral("Arial"));
    small.setPointSizeF(9.75);
    small.setBold(true);
    lblNextLine->setFont(small);
    lblNextLine->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto button = [client](const char* name, const QString& caption, int left) {
        auto* b = new QPushButton(caption, client);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(platform::TwipsRect(left, 1560, 1095, 375));
        return b;
    };
    cmdOpen = button("cmdOpen", QStringLiteral("@ &Wizard"), 120);
    cmdPlay = button("cmdPlay", QStringLiteral("&Start!"), 3240);
    cmdNext = button("cmdNext", QStringLiteral("&Next Line"), 4440);
    cmdStop = button("cmdStop", QStringLiteral("&Stop"), 5640);
    for (QPushButton* b : {cmdPlay, cmdNext, cmdStop}) {
        b->setEnabled(false);
    }
    connect(cmdOpen, &QPushButton::clicked, this, &frmMain::cmdOpen_Click);
    connect(cmdPlay, &QPushButton::clicked, this, &frmMain::cmdPlay_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmMain::cmdNext_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmMain::cmdStop_Click);

    const std::array<QString, 2> views{QStringLiteral("Current File View"),
                                       QStringLiteral("Current Playlist View")};
    for (int i = 0; i < 2; ++i) {
        lbl[size_t(i)] = label(qPrintable(QStringLiteral("lbl%1").arg(i)), views[size_t(i)],
                               platform::TwipsRect(120 + 2160 * i, 2040, 2055, 255));
        lbl[size_t(i)]->setAlignment(Qt::AlignCenter);
        lbl[size_t(i)]->setAutoFillBackground(true);
        SetColour(lbl[size_t(i)], QPalette::Window, Qt::black);
        SetColour(lbl[size_t(i)], QPalette::WindowText, Qt::white);
        SetBold(lbl[size_t(i)], i == 0);
        lbl[size_t(i)]->installEventFilter(this);
    }

    lstFile = new QListWidget(client);
    lstFile->setObjectName(QStringLiteral("lstFile"));
    lstFile->setGeometry(platform::TwipsRect(120, 2280, 6615, 2595));
    lstFile->setUniformItemSizes(true);
    lstFile->viewport()->installEventFilter(this);

    lstList = new playlist::PlaylistList(Playlist, client);
    lstList->setObjectName(QStringLiteral("lstList"));
    lstList->viewport()->installEventFilter(this);
}

void frmMain::BuildMenus() {
    mnuF = AddMenu(nullptr, menuBar(), "mnuF", QStringLiteral("&File"));
    itmFWizard = AddItem(mnuF, "itmFWizard", QStringLiteral("@ &Wizard"), Qt::Key_F12);
    mnuF->addSeparator();
    itmFREdit = AddItem(mnuF, "itmFREdit", QStringLiteral("&Edit"), QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(itmFWizard, &QAction::triggered, this, &frmMain::itmFWizard_Click);
    connect(itmFREdit, &QAction::triggered, this, &frmMain::itmFREdit_Click);
    itmFExport = AddItem(mnuF, "itmFExport", QStringLiteral("Export as &LRC..."));
    connect(itmFExport, &QAction::triggered, this, &frmMain::itmFExport_Click);

    mnuFile = AddMenu(nullptr, menuBar(), "mnuFile", QStringLiteral("&Quickfix"));
    itmFAdd = AddItem(mnuFile, "itmFAdd", QStringLiteral("&Add..."));
    itmFEdit = AddItem(mnuFile, "itmFEdit", QStringLiteral("&Edit..."));
    itmFRemove = AddItem(mnuFile, "itmFRemove", QStringLiteral("&Remove..."));
    mnuFile->addSeparator();
    itmFTitle = AddItem(mnuFile, "itmFTitle", QStringLiteral("&Title..."));
    connect(itmFAdd, &QAction::triggered, this, &frmMain::itmFAdd_Click);
    connect(itmFEdit, &QAction::triggered, this, &frmMain::itmFEdit_Click);
    connect(itmFRemove, &QAction::triggered, this, &frmMain::itmFRemove_Click);
    connect(itmFTitle, &QAction::triggered, this, &frmMain::itmFTitle_Click);

    BuildPlaylistMenu();

    mnuControl = AddMenu(nullptr, menuBar(), "mnuControl", QStringLiteral("&Control"));
    itmCOnTop = AddItem(mnuControl, "itmCOnTop", QStringLiteral("&On Top"), Qt::Key_F5);
    itmCOnTop->setCheckable(true);
    mnuControl->addSeparator();
    itmCEvoke = AddItem(mnuControl, "itmCEvoke", QStringLiteral("&Evoke Player"),
                        QKeySequence(Qt::CTRL | Qt::Key_L));
    mnuControl->addSeparator();
    itmCAbout = AddItem(mnuControl, "itmCAbout", QStringLiteral("&About..."), Qt::Key_F1);
    connect(itmCOnTop, &QAction::triggered, this, &frmMain::itmCOnTop_Click);
    connect(itmCEvoke, &QAction::triggered, this, &frmMain::itmCEvoke_Click);
    connect(itmCAbout, &QAction::triggered, this, &frmMain::itmCAbout_Click);

    winampMenu = new winamp::WinampMenu(Winamp, this, true, QStringLiteral("&Close..."));
    mnuWinamp = winampMenu->mnuWinamp;
    menuBar()->addMenu(mnuWinamp);
    connect(winampMenu->itmWStop, &QAction::triggered, this, &frmMain::itmWStop_Click);
    connect(winampMenu->itmWClose, &QAction::triggered, this, &frmMain::itmWClose_Click);
}

void frmMain::BuildPlaylistMenu() {
    mnuList = AddMenu(nullptr, menuBar(), "mnuList", QStringLiteral("&Playlist"));
    itmLNew = AddItem(mnuList, "itmLNew", QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    itmLLoad = AddItem(mnuList, "itmLLoad", QStringLiteral("&Open..."),
                       QKeySequence(Qt::CTRL | Qt::Key_O));
    itmLSave[0] = AddItem(mnuList, "itmLSave0", QStringLiteral("&Save"),
                          QKeySequence(Qt::CTRL | Qt::Key_S));
    itmLSave[1] = AddItem(mnuList, "itmLSave1", QStringLiteral("S&ave As..."));
    mnuList->addSeparator();
    mnuListPop = AddMenu(mnuList, nullptr, "mnuListPop", QStringLiteral("&Track"));
    QMenu* itmLA = AddMenu(mnuListPop, nullptr, "itmLA", QStringLiteral("&Add"));
    itmLAdd[0] = AddItem(itmLA, "itmLAdd0", QStringLiteral("&Current..."));
    itmLAdd[1] = AddItem(itmLA, "itmLAdd1", QStringLiteral("&New..."));
    itmLEdit = AddItem(mnuListPop, "itmLEdit", QStringLiteral("&Edit..."));
    itmLRemove = AddItem(mnuListPop, "itmLRemove", QStringLiteral("&Remove..."));
    mnuList->addSeparator();
    itmLS = AddMenu(mnuList, nullptr, "itmLS", QStringLiteral("So&rt"));
    const std::array<QString, 3> sorts{QStringLiteral("&Artist"), QStringLiteral("&Title"),
                                       QStringLiteral("T&rack")};
    for (int i = 0; i < 3; ++i) {
        itmLSort[size_t(i)] = AddItem(itmLS, qPrintable(QStringLiteral("itmLSort%1").arg(i)),
                                      sorts[size_t(i)]);
        connect(itmLSort[size_t(i)], &QAction::triggered, this, [this, i] { itmLSort_Click(i); });
    }
    itmLShift = AddItem(mnuList, "itmLShift", QStringLiteral("S&hift..."));
    for (int i = 0; i < 2; ++i) {
        connect(itmLSave[size_t(i)], &QAction::triggered, this, [this, i] { itmLSave_Click(i); });
        connect(itmLAdd[size_t(i)], &QAction::triggered, this, [this, i] { itmLAdd_Click(i); });
    }
    connect(itmLNew, &QAction::triggered, this, &frmMain::itmLNew_Click);
    connect(itmLLoad, &QAction::triggered, this, &frmMain::itmLLoad_Click);
    connect(itmLEdit, &QAction::triggered, this, &frmMain::itmLEdit_Click);
    connect(itmLRemove, &QAction::triggered, this, &frmMain::itmLRemove_Click);
    connect(itmLShift, &QAction::triggered, this, &frmMain::itmLShift_Click);
    connect(&Playlist, &playlist::Playlist::ModifiedChanged, itmLSave[0], &QAction::setEnabled);
}

void frmMain::Form_Load() {
    itmWRedetect_Click();
    lstList->setGeometry(lstFile->geometry());
    lstList->hide();
    mnuFile->setEnabled(false);
    for (QAction* item : {itmFEdit, itmFTitle, itmFREdit, itmFExport}) {
        item->setEnabled(false);
    }
    mnuList->menuAction()->setVisible(false);
    itmLNew_Click();
    cmdlg.Flags = platform::CommonDialog::HideReadOnly | platform::CommonDialog::PathMustExist |
                  platform::CommonDialog::FileMustExist;
    // A missing or unreadable settings file gives the default colours, without a word.
    Colours = lyrics::ReadColourLine(platform::SettingsFilePath()).value_or(lyrics::DefaultColours);
    ApplyColours();
}

void frmMain::ApplyColours() {
    SetColour(centralWidget(), QPalette::Window, platform::ColorFromBgr(Colours[0]));
    SetColour(lblCurrLine, QPalette::WindowText, platform::ColorFromBgr(Colours[1]));
    SetColour(lblNextLine, QPalette::WindowText, platform::ColorFromBgr(Colours[2]));
}

void frmMain::SetOuterHeight(int twips) {
    OuterHeight = twips;
    const int client = twips - TitleBarHeight - MenuBarHeight;
    setFixedSize(platform::Px(ClientWidth), platform::Px(client) + menuBar()->sizeHint().height());
}

bool frmMain::LoadSourceLines() {
    const std::optional<QStringList> lines = ReadSourceLines(SourcePath);
    if (!lines || !Lines.Load(*lines)) {
        return false;
    }
    lstFile->clear();
    lstFile->addItems(*lines);
    return true;
}

void frmMain::SourceReady() {
    songTakenUp = true;
    mnuFile->setEnabled(true);
    for (QAction* item : {itmFEdit, itmFTitle, itmFREdit, itmFExport}) {
        item->setEnabled(true);
    }
    cmdPlay->setEnabled(true);
    lblNextLine->setText(Lines.SourceLines.front().Text);
    itmLAdd[0]->setEnabled(true);
    setWindowTitle(LyricsTitle + QStringLiteral(" - ") + platform::EncoderTitle);
}

void frmMain::WizardFailed() {
    SourcePath.clear();
    SavePath.clear();
    platform::MsgBox(this, WizardLostIt, platform::MsgButtons::OK, platform::MsgIcon::Information,
                     WizardTitle);
}

bool frmMain::TakeUpSource(const QString& source) {
    SourcePath = source;
    if (!LoadSourceLines()) {
        WizardFailed();
        return false;
    }
    return true;
}

void frmMain::TakeUpTitle(const QString& title) {
    // The title is written between quotes, which it therefore cannot hold.
    LyricsTitle = QString(title).remove(u'"');
}

bool frmMain::TakeUpSong(const QString& source, const QString& save, const QString& title) {
    if (!TakeUpSource(source)) {
        return false;
    }
    TakeUpTitle(title);
    SavePath = save;
    SourceReady();
    return true;
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
    SavePath = cmdlg.FileName;
    if (platform::MsgBox(this,
                         QStringLiteral("Congratulations! Just press play and you are so done!\r"
                                        "Thank you for using Cantorix Encoder. Hope you found @ "
                                        "Wizard useful. ;)\r\rOh, and by the way, would you like "
                                        "to pick your song now?"),
                         platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                         WizardTitle) == platform::MsgResult::Yes &&
        Winamp.WinampHandle != 0) {
        Winamp.OpenJumpToFile();
    }
    SourceReady();
}

int frmMain::SelectedLine() {
    const int row = Lines.RowToFix(lstFile->currentRow());
    if (row >= 0 && lstFile->currentRow() != row) {
        lstFile->setCurrentRow(row);
    }
    return row;
}

void frmMain::itmFAdd_Click() {
    const int row = SelectedLine();
    if (row < 0) {
        return;
    }
    if (Lines.Full()) {
        platform::MsgBox(this,
                         QStringLiteral("No line can be added: a song holds at most %1 lines.")
                             .arg(MaxSourceLines),
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         QStringLiteral("Add New Line"));
        return;
    }
    frmEdit edit(this);
    edit.SetComment(QStringLiteral("The line will be added on top of your selection."));
    edit.SetCaption(QStringLiteral("Add New Line"));
    ShowDialog(&edit);
    if (edit.ReturnState() && Lines.InsertLine(row, edit.GetText())) {
        lstFile->insertItem(row, Lines.SourceLines[size_t(row)].Text);
    }
}

void frmMain::itmFEdit_Click() {
    const int row = SelectedLine();
    if (row < 0) {
        return;
    }
    frmEdit edit(this);
    edit.SetText(Lines.SourceLines[size_t(row)].Text);
    ShowDialog(&edit);
    if (edit.ReturnState() && Lines.SetLineText(row, edit.GetText())) {
        lstFile->item(row)->setText(Lines.SourceLines[size_t(row)].Text);
    }
}

void frmMain::itmFRemove_Click() {
    const int row = SelectedLine();
    if (row < 0) {
        return;
    }
    if (platform::MsgBox(this,
                         QStringLiteral("Are you sure you wish to remove this line? (Line #%1)\r"
                                        "This will not affect your original file.")
                             .arg(row + 1),
                         platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                         QStringLiteral("Remove Line")) == platform::MsgResult::Yes &&
        Lines.RemoveLine(row)) {
        delete lstFile->takeItem(row);
        lstFile->setCurrentRow(-1);  // nothing stays selected: the next command takes line 1
    }
}

void frmMain::itmFTitle_Click() {
    if (SourcePath.isEmpty()) {
        return;
    }
    // The caption and the lyrics file keep what the wizard gave them.
    frmBio bio(this);
    bio.SetValue(LyricsTitle);
    ShowDialog(&bio);
    if (bio.ReturnState()) {
        TakeUpTitle(bio.GetTitle());
    }
}

void frmMain::itmFREdit_Click() {
    if (SourcePath.isEmpty()) {
        return;
    }
    frmOpen editor(this);
    if (!editor.OpenFile(SourcePath)) {
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
    const QFileInfo lyricsFile(SavePath);
    cmdlg.DialogTitle = QStringLiteral("Export as LRC");
    cmdlg.Filter = QStringLiteral("LRC Files (*.lrc)|*.lrc");
    cmdlg.FileName = lyricsFile.dir().filePath(lyricsFile.completeBaseName() + QStringLiteral(".lrc"));
    if (!cmdlg.ShowSave()) {
        return;
    }
    if (!lyrics::ExportLrc(SavePath, cmdlg.FileName)) {
        platform::MsgBox(this, QStringLiteral("Could not export the lyrics file as LRC."),
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         QStringLiteral("Export as LRC"));
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
    mnuFile->setEnabled(!capturing);
}

void frmMain::cmdPlay_Click() {
    // With no line to time there is nothing to start, and Winamp is not told to play.
    if (Lines.LastSourceLine < 0) {
        return;
    }
    itmWRedetect_Click();
    if (Winamp.WinampHandle == 0) {
        return;
    }
    Lines.Start();
    SetCapturing(true);
    winampMenu->itmWPlay_Click();
    lblCurrLine->setText(Lines.CurrentText());
    lblNextLine->setText(Lines.NextText());
}

void frmMain::cmdNext_Click() {
    const Capture::Press press =
        Lines.Next(Winamp.PositionMs(), [this] { return Winamp.PlayState(); });
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
    lblCurrLine->setText(Lines.CurrentText());
    lblNextLine->setText(Lines.NextText());
    if (press == Capture::Press::Finished) {
        cmdStop_Click();
    }
}

void frmMain::CaptureLost(Capture::Press why) {
    itmWStop_Click();
    SetCapturing(false);
    const QString text = (why == Capture::Press::WentBack ? WentBackText : NoPositionText)
                             .arg(Lines.CaptureLine + 1) +
                         QStringLiteral("\r\rThe capture has stopped");
    if (Lines.CaptureLine == 0) {
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
    if (!Lines.Running()) {
        return;
    }
    itmWStop_Click();
    const bool early = Lines.Stop();
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
    if (!lyrics::WriteLyricsFile(SavePath, LyricsTitle, Lines.SourceLines, Lines.LastSourceLine)) {
        platform::MsgBox(this, WizardLostIt, platform::MsgButtons::OK,
                         platform::MsgIcon::Information, WizardTitle);
        return;
    }
    itmLAdd[0]->setEnabled(true);
    platform::MsgBox(this, done, platform::MsgButtons::OK, platform::MsgIcon::Information,
                     WizardTitle);
}

void frmMain::lbl_Click(int index) {
    if (index != 0 && index != 1) {
        return;
    }
    const bool files = index == 0;
    SetBold(lbl[0], files);
    SetBold(lbl[1], !files);
    lstFile->setVisible(files);
    lstList->setVisible(!files);
    mnuList->menuAction()->setVisible(!files);
    mnuF->menuAction()->setVisible(files);
}

void frmMain::lstFile_MouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::RightButton && mnuFile->isEnabled()) {
        mnuFile->popup(globalPos);
    }
}

void frmMain::lstList_MouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::RightButton) {
        mnuListPop->popup(globalPos);
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease) {
        return QMainWindow::eventFilter(watched, event);
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const bool release = type == QEvent::MouseButtonRelease;
    for (int i = 0; i < 2; ++i) {
        if (watched == lbl[size_t(i)] && release && mouse->button() == Qt::LeftButton) {
            lbl_Click(i);
        }
    }
    const bool fileList = watched == lstFile->viewport();
    if ((fileList || watched == lstList->viewport()) && mouse->button() == Qt::RightButton) {
        // The right button only pops up a menu; it never moves the selection.
        if (release) {
            const QPoint at = mouse->globalPosition().toPoint();
            fileList ? lstFile_MouseUp(Qt::RightButton, at) : lstList_MouseUp(Qt::RightButton, at);
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::itmLNew_Click() {
    Playlist.Clear();
    for (QAction* item : {itmLSave[0], itmLSave[1], itmLAdd[0], itmLEdit, itmLRemove,
                          itmLS->menuAction(), itmLShift}) {
        item->setEnabled(false);
    }
}

void frmMain::itmLLoad_Click() {
    if (!playlist::OpenEncoderPlaylist(Playlist, this, cmdlg)) {
        return;
    }
    for (QAction* item : {itmLSave[1], itmLEdit, itmLRemove, itmLS->menuAction(), itmLShift}) {
        item->setEnabled(true);
    }
}

void frmMain::itmLSave_Click(int index) {
    playlist::SaveEncoderPlaylist(Playlist, index, this, cmdlg);
}

void frmMain::itmLAdd_Click(int index) {
    if (!playlist::EncoderAddEntry(Playlist, Winamp, this, showDialog, index, LyricsTitle,
                                   SavePath)) {
        return;
    }
    for (QAction* item : {itmLSave[1], itmLEdit, itmLRemove, itmLS->menuAction(), itmLShift}) {
        item->setEnabled(true);
    }
    itmLAdd[0]->setEnabled(false);
}

void frmMain::itmLEdit_Click() {
    playlist::EncoderEditEntry(Playlist, Winamp, this, showDialog);
}

void frmMain::itmLRemove_Click() {
    if (playlist::EncoderRemoveEntry(Playlist, this) && Playlist.Table().IsEmpty()) {
        itmLNew_Click();
    }
}

void frmMain::itmLSort_Click(int index) {
    playlist::EncoderSort(Playlist, playlist::SortBy(index));
}

void frmMain::itmLShift_Click() {
    playlist::EncoderShift(Playlist, showDialog);
}

void frmMain::itmCOnTop_Click() {
    OnTop = !OnTop;
    itmCOnTop->setChecked(OnTop);
    platform::SetAlwaysOnTop(this, OnTop);
}

void frmMain::ShowDialog(QDialog* dialog) {
    platform::ShowModalFromTop(dialog, this, OnTop, [this] { itmCOnTop_Click(); });
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
    Winamp.Stop(true);
}

void frmMain::itmWClose_Click() {
    if (winamp::AskCloseWinamp(this, Winamp)) {
        endWithoutQuestions = true;
        close();
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (endWithoutQuestions) {
        event->accept();
        return;
    }
    if (playlist::AskSaveOnClose(Playlist, this, [this] { itmLSave_Click(0); }) ==
        platform::MsgResult::Cancel) {
        event->ignore();
        return;
    }
    // Looked up again, silently: Winamp may have come or gone since the last Redetect.
    Winamp.Redetect();
    if (Winamp.WinampHandle != 0) {
        const platform::MsgResult answer = platform::MsgBox(
            this, QStringLiteral("Would you like to close Winamp as well?"),
            platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question,
            QStringLiteral("Close Cantorix?"));
        if (answer == platform::MsgResult::Cancel) {
            event->ignore();
            return;
        }
        if (answer == platform::MsgResult::Yes) {
            Winamp.Close();
        }
    }
    event->accept();
}

}  // namespace encoder
