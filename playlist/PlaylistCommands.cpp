#include "playlist/PlaylistCommands.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QStringList>

#include "platform/CommonDialog.h"
#include "platform/Menus.h"
#include "playlist/PlaylistFile.h"

namespace playlist {

namespace {

const QString PlaylistFilter = QStringLiteral("Cantorix Playlist Files (*.cxp)|*.cxp");
const QString SaveDialogTitle = QStringLiteral("Save List File As");
const QString OpenDialogTitle = QStringLiteral("Open List File");
const QString PlayerCaption = QStringLiteral("Cantorix 3");

void Call(const std::function<void()>& hook) {
    if (hook) {
        hook();
    }
}

}  // namespace

PlaylistCommands::PlaylistCommands(Variant variant, QWidget* owner, platform::CommonDialog& dialog,
                                   QListWidget* givenList, QObject* parent)
    : QObject(parent), variant(variant), owner(owner), dialog(dialog), list(givenList) {
    if (!list) {
        list = new QListWidget(owner);
        ownsList = true;
    }
    list->setSortingEnabled(false);
    if (variant == Variant::Player) {
        list->setToolTip(QStringLiteral("Double-click to play"));
    }
    BuildMenus();

    // Until something is opened the playlist is new and empty, which is also what a failed
    // Open at start-up leaves.
    if (variant == Variant::Player) {
        Enable({"itmLAdd", "itmLEdit", "itmLRemove", "itmLPlay", "itmLS", "itmLShift"}, false);
    } else {
        Enable({"itmLSave(1)", "itmLAdd(0)", "itmLEdit", "itmLRemove", "itmLS", "itmLShift"},
               false);
    }
    SetModified(false);
}

PlaylistCommands::~PlaylistCommands() {
    delete menus.value(QStringLiteral("mnuList")).data();
    delete menus.value(QStringLiteral("itmOLS")).data();
    if (ownsList) {
        delete list.data();
    }
}

QListWidget* PlaylistCommands::lstList() const {
    return list;
}

QMenu* PlaylistCommands::Menu(const QString& name) const {
    return menus.value(name);
}

QMenu* PlaylistCommands::mnuList() const {
    return Menu(QStringLiteral("mnuList"));
}

QMenu* PlaylistCommands::mnuListPop() const {
    return Menu(QStringLiteral("mnuListPop"));
}

QMenu* PlaylistCommands::itmOLS() const {
    return Menu(QStringLiteral("itmOLS"));
}

void PlaylistCommands::SetPlayerHooks(PlayerHooks newHooks) {
    hooks = std::move(newHooks);
}

QAction* PlaylistCommands::AddItem(QMenu* menu, const QString& name, const QString& caption,
                                   const QKeySequence& key) {
    QAction* action = platform::AddMenuItem(menu, name, caption, key);
    actions.insert(name, action);
    return action;
}

QMenu* PlaylistCommands::AddSubmenu(QMenu* menu, const QString& name, const QString& caption) {
    QMenu* submenu = menu->addMenu(caption);
    submenu->setObjectName(name);
    submenu->menuAction()->setObjectName(name);
    menus.insert(name, submenu);
    actions.insert(name, submenu->menuAction());
    return submenu;
}

void PlaylistCommands::BuildMenus() {
    const bool player = variant == Variant::Player;
    auto* menu =
        new QMenu(player ? QStringLiteral("P&laylist") : QStringLiteral("&Playlist"), owner);
    menu->setObjectName(QStringLiteral("mnuList"));
    menus.insert(QStringLiteral("mnuList"), menu);

    // Items whose commands are built elsewhere (Play, Add, Edit, Remove, Show, Sort, Shift)
    // are left for their owners to connect.
    if (player) {
        AddItem(menu, QStringLiteral("itmLPlay"), QStringLiteral("&Play"),
                QKeySequence(Qt::CTRL | Qt::Key_P));
        menu->addSeparator();
    }
    QAction* itmLNew = AddItem(menu, QStringLiteral("itmLNew"), QStringLiteral("&New"),
                               QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(itmLNew, &QAction::triggered, this, [this] { itmLNew_Click(); });
    if (player) {
        QAction* itmLOpen = AddItem(menu, QStringLiteral("itmLOpen"), QStringLiteral("&Open..."),
                                    QKeySequence(Qt::CTRL | Qt::Key_O));
        connect(itmLOpen, &QAction::triggered, this, [this] { itmLOpen_Click(); });
        QAction* itmLSave = AddItem(menu, QStringLiteral("itmLSave"), QStringLiteral("&Save"),
                                    QKeySequence(Qt::CTRL | Qt::Key_S));
        connect(itmLSave, &QAction::triggered, this, [this] { itmLSave_Click(0); });
    } else {
        QAction* itmLLoad = AddItem(menu, QStringLiteral("itmLLoad"), QStringLiteral("&Open..."),
                                    QKeySequence(Qt::CTRL | Qt::Key_O));
        connect(itmLLoad, &QAction::triggered, this, [this] { itmLLoad_Click(); });
        QAction* save = AddItem(menu, QStringLiteral("itmLSave(0)"), QStringLiteral("&Save"),
                                QKeySequence(Qt::CTRL | Qt::Key_S));
        connect(save, &QAction::triggered, this, [this] { itmLSave_Click(0); });
        QAction* saveAs =
            AddItem(menu, QStringLiteral("itmLSave(1)"), QStringLiteral("S&ave As..."));
        connect(saveAs, &QAction::triggered, this, [this] { itmLSave_Click(1); });
    }
    menu->addSeparator();

    QMenu* track = AddSubmenu(menu, QStringLiteral("mnuListPop"), QStringLiteral("&Track"));
    if (player) {
        AddItem(track, QStringLiteral("itmLAdd"), QStringLiteral("&Add..."),
                QKeySequence(Qt::CTRL | Qt::Key_A));
        AddItem(track, QStringLiteral("itmLEdit"), QStringLiteral("&Edit..."),
                QKeySequence(Qt::Key_F2));
        AddItem(track, QStringLiteral("itmLRemove"), QStringLiteral("&Remove..."),
                QKeySequence(Qt::Key_Delete));
        menu->addSeparator();
        // Its command comes with the list view; until then it does nothing and is off.
        AddItem(menu, QStringLiteral("itmLVShow"), QStringLiteral("S&how"),
                QKeySequence(Qt::Key_F11))
            ->setEnabled(false);
    } else {
        QMenu* add = AddSubmenu(track, QStringLiteral("itmLA"), QStringLiteral("&Add"));
        AddItem(add, QStringLiteral("itmLAdd(0)"), QStringLiteral("&Current..."));
        // Always available once its command is connected; off until then.
        AddItem(add, QStringLiteral("itmLAdd(1)"), QStringLiteral("&New..."))->setEnabled(false);
        AddItem(track, QStringLiteral("itmLEdit"), QStringLiteral("&Edit..."));
        AddItem(track, QStringLiteral("itmLRemove"), QStringLiteral("&Remove..."));
    }
    menu->addSeparator();

    QMenu* sort = AddSubmenu(menu, QStringLiteral("itmLS"), QStringLiteral("So&rt"));
    AddItem(sort, QStringLiteral("itmLSort(0)"), QStringLiteral("&Artist"));
    AddItem(sort, QStringLiteral("itmLSort(1)"), QStringLiteral("&Title"));
    AddItem(sort, QStringLiteral("itmLSort(2)"), QStringLiteral("T&rack"));
    AddItem(menu, QStringLiteral("itmLShift"),
            player ? QStringLiteral("Sh&ift...") : QStringLiteral("S&hift..."));

    if (player) {
        auto* option = new QMenu(QStringLiteral("Playlist Save"), owner);
        option->setObjectName(QStringLiteral("itmOLS"));
        option->menuAction()->setObjectName(QStringLiteral("itmOLS"));
        menus.insert(QStringLiteral("itmOLS"), option);
        actions.insert(QStringLiteral("itmOLS"), option->menuAction());
        const std::array<QString, 2> captions = {QStringLiteral("&On Change"),
                                                 QStringLiteral("&Manual")};
        for (int index = 0; index < 2; ++index) {
            QAction* item =
                AddItem(option, QStringLiteral("itmOLSave(%1)").arg(index), captions[index]);
            item->setCheckable(true);
            connect(item, &QAction::triggered, this, [this, index] { itmOLSave_Click(index); });
        }
        itmOLSave_Click(0);
    }
}

void PlaylistCommands::Enable(std::initializer_list<const char*> names, bool enabled) {
    for (const char* name : names) {
        if (QAction* action = actions.value(QLatin1String(name))) {
            action->setEnabled(enabled);
        }
    }
}

QAction* PlaylistCommands::SaveItem() const {
    return actions.value(variant == Variant::Player ? QStringLiteral("itmLSave")
                                                    : QStringLiteral("itmLSave(0)"));
}

void PlaylistCommands::SetModified(bool modified) {
    playlistModified = modified;
    SaveItem()->setEnabled(modified);
}

void PlaylistCommands::ReloadList() {
    QStringList rows;
    rows.reserve(table.Count());
    for (const PlaylistEntry& entry : table) {
        rows.append(RowText(entry));
    }
    list->setUpdatesEnabled(false);
    list->clear();
    list->addItems(rows);
    list->setUpdatesEnabled(true);
}

void PlaylistCommands::itmLNew_Click() {
    list->clear();
    table.Clear();
    playlistPath.clear();
    if (variant == Variant::Player) {
        if (hooks.SetListView) {
            hooks.SetListView(false, false);
        }
        Enable({"itmLAdd", "itmLEdit", "itmLRemove", "itmLPlay", "itmLS", "itmLShift"}, false);
    } else {
        Enable({"itmLSave(1)", "itmLAdd(0)", "itmLEdit", "itmLRemove", "itmLS", "itmLShift"},
               false);
    }
    SetModified(false);
}

bool PlaylistCommands::ReadPlaylist(const QString& path) {
    PlaylistReadResult result = ReadPlaylistFile(path);
    if (!result.Ok()) {
        platform::MsgBox(owner,
                         variant == Variant::Player
                             ? QStringLiteral("Could not read data file.")
                             : QStringLiteral("Could not read playlist file."),
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         QStringLiteral("Playlist Loader"));
        return false;
    }
    table = std::move(result.Table);
    playlistPath = path;
    ReloadList();
    return true;
}

bool PlaylistCommands::LoadPlaylist(const QString& path) {
    if (!ReadPlaylist(path)) {
        return false;
    }
    if (hooks.SetListView) {
        hooks.SetListView(true, true);
    }
    Enable({"itmLAdd", "itmLEdit", "itmLRemove", "itmLPlay", "itmLS", "itmLShift"}, true);
    Call(hooks.ShowPlay);
    if (hooks.RandomizeList && hooks.RandomizeList()) {
        Call(hooks.BuildRandomOrder);
    }
    Call(hooks.SetPlayFromPlaylist);
    if (hooks.SetCaption) {
        hooks.SetCaption(PlayerCaption);
    }
    SetModified(false);
    return true;
}

void PlaylistCommands::itmLOpen_Click() {
    Call(hooks.CmdOpen);
}

void PlaylistCommands::itmLLoad_Click() {
    dialog.DialogTitle = OpenDialogTitle;
    dialog.Filter = PlaylistFilter;
    if (!dialog.ShowOpen()) {
        return;
    }
    if (!ReadPlaylist(dialog.FileName)) {
        return;
    }
    Enable({"itmLSave(1)", "itmLEdit", "itmLRemove", "itmLS", "itmLShift"}, true);
    SetModified(false);
}

bool PlaylistCommands::WriteTo(const QString& path) {
    if (WritePlaylistFile(path, table)) {
        return true;
    }
    platform::MsgBox(owner, QStringLiteral("Could not save playlist."), platform::MsgButtons::OK,
                     platform::MsgIcon::Exclamation, QStringLiteral("Playlist Saver"));
    return false;
}

void PlaylistCommands::SavePlaylist(bool force) {
    if (!force && listSaveIndex != 0) {
        SetModified(true);
        return;
    }
    if (playlistPath.isEmpty()) {
        dialog.DialogTitle = SaveDialogTitle;
        dialog.Filter = PlaylistFilter;
        if (!dialog.ShowSave()) {
            return;
        }
        // Kept even when the write below fails, so the next Save goes to the same name.
        playlistPath = dialog.FileName;
    }
    if (WriteTo(playlistPath)) {
        SetModified(false);
    }
}

void PlaylistCommands::itmLSave_Click(int index) {
    if (variant == Variant::Player) {
        SavePlaylist(true);
        return;
    }
    QString target = playlistPath;
    if (index == 1 || target.isEmpty()) {
        dialog.DialogTitle = SaveDialogTitle;
        dialog.Filter = PlaylistFilter;
        if (!dialog.ShowSave()) {
            return;
        }
        // A copy: the playlist stays tied to the file it was opened from.
        target = dialog.FileName;
    }
    if (WriteTo(target)) {
        SetModified(false);
    }
}

bool PlaylistCommands::itmOLSave_Click(int index) {
    QAction* chosen = actions.value(QStringLiteral("itmOLSave(%1)").arg(index));
    if (index < 0 || index > 1 || !chosen) {
        return false;
    }
    chosen->setChecked(true);
    actions.value(QStringLiteral("itmOLSave(%1)").arg(1 - index))->setChecked(false);
    listSaveIndex = index;
    return true;
}

platform::MsgResult PlaylistCommands::AskSaveOnClose() {
    if (!playlistModified) {
        return platform::MsgResult::No;
    }
    const platform::MsgResult answer = platform::MsgBox(
        owner,
        QStringLiteral("Would you like to save the changes you made to the playlist?") +
            QChar(u'\r') + playlistPath,
        platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question,
        QStringLiteral("Close Cantorix?"));
    if (answer == platform::MsgResult::Yes) {
        itmLSave_Click(0);
        // A save that was cancelled or failed must not let the window close and lose the
        // changes: the close is off, as on Cancel.
        if (playlistModified) {
            return platform::MsgResult::Cancel;
        }
    }
    return answer;
}

bool PlaylistCommands::AppendEntry(const PlaylistEntry& entry) {
    if (!table.Append(entry)) {
        return false;
    }
    list->addItem(RowText(entry));
    return true;
}

void PlaylistCommands::ReplaceEntry(int row, const PlaylistEntry& entry) {
    table.Entry(row) = entry;
    list->item(row)->setText(RowText(entry));
}

void PlaylistCommands::RemoveEntry(int row) {
    table.RemoveAt(row);
    delete list->takeItem(row);
}

void PlaylistCommands::EntryAdded() {
    if (variant == Variant::Player) {
        Enable({"itmLPlay"}, true);
        Call(hooks.ShowPlay);
        SavePlaylist(false);
        if (hooks.RandomizeList && hooks.RandomizeList()) {
            Call(hooks.BuildRandomOrder);
        }
    } else {
        Enable({"itmLSave(1)", "itmLEdit", "itmLRemove", "itmLS", "itmLShift"}, true);
        Enable({"itmLAdd(0)"}, false);
        SetModified(true);
    }
}

void PlaylistCommands::TableChanged() {
    if (variant == Variant::Player) {
        SavePlaylist(false);
    } else {
        SetModified(true);
    }
}

}  // namespace playlist
