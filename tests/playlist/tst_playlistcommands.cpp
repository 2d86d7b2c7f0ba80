// The playlist commands both programs call, the entry dialog and its number rules.
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

namespace {

const PlaylistEntry Added{QStringLiteral("/l/added.cx3"), 5, QStringLiteral("Added - B")};
const QString Golden = QStringLiteral(CANTORIX_TEST_DATA "/playlist/worked_example.cxp");

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

  private slots:
    void initTestCase() {
        sim.model.Handle(1024, 4, 121, true);
        QVERIFY(link.Redetect());
    }
    void init() { model.Clear(); }

    // The player's save of the loaded, changed playlist; path "": a new one, "f/": a folder.
    void playerSave_data() {
        QTest::addColumn<SaveMode>("mode");
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("choose");  // "" no dialog; "-" cancel it
        QTest::addColumn<int>("entries");     // in the file at the path afterwards
        QTest::addColumn<bool>("modified");
        const SaveMode change = SaveMode::OnChange, manual = SaveMode::Manual;
        // clang-format off
        QTest::newRow("on change writes")              << change << false << "a.cxp" << ""      << 3 << false;
        QTest::newRow("manual marks modified")         << manual << false << "a.cxp" << ""      << 2 << true;
        QTest::newRow("manual Save writes")            << manual << true  << "a.cxp" << ""      << 3 << false;
        QTest::newRow("new playlist asks")             << change << false << ""      << "n.cxp" << 3 << false;
        QTest::newRow("name cancelled")                << change << false << ""      << "-"     << 0 << true;
        QTest::newRow("write fails")                   << manual << true  << "f/"    << ""      << 0 << true;
        QTest::newRow("write fails, chosen name kept") << change << false << ""      << "f/"    << 0 << true;
        // clang-format on
    }
    void playerSave() {
        QFETCH(SaveMode, mode);
        QFETCH(bool, force);
        QFETCH(QString, path);
        QFETCH(QString, choose);
        QFETCH(bool, modified);
        QVERIFY(testsupport::WriteBytes(Temp("a.cxp"), testsupport::ReadBytes(Golden)));
        model.SetModified(true);
        QVERIFY(playlist::ReadPlaylist(model, Temp("a.cxp"), &owner, {}));
        QVERIFY(!model.PlaylistModified());
        model.Append(Added);
        // Save is chosen on a changed playlist; a save on change follows a change not yet marked.
        model.SetModified(force);
        QVERIFY(QDir(dir.path()).mkpath("f"));
        model.SetPath(Temp(path));
        model.SetSaveMode(mode);
        ScriptedBoxes boxes;
        ScriptedDialogs dialogs;
        const bool fails = (path + choose).contains("f/");
        boxes.Answer(MsgResult::OK);
        choose == "-" ? dialogs.Cancel() : dialogs.ChooseFile(Temp(choose));
        QCOMPARE(playlist::SavePlaylist(model, force, &owner, dialog), !modified);
        QCOMPARE(model.PlaylistModified(), modified);
        const QString after = path.isEmpty() && choose != "-" ? Temp(choose) : Temp(path);
        QCOMPARE(model.PlaylistPath(), after);
        QTEST(int(testsupport::ReadBytes(after).count("\r\n")), "entries");
        QCOMPARE(boxes.Texts(),
                 QStringList(int(fails), "Playlist Saver: Could not save playlist."));
        QCOMPARE(dialogs.Asked().size(), int(!choose.isEmpty()));
    }

    // Typed text to a whole number in min..1000 (halves to even); Winamp's entry to ours.
    void numberRules() {
        // clang-format off
        for (const auto& [text, min, number] : QList<std::tuple<QString, int, Typed>>{
                 {"", 1, {}}, {"0", 1, {}}, {"1001", 1, {}}, {"-", 1, {}}, {"99999999999", 1, {}},
                 {"inf", 1, {}}, {QString(400, u'9'), 1, {}}, {"-1001", -1000, {}}, {"7.5", 1, 8},
                 {"6.5", 1, 6}, {"1000.5", 1, 1000}, {" 1 2 ", 1, 12}, {"5th", 1, 5}, {"1e3", 1, 1000},
                 {"0", -1000, 0}, {"-6.5", -1000, -6}}) {
            // clang-format on
            QVERIFY2(playlist::TypedWholeNumber(text, min, 1000) == number,
                     qPrintable(text.left(20)));
        }
        for (const auto& [position, number] :
             {std::pair<qint64, int>{-1, 1}, {0, 1}, {4, 5}, {999, 1000}, {LLONG_MAX, 1000}}) {
            QCOMPARE(playlist::EntryNumberAt(position), number);
        }
    }

    // Winamp's entry + 1 in 1..1000; arrows step it; typed out of range: Winamp's entry again
    // (Shift: 1); Pick jumps there; a preset out of range refused; Browse reads the file's title.
    void entryDialog() {
        ScriptedBoxes boxes;
        ScriptedDialogs dialogs;
        playlist::frmShift shift;
        frmAssoc dialog(link);
        // The box's text after the keys, then the number the dialog takes from it.
        const auto type = [](QDialog& d, const char* box, const QString& keys, auto value) {
            auto* edit = d.findChild<QLineEdit*>(box);
            edit->selectAll();
            QTest::keyClicks(edit, keys);
            return edit->text() + ' ' + QString::number(value());
        };
        auto* txtItem = dialog.findChild<QLineEdit*>("txtItem");
        QCOMPARE(txtItem->text(), QStringLiteral("5"));
        QTest::keyClick(txtItem, Qt::Key_Up);
        QCOMPARE(txtItem->text(), QStringLiteral("6"));
        QCOMPARE(type(shift, "txtAmt", "7.5", [&] { return shift.GetShift(); }), "7.5 8");
        QCOMPARE(type(shift, "txtAmt", "-1001", [&] { return shift.GetShift(); }), "1 1");
        QCOMPARE(type(shift, "txtLoc", "-2", [&] { return shift.GetLocation(); }), "2 2");
        QCOMPARE(type(dialog, "txtItem", "-3", [&] { return dialog.GetValue(); }), "3 3");
        dialog.cmdPick_Click();
        QCOMPARE(sim.Posts().last(), SimWinamp::Command(winamp::CmdJumpToFile));
        for (int preset : {1500, 0}) {
            txtItem->setText(QStringLiteral("9"));
            boxes.Answer(MsgResult::OK);
            dialog.SetValue(preset, QStringLiteral("T"), QStringLiteral("/f.cx3"));
            QCOMPARE(dialog.GetValue(), 9);
        }
        const QString song = Temp("song.cx3");
        testsupport::WriteBytes(song, "\"Paper Lanterns - The Quiet Harbour\"\r\n1.5,\"la\"\r\n");
        dialogs.ChooseFile(song);
        dialog.cmdBrowse_Click();
        QCOMPARE(dialog.findChild<QLabel*>("lblTitle")->text() + '|' + dialog.GetFName(),
                 "Paper Lanterns - The Quiet Harbour|" + song);
        dialogs.ChooseFile(Temp("gone.cx3"));
        dialog.cmdBrowse_Click();
        QVERIFY(dialog.GetFName().isEmpty() &&
                dialog.findChild<QLabel*>("lblFile")->text().isEmpty());
        boxes.Answer(MsgResult::OK);
        dialog.cmdOK_Click();
        QVERIFY(!dialog.ReturnState());
        const QString invalid =
            "Playlist Number: The playlist track number is invalid for this Winamp playlist.";
        QCOMPARE(boxes.Texts(),
                 (QStringList{invalid, invalid, "Edit List: Oops. No data was collected."}));
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
        QVERIFY(boxes.Asked().size() == 1 && boxes.Asked()[0].Title == "Add Entry" &&
                modal.Unexpected() == 0);
    }
};

QTEST_MAIN(TestPlaylistCommands)
#include "tst_playlistcommands.moc"
