// The lyrics playlist: its file, its list rows, and the New, Open and Save commands of
// both programs with the menu states they leave.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>

#include "platform/CommonDialog.h"
#include "playlist/PlaylistCommands.h"
#include "playlist/PlaylistFile.h"
#include "support/Files.h"
#include "support/Scripted.h"

using platform::MsgResult;
using playlist::PlaylistEntry;
using testsupport::ReadBytes;
using Variant = playlist::PlaylistCommands::Variant;
using Entries = QList<PlaylistEntry>;

Q_DECLARE_METATYPE(PlaylistEntry)
Q_DECLARE_METATYPE(playlist::ReadFailure)
Q_DECLARE_METATYPE(Variant)

namespace {

QString DataFile(const QString& name) {
    return QStringLiteral(CANTORIX_TEST_DATA "/playlist/") + name;
}

// n one-line entries; the last row of 32,768 is "1 - Song 32767 - Artist - ...".
QByteArray ManyEntries(int n) {
    QByteArray bytes;
    for (int i = 0; i < n; ++i) {
        const QByteArray k = QByteArray::number(i);
        bytes += "\"/lyrics/song " + k + ".cx3\"," + QByteArray::number(i % 32767 + 1) +
                 ",\"Song " + k + " - Artist\"\r\n";
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

// A main window's worth of playlist, noting each of the player's window steps it runs.
struct Window {
    explicit Window(Variant variant) {
        dialog.Flags = 6148;
        commands = std::make_unique<playlist::PlaylistCommands>(variant, &owner, dialog);
        const auto step = [this] { ++steps; };
        commands->SetPlayerHooks({[this](bool, bool) { ++steps; }, step,
                                  [this] { return ++steps, false; }, step, step,
                                  [this](const QString&) { ++steps; }, step});
    }

    // Everything a failed command must leave as it was.
    QStringList Snapshot() const {
        QStringList state{commands->PlaylistPath(), QString::number(commands->IsModified())};
        for (const PlaylistEntry& e : commands->Table()) {
            state << "entry " + playlist::RowText(e);
        }
        state << ListRows(commands->lstList());
        for (QAction* action : commands->mnuList()->findChildren<QAction*>()) {
            state << action->objectName() + u'=' + QString::number(action->isEnabled());
        }
        return state;
    }

    // Either program's Open; the encoder's goes through its dialog.
    void Open(testsupport::ScriptedDialogs& dialogs, const QString& path) {
        if (commands->GetVariant() == Variant::Player) {
            commands->LoadPlaylist(path);
        } else {
            dialogs.ChooseFile(path);
            commands->itmLLoad_Click();
        }
    }

    void Change() {
        commands->ReplaceEntry(0, Added);
        commands->TableChanged();
    }

    QWidget owner;
    platform::CommonDialog dialog{&owner};
    std::unique_ptr<playlist::PlaylistCommands> commands;
    int steps = 0;
};

}  // namespace

class TestPlaylist : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> tmp;
    QString Temp(const QString& name) const { return tmp->filePath(name); }
    // A writable copy of a golden file in the temporary folder.
    QString CopyOf(const QString& dataName, const QString& tempName) {
        QFile::copy(DataFile(dataName), Temp(tempName));
        QFile::setPermissions(Temp(tempName), QFile::ReadOwner | QFile::WriteOwner);
        return Temp(tempName);
    }

  private slots:
    void init() {
        tmp = std::make_unique<QTemporaryDir>(
            qEnvironmentVariable("CANTORIX_TEST_TMP", QDir::tempPath()) + "/playlist-XXXXXX");
        QVERIFY(tmp->isValid());
    }

    void goldenFiles_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QString>("saved");  // the golden file that saving it again gives
        const Entries both{PaperLanterns, SaltAndCedar};
        QTest::newRow("worked example") << "worked_example.cxp" << both << "worked_example.cxp";
        QTest::newRow("empty file") << "empty.cxp" << Entries{} << "empty.cxp";
        QTest::newRow("commas and negative tracks")
            << "comma_and_negative.cxp"
            << Entries{{"C:\\Lyrics\\salt, cedar.cx3", -4, "Salt, Cedar - Mira Vale"},
                       {"/home/mira/lyrics/low.cx2", -32768, "Low, Lower - Mira Vale"},
                       {"/home/mira/lyrics/high.cx3", 32767, "High - Mira Vale"}}
            << "comma_and_negative.cxp";
        QTest::newRow("trailing blank lines, LF line ends")
            << "trailing_blank_lines.cxp" << both << "worked_example.cxp";
        QTest::newRow("entry spread over lines, no final line end")
            << "stream_layout.cxp" << both << "worked_example.cxp";
        QTest::newRow("Windows-1252 file saved as UTF-8")
            << "windows_1252.cxp"
            << Entries{{QStringLiteral("C:\\Lyrics\\café.cx3"), 7,
                        QStringLiteral("Café Noir - Léa")}}
            << "windows_1252_saved.cxp";
    }
    // Through the player's Open and Save, which writes back to the opened file.
    void goldenFiles() {
        QFETCH(QString, file);
        QFETCH(Entries, entries);
        QFETCH(QString, saved);
        testsupport::ScriptedBoxes boxes;
        Window w(Variant::Player);
        const QString path = CopyOf(file, "opened.cxp");
        QVERIFY(w.commands->LoadPlaylist(path));
        QCOMPARE(w.commands->Table().Entries(), entries);
        QCOMPARE(w.commands->lstList()->count(), entries.size());
        QCOMPARE(w.commands->PlaylistPath(), path);
        w.commands->itmLSave_Click();
        QCOMPARE(ReadBytes(path), ReadBytes(DataFile(saved)));
        QVERIFY(boxes.Asked().isEmpty());
    }

    void badFileChangesNothing_data() {
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<QString>("file");  // under bad/, or made by the test when it starts with <
        QTest::addColumn<playlist::ReadFailure>("failure");
        using F = playlist::ReadFailure;
        // clang-format off
        const QList<std::pair<const char*, F>> files = {
            {"<missing>", F::CannotOpen}, {"<32769 entries>", F::TooManyEntries},
            {"track_not_a_number.cxp", F::BadTrackNumber}, {"track_empty.cxp", F::BadTrackNumber},
            {"track_fraction.cxp", F::BadTrackNumber}, {"track_quoted.cxp", F::BadTrackNumber},
            {"binary_junk.cxp", F::BadTrackNumber}, {"track_too_big.cxp", F::TrackOutOfRange},
            {"track_too_small.cxp", F::TrackOutOfRange}, {"ends_after_path.cxp", F::EndInEntry},
            {"ends_after_track.cxp", F::EndInEntry}};
        // clang-format on
        for (Variant variant : {Variant::Player, Variant::Encoder}) {
            for (const auto& [file, failure] : files) {
                QTest::addRow("%s, %s", variant == Variant::Player ? "player" : "encoder", file)
                    << variant << file << failure;
            }
        }
    }
    void badFileChangesNothing() {
        QFETCH(Variant, variant);
        QFETCH(QString, file);
        QString path = DataFile("bad/" + file);
        if (file == "<missing>") {
            path = Temp("missing.cxp");
        } else if (file == "<32769 entries>") {
            path = Temp("too_many.cxp");
            QVERIFY(testsupport::WriteBytes(path, ManyEntries(32769)));
        }
        QTEST(playlist::ReadPlaylistFile(path).Failure, "failure");

        testsupport::ScriptedBoxes boxes;
        testsupport::ScriptedDialogs dialogs;
        Window w(variant);
        w.commands->itmOLSave_Click(1);
        w.Open(dialogs, CopyOf("worked_example.cxp", "good.cxp"));
        w.Change();  // a pending change must survive the failed Open too
        const QStringList before = w.Snapshot();
        w.steps = 0;
        boxes.Answer(MsgResult::OK);
        w.Open(dialogs, path);
        QCOMPARE(w.Snapshot(), before);
        QCOMPARE(w.steps, 0);
        QCOMPARE(boxes.Asked().size(), 1);
        const platform::MsgBoxCall& box = boxes.Asked().front();
        QCOMPARE(
            box.title + ": " + box.text,
            QString(variant == Variant::Player ? "Playlist Loader: Could not read data file."
                                               : "Playlist Loader: Could not read playlist file."));
        QCOMPARE(box.icon, platform::MsgIcon::Exclamation);
    }

    void fullTable() {
        const QString path = Temp("big.cxp");
        QVERIFY(testsupport::WriteBytes(path, ManyEntries(32768)));
        Window w(Variant::Player);
        QVERIFY(w.commands->LoadPlaylist(path));
        QCOMPARE(w.commands->LastEntry(), qint16(32767));
        QCOMPARE(w.commands->lstList()->item(32767)->text(),
                 QStringLiteral("1 - Song 32767 - Artist - /lyrics/song 32767.cx3"));
        // One more entry is refused, table and list alike.
        QVERIFY(!w.commands->AppendEntry(Added));
        QCOMPARE(w.commands->Table().Count(), 32768);
        QCOMPARE(w.commands->lstList()->count(), 32768);
    }

    // A sequence of commands, then the playlist items enabled (the others disabled),
    // PlaylistModified, PlaylistPath and the files in the temporary folder with their
    // track numbers ("a.cxp=3,12"; "f.cxp/" for a folder). Every dialog and box asked must
    // be one the steps answered.
    void commands_data() {
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("files");
        auto row = [](const char* name, Variant v, const QString& steps, const QString& enabled,
                      bool modified, const QString& path, const QString& files) {
            QTest::newRow(name) << v << steps << enabled << modified << path << files;
        };
        const Variant P = Variant::Player, E = Variant::Encoder;
        const QString pOpened = "Play New Open Add Edit Remove S Shift";
        const QString pChanged = "Play New Open Save Add Edit Remove S Shift";
        const QString eOpened = "New Load Save(1) Edit Remove S Shift";
        const QString eChanged = "New Load Save(0) Save(1) Edit Remove S Shift";
        const QString kept = "a.cxp=3,12";

        row("player, at start", P, "", "New Open", false, "", "");
        row("player, manual change, save", P, "manual open change save", pOpened, false, "a.cxp",
            "a.cxp=5,12");
        row("player, manual change, new", P, "manual open change new", "New Open", false, "", kept);
        row("player, manual add to a new playlist", P, "manual new add", "Play New Open Save", true,
            "", "");
        row("player, on change, add", P, "open add", pOpened, false, "a.cxp", "a.cxp=3,12,5");
        row("player, on change, add to a new playlist", P, "choose:n.cxp add", "Play New Open",
            false, "n.cxp", "n.cxp=5");
        row("player, on change, add to a new playlist, cancelled", P, "cancel add", "Play New Open",
            false, "", "");
        row("player, back to on change, the next change writes", P,
            "manual open change onChange change", pOpened, false, "a.cxp", "a.cxp=5,12");

        row("encoder, at start", E, "", "New Load", false, "", "");
        row("encoder, open leaves Add Current as it was", E, "current open",
            "New Load Save(1) Add(0) Edit Remove S Shift", false, "a.cxp", kept);
        row("encoder, add", E, "current add", eChanged, true, "", "");
        row("encoder, change, save", E, "open change save", eOpened, false, "a.cxp", "a.cxp=5,12");
        row("encoder, save as writes a copy, save the opened file", E,
            "open choose:b.cxp saveAs add save", eOpened, false, "a.cxp",
            "a.cxp=3,12,5 b.cxp=3,12");
        row("encoder, never opened: every save asks", E,
            "add choose:f.cxp save add choose:s.cxp save", eOpened, false, "", "f.cxp=5 s.cxp=5,5");
        row("encoder, change, new", E, "open change new", "New Load", false, "", kept);

        // The longest name a folder entry takes: the file fits, but the temporary file an
        // atomic save writes beside it cannot be made.
        row("player, failed save keeps the old file", P, "manual openLong add ok save", pChanged,
            true, "long.cxp", "long.cxp=3,12");
        row("encoder, failed save keeps the old file", E, "openLong add ok save", eChanged, true,
            "long.cxp", "long.cxp=3,12");
        // The player keeps the name chosen for a new playlist; the encoder never adopts one.
        row("player, failed save to a folder", P, "manual add folder:f.cxp choose:f.cxp ok save",
            "Play New Open Save", true, "f.cxp", "f.cxp/");
        row("encoder, failed save to a folder", E, "add folder:f.cxp choose:f.cxp ok save",
            eChanged, true, "", "f.cxp/");

        // The shut-down question: asked only while modified; Yes saves, and a Yes that could
        // not save keeps the window open as Cancel does.
        row("player, unchanged: not asked on close", P, "manual open close", pOpened, false,
            "a.cxp", kept);
        row("player, close, Cancel", P, "manual open add close:Cancel", pChanged, true, "a.cxp",
            kept);
        row("player, close, Yes saves", P, "manual open add close:Yes", pOpened, false, "a.cxp",
            "a.cxp=3,12,5");
        row("player, close, Yes asks for a name", P, "manual add choose:c.cxp close:Yes",
            "Play New Open", false, "c.cxp", "c.cxp=5");
        row("player, close, Yes, name cancelled", P, "manual add cancel close:Yes>Cancel",
            "Play New Open Save", true, "", "");
        row("encoder, close, Yes asks for a name", E, "add choose:c.cxp close:Yes", eOpened, false,
            "", "c.cxp=5");
    }
    void commands() {
        QFETCH(Variant, variant);
        QFETCH(QString, steps);
        QFETCH(QString, path);
        testsupport::ScriptedBoxes boxes;
        testsupport::ScriptedDialogs dialogs;
        Window w(variant);
        playlist::PlaylistCommands& c = *w.commands;
        const QString longName = QString(251, u'n') + ".cxp";
        const auto result = [](QStringView s) {
            return s == u"Yes" ? MsgResult::Yes : MsgResult::Cancel;
        };
        const QHash<QString, std::function<void()>> simple{
            {"manual", [&] { c.itmOLSave_Click(1); }},
            {"onChange", [&] { c.itmOLSave_Click(0); }},
            {"open", [&] { w.Open(dialogs, CopyOf("worked_example.cxp", "a.cxp")); }},
            {"openLong", [&] { w.Open(dialogs, CopyOf("worked_example.cxp", longName)); }},
            {"new", [&] { c.itmLNew_Click(); }},
            // The encoder has just written a lyrics file.
            {"current", [&] { c.Action("itmLAdd(0)")->setEnabled(true); }},
            {"add",
             [&] {
                 c.AppendEntry(Added);
                 c.EntryAdded();
             }},
            {"change", [&] { w.Change(); }},
            {"save", [&] { c.itmLSave_Click(0); }},
            {"saveAs", [&] { c.itmLSave_Click(1); }},
            {"cancel", [&] { dialogs.Cancel(); }},
            {"ok", [&] { boxes.Answer(MsgResult::OK); }},
            {"close", [&] { QCOMPARE(c.AskSaveOnClose(), MsgResult::No); }},
        };
        for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString arg = step.section(u':', 1);
            if (simple.contains(step)) {
                simple[step]();
            } else if (step.startsWith(u"choose:")) {
                dialogs.ChooseFile(Temp(arg));
            } else if (step.startsWith(u"folder:")) {
                QVERIFY(QDir(tmp->path()).mkdir(arg));
            } else if (step.startsWith(u"close:")) {  // the answer given>the answer returned
                boxes.Answer(result(arg.section(u'>', 0, 0)));
                QCOMPARE(c.AskSaveOnClose(), result(arg.section(u'>', -1)));
            } else {
                QFAIL(qPrintable("unknown step " + step));
            }
        }
        QStringList enabled;
        const char* items = variant == Variant::Player
                                ? "Play New Open Save Add Edit Remove S Shift"
                                : "New Load Save(0) Save(1) Add(0) Edit Remove S Shift";
        for (const QString& item : QString(items).split(u' ')) {
            if (c.Action("itmL" + item)->isEnabled()) {
                enabled << item;
            }
        }
        QTEST(enabled.join(u' '), "enabled");
        QTEST(c.IsModified(), "modified");
        QCOMPARE(c.PlaylistPath(), path.isEmpty()        ? QString()
                                   : path == u"long.cxp" ? Temp(longName)
                                                         : Temp(path));
        QStringList files;
        for (const QFileInfo& f :
             QDir(tmp->path()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            const QString name = f.fileName() == longName ? "long.cxp" : f.fileName();
            QStringList tracks;
            for (const PlaylistEntry& e : playlist::ReadPlaylistFile(f.filePath()).Table) {
                tracks << QString::number(e.TrackNumber);
            }
            files << (f.isDir() ? name + u'/' : name + u'=' + tracks.join(u','));
        }
        files.sort();
        QTEST(files.join(u' '), "files");
        QCOMPARE(boxes.Asked().size(), steps.count("ok") + steps.count("close:"));
        QCOMPARE(dialogs.Asked().size(), steps.count("choose:") + steps.count("cancel") +
                                             (variant == Variant::Encoder) * steps.count("open"));
    }

    // What the commands ask: the encoder's Open, the shut-down question whose Yes cannot
    // save, and Save As. Buttons and icon as numbers: YesNoCancel 3 and Question 3, OK 0
    // and Exclamation 2.
    void boxesAndDialogs() {
        testsupport::ScriptedBoxes boxes;
        testsupport::ScriptedDialogs dialogs;
        Window w(Variant::Encoder);
        const QString a = CopyOf("worked_example.cxp", "a.cxp");
        w.Open(dialogs, a);
        w.Change();
        QVERIFY(QFile::remove(a) && QDir().mkdir(a));
        boxes.Answer(MsgResult::Yes);
        boxes.Answer(MsgResult::OK);
        QCOMPARE(w.commands->AskSaveOnClose(), MsgResult::Cancel);
        dialogs.Cancel();
        w.commands->itmLSave_Click(1);
        QStringList asked;
        for (const platform::MsgBoxCall& b : boxes.Asked()) {
            asked << b.title + u'|' + b.text +
                         QString::asprintf("|%d|%d", int(b.buttons), int(b.icon));
        }
        for (const platform::DialogRequest& d : dialogs.Asked()) {
            asked << d.title + u'|' + d.filter + QString::asprintf("|%d|%d", int(d.kind), d.flags);
        }
        const QString filter = "|Cantorix Playlist Files (*.cxp)|*.cxp|";
        QCOMPARE(asked, (QStringList{"Close Cantorix?|Would you like to save the changes you made "
                                     "to the playlist?\r" +
                                         a + "|3|3",
                                     "Playlist Saver|Could not save playlist.|0|2",
                                     "Open List File" + filter + "0|6148",
                                     "Save List File As" + filter + "1|6148"}));
    }

    // The menu flips a ticked item off before the command runs; the command ticks it again.
    void playlistSaveOption() {
        Window w(Variant::Player);
        const auto ticked = [&] {
            return QStringLiteral("%1 %2%3")
                .arg(w.commands->ListSaveIndex())
                .arg(w.commands->Action("itmOLSave(0)")->isChecked())
                .arg(w.commands->Action("itmOLSave(1)")->isChecked());
        };
        QCOMPARE(ticked(), QString("0 10"));
        w.commands->Action("itmOLSave(1)")->trigger();
        QCOMPARE(ticked(), QString("1 01"));
        w.commands->Action("itmOLSave(1)")->trigger();
        QVERIFY(!w.commands->itmOLSave_Click(2));
        QCOMPARE(ticked(), QString("1 01"));
        w.commands->Action("itmOLSave(0)")->trigger();
        QCOMPARE(ticked(), QString("0 10"));
    }

    // Edit, Remove, Sort and Shift keep the list row for row with the table.
    void entryEditingKeepsRowsInStep() {
        Window w(Variant::Encoder);
        playlist::PlaylistCommands& c = *w.commands;
        QVERIFY(c.ReadPlaylist(DataFile("worked_example.cxp")));
        QVERIFY(c.AppendEntry(Added));
        const PlaylistEntry x{"/l/x.cx3", -2, "X - Y"};
        c.ReplaceEntry(0, x);
        c.RemoveEntry(1);
        QCOMPARE(c.Table().Entries(), (Entries{x, Added}));
        const QStringList rows{"-2 - X - Y - /l/x.cx3", playlist::RowText(Added)};
        QCOMPARE(ListRows(c.lstList()), rows);
        QCOMPARE(c.LastEntry(), qint16(1));
        std::reverse(c.Table().begin(), c.Table().end());
        c.lstList()->setCurrentRow(1);
        c.ReloadList();
        QCOMPARE(ListRows(c.lstList()), (QStringList{rows[1], rows[0]}));
        QCOMPARE(c.lstList()->currentRow(), -1);
    }
};

QTEST_MAIN(TestPlaylist)
#include "tst_playlist.moc"
