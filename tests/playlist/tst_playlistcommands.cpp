// The commands both programs call over the playlist model, the entry dialog and its number
// rules, with their boxes and dialogs; the list box and each program's own are the programs'.
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include "platform/CommonDialog.h"
#include "platform/Modal.h"
#include "playlist/EntryCommands.h"
#include "playlist/EntryNumber.h"
#include "playlist/Playlist.h"
#include "playlist/PlaylistCommands.h"
#include "playlist/PlaylistFile.h"
#include "playlist/frmAssoc.h"
#include "playlist/frmShift.h"
#include "support/Files.h"
#include "support/Scripted.h"
#include "support/SimWinamp.h"
#include "winamp/Link.h"
#include "winamp/Messages.h"

using platform::MsgResult;
using playlist::frmAssoc;
using playlist::PlaylistEntry;
using playlist::SaveMode;
using testsupport::ScriptedBoxes;
using testsupport::ScriptedDialogs;
using Typed = std::optional<int>;

Q_DECLARE_METATYPE(SaveMode)
Q_DECLARE_METATYPE(Typed)

namespace {

const PlaylistEntry Added{QStringLiteral("/l/added.cx3"), 5, QStringLiteral("Added - B")};
const QString Golden = QStringLiteral(CANTORIX_TEST_DATA "/playlist/worked_example.cxp");

// Track numbers of the file's entries ("3,12,5"), or "-" when it cannot be read.
QString Tracks(const QString& path) {
    const playlist::PlaylistReadResult read = playlist::ReadPlaylistFile(path);
    QStringList tracks;
    for (const PlaylistEntry& entry : read.Table) {
        tracks << QString::number(entry.TrackNumber);
    }
    return read.Ok() ? tracks.join(u',') : QStringLiteral("-");
}

// "title|text|icon" of every box asked, then "title|filter" of every file dialog.
QStringList Titles(const ScriptedBoxes& boxes, const ScriptedDialogs& dialogs) {
    QStringList asked;
    for (const platform::MsgBoxCall& box : boxes.Asked()) {
        asked << box.Title + u'|' + box.Text + QString::asprintf("|%d", int(box.Icon));
    }
    for (const platform::DialogRequest& dialog : dialogs.Asked()) {
        asked << dialog.Title + u'|' + dialog.Filter;
    }
    return asked;
}

}  // namespace

class TestPlaylistCommands : public QObject {
    Q_OBJECT

    SimWinamp sim{6, 200};  // on its 5th song, see initTestCase
    winamp::WinampLink link;
    QTemporaryDir dir;
    QWidget owner;
    platform::CommonDialog dialog{&owner};
    playlist::Playlist model;
    QString Temp(const QString& name) const { return name.isEmpty() ? name : dir.filePath(name); }

    // The worked example read from a writable copy, a.cxp, with one entry added and not saved.
    void Loaded() {
        QFile::remove(Temp("a.cxp"));
        QFile::copy(Golden, Temp("a.cxp"));
        QFile::setPermissions(Temp("a.cxp"), QFile::ReadOwner | QFile::WriteOwner);
        model.SetModified(true);
        QVERIFY(playlist::ReadPlaylist(model, Temp("a.cxp"), &owner, {}));
        QVERIFY(!model.PlaylistModified());
        model.Append(Added);
        model.SetModified(true);
    }

  private slots:
    void initTestCase() {
        sim.model.Handle(1024, 4, 121, true);
        QVERIFY(link.Redetect());
    }
    void init() { model.Clear(); }

    // The player's save from the loaded, changed playlist; path "": a new playlist, "f/": a
    // folder, which cannot be written.
    void playerSave_data() {
        QTest::addColumn<SaveMode>("mode");
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("choose");  // "" no dialog; "-" cancel it
        QTest::addColumn<QString>("files");   // track numbers at the path afterwards
        QTest::addColumn<bool>("modified");
        const auto row = [](const char* name, SaveMode mode, bool force, const char* path,
                            const char* choose, const char* files, bool modified) {
            QTest::newRow(name) << mode << force << path << choose << files << modified;
        };
        const SaveMode change = SaveMode::OnChange, manual = SaveMode::Manual;
        // clang-format off
        row("on change writes",              change, false, "a.cxp", "",      "3,12,5", false);
        row("manual marks modified",         manual, false, "a.cxp", "",      "3,12",   true);
        row("manual Save writes",            manual, true,  "a.cxp", "",      "3,12,5", false);
        row("new playlist asks",             change, false, "",      "n.cxp", "3,12,5", false);
        row("name cancelled",                change, false, "",      "-",     "-",      true);
        row("write fails",                   manual, true,  "f/",    "",      "-",      true);
        row("write fails, chosen name kept", change, false, "",      "f/",    "-",      true);
        // clang-format on
    }
    void playerSave() {
        QFETCH(SaveMode, mode);
        QFETCH(bool, force);
        QFETCH(QString, path);
        QFETCH(QString, choose);
        QFETCH(bool, modified);
        Loaded();
        // Save is chosen on a changed playlist; a save on change follows a change not yet marked.
        model.SetModified(force);
        QVERIFY(QDir(dir.path()).mkpath("f"));
        model.SetPath(Temp(path));
        model.SetSaveMode(mode);
        ScriptedBoxes boxes;
        ScriptedDialogs dialogs;
        QStringList asked;
        if ((path + choose).contains("f/")) {
            boxes.Answer(MsgResult::OK);
            asked << "Playlist Saver|Could not save playlist.|2";
        }
        if (!choose.isEmpty()) {
            choose == "-" ? dialogs.Cancel() : dialogs.ChooseFile(Temp(choose));
            asked << "Save List File As|" + playlist::PlaylistFilter;
        }
        QCOMPARE(playlist::SavePlaylist(model, force, &owner, dialog), !modified);
        QCOMPARE(model.PlaylistModified(), modified);
        const QString after = path.isEmpty() && choose != "-" ? Temp(choose) : Temp(path);
        QCOMPARE(model.PlaylistPath(), after);
        QTEST(Tracks(after.isEmpty() ? Temp("none") : after), "files");
        QCOMPARE(Titles(boxes, dialogs), asked);
    }

    // A file read only in part changes nothing; the box says the caller's text.
    void readFailureChangesNothing() {
        ScriptedBoxes boxes;
        ScriptedDialogs dialogs;
        Loaded();
        boxes.Answer(MsgResult::OK);
        QVERIFY(!playlist::ReadPlaylist(model, CANTORIX_TEST_DATA "/playlist/bad/track_empty.cxp",
                                        &owner, "Unread."));
        QVERIFY(model.Table().Count() == 3 && model.PlaylistModified());
        QCOMPARE(model.PlaylistPath(), Temp("a.cxp"));
        QCOMPARE(Titles(boxes, dialogs), QStringList{"Playlist Loader|Unread.|2"});
    }

    // Entry numbers from 1 to 1000, Shift amounts from -1000 to 1000.
    void typedNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("min");
        QTest::addColumn<Typed>("number");
        const auto row = [](const QString& text, Typed number, int min = 1) {
            QTest::addRow("%s%s", qPrintable(text.left(20)), min == 1 ? "" : " as amount")
                << text << min << number;
        };
        for (const QString refused : {"", "0", "1001", "-", "99999999999", "inf", "-1001"}) {
            row(refused, std::nullopt, refused == "-1001" ? -1000 : 1);
        }
        row(QString(400, u'9'), std::nullopt);
        // Halves go to the even neighbour, blanks are ignored, a number ends where its digits do.
        for (auto [text, number] : {std::pair<const char*, int>{"7.5", 8},
                                    {"6.5", 6},
                                    {"1000.5", 1000},
                                    {" 1 2 ", 12},
                                    {"5th", 5},
                                    {"1e3", 1000}}) {
            row(text, number);
        }
        row("0", 0, -1000);
        row("-6.5", -6, -1000);
    }
    void typedNumbers() {
        QFETCH(QString, text);
        QFETCH(int, min);
        QTEST(playlist::TypedWholeNumber(text, min, 1000), "number");
    }

    // Keys typed, one change at a time, over the whole text of a number box: the Shift
    // dialog's location (1 to 1000) and amount (-1000 to 1000), the entry dialog's number (1
    // to 1000, Winamp on entry 5). A number in range is taken and left as typed; out of
    // range, the box starts again from 1 (Shift) or Winamp's entry, shown and selected, so
    // the next key replaces it.
    void typedIntoNumberBoxes_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("amount -")        << "txtAmt" << "-"     << 0    << "-";
        QTest::newRow("amount 7.5")      << "txtAmt" << "7.5"   << 8    << "7.5";
        QTest::newRow("amount -1001")    << "txtAmt" << "-1001" << 1    << "1";
        QTest::newRow("location -2")     << "txtLoc" << "-2"    << 2    << "2";
        QTest::newRow("location emptied") << "txtLoc" << "\b"  << 1    << "1";
        QTest::newRow("entry 0")         << "txtItem" << "0"    << 5    << "5";
        QTest::newRow("entry -3")        << "txtItem" << "-3"   << 3    << "3";
        // clang-format on
    }
    void typedIntoNumberBoxes() {
        QFETCH(QString, box);
        QFETCH(QString, keys);
        playlist::frmShift shift;
        frmAssoc entry(link);
        QDialog* dialog = box == "txtItem" ? static_cast<QDialog*>(&entry) : &shift;
        auto* edit = dialog->findChild<QLineEdit*>(box);
        edit->selectAll();
        QTest::keyClicks(edit, keys);
        QTEST(box == "txtItem"  ? entry.GetValue()
              : box == "txtLoc" ? shift.GetLocation()
                                : shift.GetShift(),
              "value");
        QTEST(edit->text(), "text");
    }

    // Winamp's position + 1, held within 1 to 1000; the arrows step it, and a preset out of
    // range is refused.
    void entryDialog() {
        // clang-format off
        for (auto [position, number] : {std::pair<qint64, int>{-1, 1}, {0, 1}, {4, 5}, {999, 1000},
                                        {std::numeric_limits<qint64>::max(), 1000}}) {
            QCOMPARE(playlist::EntryNumberAt(position), number);
        }
        // clang-format on
        ScriptedBoxes boxes;
        frmAssoc dialog(link);
        auto* txtItem = dialog.findChild<QLineEdit*>("txtItem");
        QCOMPARE(txtItem->text(), QStringLiteral("5"));
        QTest::keyClick(txtItem, Qt::Key_Up);
        QCOMPARE(txtItem->text(), QStringLiteral("6"));
        dialog.cmdPick_Click();
        QCOMPARE(sim.Posts().last(), SimWinamp::Command(winamp::CmdJumpToFile));
        for (int preset : {1500, 0}) {
            txtItem->setText(QStringLiteral("9"));
            boxes.Answer(MsgResult::OK);
            dialog.SetValue(preset, QStringLiteral("T"), QStringLiteral("/f.cx3"));
            QCOMPARE(dialog.GetValue(), 9);
        }
        // Browse reads the title of the file chosen; OK wants a file.
        ScriptedDialogs dialogs;
        const QString song = Temp("song.cx3");
        testsupport::WriteBytes(song, "\"Paper Lanterns - The Quiet Harbour\"\r\n1.5,\"la\"\r\n");
        dialogs.ChooseFile(song);
        dialog.cmdBrowse_Click();
        QCOMPARE(dialog.findChild<QLabel*>("lblTitle")->text(),
                 QStringLiteral("Paper Lanterns - The Quiet Harbour"));
        QCOMPARE(dialog.GetFName(), song);
        dialogs.ChooseFile(Temp("gone.cx3"));
        dialog.cmdBrowse_Click();
        QVERIFY(dialog.GetFName().isEmpty() &&
                dialog.findChild<QLabel*>("lblFile")->text().isEmpty());
        boxes.Answer(MsgResult::OK);
        dialog.cmdOK_Click();
        QVERIFY(!dialog.ReturnState());
        const QString invalid =
            "Playlist Number|The playlist track number is invalid for this "
            "Winamp playlist.|2";
        QCOMPARE(Titles(boxes, dialogs).mid(0, 3),
                 (QStringList{invalid, invalid, "Edit List|Oops. No data was collected.|2"}));
        QCOMPARE(boxes.Asked().size(), 3);
    }

    // A full table, 32,768 entries, says so instead of showing the dialog.
    void addToAFullPlaylist() {
        playlist::PlaylistTable full;
        while (full.Append({QStringLiteral("/x.cx3"), 1, QStringLiteral("x")})) {
        }
        QCOMPARE(full.Count(), 32768);
        model.Replace(full, QString());
        ScriptedBoxes boxes;
        testsupport::ScriptedModal modal;
        boxes.Answer(MsgResult::OK);
        QVERIFY(!playlist::AddEntry(model, link, nullptr,
                                    [](QDialog* d) { platform::ShowModal(d, nullptr); }));
        QCOMPARE(boxes.Asked().last().Title, QStringLiteral("Add Entry"));
        QCOMPARE(modal.Unexpected() + boxes.Unexpected(), 0);
    }
};

QTEST_MAIN(TestPlaylistCommands)
#include "tst_playlistcommands.moc"
