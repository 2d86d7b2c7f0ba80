// The encoder's playlist commands over the shared ones: its Open, Save and Save As, and the
// entry commands marking what they change. The list box both programs show the playlist in.
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "encoder/PlaylistCommands.h"
#include "platform/CommonDialog.h"
#include "platform/Modal.h"
#include "platform/TextRows.h"
#include "playlist/Playlist.h"
#include "playlist/PlaylistCommands.h"
#include "playlist/PlaylistList.h"
#include "playlist/frmAssoc.h"
#include "support/Files.h"
#include "support/Scripted.h"
#include "winamp/Link.h"

using platform::MsgResult;
using playlist::frmAssoc;
using playlist::PlaylistEntry;
using testsupport::ReadBytes;

namespace {

// An entry, and as the playlist file holds it.
const PlaylistEntry Entry{QStringLiteral("/l/added.cx3"), 5, QStringLiteral("Added - B")};
const QByteArray Added = "\"/l/added.cx3\",5,\"Added - B\"\r\n";

}  // namespace

class tst_EncoderPlaylist : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QWidget owner;
    platform::CommonDialog dialog{&owner};
    playlist::Playlist model;

  private slots:
    void init() { model.Clear(); }

    // Open, cancelled, then read; a file it cannot read; Save As (a copy), Save (the opened
    // file), and Save of a playlist never opened, which asks each time.
    void openAndSave() {
        testsupport::ScriptedBoxes boxes;
        testsupport::ScriptedDialogs dialogs;
        const QByteArray example = ReadBytes(CANTORIX_TEST_DATA "/playlist/worked_example.cxp");
        QVERIFY(testsupport::WriteBytes(dir.filePath("a.cxp"), example));
        dialogs.Cancel();
        QVERIFY(!encoder::OpenEncoderPlaylist(model, &owner, dialog));
        dialogs.ChooseFile(dir.filePath("a.cxp"));
        QVERIFY(encoder::OpenEncoderPlaylist(model, &owner, dialog));
        model.Append(Entry);
        model.SetModified(true);
        boxes.Answer(MsgResult::OK);
        dialogs.ChooseFile(CANTORIX_TEST_DATA "/playlist/bad/track_empty.cxp");
        QVERIFY(!encoder::OpenEncoderPlaylist(model, &owner, dialog));
        QCOMPARE(boxes.Texts(), QStringList{"Playlist Loader: Could not read playlist file."});
        dialogs.ChooseFile(dir.filePath("b.cxp"));
        QVERIFY(encoder::SaveEncoderPlaylist(model, 1, &owner, dialog));
        QVERIFY(!model.PlaylistModified());
        model.Append(Entry);
        QVERIFY(encoder::SaveEncoderPlaylist(model, 0, &owner, dialog));
        QCOMPARE(model.PlaylistPath(), dir.filePath("a.cxp"));
        model.Clear();
        for (const char* name : {"c.cxp", "d.cxp"}) {
            model.Append(Entry);
            dialogs.ChooseFile(dir.filePath(name));
            QVERIFY(encoder::SaveEncoderPlaylist(model, 0, &owner, dialog));
        }
        QVERIFY(model.PlaylistPath().isEmpty());
        const auto bytes = [this](const char* name) { return ReadBytes(dir.filePath(name)); };
        QCOMPARE(bytes("a.cxp") + '|' + bytes("b.cxp"),
                 example + Added + Added + '|' + example + Added);
        QCOMPARE(bytes("c.cxp") + '|' + bytes("d.cxp"), Added + '|' + Added + Added);
        QCOMPARE(dialogs.Asked().size(), 6);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(dialogs.Asked()[i].Title + dialogs.Asked()[i].Filter,
                     (i < 3 ? "Open List File" : "Save List File As") + playlist::PlaylistFilter);
        }
    }

    void entryCommandsMarkTheirChanges() {
        const winamp::WinampLink link;  // none: the dialog offers entry 1
        testsupport::ScriptedBoxes boxes;
        testsupport::ScriptedModal modal;
        const auto show = [](QDialog* d) { platform::ShowModal(d, nullptr); };
        modal.Next([](QDialog* d) { static_cast<frmAssoc*>(d)->cmdOK_Click(); });
        QVERIFY(encoder::EncoderAddEntry(model, link, nullptr, show, 0, "T", "/now.cx3"));
        QCOMPARE(model.Table().Entry(0), (PlaylistEntry{"/now.cx3", 1, "T"}));
        QVERIFY(model.PlaylistModified());
        model.SetModified(false);
        modal.Next([](QDialog*) {});  // cancelled
        QVERIFY(!encoder::EncoderAddEntry(model, link, nullptr, show, 1, "T", "/now.cx3"));
        QVERIFY(model.Table().Count() == 1 && !model.PlaylistModified());
        for (const char* file : {"/b.cx3", "/c.cx3"}) {
            modal.Next([file](QDialog* d) {
                static_cast<frmAssoc*>(d)->SetValue(7, "Song - Artist", file);
                static_cast<frmAssoc*>(d)->cmdOK_Click();
            });
            encoder::EncoderAddEntry(model, link, nullptr, show, 1, {}, {});
        }
        model.SetModified(false);
        modal.Next([](QDialog* d) { static_cast<frmAssoc*>(d)->cmdOK_Click(); });
        QVERIFY(encoder::EncoderEditEntry(model, link, nullptr, show) && model.PlaylistModified());
        model.Select(2);
        boxes.Answer(MsgResult::Yes);
        QVERIFY(encoder::EncoderRemoveEntry(model, nullptr));
        QCOMPARE(boxes.Asked().last().Text,
                 QStringLiteral("Are you sure you wish to remove this track (Track #3)?"));
        QCOMPARE(model.SelectedEntry(), -1);
        model.SetPath(dir.filePath("a.cxp"));
        for (MsgResult answer : {MsgResult::Yes, MsgResult::No, MsgResult::Yes}) {
            boxes.Answer(answer);
            encoder::EncoderRemoveEntry(model, nullptr);
        }
        QVERIFY(model.Table().IsEmpty() && model.PlaylistPath().isEmpty());
        QVERIFY(!model.PlaylistModified());
        QCOMPARE(modal.Unexpected() + boxes.Unexpected(), 0);
    }

    // A change of the playlist redraws its own row only: rows inserted, changed or removed,
    // never the whole list (that is for a new table). The rows sized by the widest stay so; a
    // removal leaves nothing selected.
    void listFollowsTheModel_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("told");  // the model's signals, with their rows
        QTest::addColumn<QString>("rows");  // the titles listed after it
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
        QFETCH(QString, told);
        QFETCH(QString, rows);
        QFETCH(int, widest);
        for (const char* title : {"A", "Bb", "C"}) {
            model.Append({"/l.cx3", 1, title});
        }
        playlist::PlaylistList list(model, &owner);
        QCOMPARE(list.count(), 3);
        list.setCurrentRow(1);
        platform::TextRows& shown = list.Rows();
        QSignalSpy reset(&shown, &QAbstractItemModel::modelReset);
        QSignalSpy inserted(&shown, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&shown, &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(&shown, &QAbstractItemModel::dataChanged);
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
        QStringList seen(reset.size(), "reset");
        for (const QList<QVariant>& rows : inserted) {
            seen << QStringLiteral("inserted %1-%2").arg(rows[1].toInt()).arg(rows[2].toInt());
        }
        for (const QList<QVariant>& rows : removed) {
            seen << QStringLiteral("removed %1-%2").arg(rows[1].toInt()).arg(rows[2].toInt());
        }
        for (const QList<QVariant>& rows : changed) {
            seen << QStringLiteral("changed %1-%2")
                        .arg(rows[0].toModelIndex().row())
                        .arg(rows[1].toModelIndex().row());
        }
        QCOMPARE(seen.join(", "), told);
        QStringList titles;
        for (int row = 0; row < list.count(); ++row) {
            const QString text = shown.index(row).data().toString();
            QCOMPARE(text, playlist::RowText(model.Table().Entry(row)));
            titles << model.Table().Entry(row).Title;
        }
        QCOMPARE(titles.join(' '), rows);
        QCOMPARE(shown.WidestRow(), widest);
        QCOMPARE(list.currentRow(), words[0] == "remove" || words[0] == "clear" ? -1 : 1);
        QCOMPARE(model.SelectedEntry(), list.currentRow());
    }
};

QTEST_MAIN(tst_EncoderPlaylist)
#include "tst_encoder_playlist.moc"
