// The player's window against a simulated Winamp on a manual clock: the wiring of its
// commands, what Winamp is told, the captions and boxes, and the settings across a restart.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include "PlayerFixture.h"
#include "platform/Folders.h"
#include "player/ImageButton.h"
#include "player/Skin.h"
#include "player/frmSkins.h"

using platform::MsgResult;

namespace {
const QString Title = "Song - Band - Cantorix 3";
}

class tst_PlayerWindow : public QObject, PlayerFixture {
    Q_OBJECT

    QString Caption() const { return w->windowTitle(); }

  private slots:
    void init() {
        QFile::remove(platform::SettingsFilePath());
        Prepare();
    }
    void cleanup() { Finish(); }

    void openChoosesByTheLastThreeCharacters_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("opened");
        // clang-format off
        QTest::newRow("cx3")                    << "song.cx3" << "lyrics";
        QTest::newRow("upper case")             << "SONG.CX3" << "lyrics";
        QTest::newRow("cx2")                    << "old.cx2"  << "lyrics";
        QTest::newRow("no dot")                 << "songcx3"  << "lyrics";
        QTest::newRow("LRC")                    << "Song.LRC" << "lyrics";
        QTest::newRow("playlist in upper case") << "LIST.CXP" << "playlist";
        QTest::newRow("txt typed")              << "song.txt" << "nothing";
        // clang-format on
    }
    void openChoosesByTheLastThreeCharacters() {
        QFETCH(QString, name);
        QFETCH(QString, opened);
        const QString song = name.endsWith("LRC")
                                 ? Write(name,
                                         "[ti:Song]\n[ar:Band]\n[00:00]first of Song - Band\n"
                                         "[00:01]second\n[00:02]last\n")
                                 : Song(opened == "playlist" ? "song.cx3" : name, "Song - Band");
        Open(opened == "playlist" ? Write(name, "\"" + song.toUtf8() + "\",1,\"Song - Band\"\r\n")
                                  : song);
        const platform::DialogRequest asked = dialogs->Asked().value(0);
        QCOMPARE(asked.Filter, QString("Cantorix Files (*.cx3, *.cx2, *.cxp)|*.cx3;*.cx2;*.cxp|"
                                       "LRC Files (*.lrc)|*.lrc"));
        QCOMPARE(asked.FilterIndex, 1);
        QCOMPARE(asked.Flags, 6148);
        QCOMPARE(w->LyricLines.LastLine, qint16(opened == "lyrics" ? 2 : -1));
        QCOMPARE(w->Playlist.LastEntry(), qint16(opened == "playlist" ? 0 : -1));
        QCOMPARE(Caption(), opened == "lyrics" ? Title : QString("Cantorix 3"));
        QCOMPARE(w->lblNextLine->text(), opened == "lyrics" ? "first of Song - Band" : ":o)");
        QCOMPARE(w->itmPPlay->isEnabled(), opened != "nothing");
        QCOMPARE(w->itmLVShow->text(), opened == "playlist" ? "&Hide" : "S&how");
    }

    void playFollowsWinampToTheLastLine_data() {
        QTest::addColumn<QByteArray>("lyrics");
        QTest::addColumn<QList<qint64>>("ticks");
        QTest::newRow("three lines") << QByteArray() << QList<qint64>{999, 1000, 2000};
        QTest::newRow("a single line ends at once")
            << QByteArray("\"Song - Band\"\r\n3.5,\"last of Song - Band\"\r\n") << QList<qint64>{};
    }
    void playFollowsWinampToTheLastLine() {
        QFETCH(QByteArray, lyrics);
        QFETCH(QList<qint64>, ticks);
        Open(lyrics.isEmpty() ? Song("song.cx3", "Song - Band") : Write("one.cx3", lyrics));
        sim->Clear();
        w->itmPPlay->trigger();
        // Play, then stop at the end of the track so a next entry starts from our side.
        const QStringList started{SimWinamp::Command(40045), SimWinamp::Command(40157)};
        QCOMPARE(sim->Posts(), started);
        for (qint64 ms : ticks) {
            QVERIFY(w->tmr->isActive() && w->cmdPlay->isHidden() && !w->cmdStop->isHidden());
            sim->clock.Set(ms);
            w->tmr_Timer();
        }
        QCOMPARE(w->lblCurrLine->text(), QString("last of Song - Band"));
        QCOMPARE(w->lblNextLine->text(), QString("(end of song)"));
        // Winamp plays the rest of the song by itself; the player is ready to play again.
        QVERIFY(!w->tmr->isActive());
        QCOMPARE(sim->Posts(), started);
        QCOMPARE(sim->model.PlayState(), winampsim::Winamp::State::Playing);
        QVERIFY(!w->cmdPlay->isHidden() && w->itmPPlay->isEnabled() && w->cmdStop->isHidden());
    }

    void pauseResumeAndStopSetTheCaption() {
        Open(Song("song.cx3", "Song - Band"));
        w->cmdPlay_Click();
        sim->Clear();
        w->cmdPause_Click();
        QCOMPARE(Caption(), "-- PAUSED -- " + Title);
        QVERIFY(!w->tmr->isActive());
        QCOMPARE(sim->model.PlayState(), winampsim::Winamp::State::Paused);
        w->itmPPause->trigger();
        QCOMPARE(Caption(), Title);
        QVERIFY(w->tmr->isActive());
        QCOMPARE(sim->Posts(), (QStringList{SimWinamp::Command(40046), SimWinamp::Command(40046)}));
        // Stop after a pause, Play and pause again: one prefix, never two.
        w->cmdPause_Click();
        w->cmdStop_Click();
        QCOMPARE(Caption(), Title);
        w->cmdPlay_Click();
        w->cmdPause_Click();
        QCOMPARE(Caption(), "-- PAUSED -- " + Title);
        w->cmdPause_Click();
        // Pause while Winamp has stopped behind the player's back changes nothing.
        sim->model.Stop();
        sim->Clear();
        w->cmdPause_Click();
        QCOMPARE(Caption(), Title);
        QVERIFY(w->tmr->isActive());
        QCOMPARE(sim->Posts(), QStringList{});
    }

    // Stop posts the Stop Mode's command; "&Fade" (40147) is seen on closing.
    void stopImmediately() {
        w->itmOSFade[1]->trigger();
        Open(Song("song.cx3", "Song - Band"));
        w->cmdPlay_Click();
        sim->Clear();
        w->itmPStop->trigger();
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(40047)});
        QVERIFY(!w->tmr->isActive());
        QVERIFY(!w->cmdPlay->isHidden() && !w->cmdOpen->isHidden() && w->cmdStop->isHidden());
    }

    void badFilesSayCouldNotRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("caption");
        // clang-format off
        QTest::newRow("missing")           << QByteArray()                          << "Cantorix 3";
        QTest::newRow("time not a number") << QByteArray("\"T - A\"\r\nabc,\"one\"\r\n") << "Cantorix 3";
        QTest::newRow("header only")       << QByteArray("\"Only - A Title\"\r\n")  << "Only - A Title - Cantorix 3";
        // clang-format on
    }
    void badFilesSayCouldNotRead() {
        QFETCH(QByteArray, bytes);
        boxes->Answer(MsgResult::OK);
        Open(bytes.isEmpty() ? dir.filePath("none.cx3") : Write("bad.cx3", bytes));
        const platform::MsgBoxCall box = boxes->Asked().value(0);
        QCOMPARE(box.Title + ": " + box.Text,
                 QString("Playlist Loader: Could not read data file."));
        QVERIFY(box.Icon == platform::MsgIcon::Exclamation &&
                box.Buttons == platform::MsgButtons::OK);
        QTEST(Caption(), "caption");
        QCOMPARE(w->lblNextLine->text(), QString(":o)"));
        // The Open command completes its own steps whatever the load did.
        QVERIFY(!w->cmdPlay->isHidden() && w->itmPPlay->isEnabled() && w->itmLAdd->isEnabled());
    }

    void playWithoutWinampSaysSo() {
        Open(Song("song.cx3", "Song - Band"));
        sim.reset();
        boxes->Answer(MsgResult::OK);
        w->cmdPlay_Click();
        QCOMPARE(boxes->Asked().value(0).Title, QString("Winamp Handle"));
        QVERIFY(!w->tmr->isActive());
        QVERIFY(!w->cmdPlay->isHidden());
    }

    // A playlist of one entry with a second added but not saved, unless changed is false.
    void closing_data() {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QList<MsgResult>>("answers");  // the question, then the failed save
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("entriesInFile");
        using L = QList<MsgResult>;
        // clang-format off
        QTest::newRow("no changes, no question") << false << L{}                              << true  << 1;
        QTest::newRow("cancel")                  << true  << L{MsgResult::Cancel}             << false << 1;
        QTest::newRow("no")                      << true  << L{MsgResult::No}                 << true  << 1;
        QTest::newRow("yes saves")               << true  << L{MsgResult::Yes}                << true  << 2;
        QTest::newRow("yes, save failed")        << true  << L{MsgResult::Yes, MsgResult::OK} << false << 0;
        // clang-format on
    }
    void closing() {
        QFETCH(bool, changed);
        QFETCH(QList<MsgResult>, answers);
        QFETCH(bool, closes);
        const QString list = Write("list.cxp", "\"/songs/0.cx3\",1,\"Song 0 - Band\"\r\n");
        QVERIFY(w->LoadPlaylist(list) && w->Playlist.Append({"/songs/x.cx3", 9, "X - Y"}));
        w->Playlist.SetModified(changed);
        if (answers.size() > 1) {  // the playlist file has become a folder: Save fails
            QVERIFY(QFile::remove(list) && QDir().mkpath(list));
        }
        for (MsgResult answer : answers) {
            boxes->Answer(answer);
        }
        sim->model.Play();
        sim->Clear();
        QCOMPARE(w->close(), closes);
        QCOMPARE(boxes->Asked().size(), answers.size());
        QCOMPARE(boxes->Asked().value(0).Title, changed ? "Close Cantorix?" : "");
        // Closing stops Winamp by the Stop Mode and writes the settings; staying open does
        // neither.
        QCOMPARE(sim->Posts(), closes ? QStringList{SimWinamp::Command(40147)} : QStringList{});
        QCOMPARE(QFile::exists(platform::SettingsFilePath()), closes);
        QTEST(int(testsupport::ReadBytes(list).count("\r\n")), "entriesInFile");
    }

    // Every setting is applied at start-up and written at close, through the window's own
    // commands; the file format itself is the lyrics library's.
    void settingsSurviveARestart() {
        QVERIFY(w->itmOSFade[0]->isChecked() && w->itmLSmart[0]->isChecked());
        QVERIFY(w->itmOLSave[0]->isChecked() && !w->lblRand->font().bold());
        QCOMPARE(w->lblCurrLine->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        w->itmCOnTop->trigger();
        w->itmSCompact->trigger();
        w->itmOSFade[1]->trigger();
        w->itmLSmart[1]->trigger();
        w->itmOLSave[1]->trigger();
        w->lblRand_Click();
        w->lblRepeat_Click();
        dialogs->ChooseColor(0x00123456);
        w->itmCColour[2]->trigger();
        const QString list = Write("remembered.cxp", "\"/songs/0.cx3\",1,\"Song 0 - Band\"\r\n");
        QVERIFY(w->LoadPlaylist(list));
        w->move(100, 60);
        QVERIFY(w->close());

        Start();
        QCOMPARE(w->pos(), QPoint(100, 60));
        QVERIFY(w->itmCOnTop->isChecked() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w->itmSCompact->isChecked());
        QVERIFY(w->itmOSFade[1]->isChecked() && !w->itmOSFade[0]->isChecked());
        QVERIFY(w->itmLSmart[1]->isChecked() && w->itmOLSave[1]->isChecked());
        QVERIFY(w->Playlist.RandomizeList() && w->lblRand->font().bold());
        QVERIFY(w->Playlist.RepeatList() && w->lblRepeat->font().bold());
        QCOMPARE(w->lblNextLine->palette().color(QPalette::WindowText), QColor(0x56, 0x34, 0x12));
        QCOMPARE(w->Playlist.PlaylistPath(), list);
        QVERIFY(!w->itmLSave->isEnabled());
    }

    // A settings file that fails at line 6 keeps the position and Retract to Compact from
    // the lines before; the colours and the Stop Mode of those lines take their defaults.
    void settingsFailingPartWay() {
        testsupport::WriteBytes(platform::SettingsFilePath(),
                                "1,2,3\r\n1500,600\r\n0,\"on top\"\r\n1,\"compact\"\r\n"
                                "1,\"stop fade\"\r\nx,\"list view\"\r\n");
        Start();
        QCOMPARE(w->pos(), QPoint(100, 40));
        QVERIFY(w->itmSCompact->isChecked());
        QVERIFY(w->itmOSFade[0]->isChecked() && !w->itmOSFade[1]->isChecked());
        QCOMPARE(w->lblCurrLine->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }

    // Compact hides the menus while a song is followed, through a pause and the song's end,
    // until Stop; the Playback menu stays within reach of a right click on the current line.
    void compactDuringPlaybackUntilStop() {
        w->itmSCompact_Click();
        Open(Song("song.cx3", "Song - Band"));
        QVERIFY(!MenusHidden());
        w->cmdPlay_Click();
        QVERIFY(MenusHidden());
        QCOMPARE(w->OuterHeight, 1450);
        w->cmdPause_Click();
        w->cmdPause_Click();
        for (qint64 ms : {1000, 2000}) {
            sim->clock.Set(ms);
            w->tmr_Timer();
        }
        QVERIFY(!w->tmr->isActive());
        QVERIFY(MenusHidden());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTest::mouseClick(w->lblCurrLine, Qt::LeftButton);
        QVERIFY(!w->mnuPlayback->isVisible());
        QTest::mouseClick(w->lblCurrLine, Qt::RightButton);
        QTRY_VERIFY(w->mnuPlayback->isVisible());
        w->mnuPlayback->hide();
        w->cmdStop_Click();
        QVERIFY(!MenusHidden());
    }

    // Skin Selection opens at the skin folder with the window let go of the top; OK takes
    // the folder opened and reloads the buttons, Cancel leaves both.
    void skinsDialog() {
        const QString skins = player::SkinsFolder(), night = skins + "night/";
        w->itmCOnTop_Click();
        testsupport::ScriptedModal modal;
        bool onTopWhileOpen = true;
        modal.Next([&](QDialog* d) {
            onTopWhileOpen = w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            auto* dlg = static_cast<player::frmSkins*>(d);
            QCOMPARE(dlg->GetValue(), skins + "default/");
            dlg->SetValue(night);
            dlg->cmdOK_Click();
        });
        w->itmSSkins->trigger();
        QVERIFY(!onTopWhileOpen);
        QVERIFY(w->itmCOnTop->isChecked() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QImage nightPlay = QImage(night + "play.bmp").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(w->Settings.SkinFolder, night);
        QCOMPARE(w->cmdPlay->pixmap().toImage(), nightPlay);
        // A press shows the skin's pressed bitmap until the button is let go.
        emit w->cmdPlay->MouseDown();
        QCOMPARE(w->cmdPlay->pixmap().toImage(),
                 QImage(night + "play_down.bmp").convertToFormat(QImage::Format_RGB32));
        emit w->cmdPlay->MouseUp();
        modal.Next([&](QDialog* d) {
            static_cast<player::frmSkins*>(d)->SetValue(skins + "default/");
            static_cast<player::frmSkins*>(d)->cmdCancel_Click();
        });
        w->itmSSkins->trigger();
        QCOMPARE(w->Settings.SkinFolder, night);
        QCOMPARE(w->cmdPlay->pixmap().toImage(), nightPlay);
        QCOMPARE(modal.Unexpected(), 0);
    }
};

QTEST_MAIN(tst_PlayerWindow)
#include "tst_player_window.moc"
