#pragma once
#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <initializer_list>

#include "platform/MsgBox.h"
#include "playlist/PlaylistEntry.h"
#include "playlist/PlaylistTable.h"

class QAction;
class QListWidget;
class QMenu;
class QWidget;

namespace platform {
class CommonDialog;
}

namespace playlist {

// The lyrics playlist of a main window: its table, file, list box, Playlist menu and the
// commands New, Open and Save. Both programs carry one; they differ only around loading
// and saving:
//  - the player has one Save, the "Playlist Save" option (save at every change or only on
//    Save), and opens playlists through its shared Open command;
//  - the encoder has Save and Save As and never saves by itself. Its Save always writes
//    the file the playlist was opened from; Save As writes once to a chosen file without
//    adopting it, so a playlist that was never opened asks for a name at every Save.
//
// A failed read changes nothing: the table, the list, PlaylistPath and PlaylistModified
// stay as they were, so a half-read table can never be saved over its file. Saving is
// atomic; a failed save leaves PlaylistModified as it was.
class PlaylistCommands : public QObject {
    Q_OBJECT
  public:
    enum class Variant { Player, Encoder };

    // The steps of the player's window that its playlist commands run (the encoder has no
    // such steps). Hooks left empty are skipped.
    //
    // LoadPlaylist, once the file has been read and the list rebuilt, calls:
    //   SetListView(true, true); (enables the playlist items); ShowPlay();
    //   RandomizeList() and, when it answers true, BuildRandomOrder();
    //   SetPlayFromPlaylist(); SetCaption("Cantorix 3"); then PlaylistModified := false.
    // itmLNew_Click, after emptying table, list and path, calls SetListView(false, false),
    //   then disables the items and clears PlaylistModified.
    // EntryAdded enables itmLPlay, calls ShowPlay(), runs SavePlaylist(false), then
    //   RandomizeList() and, when true, BuildRandomOrder().
    // itmLOpen_Click calls CmdOpen().
    // A failed read calls none of them.
    struct PlayerHooks {
        std::function<void(bool force, bool show)> SetListView;
        std::function<void()> ShowPlay;  // show cmdPlay, enable itmPPlay
        std::function<bool()> RandomizeList;
        std::function<void()> BuildRandomOrder;
        std::function<void()> SetPlayFromPlaylist;
        std::function<void(const QString& caption)> SetCaption;
        std::function<void()> CmdOpen;  // the window's cmdOpen_Click
    };

    // dialog is the window's common dialog, shared with its other file commands; owner
    // owns the message boxes and the menus. Without a list box one is made as a child of
    // owner for the window to place.
    PlaylistCommands(Variant variant, QWidget* owner, platform::CommonDialog& dialog,
                     QListWidget* list = nullptr, QObject* parent = nullptr);
    ~PlaylistCommands() override;

    Variant GetVariant() const { return variant; }
    void SetPlayerHooks(PlayerHooks hooks);

    const PlaylistTable& Table() const { return table; }
    // For Sort and Shift, which reorder in place and then run ReloadList.
    PlaylistTable& Table() { return table; }
    qint16 LastEntry() const { return table.LastEntry(); }
    const QString& PlaylistPath() const { return playlistPath; }
    // PlaylistModified: the table holds changes that are not in the file. Save is enabled
    // exactly while it is true; the shut-down question asks exactly then.
    bool IsModified() const { return playlistModified; }

    QListWidget* lstList() const;
    // "P&laylist" in the player, "&Playlist" in the encoder.
    QMenu* mnuList() const;
    // The "&Track" submenu, also the list's pop-up menu.
    QMenu* mnuListPop() const;
    // Player only: "Playlist Save" with itmOLSave(0) and (1), for the Settings menu.
    QMenu* itmOLS() const;

    // Items by their names: "itmLNew", "itmLSave" (player), "itmLSave(0)", "itmLSave(1)"
    // (encoder), "itmLAdd" (player), "itmLAdd(0)"... A submenu's name ("mnuListPop",
    // "itmLA", "itmLS", "itmOLS") gives the item that opens it. nullptr for an item the
    // variant does not have.
    QAction* Action(const QString& name) const { return actions.value(name); }
    QMenu* Menu(const QString& name) const;

    // New: an empty, unnamed, unmodified playlist. Asks nothing.
    void itmLNew_Click();
    // Rebuilds lstList from the table; the selection is lost.
    void ReloadList();
    // The reading step shared by both programs' Open: on success the table, the list and
    // PlaylistPath are the file's; on failure the read message is shown and nothing changed.
    bool ReadPlaylist(const QString& path);
    // Player: the read, then the window's playlist state (see PlayerHooks). The player's
    // Open calls it for a chosen ".cxp" name, and its start-up for the settings' playlist.
    bool LoadPlaylist(const QString& path);
    // Player: Open runs the window's Open command, which serves lyrics files and playlists.
    void itmLOpen_Click();
    // Encoder: Open through the "Open List File" dialog.
    void itmLLoad_Click();
    // Player: with force false and "&On Change" not checked only marks the playlist
    // modified; otherwise writes it, asking for a name first when it has none.
    void SavePlaylist(bool force);
    // Player: Save (index ignored). Encoder: 0 Save, 1 Save As.
    void itmLSave_Click(int index = 0);
    // Player: ticks "&On Change" (0) or "&Manual" (1). False for any other index, changing
    // nothing, so the settings reader can treat it as a bad value.
    bool itmOLSave_Click(int index);
    // The ticked "Playlist Save" item, as the settings file stores it under "list save".
    int ListSaveIndex() const { return listSaveIndex; }

    // The question before a window closes, asked only while the playlist is modified; Yes
    // runs Save. Answers No when nothing needed asking, and Cancel when Yes could not save
    // (the dialog was cancelled or the write failed), so the window stays open.
    platform::MsgResult AskSaveOnClose();

    // For the entry commands. AppendEntry, ReplaceEntry and RemoveEntry keep table and list
    // row for row; AppendEntry is false when the table is full. After the change the
    // command calls EntryAdded (Add) or TableChanged (Edit, and Remove that leaves entries).
    bool AppendEntry(const PlaylistEntry& entry);
    void ReplaceEntry(int row, const PlaylistEntry& entry);
    void RemoveEntry(int row);
    void EntryAdded();
    void TableChanged();

  private:
    void BuildMenus();
    QAction* AddItem(QMenu* menu, const QString& name, const QString& caption,
                     const QKeySequence& key = {});
    QMenu* AddSubmenu(QMenu* menu, const QString& name, const QString& caption);
    void Enable(std::initializer_list<const char*> names, bool enabled);
    void SetModified(bool modified);
    bool WriteTo(const QString& path);
    QAction* SaveItem() const;

    const Variant variant;
    QWidget* const owner;
    platform::CommonDialog& dialog;
    QPointer<QListWidget> list;
    bool ownsList = false;
    PlayerHooks hooks;

    PlaylistTable table;
    QString playlistPath;
    bool playlistModified = false;
    int listSaveIndex = 0;

    QHash<QString, QAction*> actions;
    QHash<QString, QPointer<QMenu>> menus;
};

}  // namespace playlist
