// The player as a whole program: start-up with and without settings, the settings file it
// writes back, the questions on closing, Help and About.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "PlayerFixture.h"
#include "platform/Folders.h"
#include "player/ImageButton.h"
#include "player/frmAbout.h"
#include "player/frmMain.h"
#include "playlist/PlaylistCommands.h"
#include "support/Scripted.h"
#include "winamp/modOne.h"

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using player::frmMain;

namespace {

QString IniPath() {
    return qEnvironmentVariable("CANTORIX_HOME") + "/cantorix.ini";
}

using testsupport::ReadBytes;

QByteArray Ini(const QByteArray& skin, const QByteArray& playlist,
               const QByteArray& switches = "") {
    QByteArray lines = switches.isEmpty()
                           ? QByteArray(
                                 "0,\"on top\"\r\n0,\"compact\"\r\n0,\"stop fade\"\r\n"
                                 "0,\"list view\"\r\n0,\"list save\"\r\n"
                                 "1,\"randomize list\"\r\n1,\"repeat list\"\r\n")
                           : switches;
    return "8438015,16711680,49152\r\n1200,900\r\n" + lines + "\"" + skin + "\"\r\n\"" + playlist +
           "\"\r\n";
}

}  // namespace

class tst_Lifecycle : public QObject, PlayerFixture {
    Q_OBJECT

    QByteArray SkinFolder() const {
        return (platform::ResourceFolder() + "/skins/default/").toUtf8();
    }
    QString Playlist(int entries) {
        QByteArray bytes;
        for (int i = 0; i < entries; ++i) {
            bytes += "\"/songs/" + QByteArray::number(i) + ".cx3\"," + QByteArray::number(i + 1) +
                     ",\"Song " + QByteArray::number(i) + " - Band\"\r\n";
        }
        return Write(QStringLiteral("list%1.cxp").arg(entries), bytes);
    }
    // An unsaved change, as Add makes one with "&Manual" ticked.
    void ChangePlaylistUnsaved() {
        w->playlist->itmOLSave_Click(1);
        QVERIFY(w->playlist->AppendEntry({"/songs/x.cx3", 9, "X - Y"}));
        w->playlist->EntryAdded();
        QVERIFY(w->playlist->IsModified());
    }

  private slots:
    void init() {
        QFile::remove(IniPath());
        QDir(IniPath()).removeRecursively();
        Prepare();
    }
    void cleanup() { Finish(); }

    void firstStartUsesTheDefaults() {
        Start();
        QCOMPARE(boxes->Asked().size(), 0);
        QCOMPARE(w->Colours, (std::array<std::uint32_t, 3>{8438015, 16711680, 49152}));
        QVERIFY(w->itmOSFade[0]->isChecked());
        QVERIFY(w->itmLSmart[0]->isChecked());
        QCOMPARE(w->playlist->ListSaveIndex(), 0);
        QVERIFY(!w->RandomizeList);
        QVERIFY(!w->RepeatList);
        QVERIFY(!w->itmCOnTop->isChecked());
        QVERIFY(!w->itmSCompact->isChecked());
        QCOMPARE(w->playlist->LastEntry(), qint16(-1));
        QCOMPARE(w->lstList->count(), 0);
        QVERIFY(!w->playlist->Action("itmLSave")->isEnabled());
        // The background and lines take the colours.
        QCOMPARE(w->lblCurrLine->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(w->lblNextLine->palette().color(QPalette::WindowText), QColor(0, 192, 0));
    }

    void settingsWrittenBackUnchanged() {
        const QByteArray ini = Ini(SkinFolder(), "");
        testsupport::WriteBytes(IniPath(), ini);
        Start();
        QCOMPARE(w->x(), 80);  // 1200 twips
        QCOMPARE(w->y(), 60);
        w->close();
        QCOMPARE(ReadBytes(IniPath()), ini);
    }

    void everySwitchSurvivesARestart() {
        Start();
        w->itmCOnTop_Click();
        w->itmSCompact_Click();
        w->itmOSFade_Click(1);
        w->itmLSmart_Click(1);
        w->playlist->itmOLSave_Click(1);
        w->lblRand_Click();
        w->lblRepeat_Click();
        w->Colours = {1, 2, 3};
        const QString list = Playlist(2);
        QVERIFY(w->playlist->LoadPlaylist(list));
        w->close();
        const QByteArray written = ReadBytes(IniPath());
        QVERIFY(written.startsWith("1,2,3\r\n"));
        QVERIFY(written.contains(
            "1,\"on top\"\r\n1,\"compact\"\r\n1,\"stop fade\"\r\n1,\"list view\""
            "\r\n1,\"list save\"\r\n0,\"randomize list\"\r\n0,\"repeat list\"\r\n"));
        QVERIFY(written.endsWith("\"" + list.toUtf8() + "\"\r\n"));

        Start();
        QVERIFY(w->itmCOnTop->isChecked());
        QVERIFY(w->itmSCompact->isChecked());
        QVERIFY(w->itmOSFade[1]->isChecked() && !w->itmOSFade[0]->isChecked());
        QVERIFY(w->itmLSmart[1]->isChecked());
        QCOMPARE(w->playlist->ListSaveIndex(), 1);
        QVERIFY(w->RandomizeList);
        QVERIFY(w->RepeatList);
        QVERIFY(w->lblRand->font().bold());
        QCOMPARE(w->Colours, (std::array<std::uint32_t, 3>{1, 2, 3}));
        QCOMPARE(w->playlist->PlaylistPath(), list);
        QCOMPARE(w->lstList->count(), 2);
        QVERIFY(!w->playlist->Action("itmLSave")->isEnabled());
        QVERIFY(w->PlayFromPlaylist);
        w->itmCOnTop_Click();
    }

    // A line that cannot be read stops reading there, without a word: the lines before it
    // stay applied, everything after takes its default.
    void badSettingsLine_data() {
        QTest::addColumn<QByteArray>("switches");
        QTest::addColumn<bool>("compact");
        QTest::addColumn<bool>("immediate");
        QTest::addColumn<bool>("manualView");
        QTest::newRow("stop mode 2") << QByteArray(
                                            "0,\"on top\"\r\n1,\"compact\"\r\n2,\"stop fade\"\r\n"
                                            "1,\"list view\"\r\n")
                                     << true << false << false;
        QTest::newRow("list view not a number")
            << QByteArray("0,\"on top\"\r\n1,\"compact\"\r\n1,\"stop fade\"\r\nx,\"list view\"\r\n")
            << true << true << false;
        QTest::newRow("truncated after compact")
            << QByteArray("0,\"on top\"\r\n1,\"compact\"\r\n") << true << false << false;
    }
    void badSettingsLine() {
        QFETCH(QByteArray, switches);
        QFETCH(bool, compact);
        QFETCH(bool, immediate);
        QFETCH(bool, manualView);
        QByteArray ini = "1,2,3\r\n1500,600\r\n" + switches;
        testsupport::WriteBytes(IniPath(), ini);
        Start();
        QCOMPARE(boxes->Asked().size(), 0);
        QCOMPARE(w->Colours, (std::array<std::uint32_t, 3>{1, 2, 3}));
        QCOMPARE(w->x(), 100);
        QCOMPARE(w->itmSCompact->isChecked(), compact);
        QCOMPARE(w->itmOSFade[1]->isChecked(), immediate);
        QCOMPARE(w->itmLSmart[1]->isChecked(), manualView);
        QCOMPARE(w->playlist->ListSaveIndex(), 0);
        QVERIFY(!w->RandomizeList);
        QCOMPARE(w->playlist->PlaylistPath(), QString());
    }

    void farAwayWindowComesBackAndStaysReadable() {
        testsupport::WriteBytes(IniPath(),
                                Ini(SkinFolder(), "").replace("1200,900", "32767,32767"));
        Start();
        QVERIFY(
            w->frameGeometry().intersects(QGuiApplication::primaryScreen()->availableGeometry()));
        w->move(5000, -3000);  // further than 16 bits of twips
        w->close();
        QVERIFY(ReadBytes(IniPath()).contains("\r\n32767,-32768\r\n"));
    }

    void unwritableSettingsAreNotReported() {
        QVERIFY(QDir().mkpath(IniPath()));  // a folder where the file should be
        Start();
        w->close();
        QCOMPARE(boxes->Asked().size(), 0);
        QVERIFY(QFileInfo(IniPath()).isDir());
    }

    void rememberedPlaylistGoneStartsEmpty() {
        testsupport::WriteBytes(IniPath(), Ini(SkinFolder(), dir.filePath("gone.cxp").toUtf8()));
        boxes->Answer(MsgResult::OK);
        Start();
        QCOMPARE(boxes->Asked().size(), 1);
        QCOMPARE(boxes->Asked().first().title, QString("Playlist Loader"));
        QCOMPARE(boxes->Asked().first().text, QString("Could not read data file."));
        QCOMPARE(w->lstList->count(), 0);
        QCOMPARE(w->playlist->PlaylistPath(), QString());
        QVERIFY(!w->playlist->Action("itmLSave")->isEnabled());
    }

    void openUpperCasePlaylistByOpenButton() {
        Start();
        const QString path = dir.filePath("UPPER.CXP");
        QFile::copy(Playlist(3), path);
        dialogs->ChooseFile(path);
        w->cmdOpen_Click();
        QCOMPARE(w->lstList->count(), 3);
        QCOMPARE(w->lstList->item(0)->text(), QString("1 - Song 0 - Band - /songs/0.cx3"));
        QCOMPARE(w->windowTitle(), QString("Cantorix 3"));
        QVERIFY(!w->cmdPlay->isHidden());
        QVERIFY(w->itmPPlay->isEnabled());
        QCOMPARE(w->itmLVShow->text(), QString("&Hide"));
    }

    void closingAsksOnlyWithUnsavedChanges_data() {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("no changes") << false << MsgResult::OK << true;
        QTest::newRow("cancel") << true << MsgResult::Cancel << false;
        QTest::newRow("no") << true << MsgResult::No << true;
    }
    void closingAsksOnlyWithUnsavedChanges() {
        QFETCH(bool, changed);
        QFETCH(MsgResult, answer);
        QFETCH(bool, closes);
        Start();
        const QString list = Playlist(1);
        QVERIFY(w->playlist->LoadPlaylist(list));
        w->show();
        if (changed) {
            ChangePlaylistUnsaved();
            boxes->Answer(answer);
        }
        sim->model.Play();
        sim->Clear();
        const bool closed = w->close();
        QCOMPARE(closed, closes);
        QCOMPARE(boxes->Asked().size(), changed ? 1 : 0);
        if (changed) {
            const platform::MsgBoxCall& box = boxes->Asked().first();
            QCOMPARE(box.title, QString("Close Cantorix?"));
            QCOMPARE(box.text,
                     "Would you like to save the changes you made to the playlist?\r" + list);
            QCOMPARE(box.buttons, MsgButtons::YesNoCancel);
            QCOMPARE(box.icon, MsgIcon::Question);
        }
        // Closing stops Winamp with the Stop Mode's command and writes the settings.
        QCOMPARE(sim->Posts(), closes ? QStringList{SimWinamp::Command(40147)} : QStringList{});
        QCOMPARE(QFile::exists(IniPath()), closes);
        QCOMPARE(ReadBytes(list).count('\n'), 1);  // nothing saved
    }

    void closingYesSavesTheChanges() {
        Start();
        const QString list = Playlist(1);
        QVERIFY(w->playlist->LoadPlaylist(list));
        ChangePlaylistUnsaved();
        boxes->Answer(MsgResult::Yes);
        QVERIFY(w->close());
        QCOMPARE(ReadBytes(list).count('\n'), 2);
        QVERIFY(ReadBytes(list).endsWith("\"/songs/x.cx3\",9,\"X - Y\"\r\n"));
    }

    void closingYesWithoutASaveKeepsThePlayerOpen() {
        Start();
        ChangePlaylistUnsaved();  // a new playlist: Save asks for a name
        boxes->Answer(MsgResult::Yes);
        dialogs->Cancel();
        QVERIFY(!w->close());
        QCOMPARE(dialogs->Asked().size(), 1);
        QCOMPARE(dialogs->Asked().first().title, QString("Save List File As"));
        QVERIFY(w->playlist->IsModified());
        QCOMPARE(w->playlist->LastEntry(), qint16(0));
        QVERIFY(!QFile::exists(IniPath()));
        // Saving for real lets it close.
        boxes->Answer(MsgResult::Yes);
        dialogs->ChooseFile(dir.filePath("kept.cxp"));
        QVERIFY(w->close());
        QVERIFY(ReadBytes(dir.filePath("kept.cxp")).contains("\"X - Y\""));
    }

    void helpNamesTheFolderOfTheGuide() {
        Start();
        boxes->Answer(MsgResult::OK);
        w->itmHHelp->trigger();
        QCOMPARE(boxes->Asked().size(), 1);
        const platform::MsgBoxCall& box = boxes->Asked().first();
        QCOMPARE(box.title, QString("Help"));
        QCOMPARE(box.icon, MsgIcon::None);
        QCOMPARE(box.buttons, MsgButtons::OK);
        QCOMPARE(box.text,
                 "For your viewing convenience, the interactive help file, ReadMe.HTM, "
                 "is stored at " +
                     platform::ResourceFolder() + "/");
        QVERIFY(QFile::exists(platform::ResourceFolder() + "/ReadMe.HTM"));
    }

    void aboutLetsGoOfTheTopWhileOpen() {
        Start();
        w->itmCOnTop_Click();
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        testsupport::ScriptedModal modal;
        bool onTopWhileOpen = true;
        QString caption, text;
        modal.Next([&](QDialog* d) {
            onTopWhileOpen =
                w->itmCOnTop->isChecked() || w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            caption = d->windowTitle();
            text = d->findChild<QLabel*>("lbl")->text();
            static_cast<player::frmAbout*>(d)->cmdOK_Click();
        });
        w->itmHAbout->trigger();
        QCOMPARE(modal.Shown(), QStringList{"player::frmAbout"});
        QVERIFY(!onTopWhileOpen);
        QCOMPARE(caption, QString("About Cantorix 3"));
        QVERIFY2(text.startsWith("Version 4.2.1"), qPrintable(text));
        QVERIFY(w->itmCOnTop->isChecked());
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(modal.Unexpected(), 0);
        w->itmCOnTop_Click();
    }

    void helpMenu() {
        Start();
        QStringList items;
        for (QAction* a : w->mnuHelp->actions()) {
            items << (a->isSeparator() ? "-" : a->text() + " " + a->shortcut().toString());
        }
        QCOMPARE(items, (QStringList{"&Help ", "-", "&About... F1"}));
    }
};

QTEST_MAIN(tst_Lifecycle)
#include "tst_lifecycle.moc"
