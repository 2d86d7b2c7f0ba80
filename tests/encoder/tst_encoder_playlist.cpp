// The encoder's playlist commands and menu over the shared ones; the list box both programs use.
#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include "encoder/PlaylistMenu.h"
#include "platform/CommonDialog.h"
#include "platform/Modal.h"
#include "platform/TextRows.h"
#include "playlist/Playlist.h"
#include "playlist/PlaylistList.h"
#include "playlist/frmAssoc.h"
#include "support/Files.h"
#include "support/Find.h"
#include "support/Scripted.h"
#include "winamp/Link.h"

using platform::MsgResult;
using playlist::frmAssoc;
using testsupport::Child;
using testsupport::ReadBytes;

class tst_EncoderPlaylist : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QWidget owner;
    platform::CommonDialog dialog{&owner};
    playlist::Playlist model;

  private slots:
    void init() { model.Clear(); }

    // Open (cancelled, read, unreadable), Save As a copy, Save to the file opened or else asking
    // each time; the entries' commands offered once opened, Add Current once, neither once empty.
    void menuCommands() {
        const winamp::WinampLink link;  // none: the entry dialog offers track 1
        testsupport::ScriptedBoxes boxes;
        testsupport::ScriptedDialogs dialogs;
        testsupport::ScriptedModal modal;
        const QString title = "T", file = "/now.cx3";
        encoder::PlaylistMenu menu(
            model, link, dialog, [](QDialog* d) { platform::ShowModal(d, nullptr); }, title, file,
            &owner);
        const auto item = [&](const char* name) { return Child<QAction>(menu.Menu(), name); };
        const auto ok = [](QDialog* d) { static_cast<frmAssoc*>(d)->cmdOK_Click(); };
        const auto bytes = [this](const char* name) { return ReadBytes(dir.filePath(name)); };
        const QByteArray example = ReadBytes(CANTORIX_TEST_DATA "/playlist/worked_example.cxp");
        const QByteArray now = "\"/now.cx3\",1,\"T\"\r\n";
        QVERIFY(testsupport::WriteBytes(dir.filePath("a.cxp"), example));
        menu.itmLNew_Click();
        dialogs.Cancel();
        dialogs.ChooseFile(dir.filePath("a.cxp"));
        dialogs.ChooseFile(CANTORIX_TEST_DATA "/playlist/bad/track_empty.cxp");
        boxes.Answer(MsgResult::OK);
        for (int i = 0; i < 3; ++i) {
            item("itmLLoad")->trigger();
        }
        QVERIFY(item("itmLEdit")->isEnabled() && !item("itmLAdd0")->isEnabled());
        menu.OfferCurrent();
        modal.Next(ok);
        item("itmLAdd0")->trigger();
        QVERIFY(item("itmLSave0")->isEnabled() && !item("itmLAdd0")->isEnabled());
        dialogs.ChooseFile(dir.filePath("b.cxp"));
        item("itmLSave1")->trigger();
        modal.Next([](QDialog*) {});  // cancelled
        item("itmLAdd1")->trigger();
        QVERIFY(!model.PlaylistModified());
        modal.Next(ok);
        item("itmLEdit")->trigger();
        item("itmLSave0")->trigger();
        QCOMPARE(bytes("a.cxp") + '|' + bytes("b.cxp"), example + now + '|' + example + now);

        menu.itmLNew_Click();
        for (const char* name : {"c.cxp", "d.cxp"}) {
            modal.Next([](QDialog* d) {
                static_cast<frmAssoc*>(d)->SetValue(7, "Song - Artist", "/b.cx3");
                static_cast<frmAssoc*>(d)->cmdOK_Click();
            });
            item("itmLAdd1")->trigger();
            dialogs.ChooseFile(dir.filePath(name));
            item("itmLSave0")->trigger();
        }
        QVERIFY(model.PlaylistPath().isEmpty() && bytes("d.cxp").count('\n') == 2);
        model.Select(1);
        model.SetPath(dir.filePath("a.cxp"));
        for (MsgResult answer : {MsgResult::Yes, MsgResult::No, MsgResult::Yes}) {
            boxes.Answer(answer);
            item("itmLRemove")->trigger();
        }
        QCOMPARE(boxes.Asked()[1].Text, "Are you sure you wish to remove this track (Track #2)?");
        QVERIFY(model.Table().IsEmpty() && model.PlaylistPath().isEmpty());
        QVERIFY(!model.PlaylistModified() && !item("itmLEdit")->isEnabled());
        QCOMPARE(dialogs.Asked().size(), 6);
        QCOMPARE(modal.Unexpected() + boxes.Unexpected() + dialogs.Unexpected(), 0);
    }

    // A change redraws its own rows only, never the whole list (but for a new table); the widest
    // row is kept; a removal leaves nothing selected.
    void listFollowsTheModel_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("told");  // the model's signals, with their rows
        QTest::addColumn<QString>("rows");  // the titles shown after it
        QTest::addColumn<int>("widest");
        // clang-format off
        QTest::newRow("append")          << "append Longest" << "inserted 3-3" << "A Bb C Longest" << 3;
        QTest::newRow("replace")         << "replace 2 Ccc"  << "changed 2-2"  << "A Bb Ccc" << 2;
        QTest::newRow("replace widest")  << "replace 1 B"    << "changed 1-1"  << "A B C" << 0;
        QTest::newRow("remove before")   << "remove 0"       << "removed 0-0"  << "Bb C" << 0;
        QTest::newRow("remove widest")   << "remove 1"       << "removed 1-1"  << "A C" << 0;
        QTest::newRow("remove last")     << "remove 2"       << "removed 2-2"  << "A Bb" << 1;
        QTest::newRow("a new table")     << "clear"          << "reset"      << "" << -1;
        // clang-format on
    }
    void listFollowsTheModel() {
        QFETCH(QString, change);
        for (const char* title : {"A", "Bb", "C"}) {
            model.Append({"/l.cx3", 1, title});
        }
        playlist::PlaylistList list(model, &owner);
        list.setCurrentRow(1);
        platform::TextRows& shown = list.Rows();
        QStringList told;
        const auto rows = [&told](const char* what) {
            return [&told, what](const QModelIndex&, int a, int b) {
                told << QStringLiteral("%1 %2-%3").arg(what).arg(a).arg(b);
            };
        };
        connect(&shown, &QAbstractItemModel::modelReset, [&] { told << "reset"; });
        connect(&shown, &QAbstractItemModel::rowsInserted, rows("inserted"));
        connect(&shown, &QAbstractItemModel::rowsRemoved, rows("removed"));
        connect(&shown, &QAbstractItemModel::dataChanged,
                [&](QModelIndex a, QModelIndex b) { rows("changed")({}, a.row(), b.row()); });
        const QStringList words = change.split(' ');
        if (words[0] == "append") {
            model.Append({"/l.cx3", 1, words[1]});
        } else if (words[0] == "replace") {
            model.ReplaceEntry(words[1].toInt(), {"/l.cx3", 1, words[2]});
        } else if (words[0] == "remove") {
            model.RemoveEntry(words[1].toInt());
        } else {
            model.Clear();
        }
        QTEST(told.join(", "), "told");
        QStringList titles;
        for (int row = 0; row < list.count(); ++row) {
            titles << shown.index(row).data().toString().section(" - ", 1, 1);
        }
        QTEST(titles.join(' '), "rows");
        QTEST(shown.WidestRow(), "widest");
        QCOMPARE(list.currentRow(), words[0] == "remove" || words[0] == "clear" ? -1 : 1);
        QCOMPARE(model.SelectedEntry(), list.currentRow());
    }
};

QTEST_MAIN(tst_EncoderPlaylist)
#include "tst_encoder_playlist.moc"
