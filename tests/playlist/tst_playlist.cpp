// The lyrics playlist: its file, its list rows, and the New, Open and Save commands of
// both programs with the menu states they leave.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "platform/CommonDialog.h"
#include "platform/MsgBox.h"
#include "playlist/OpenedFileKind.h"
#include "playlist/PlaylistCommands.h"
#include "playlist/PlaylistFile.h"
#include "support/Scripted.h"

using platform::MsgResult;
using playlist::PlaylistCommands;
using playlist::PlaylistEntry;
using playlist::PlaylistTable;
using playlist::ReadFailure;
using Variant = PlaylistCommands::Variant;

Q_DECLARE_METATYPE(PlaylistEntry)
Q_DECLARE_METATYPE(ReadFailure)
Q_DECLARE_METATYPE(Variant)
Q_DECLARE_METATYPE(MsgResult)
Q_DECLARE_METATYPE(playlist::OpenedFileKind)

namespace {

QString DataFile(const QString& name) {
    return QStringLiteral(CANTORIX_TEST_DATA "/playlist/") + name;
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArray("<unreadable>");
    }
    return file.readAll();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// n entries, one line each, track numbers 1 to n wrapping inside the 16-bit range.
QByteArray ManyEntries(int n) {
    QByteArray bytes;
    bytes.reserve(n * 48);
    for (int i = 0; i < n; ++i) {
        bytes += "\"/lyrics/song " + QByteArray::number(i) + ".cx3\"," +
                 QByteArray::number(i % 32767 + 1) + ",\"Song " + QByteArray::number(i) +
                 " - Artist\"\r\n";
    }
    return bytes;
}

const PlaylistEntry PaperLanterns{QStringLiteral("C:\\Lyrics\\paper lanterns.cx3"), 3,
                                  QStringLiteral("Paper Lanterns - The Quiet Harbour")};
const PlaylistEntry SaltAndCedar{QStringLiteral("C:\\Lyrics\\salt and cedar.cx3"), 12,
                                 QStringLiteral("Salt and Cedar - Mira Vale")};
const PlaylistEntry Added{QStringLiteral("/lyrics/added.cx3"), 5,
                          QStringLiteral("Added Song - Some One")};

QStringList ListRows(const QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) {
        rows << list->item(i)->text();
    }
    return rows;
}

QStringList AllItemNames(Variant variant) {
    if (variant == Variant::Player) {
        return {"itmLPlay", "itmLNew",    "itmLOpen",  "itmLSave", "mnuListPop", "itmLAdd",
                "itmLEdit", "itmLRemove", "itmLVShow", "itmLS",    "itmLShift"};
    }
    return {"itmLNew",    "itmLLoad",   "itmLSave(0)", "itmLSave(1)", "mnuListPop", "itmLA",
            "itmLAdd(0)", "itmLAdd(1)", "itmLEdit",    "itmLRemove",  "itmLS",      "itmLShift"};
}

// A main window's worth of playlist: owner, common dialog, list and commands, with the
// player's window steps recorded by name.
struct Window {
    explicit Window(Variant variant) {
        dialog.Flags = 6148;
        commands = std::make_unique<PlaylistCommands>(variant, &owner, dialog);
        PlaylistCommands::PlayerHooks hooks;
        hooks.SetListView = [this](bool force, bool show) {
            calls << QStringLiteral("SetListView(%1,%2) rows=%3")
                         .arg(int(force))
                         .arg(int(show))
                         .arg(commands->lstList()->count());
        };
        hooks.ShowPlay = [this] { calls << QStringLiteral("ShowPlay"); };
        hooks.RandomizeList = [this] {
            calls << QStringLiteral("RandomizeList");
            return randomize;
        };
        hooks.BuildRandomOrder = [this] { calls << QStringLiteral("BuildRandomOrder"); };
        hooks.SetPlayFromPlaylist = [this] { calls << QStringLiteral("SetPlayFromPlaylist"); };
        hooks.SetCaption = [this](const QString& caption) {
            calls << QStringLiteral("SetCaption(%1) modified=%2")
                         .arg(caption)
                         .arg(int(commands->IsModified()));
        };
        hooks.CmdOpen = [this] { calls << QStringLiteral("CmdOpen"); };
        commands->SetPlayerHooks(hooks);
    }

    bool Enabled(const QString& name) const {
        QAction* action = commands->Action(name);
        return action && action->isEnabled();
    }

    // Everything a failed command must leave as it was.
    QStringList Snapshot() const {
        QStringList state;
        state << commands->PlaylistPath() << QString::number(commands->IsModified())
              << QString::number(commands->LastEntry());
        for (const PlaylistEntry& e : commands->Table()) {
            state << e.LyricsFile + u'|' + QString::number(e.TrackNumber) + u'|' + e.Title;
        }
        state << ListRows(commands->lstList());
        for (const QString& name : AllItemNames(commands->GetVariant())) {
            state << name + u'=' + QString::number(Enabled(name));
        }
        return state;
    }

    QWidget owner;
    platform::CommonDialog dialog{&owner};
    std::unique_ptr<PlaylistCommands> commands;
    QStringList calls;
    bool randomize = false;
};

// A menu as lines "name|caption|key", "-" for a separator, submenu items indented.
void DescribeMenu(const QMenu* menu, const QString& indent, QStringList& lines) {
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            lines << indent + u'-';
            continue;
        }
        lines << indent + action->objectName() + u'|' + action->text() + u'|' +
                     action->shortcut().toString();
        if (action->menu()) {
            DescribeMenu(action->menu(), indent + QStringLiteral("  "), lines);
        }
    }
}

QString VariantName(Variant variant) {
    return variant == Variant::Player ? QStringLiteral("player") : QStringLiteral("encoder");
}

}  // namespace

class TestPlaylist : public QObject {
    Q_OBJECT

  private slots:
    void init();

    void rowText_data();
    void rowText();
    void goldenFiles_data();
    void goldenFiles();
    void badFileChangesNothing_data();
    void badFileChangesNothing();
    void capacity_data();
    void capacity();
    void openedFileKind_data();
    void openedFileKind();
    void upperCasePlaylistOpensAsPlaylist();

    void menus_data();
    void menus();
    void availability_data();
    void availability();
    void playerWindowSteps_data();
    void playerWindowSteps();
    void playlistSaveOption_data();
    void playlistSaveOption();
    void changeUnderPlaylistSave_data();
    void changeUnderPlaylistSave();
    void encoderSaveWritesTheOpenedFile();
    void encoderNeverOpenedAsksAtEverySave();
    void failedSave_data();
    void failedSave();
    void shutDownQuestion_data();
    void shutDownQuestion();
    void entryEditingKeepsRowsInStep();

  private:
    QString Temp(const QString& name) const { return tmp->filePath(name); }
    // A copy of a golden file in the temporary folder, so commands may write to it.
    QString CopyOf(const QString& dataName, const QString& tempName) {
        QFile::remove(Temp(tempName));
        QFile::copy(DataFile(dataName), Temp(tempName));
        QFile::setPermissions(Temp(tempName), QFile::ReadOwner | QFile::WriteOwner);
        return Temp(tempName);
    }
    // Opens a file in either program's way; the encoder's goes through its dialog.
    void Open(Window& w, testsupport::ScriptedDialogs& dialogs, const QString& path) {
        if (w.commands->GetVariant() == Variant::Player) {
            w.commands->LoadPlaylist(path);
        } else {
            dialogs.ChooseFile(path);
            w.commands->itmLLoad_Click();
        }
    }

    std::unique_ptr<QTemporaryDir> tmp;
};

void TestPlaylist::init() {
    const QString base = qEnvironmentVariable("CANTORIX_TEST_TMP", QDir::tempPath());
    tmp = std::make_unique<QTemporaryDir>(base + QStringLiteral("/playlist-XXXXXX"));
    QVERIFY(tmp->isValid());
}

void TestPlaylist::rowText_data() {
    QTest::addColumn<PlaylistEntry>("entry");
    QTest::addColumn<QString>("row");
    QTest::newRow("worked example, first")
        << PaperLanterns
        << "3 - Paper Lanterns - The Quiet Harbour - C:\\Lyrics\\paper lanterns.cx3";
    QTest::newRow("worked example, second")
        << SaltAndCedar << "12 - Salt and Cedar - Mira Vale - C:\\Lyrics\\salt and cedar.cx3";
    QTest::newRow("negative track, comma in title")
        << PlaylistEntry{"/l/salt.cx3", -4, "Salt, Cedar - Mira Vale"}
        << "-4 - Salt, Cedar - Mira Vale - /l/salt.cx3";
    QTest::newRow("empty fields") << PlaylistEntry{"", 0, ""} << "0 -  - ";
}

void TestPlaylist::rowText() {
    QFETCH(PlaylistEntry, entry);
    QFETCH(QString, row);
    QCOMPARE(playlist::RowText(entry), row);
}

void TestPlaylist::goldenFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<PlaylistEntry>>("entries");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("saved");  // the golden file that saving it again must give

    const QStringList workedRows = {
        "3 - Paper Lanterns - The Quiet Harbour - C:\\Lyrics\\paper lanterns.cx3",
        "12 - Salt and Cedar - Mira Vale - C:\\Lyrics\\salt and cedar.cx3"};
    QTest::newRow("worked example")
        << "worked_example.cxp" << QList<PlaylistEntry>{PaperLanterns, SaltAndCedar} << workedRows
        << "worked_example.cxp";
    QTest::newRow("empty file") << "empty.cxp" << QList<PlaylistEntry>{} << QStringList{}
                                << "empty.cxp";
    QTest::newRow("commas and negative tracks")
        << "comma_and_negative.cxp"
        << QList<PlaylistEntry>{{"C:\\Lyrics\\salt, cedar.cx3", -4, "Salt, Cedar - Mira Vale"},
                                {"/home/mira/lyrics/low.cx2", -32768, "Low, Lower - Mira Vale"},
                                {"/home/mira/lyrics/high.cx3", 32767, "High - Mira Vale"}}
        << QStringList{"-4 - Salt, Cedar - Mira Vale - C:\\Lyrics\\salt, cedar.cx3",
                       "-32768 - Low, Lower - Mira Vale - /home/mira/lyrics/low.cx2",
                       "32767 - High - Mira Vale - /home/mira/lyrics/high.cx3"}
        << "comma_and_negative.cxp";
    QTest::newRow("trailing blank lines, LF line ends")
        << "trailing_blank_lines.cxp" << QList<PlaylistEntry>{PaperLanterns, SaltAndCedar}
        << workedRows << "worked_example.cxp";
    QTest::newRow("entry spread over lines, no final line end")
        << "stream_layout.cxp" << QList<PlaylistEntry>{PaperLanterns, SaltAndCedar} << workedRows
        << "worked_example.cxp";
    QTest::newRow("Windows-1252 file saved as UTF-8")
        << "windows_1252.cxp"
        << QList<PlaylistEntry>{{QStringLiteral("C:\\Lyrics\\café.cx3"), 7,
                                 QStringLiteral("Café Noir - Léa")}}
        << QStringList{QStringLiteral("7 - Café Noir - Léa - C:\\Lyrics\\café.cx3")}
        << "windows_1252_saved.cxp";
}

void TestPlaylist::goldenFiles() {
    QFETCH(QString, file);
    QFETCH(QList<PlaylistEntry>, entries);
    QFETCH(QStringList, rows);
    QFETCH(QString, saved);

    const playlist::PlaylistReadResult read = playlist::ReadPlaylistFile(DataFile(file));
    QVERIFY(read.Ok());
    QCOMPARE(read.Table.Entries(), entries);
    QCOMPARE(read.Table.LastEntry(), qint16(entries.size() - 1));

    QVERIFY(playlist::WritePlaylistFile(Temp("written.cxp"), read.Table));
    QCOMPARE(ReadBytes(Temp("written.cxp")), ReadBytes(DataFile(saved)));

    // The same through the player's Open and Save, which writes back to the opened file.
    testsupport::ScriptedBoxes boxes;
    Window w(Variant::Player);
    const QString path = CopyOf(file, "opened.cxp");
    QVERIFY(w.commands->LoadPlaylist(path));
    QCOMPARE(w.commands->Table().Entries(), entries);
    QCOMPARE(ListRows(w.commands->lstList()), rows);
    QCOMPARE(w.commands->PlaylistPath(), path);
    w.commands->itmLSave_Click();
    QCOMPARE(ReadBytes(path), ReadBytes(DataFile(saved)));
    QCOMPARE(boxes.Unexpected(), 0);
    QVERIFY(boxes.Asked().isEmpty());
}

void TestPlaylist::badFileChangesNothing_data() {
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<QString>("file");  // under bad/, or made by the test when it starts with <
    QTest::addColumn<ReadFailure>("failure");
    QTest::addColumn<bool>("openedBefore");

    const QList<std::pair<QString, ReadFailure>> files = {
        {"<missing>", ReadFailure::CannotOpen},
        {"<folder>", ReadFailure::CannotOpen},
        {"track_not_a_number.cxp", ReadFailure::BadTrackNumber},
        {"track_quoted.cxp", ReadFailure::BadTrackNumber},
        {"track_empty.cxp", ReadFailure::BadTrackNumber},
        {"track_fraction.cxp", ReadFailure::BadTrackNumber},
        {"track_exponent.cxp", ReadFailure::BadTrackNumber},
        {"track_too_big.cxp", ReadFailure::TrackOutOfRange},
        {"track_too_small.cxp", ReadFailure::TrackOutOfRange},
        {"ends_after_path.cxp", ReadFailure::EndInEntry},
        {"ends_after_track.cxp", ReadFailure::EndInEntry},
        {"ends_after_comma.cxp", ReadFailure::EndInEntry},
        {"binary_junk.cxp", ReadFailure::BadTrackNumber},
        {"<32769 entries>", ReadFailure::TooManyEntries},
    };
    for (Variant variant : {Variant::Player, Variant::Encoder}) {
        for (const auto& [file, failure] : files) {
            QTest::addRow("%s, %s", qPrintable(VariantName(variant)), qPrintable(file))
                << variant << file << failure << true;
        }
        // At start-up there is nothing before: a failed Open leaves an empty playlist.
        QTest::addRow("%s, nothing opened before", qPrintable(VariantName(variant)))
            << variant << "ends_after_track.cxp" << ReadFailure::EndInEntry << false;
    }
}

void TestPlaylist::badFileChangesNothing() {
    QFETCH(Variant, variant);
    QFETCH(QString, file);
    QFETCH(ReadFailure, failure);
    QFETCH(bool, openedBefore);

    QString path = DataFile("bad/" + file);
    if (file == "<missing>") {
        path = Temp("missing.cxp");
    } else if (file == "<folder>") {
        path = Temp("folder.cxp");
        QVERIFY(QDir().mkdir(path));
    } else if (file == "<32769 entries>") {
        path = Temp("too_many.cxp");
        QVERIFY(WriteBytes(path, ManyEntries(32769)));
    }
    QCOMPARE(playlist::ReadPlaylistFile(path).Failure, failure);

    testsupport::ScriptedBoxes boxes;
    testsupport::ScriptedDialogs dialogs;
    Window w(variant);
    if (openedBefore) {
        w.commands->itmOLSave_Click(1);
        Open(w, dialogs, CopyOf("worked_example.cxp", "good.cxp"));
        QCOMPARE(w.commands->LastEntry(), qint16(1));
        // A pending change must survive the failed Open too.
        w.commands->ReplaceEntry(1, Added);
        w.commands->TableChanged();
        QVERIFY(w.commands->IsModified());
    }
    const QStringList before = w.Snapshot();
    w.calls.clear();

    boxes.Answer(MsgResult::OK);
    Open(w, dialogs, path);

    QCOMPARE(w.Snapshot(), before);
    QCOMPARE(w.calls, QStringList{});
    QCOMPARE(boxes.Asked().size(), 1);
    const platform::MsgBoxCall& box = boxes.Asked().front();
    QCOMPARE(box.title, QStringLiteral("Playlist Loader"));
    QCOMPARE(box.text, variant == Variant::Player
                           ? QStringLiteral("Could not read data file.")
                           : QStringLiteral("Could not read playlist file."));
    QCOMPARE(box.buttons, platform::MsgButtons::OK);
    QCOMPARE(box.icon, platform::MsgIcon::Exclamation);
    QCOMPARE(boxes.Unexpected(), 0);
    QCOMPARE(dialogs.Unexpected(), 0);
}

void TestPlaylist::capacity_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("loads");
    QTest::newRow("32,768 entries, the most a 16-bit index reaches") << 32768 << true;
    QTest::newRow("32,769 entries") << 32769 << false;
}

void TestPlaylist::capacity() {
    QFETCH(int, count);
    QFETCH(bool, loads);

    const QString path = Temp("big.cxp");
    QVERIFY(WriteBytes(path, ManyEntries(count)));
    testsupport::ScriptedBoxes boxes;
    if (!loads) {
        boxes.Answer(MsgResult::OK);
    }
    Window w(Variant::Player);
    QCOMPARE(w.commands->LoadPlaylist(path), loads);
    QCOMPARE(boxes.Asked().size(), loads ? 0 : 1);
    QCOMPARE(boxes.Unexpected(), 0);
    if (!loads) {
        QCOMPARE(w.commands->LastEntry(), qint16(-1));
        QCOMPARE(w.commands->lstList()->count(), 0);
        QCOMPARE(w.commands->PlaylistPath(), QString());
        return;
    }
    QCOMPARE(w.commands->LastEntry(), qint16(32767));
    QCOMPARE(w.commands->lstList()->count(), 32768);
    QCOMPARE(w.commands->lstList()->item(32767)->text(),
             QStringLiteral("1 - Song 32767 - Artist - /lyrics/song 32767.cx3"));
    // Full means full: one more entry is refused, table and list alike.
    QVERIFY(!w.commands->AppendEntry(Added));
    QCOMPARE(w.commands->Table().Count(), 32768);
    QCOMPARE(w.commands->lstList()->count(), 32768);
}

void TestPlaylist::openedFileKind_data() {
    using playlist::OpenedFileKind;
    QTest::addColumn<QString>("path");
    QTest::addColumn<OpenedFileKind>("kind");
    QTest::newRow("playlist") << "/l/list.cxp" << OpenedFileKind::Playlist;
    QTest::newRow("playlist, upper case") << "/l/LIST.CXP" << OpenedFileKind::Playlist;
    QTest::newRow("lyrics") << "/l/song.cx3" << OpenedFileKind::Lyrics;
    QTest::newRow("older lyrics, mixed case") << "/l/song.Cx2" << OpenedFileKind::Lyrics;
    QTest::newRow("text typed by hand") << "/l/song.txt" << OpenedFileKind::Nothing;
    QTest::newRow("only the last three count") << "/l/list.cxpx" << OpenedFileKind::Nothing;
    QTest::newRow("no dot needed") << "/l/listcxp" << OpenedFileKind::Playlist;
    QTest::newRow("short name") << "xp" << OpenedFileKind::Nothing;
}

void TestPlaylist::openedFileKind() {
    QFETCH(QString, path);
    QFETCH(playlist::OpenedFileKind, kind);
    QCOMPARE(playlist::KindOfOpenedFile(path), kind);
}

void TestPlaylist::upperCasePlaylistOpensAsPlaylist() {
    testsupport::ScriptedBoxes boxes;
    Window w(Variant::Player);
    const QString path = CopyOf("worked_example.cxp", "LIST.CXP");
    QCOMPARE(playlist::KindOfOpenedFile(path), playlist::OpenedFileKind::Playlist);
    QVERIFY(w.commands->LoadPlaylist(path));
    QCOMPARE(w.commands->Table().Entries(), (QList<PlaylistEntry>{PaperLanterns, SaltAndCedar}));
    QCOMPARE(boxes.Unexpected(), 0);
}

void TestPlaylist::menus_data() {
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("toolTip");

    QTest::newRow("player") << Variant::Player << "P&laylist"
                            << QStringList{"itmLPlay|&Play|Ctrl+P",
                                           "-",
                                           "itmLNew|&New|Ctrl+N",
                                           "itmLOpen|&Open...|Ctrl+O",
                                           "itmLSave|&Save|Ctrl+S",
                                           "-",
                                           "mnuListPop|&Track|",
                                           "  itmLAdd|&Add...|Ctrl+A",
                                           "  itmLEdit|&Edit...|F2",
                                           "  itmLRemove|&Remove...|Del",
                                           "-",
                                           "itmLVShow|S&how|F11",
                                           "-",
                                           "itmLS|So&rt|",
                                           "  itmLSort(0)|&Artist|",
                                           "  itmLSort(1)|&Title|",
                                           "  itmLSort(2)|T&rack|",
                                           "itmLShift|Sh&ift...|"}
                            << "Double-click to play";
    QTest::newRow("encoder") << Variant::Encoder << "&Playlist"
                             << QStringList{"itmLNew|&New|Ctrl+N",
                                            "itmLLoad|&Open...|Ctrl+O",
                                            "itmLSave(0)|&Save|Ctrl+S",
                                            "itmLSave(1)|S&ave As...|",
                                            "-",
                                            "mnuListPop|&Track|",
                                            "  itmLA|&Add|",
                                            "    itmLAdd(0)|&Current...|",
                                            "    itmLAdd(1)|&New...|",
                                            "  itmLEdit|&Edit...|",
                                            "  itmLRemove|&Remove...|",
                                            "-",
                                            "itmLS|So&rt|",
                                            "  itmLSort(0)|&Artist|",
                                            "  itmLSort(1)|&Title|",
                                            "  itmLSort(2)|T&rack|",
                                            "itmLShift|S&hift...|"}
                             << "";
}

void TestPlaylist::menus() {
    QFETCH(Variant, variant);
    QFETCH(QString, title);
    QFETCH(QStringList, items);
    QFETCH(QString, toolTip);

    Window w(variant);
    QCOMPARE(w.commands->mnuList()->title(), title);
    QStringList lines;
    DescribeMenu(w.commands->mnuList(), QString(), lines);
    QCOMPARE(lines, items);
    QCOMPARE(w.commands->lstList()->toolTip(), toolTip);
    QVERIFY(!w.commands->lstList()->isSortingEnabled());
    // Every item can be reached by its name.
    for (const QString& line : items) {
        const QString name = line.trimmed().section(u'|', 0, 0);
        if (name != u"-") {
            QVERIFY2(w.commands->Action(name), qPrintable(name));
        }
    }

    if (variant == Variant::Player) {
        lines.clear();
        DescribeMenu(w.commands->itmOLS(), QString(), lines);
        QCOMPARE(lines, (QStringList{"itmOLSave(0)|&On Change|", "itmOLSave(1)|&Manual|"}));
        QCOMPARE(w.commands->itmOLS()->title(), QStringLiteral("Playlist Save"));
    } else {
        QCOMPARE(w.commands->itmOLS(), nullptr);
    }
}

void TestPlaylist::availability_data() {
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<QStringList>("disabled");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("path");  // a temporary file's name, or empty

    const Variant P = Variant::Player;
    const QStringList pEmpty = {"itmLAdd",  "itmLEdit", "itmLRemove", "itmLPlay",
                                "itmLSave", "itmLS",    "itmLShift"};
    const QStringList pOpened = {"itmLAdd", "itmLEdit",  "itmLRemove", "itmLPlay",
                                 "itmLS",   "itmLShift", "itmLNew",    "itmLOpen"};
    QTest::newRow("player, at start")
        << P << QStringList{} << QStringList{"itmLNew", "itmLOpen"} << pEmpty << false << "";
    QTest::newRow("player, open") << P << QStringList{"open"} << pOpened << QStringList{"itmLSave"}
                                  << false << "a.cxp";
    QTest::newRow("player, manual change")
        << P << QStringList{"manual", "open", "change"} << pOpened + QStringList{"itmLSave"}
        << QStringList{} << true << "a.cxp";
    QTest::newRow("player, manual change, save")
        << P << QStringList{"manual", "open", "change", "save"} << pOpened
        << QStringList{"itmLSave"} << false << "a.cxp";
    QTest::newRow("player, manual change, failed save")
        << P << QStringList{"manual", "open", "change", "saveFails"}
        << pOpened + QStringList{"itmLSave"} << QStringList{} << true << "a.cxp";
    QTest::newRow("player, manual change, failed open")
        << P << QStringList{"manual", "open", "change", "openBad"}
        << pOpened + QStringList{"itmLSave"} << QStringList{} << true << "a.cxp";
    QTest::newRow("player, manual change, new")
        << P << QStringList{"manual", "open", "change", "new"} << QStringList{"itmLNew", "itmLOpen"}
        << pEmpty << false << "";
    QTest::newRow("player, manual add to a new playlist")
        << P << QStringList{"manual", "new", "add"} << QStringList{"itmLPlay", "itmLSave"}
        << QStringList{"itmLAdd", "itmLEdit", "itmLRemove", "itmLS", "itmLShift"} << true << "";
    QTest::newRow("player, manual add, save asks for the name")
        << P << QStringList{"manual", "new", "add", "saveAsB"} << QStringList{"itmLPlay"}
        << QStringList{"itmLSave"} << false << "b.cxp";
    QTest::newRow("player, manual add, save dialog cancelled")
        << P << QStringList{"manual", "new", "add", "saveCancelled"}
        << QStringList{"itmLPlay", "itmLSave"} << QStringList{} << true << "";
    QTest::newRow("player, on change add to a new playlist, dialog cancelled")
        << P << QStringList{"new", "addCancelled"} << QStringList{"itmLPlay"}
        << QStringList{"itmLSave"} << false << "";
    QTest::newRow("player, on change add to an opened playlist")
        << P << QStringList{"open", "add"} << pOpened << QStringList{"itmLSave"} << false
        << "a.cxp";

    const Variant E = Variant::Encoder;
    const QStringList eEmpty = {"itmLSave(0)", "itmLSave(1)", "itmLAdd(0)", "itmLEdit",
                                "itmLRemove",  "itmLS",       "itmLShift"};
    const QStringList eOpened = {"itmLSave(1)", "itmLEdit", "itmLRemove", "itmLS",
                                 "itmLShift",   "itmLNew",  "itmLLoad"};
    const QStringList eChanged = eOpened + QStringList{"itmLSave(0)"};
    QTest::newRow("encoder, at start")
        << E << QStringList{} << QStringList{"itmLNew", "itmLLoad"} << eEmpty << false << "";
    QTest::newRow("encoder, open") << E << QStringList{"open"} << eOpened
                                   << QStringList{"itmLSave(0)", "itmLAdd(0)"} << false << "a.cxp";
    QTest::newRow("encoder, open leaves Add Current as it was")
        << E << QStringList{"current", "open"} << eOpened + QStringList{"itmLAdd(0)"}
        << QStringList{"itmLSave(0)"} << false << "a.cxp";
    QTest::newRow("encoder, open cancelled")
        << E << QStringList{"openCancelled"} << QStringList{} << eEmpty << false << "";
    QTest::newRow("encoder, open, open cancelled")
        << E << QStringList{"open", "openCancelled"} << eOpened << QStringList{"itmLSave(0)"}
        << false << "a.cxp";
    QTest::newRow("encoder, add") << E << QStringList{"current", "add"}
                                  << QStringList{"itmLSave(0)", "itmLSave(1)", "itmLEdit",
                                                 "itmLRemove",  "itmLS",       "itmLShift"}
                                  << QStringList{"itmLAdd(0)"} << true << "";
    QTest::newRow("encoder, change")
        << E << QStringList{"open", "change"} << eChanged << QStringList{} << true << "a.cxp";
    QTest::newRow("encoder, change, save") << E << QStringList{"open", "change", "save"} << eOpened
                                           << QStringList{"itmLSave(0)"} << false << "a.cxp";
    QTest::newRow("encoder, change, save as")
        << E << QStringList{"open", "change", "saveAsB"} << eOpened << QStringList{"itmLSave(0)"}
        << false << "a.cxp";
    QTest::newRow("encoder, change, save as cancelled")
        << E << QStringList{"open", "change", "saveAsCancelled"} << eChanged << QStringList{}
        << true << "a.cxp";
    QTest::newRow("encoder, change, failed save") << E << QStringList{"open", "change", "saveFails"}
                                                  << eChanged << QStringList{} << true << "a.cxp";
    QTest::newRow("encoder, change, failed open") << E << QStringList{"open", "change", "openBad"}
                                                  << eChanged << QStringList{} << true << "a.cxp";
    QTest::newRow("encoder, change, new")
        << E << QStringList{"open", "change", "new"} << QStringList{"itmLNew", "itmLLoad"} << eEmpty
        << false << "";
    QTest::newRow("encoder, add, save asks for a name")
        << E << QStringList{"add", "saveAsB"}
        << QStringList{"itmLSave(1)", "itmLEdit", "itmLRemove", "itmLS", "itmLShift"}
        << QStringList{"itmLSave(0)"} << false << "";
}

void TestPlaylist::availability() {
    QFETCH(Variant, variant);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, enabled);
    QFETCH(QStringList, disabled);
    QFETCH(bool, modified);
    QFETCH(QString, path);

    testsupport::ScriptedBoxes boxes;
    testsupport::ScriptedDialogs dialogs;
    Window w(variant);
    PlaylistCommands& c = *w.commands;
    const QString a = CopyOf("worked_example.cxp", "a.cxp");
    int boxesExpected = 0;
    int dialogsExpected = 0;

    for (const QString& step : steps) {
        if (step == u"manual") {
            QVERIFY(c.itmOLSave_Click(1));
        } else if (step == u"open") {
            Open(w, dialogs, a);
            dialogsExpected += variant == Variant::Encoder;
        } else if (step == u"openBad") {
            boxes.Answer(MsgResult::OK);
            ++boxesExpected;
            Open(w, dialogs, DataFile("bad/ends_after_track.cxp"));
            dialogsExpected += variant == Variant::Encoder;
        } else if (step == u"openCancelled") {
            dialogs.Cancel();
            ++dialogsExpected;
            c.itmLLoad_Click();
        } else if (step == u"new") {
            c.itmLNew_Click();
        } else if (step == u"current") {
            // The encoder has just written a lyrics file.
            c.Action("itmLAdd(0)")->setEnabled(true);
        } else if (step == u"add" || step == u"addCancelled") {
            if (step == u"addCancelled") {
                dialogs.Cancel();
                ++dialogsExpected;
            }
            QVERIFY(c.AppendEntry(Added));
            c.EntryAdded();
        } else if (step == u"change") {
            c.ReplaceEntry(0, Added);
            c.TableChanged();
        } else if (step == u"save") {
            c.itmLSave_Click(0);
        } else if (step == u"saveAsB" || step == u"saveAsCancelled" || step == u"saveCancelled") {
            if (step == u"saveAsB") {
                dialogs.ChooseFile(Temp("b.cxp"));
            } else {
                dialogs.Cancel();
            }
            ++dialogsExpected;
            c.itmLSave_Click(step == u"saveCancelled" ? 0 : 1);
        } else if (step == u"saveFails") {
            QVERIFY(QFile::remove(a));
            QVERIFY(QDir().mkdir(a));
            boxes.Answer(MsgResult::OK);
            ++boxesExpected;
            c.itmLSave_Click(0);
        } else {
            QFAIL(qPrintable("unknown step " + step));
        }
    }

    for (const QString& name : enabled) {
        QVERIFY2(w.Enabled(name), qPrintable(name + " should be enabled"));
    }
    for (const QString& name : disabled) {
        QVERIFY2(!w.Enabled(name), qPrintable(name + " should be disabled"));
    }
    QCOMPARE(c.IsModified(), modified);
    QCOMPARE(c.PlaylistPath(), path.isEmpty() ? QString() : Temp(path));
    QCOMPARE(boxes.Asked().size(), boxesExpected);
    QCOMPARE(dialogs.Asked().size(), dialogsExpected);
    QCOMPARE(boxes.Unexpected(), 0);
    QCOMPARE(dialogs.Unexpected(), 0);
}

void TestPlaylist::playerWindowSteps_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("randomize");
    QTest::addColumn<QStringList>("calls");

    const QStringList loaded = {"SetListView(1,1) rows=2", "ShowPlay", "RandomizeList",
                                "SetPlayFromPlaylist", "SetCaption(Cantorix 3) modified=1"};
    QTest::newRow("load") << "load" << false << loaded;
    QStringList randomLoad = loaded;
    randomLoad.insert(3, "BuildRandomOrder");
    QTest::newRow("load, randomize on") << "load" << true << randomLoad;
    QTest::newRow("failed load") << "loadBad" << true << QStringList{};
    QTest::newRow("new") << "new" << true << QStringList{"SetListView(0,0) rows=0"};
    QTest::newRow("menu Open runs the window's Open")
        << "menuOpen" << false << QStringList{"CmdOpen"};
    QTest::newRow("add") << "add" << false << QStringList{"ShowPlay", "RandomizeList"};
    QTest::newRow("add, randomize on")
        << "add" << true << QStringList{"ShowPlay", "RandomizeList", "BuildRandomOrder"};
}

void TestPlaylist::playerWindowSteps() {
    QFETCH(QString, command);
    QFETCH(bool, randomize);
    QFETCH(QStringList, calls);

    testsupport::ScriptedBoxes boxes;
    Window w(Variant::Player);
    w.randomize = randomize;
    // Modified beforehand, so the caption step shows Open clears it only at its end.
    w.commands->itmOLSave_Click(1);
    QVERIFY(w.commands->AppendEntry(Added));
    w.commands->TableChanged();
    w.calls.clear();

    if (command == u"load") {
        QVERIFY(w.commands->LoadPlaylist(DataFile("worked_example.cxp")));
        QVERIFY(!w.commands->IsModified());
    } else if (command == u"loadBad") {
        boxes.Answer(MsgResult::OK);
        QVERIFY(!w.commands->LoadPlaylist(DataFile("bad/track_empty.cxp")));
    } else if (command == u"new") {
        w.commands->itmLNew_Click();
    } else if (command == u"menuOpen") {
        w.commands->Action("itmLOpen")->trigger();
    } else if (command == u"add") {
        QVERIFY(w.commands->AppendEntry(Added));
        w.commands->EntryAdded();
    }
    QCOMPARE(w.calls, calls);
    QCOMPARE(boxes.Unexpected(), 0);
}

void TestPlaylist::playlistSaveOption_data() {
    QTest::addColumn<QList<int>>("clicks");  // 0 and 1 through the menu, others called
    QTest::addColumn<int>("checked");

    QTest::newRow("on change by default") << QList<int>{} << 0;
    QTest::newRow("manual") << QList<int>{1} << 1;
    QTest::newRow("manual, then on change") << QList<int>{1, 0} << 0;
    QTest::newRow("clicking the ticked item keeps it") << QList<int>{1, 1} << 1;
    QTest::newRow("index 2 changes nothing") << QList<int>{1, 2} << 1;
    QTest::newRow("index -1 changes nothing") << QList<int>{1, -1} << 1;
}

void TestPlaylist::playlistSaveOption() {
    QFETCH(QList<int>, clicks);
    QFETCH(int, checked);

    Window w(Variant::Player);
    for (int index : clicks) {
        if (index == 0 || index == 1) {
            w.commands->Action(QStringLiteral("itmOLSave(%1)").arg(index))->trigger();
        } else {
            QVERIFY(!w.commands->itmOLSave_Click(index));
        }
    }
    QCOMPARE(w.commands->ListSaveIndex(), checked);
    QCOMPARE(w.commands->Action("itmOLSave(0)")->isChecked(), checked == 0);
    QCOMPARE(w.commands->Action("itmOLSave(1)")->isChecked(), checked == 1);
}

void TestPlaylist::changeUnderPlaylistSave_data() {
    QTest::addColumn<int>("option");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("dialogAnswer");  // "", "cancel" or a file name
    QTest::addColumn<bool>("written");          // the playlist file now holds the change
    QTest::addColumn<bool>("modified");

    QTest::newRow("on change, new playlist, name chosen")
        << 0 << false << "new.cxp" << true << false;
    QTest::newRow("on change, new playlist, dialog cancelled")
        << 0 << false << "cancel" << false << false;
    QTest::newRow("on change, opened playlist") << 0 << true << "" << true << false;
    QTest::newRow("manual, new playlist") << 1 << false << "" << false << true;
    QTest::newRow("manual, opened playlist") << 1 << true << "" << false << true;
}

void TestPlaylist::changeUnderPlaylistSave() {
    QFETCH(int, option);
    QFETCH(bool, opened);
    QFETCH(QString, dialogAnswer);
    QFETCH(bool, written);
    QFETCH(bool, modified);

    testsupport::ScriptedBoxes boxes;
    testsupport::ScriptedDialogs dialogs;
    Window w(Variant::Player);
    QVERIFY(w.commands->itmOLSave_Click(option));
    const QString a = CopyOf("worked_example.cxp", "a.cxp");
    QList<PlaylistEntry> expected;
    if (opened) {
        QVERIFY(w.commands->LoadPlaylist(a));
        expected = {PaperLanterns, SaltAndCedar};
    }
    if (dialogAnswer == u"cancel") {
        dialogs.Cancel();
    } else if (!dialogAnswer.isEmpty()) {
        dialogs.ChooseFile(Temp(dialogAnswer));
    }

    QVERIFY(w.commands->AppendEntry(Added));
    w.commands->EntryAdded();
    expected << Added;

    // The change is in the table whatever happened to the file.
    QCOMPARE(w.commands->Table().Entries(), expected);
    QCOMPARE(w.commands->lstList()->count(), expected.size());
    QCOMPARE(w.commands->IsModified(), modified);
    QCOMPARE(w.Enabled("itmLSave"), modified);
    QCOMPARE(dialogs.Asked().size(), dialogAnswer.isEmpty() ? 0 : 1);
    if (!dialogAnswer.isEmpty()) {
        QCOMPARE(dialogs.Asked().front().kind, platform::DialogKind::Save);
        QCOMPARE(dialogs.Asked().front().title, QStringLiteral("Save List File As"));
        QCOMPARE(dialogs.Asked().front().filter,
                 QStringLiteral("Cantorix Playlist Files (*.cxp)|*.cxp"));
        QCOMPARE(dialogs.Asked().front().flags, 6148);
    }

    const bool named = !dialogAnswer.isEmpty() && dialogAnswer != u"cancel";
    const QString file = opened ? a : named ? Temp(dialogAnswer) : QString();
    QCOMPARE(w.commands->PlaylistPath(), file);
    if (written) {
        QCOMPARE(playlist::ReadPlaylistFile(file).Table.Entries(), expected);
    } else {
        QCOMPARE(ReadBytes(a), ReadBytes(DataFile("worked_example.cxp")));
        QCOMPARE(QDir(tmp->path()).entryList(QDir::Files), QStringList{"a.cxp"});
    }
    QCOMPARE(boxes.Unexpected(), 0);
    QCOMPARE(dialogs.Unexpected(), 0);

    // Switching to On Change does not write what is pending; the next change does.
    if (option == 1 && opened) {
        QVERIFY(w.commands->itmOLSave_Click(0));
        QCOMPARE(ReadBytes(a), ReadBytes(DataFile("worked_example.cxp")));
        w.commands->ReplaceEntry(0, SaltAndCedar);
        w.commands->TableChanged();
        QVERIFY(!w.commands->IsModified());
        QCOMPARE(playlist::ReadPlaylistFile(a).Table.Entries(),
                 (QList<PlaylistEntry>{SaltAndCedar, SaltAndCedar, Added}));
    }
}

void TestPlaylist::encoderSaveWritesTheOpenedFile() {
    testsupport::ScriptedBoxes boxes;
    testsupport::ScriptedDialogs dialogs;
    Window w(Variant::Encoder);
    const QString a = CopyOf("worked_example.cxp", "a.cxp");
    const QString b = Temp("b.cxp");

    dialogs.ChooseFile(a);
    w.commands->itmLLoad_Click();
    dialogs.ChooseFile(b);
    w.commands->itmLSave_Click(1);
    QCOMPARE(ReadBytes(b), ReadBytes(DataFile("worked_example.cxp")));
    QCOMPARE(w.commands->PlaylistPath(), a);

    QVERIFY(w.commands->AppendEntry(Added));
    w.commands->EntryAdded();
    w.commands->itmLSave_Click(0);

    QCOMPARE(playlist::ReadPlaylistFile(a).Table.Entries(),
             (QList<PlaylistEntry>{PaperLanterns, SaltAndCedar, Added}));
    QCOMPARE(ReadBytes(b), ReadBytes(DataFile("worked_example.cxp")));
    QVERIFY(!w.commands->IsModified());
    QCOMPARE(dialogs.Asked().size(), 2);
    QCOMPARE(dialogs.Asked().at(0).kind, platform::DialogKind::Open);
    QCOMPARE(dialogs.Asked().at(0).title, QStringLiteral("Open List File"));
    QCOMPARE(dialogs.Asked().at(0).filter, QStringLiteral("Cantorix Playlist Files (*.cxp)|*.cxp"));
    QCOMPARE(dialogs.Asked().at(1).kind, platform::DialogKind::Save);
    QCOMPARE(dialogs.Asked().at(1).title, QStringLiteral("Save List File As"));
    QCOMPARE(boxes.Unexpected(), 0);
    QCOMPARE(dialogs.Unexpected(), 0);
}

void TestPlaylist::encoderNeverOpenedAsksAtEverySave() {
    testsupport::ScriptedBoxes boxes;
    testsupport::ScriptedDialogs dialogs;
    Window w(Variant::Encoder);
    w.commands->itmLNew_Click();

    QVERIFY(w.commands->AppendEntry(PaperLanterns));
    w.commands->EntryAdded();
    dialogs.ChooseFile(Temp("first.cxp"));
    w.commands->itmLSave_Click(0);
    QVERIFY(!w.commands->IsModified());

    QVERIFY(w.commands->AppendEntry(SaltAndCedar));
    w.commands->EntryAdded();
    dialogs.ChooseFile(Temp("second.cxp"));
    w.commands->itmLSave_Click(0);

    QCOMPARE(dialogs.Asked().size(), 2);
    QCOMPARE(w.commands->PlaylistPath(), QString());
    QCOMPARE(playlist::ReadPlaylistFile(Temp("first.cxp")).Table.Entries(),
             QList<PlaylistEntry>{PaperLanterns});
    QCOMPARE(ReadBytes(Temp("second.cxp")), ReadBytes(DataFile("worked_example.cxp")));
    QCOMPARE(boxes.Unexpected(), 0);
    QCOMPARE(dialogs.Unexpected(), 0);
}

void TestPlaylist::failedSave_data() {
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("how");  // what stands in the way of the file

    for (Variant variant : {Variant::Player, Variant::Encoder}) {
        const QString v = VariantName(variant);
        QTest::addRow("%s, opened file replaced by a folder", qPrintable(v))
            << variant << true << "folder";
        QTest::addRow("%s, opened file, no room for the new copy beside it", qPrintable(v))
            << variant << true << "longName";
        QTest::addRow("%s, new playlist, folder chosen", qPrintable(v))
            << variant << false << "folder";
    }
}

void TestPlaylist::failedSave() {
    QFETCH(Variant, variant);
    QFETCH(bool, opened);
    QFETCH(QString, how);

    testsupport::ScriptedBoxes boxes;
    testsupport::ScriptedDialogs dialogs;
    Window w(variant);
    if (variant == Variant::Player) {
        QVERIFY(w.commands->itmOLSave_Click(1));
    }
    // The longest name a folder entry takes: the file itself fits, but the temporary file
    // an atomic save writes beside it cannot be made.
    const QString name = how == u"longName" ? QString(251, u'n') + ".cxp" : QString("a.cxp");
    QVERIFY(QFile::copy(DataFile("worked_example.cxp"), Temp(name)));
    const QString target = Temp(name);
    if (opened) {
        Open(w, dialogs, target);
        if (how == u"folder") {
            QVERIFY(QFile::remove(target));
            QVERIFY(QDir().mkdir(target));
        }
    } else {
        QVERIFY(QFile::remove(target));
        QVERIFY(QDir().mkdir(target));
        dialogs.ChooseFile(target);
    }
    QVERIFY(w.commands->AppendEntry(Added));
    w.commands->TableChanged();
    QVERIFY(w.commands->IsModified());

    boxes.Answer(MsgResult::OK);
    w.commands->itmLSave_Click(0);

    QCOMPARE(boxes.Asked().size(), 1);
    QCOMPARE(boxes.Asked().front().title, QStringLiteral("Playlist Saver"));
    QCOMPARE(boxes.Asked().front().text, QStringLiteral("Could not save playlist."));
    QCOMPARE(boxes.Asked().front().buttons, platform::MsgButtons::OK);
    QCOMPARE(boxes.Asked().front().icon, platform::MsgIcon::Exclamation);
    QVERIFY(w.commands->IsModified());
    QVERIFY(w.Enabled(variant == Variant::Player ? "itmLSave" : "itmLSave(0)"));
    QCOMPARE(w.commands->LastEntry(), qint16(opened ? 2 : 0));
    if (how == u"longName") {
        QCOMPARE(ReadBytes(target), ReadBytes(DataFile("worked_example.cxp")));
    } else {
        QVERIFY(QFileInfo(target).isDir());
    }
    // The player keeps the name chosen for a new playlist; the encoder never adopts one.
    QCOMPARE(w.commands->PlaylistPath(), opened || variant == Variant::Player ? target : QString());
    QCOMPARE(boxes.Unexpected(), 0);
    QCOMPARE(dialogs.Unexpected(), 0);
}

void TestPlaylist::shutDownQuestion_data() {
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<MsgResult>("answer");
    QTest::addColumn<bool>("saved");

    for (Variant variant : {Variant::Player, Variant::Encoder}) {
        const QString v = VariantName(variant);
        QTest::addRow("%s, unchanged: not asked", qPrintable(v))
            << variant << true << false << MsgResult::No << false;
        QTest::addRow("%s, opened, No", qPrintable(v))
            << variant << true << true << MsgResult::No << false;
        QTest::addRow("%s, opened, Cancel", qPrintable(v))
            << variant << true << true << MsgResult::Cancel << false;
        QTest::addRow("%s, opened, Yes saves", qPrintable(v))
            << variant << true << true << MsgResult::Yes << true;
        QTest::addRow("%s, no file, Yes asks for a name", qPrintable(v))
            << variant << false << true << MsgResult::Yes << true;
    }
}

void TestPlaylist::shutDownQuestion() {
    QFETCH(Variant, variant);
    QFETCH(bool, opened);
    QFETCH(bool, changed);
    QFETCH(MsgResult, answer);
    QFETCH(bool, saved);

    testsupport::ScriptedBoxes boxes;
    testsupport::ScriptedDialogs dialogs;
    Window w(variant);
    if (variant == Variant::Player) {
        QVERIFY(w.commands->itmOLSave_Click(1));
    }
    const QString a = CopyOf("worked_example.cxp", "a.cxp");
    if (opened) {
        Open(w, dialogs, a);
    }
    if (changed) {
        QVERIFY(w.commands->AppendEntry(Added));
        w.commands->TableChanged();
        boxes.Answer(answer);
    }
    const QString target = opened ? a : Temp("chosen.cxp");
    if (saved && !opened) {
        dialogs.ChooseFile(target);
    }

    QCOMPARE(w.commands->AskSaveOnClose(), answer);

    QCOMPARE(boxes.Asked().size(), changed ? 1 : 0);
    if (changed) {
        const platform::MsgBoxCall& box = boxes.Asked().front();
        QCOMPARE(box.title, QStringLiteral("Close Cantorix?"));
        QCOMPARE(box.text, "Would you like to save the changes you made to the playlist?\r" +
                               (opened ? a : QString()));
        QCOMPARE(box.buttons, platform::MsgButtons::YesNoCancel);
        QCOMPARE(box.icon, platform::MsgIcon::Question);
    }
    QCOMPARE(w.commands->IsModified(), changed && !saved);
    if (saved) {
        QCOMPARE(playlist::ReadPlaylistFile(target).Table.Count(), opened ? 3 : 1);
    } else {
        QCOMPARE(ReadBytes(a), ReadBytes(DataFile("worked_example.cxp")));
    }
    QCOMPARE(boxes.Unexpected(), 0);
    QCOMPARE(dialogs.Unexpected(), 0);
}

void TestPlaylist::entryEditingKeepsRowsInStep() {
    Window w(Variant::Encoder);
    QVERIFY(w.commands->ReadPlaylist(DataFile("worked_example.cxp")));
    QVERIFY(w.commands->AppendEntry(Added));
    w.commands->ReplaceEntry(0, {"/l/x.cx3", -2, "X - Y"});
    w.commands->RemoveEntry(1);

    const QList<PlaylistEntry> expected = {{"/l/x.cx3", -2, "X - Y"}, Added};
    QCOMPARE(w.commands->Table().Entries(), expected);
    QStringList rows;
    for (const PlaylistEntry& e : expected) {
        rows << playlist::RowText(e);
    }
    QCOMPARE(ListRows(w.commands->lstList()), rows);
    QCOMPARE(w.commands->LastEntry(), qint16(1));

    // Sort and Shift reorder the table in place, then rebuild the list.
    std::reverse(w.commands->Table().begin(), w.commands->Table().end());
    w.commands->lstList()->setCurrentRow(1);
    w.commands->ReloadList();
    std::reverse(rows.begin(), rows.end());
    QCOMPARE(ListRows(w.commands->lstList()), rows);
    QCOMPARE(w.commands->lstList()->currentRow(), -1);
}

QTEST_MAIN(TestPlaylist)
#include "tst_playlist.moc"
