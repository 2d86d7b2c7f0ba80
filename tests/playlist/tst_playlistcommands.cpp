// The playlist file commands both programs call, with their boxes and dialogs, and the list
// box over the model.
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/CommonDialog.h"
#include "playlist/Playlist.h"
#include "playlist/PlaylistCommands.h"
#include "playlist/PlaylistFile.h"
#include "playlist/PlaylistList.h"
#include "support/Scripted.h"

using platform::MsgResult;
using playlist::Playlist;
using playlist::SaveMode;

Q_DECLARE_METATYPE(SaveMode)

namespace {

const playlist::PlaylistEntry Added{QStringLiteral("/l/added.cx3"), 5, QStringLiteral("Added - B")};

QString Golden() {
    return QStringLiteral(CANTORIX_TEST_DATA "/playlist/worked_example.cxp");
}

// Track numbers of the file's entries ("3,12,5"), or "-" when it cannot be read.
QString Tracks(const QString& path) {
    const playlist::PlaylistReadResult read = playlist::ReadPlaylistFile(path);
    QStringList tracks;
    for (const playlist::PlaylistEntry& entry : read.Table) {
        tracks << QString::number(entry.TrackNumber);
    }
    return read.Ok() ? tracks.join(u',') : QStringLiteral("-");
}

QStringList Titles(const testsupport::ScriptedBoxes& boxes,
                   const testsupport::ScriptedDialogs& dialogs) {
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

    QTemporaryDir dir;
    QWidget owner;
    platform::CommonDialog dialog{&owner};
    Playlist model;
    QString Temp(const QString& name) const { return name.isEmpty() ? name : dir.filePath(name); }

    // A writable copy of the worked example.
    QString FreshCopy() {
        QFile::remove(Temp("a.cxp"));
        QFile::copy(Golden(), Temp("a.cxp"));
        QFile::setPermissions(Temp("a.cxp"), QFile::ReadOwner | QFile::WriteOwner);
        return Temp("a.cxp");
    }
    // The worked example loaded from a.cxp with one entry added and not saved.
    void Loaded() {
        QVERIFY(playlist::ReadPlaylist(model, FreshCopy(), &owner, playlist::PlayerReadFailure));
        model.Append(Added);
        model.SetModified(true);
    }

  private slots:
    void init() {
        QVERIFY(dir.isValid());
        model.Clear();
    }

    // The player reads with its own text; the encoder's Open reads through its dialog.
    void readFailureChangesNothing_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("encoder");
        QTest::newRow("player, missing file") << "none.cxp" << false;
        QTest::newRow("encoder, bad track")
            << CANTORIX_TEST_DATA "/playlist/bad/track_empty.cxp" << true;
    }
    void readFailureChangesNothing() {
        QFETCH(QString, file);
        QFETCH(bool, encoder);
        Loaded();
        testsupport::ScriptedBoxes boxes;
        testsupport::ScriptedDialogs dialogs;
        boxes.Answer(MsgResult::OK);
        if (encoder) {
            dialogs.ChooseFile(QDir(dir.path()).filePath(file));
            QVERIFY(!playlist::OpenEncoderPlaylist(model, &owner, dialog));
        } else {
            QVERIFY(!playlist::ReadPlaylist(model, QDir(dir.path()).filePath(file), &owner,
                                            playlist::PlayerReadFailure));
        }
        QCOMPARE(model.Table().Count(), 3);
        QCOMPARE(model.PlaylistPath(), Temp("a.cxp"));
        QVERIFY(model.PlaylistModified());
        QStringList asked{"Playlist Loader|Could not read data file.|2"};
        if (encoder) {
            asked = QStringList{"Playlist Loader|Could not read playlist file.|2",
                                "Open List File|" + playlist::PlaylistFilter};
        }
        QCOMPARE(Titles(boxes, dialogs), asked);
    }

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
        QVERIFY(QDir(dir.path()).mkpath("f"));
        model.SetPath(Temp(path));
        model.SetSaveMode(mode);
        testsupport::ScriptedBoxes boxes;
        testsupport::ScriptedDialogs dialogs;
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

    // Open, Save As (a copy), Save (the opened file), and a playlist never opened.
    void encoderOpenAndSave() {
        testsupport::ScriptedBoxes boxes;
        testsupport::ScriptedDialogs dialogs;
        dialogs.Cancel();
        QVERIFY(!playlist::OpenEncoderPlaylist(model, &owner, dialog));
        QVERIFY(model.PlaylistPath().isEmpty());
        dialogs.ChooseFile(FreshCopy());
        QVERIFY(playlist::OpenEncoderPlaylist(model, &owner, dialog));
        QCOMPARE(model.PlaylistPath(), Temp("a.cxp"));
        QCOMPARE(Titles(boxes, dialogs),
                 QStringList(2, "Open List File|" + playlist::PlaylistFilter));
        model.Append(Added);
        model.SetModified(true);
        dialogs.ChooseFile(Temp("b.cxp"));
        QVERIFY(playlist::SaveEncoderPlaylist(model, 1, &owner, dialog));
        QVERIFY(!model.PlaylistModified());
        model.Append(Added);
        QVERIFY(playlist::SaveEncoderPlaylist(model, 0, &owner, dialog));
        QCOMPARE(Tracks(Temp("a.cxp")) + ' ' + Tracks(Temp("b.cxp")), QString("3,12,5,5 3,12,5"));
        QCOMPARE(model.PlaylistPath(), Temp("a.cxp"));
        model.Clear();
        for (const char* name : {"c.cxp", "d.cxp"}) {
            model.Append(Added);
            dialogs.ChooseFile(Temp(name));
            QVERIFY(playlist::SaveEncoderPlaylist(model, 0, &owner, dialog));
        }
        QCOMPARE(Tracks(Temp("c.cxp")) + ' ' + Tracks(Temp("d.cxp")), QString("5 5,5"));
        QVERIFY(model.PlaylistPath().isEmpty());
        QCOMPARE(dialogs.Asked().size(), 5);
        QCOMPARE(boxes.Asked().size(), 0);
    }

    void askSaveOnClose_data() {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("saves");  // whether the save run on Yes succeeds
        QTest::addColumn<MsgResult>("result");
        QTest::newRow("unmodified: not asked") << false << MsgResult::Yes << true << MsgResult::No;
        QTest::newRow("No") << true << MsgResult::No << true << MsgResult::No;
        QTest::newRow("Cancel") << true << MsgResult::Cancel << true << MsgResult::Cancel;
        QTest::newRow("Yes saves") << true << MsgResult::Yes << true << MsgResult::Yes;
        QTest::newRow("Yes, save fails") << true << MsgResult::Yes << false << MsgResult::Cancel;
    }
    void askSaveOnClose() {
        QFETCH(bool, modified);
        QFETCH(MsgResult, answer);
        QFETCH(bool, saves);
        model.Replace({}, QStringLiteral("/l/a.cxp"));
        model.SetModified(modified);
        testsupport::ScriptedBoxes boxes;
        boxes.Answer(answer);
        int saved = 0;
        QTEST(playlist::AskSaveOnClose(model, &owner,
                                       [&] {
                                           ++saved;
                                           model.SetModified(!saves);
                                       }),
              "result");
        QCOMPARE(saved, int(answer == MsgResult::Yes && modified));
        QCOMPARE(boxes.Asked().size(), int(modified));
        if (modified) {
            const platform::MsgBoxCall& box = boxes.Asked().first();
            QCOMPARE(box.Title + '|' + box.Text,
                     "Close Cantorix?|Would you like to save the changes you made to the "
                     "playlist?\r/l/a.cxp");
            QVERIFY(box.Buttons == platform::MsgButtons::YesNoCancel &&
                    box.Icon == platform::MsgIcon::Question);
        }
    }

    // Rows follow the model; a click selects in the model; a removal leaves no selection.
    void listFollowsModel() {
        QWidget window;
        playlist::PlaylistList list(model, &window);
        const auto rows = [&] {
            QStringList texts;
            for (int i = 0; i < list.count(); ++i) {
                texts << list.item(i)->text();
            }
            return texts.join(u'|');
        };
        QVERIFY(playlist::ReadPlaylist(model, Golden(), &owner, playlist::PlayerReadFailure));
        model.Append(Added);
        model.ReplaceEntry(0, {"/l/x.cx3", -2, "X - Y"});
        QCOMPARE(rows(), QString("-2 - X - Y - /l/x.cx3|12 - Salt and Cedar - Mira Vale - "
                                 "C:\\Lyrics\\salt and cedar.cx3|5 - Added - B - /l/added.cx3"));
        list.setCurrentRow(2);
        QCOMPARE(model.SelectedEntry(), 2);
        model.Select(1);
        QCOMPARE(list.currentRow(), 1);
        model.RemoveEntry(1);
        QCOMPARE(rows(), QString("-2 - X - Y - /l/x.cx3|5 - Added - B - /l/added.cx3"));
        QCOMPARE(list.currentRow(), -1);
        QCOMPARE(model.SelectedEntry(), -1);
        model.Clear();
        QCOMPARE(list.count(), 0);
    }
};

QTEST_MAIN(TestPlaylistCommands)
#include "tst_playlistcommands.moc"
