// The player's window against a simulated Winamp on a manual clock, with scripted boxes and
// dialogs: the wiring of its commands, what Winamp is told, the captions, what reaches the
// playlist file, the settings across a restart, dialogs that show their whole text; and a
// playlist played song after song, with the wait between two entries.
#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "platform/Folders.h"
#include "player/ImageButton.h"
#include "player/Skin.h"
#include "player/frmAbout.h"
#include "player/frmMain.h"
#include "player/frmSkins.h"
#include "playlist/PlaylistList.h"
#include "playlist/frmAssoc.h"
#include "playlist/frmShift.h"
#include "support/Files.h"
#include "support/Scripted.h"
#include "support/SimWinamp.h"

using platform::MsgResult;
using testsupport::ReadBytes;

namespace {
const QString Title = "Song - Band - Cantorix 3";
constexpr int TrackSeconds = 10;
}  // namespace

class tst_PlayerWindow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<SimWinamp> sim;
    std::unique_ptr<testsupport::ScriptedBoxes> boxes;
    std::unique_ptr<testsupport::ScriptedDialogs> dialogs;
    std::unique_ptr<testsupport::ScriptedModal> modal;
    std::unique_ptr<player::frmMain> w;

    // The window loaded as at program start; also a restart, which reads the settings the
    // last window wrote.
    void Start() {
        w = std::make_unique<player::frmMain>();
        w->Form_Load();
    }
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        testsupport::WriteBytes(path, bytes);
        return path;
    }
    // A lyrics file of three lines at 1, 2 and 3 seconds.
    QString Song(const QString& name, const QString& title) {
        return Write(name, QStringLiteral("\"%1\"\r\n1,\"first of %1\"\r\n2,\"second of %1\"\r\n"
                                          "3,\"last of %1\"\r\n")
                               .arg(title)
                               .toUtf8());
    }
    void Open(const QString& path) {
        dialogs->ChooseFile(path);
        w->cmdOpen_Click();
    }
    bool MenusHidden() const { return w->menuBar()->isHidden(); }

    // A playlist of n entries; entry k shows "k.cx3" for Winamp's track k + 1.
    void LoadPlaylist(int n) {
        QByteArray cxp;
        for (int k = 0; k < n; ++k) {
            const QString title = QStringLiteral("Song %1 - Band").arg(k);
            cxp += "\"" + Song(QStringLiteral("%1.cx3").arg(k), title).toUtf8() + "\"," +
                   QByteArray::number(k + 1) + ",\"" + title.toUtf8() + "\"\r\n";
        }
        QVERIFY(w->LoadPlaylist(Write("list.cxp", cxp)));
    }

    // The Winamp tracks (from 0) that entries were started on, from the 121s posted.
    QList<int> Moves() const {
        QList<int> out;
        for (const QString& post : sim->Posts()) {
            if (post.startsWith("1024:") && post.endsWith(":121")) {
                out << post.section(':', 1, 1).toInt();
            }
        }
        return out;
    }
    int Count(platform::WPARAM command) const {
        return int(sim->Posts().count(SimWinamp::Command(command)));
    }

    // Two seconds of the song, a tick a second: the last of its three lines is reached.
    void ReachLastLine() {
        for (int i = 0; i < 2; ++i) {
            sim->clock.Advance(1000);
            w->tmr_Timer();
        }
        QVERIFY(!w->tmr->isActive());
    }
    // The rest of the track, then the wait's question once Winamp has stopped.
    void PlayOutTheTail() {
        sim->clock.Advance(TrackSeconds * 1000);
        w->tmrWait_Timer();
    }

  private slots:
    void init() {
        QFile::remove(platform::SettingsFilePath());
        sim = std::make_unique<SimWinamp>(6, TrackSeconds);
        boxes = std::make_unique<testsupport::ScriptedBoxes>();
        dialogs = std::make_unique<testsupport::ScriptedDialogs>();
        modal = std::make_unique<testsupport::ScriptedModal>();
        Start();
    }
    void cleanup() {
        const int unexpected = boxes->Unexpected() + dialogs->Unexpected() + modal->Unexpected();
        w.reset();
        modal.reset();
        dialogs.reset();
        boxes.reset();
        sim.reset();
        QCOMPARE(unexpected, 0);
    }

    // One song, with Retract to Compact on. Play posts Play, then stop at the end of the track
    // so a next entry starts from our side; the display follows Winamp to the last line (which
    // line is current is the follower's table), and Winamp plays the rest by itself. The menus
    // stay hidden until Stop, the Playback menu within reach of a right click on the current
    // line. Stop posts the Stop Mode's command, here Immediate; "&Fade" (40147) is seen on
    // closing.
    void oneSong() {
        w->itmOSFade[1]->trigger();
        w->itmSCompact_Click();
        Open(Song("song.cx3", "Song - Band"));
        QVERIFY(!MenusHidden());
        sim->Clear();
        w->itmPPlay->trigger();
        QVERIFY(MenusHidden() && w->OuterHeight == 1450);
        const QStringList started{SimWinamp::Command(40045), SimWinamp::Command(40157)};
        QCOMPARE(sim->Posts(), started);
        for (qint64 ms : {999, 1000, 2000}) {
            QVERIFY(w->tmr->isActive() && w->cmdPlay->isHidden() && !w->cmdStop->isHidden());
            sim->clock.Set(ms);
            w->tmr_Timer();
        }
        QCOMPARE(w->lblCurrLine->text(), QString("last of Song - Band"));
        QCOMPARE(w->lblNextLine->text(), QString("(end of song)"));
        QVERIFY(!w->tmr->isActive() && MenusHidden());
        QCOMPARE(sim->Posts(), started);
        QCOMPARE(sim->model.PlayState(), winampsim::Winamp::State::Playing);
        QVERIFY(!w->cmdPlay->isHidden() && w->itmPPlay->isEnabled() && w->cmdStop->isHidden());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTest::mouseClick(w->lblCurrLine, Qt::LeftButton);
        QVERIFY(!w->mnuPlayback->isVisible());
        QTest::mouseClick(w->lblCurrLine, Qt::RightButton);
        QTRY_VERIFY(w->mnuPlayback->isVisible());
        w->mnuPlayback->hide();

        w->cmdPlay_Click();
        sim->Clear();
        w->cmdPause_Click();
        QCOMPARE(w->windowTitle(), "-- PAUSED -- " + Title);
        QVERIFY(!w->tmr->isActive() && MenusHidden());
        QCOMPARE(sim->model.PlayState(), winampsim::Winamp::State::Paused);
        w->itmPPause->trigger();
        QCOMPARE(w->windowTitle(), Title);
        QVERIFY(w->tmr->isActive());
        // Stop after a pause, Play and pause again: one prefix, never two.
        w->cmdPause_Click();
        w->itmPStop->trigger();
        QCOMPARE(sim->Posts(), (QStringList{SimWinamp::Command(40046), SimWinamp::Command(40046),
                                            SimWinamp::Command(40046), SimWinamp::Command(40047)}));
        QCOMPARE(w->windowTitle(), Title);
        QVERIFY(!w->tmr->isActive() && !MenusHidden());
        QVERIFY(!w->cmdPlay->isHidden() && !w->cmdOpen->isHidden() && w->cmdStop->isHidden());
        w->cmdPlay_Click();
        w->cmdPause_Click();
        QCOMPARE(w->windowTitle(), "-- PAUSED -- " + Title);
        w->cmdPause_Click();
        // Pause while Winamp has stopped behind the player's back changes nothing.
        sim->model.Stop();
        sim->Clear();
        w->cmdPause_Click();
        QCOMPARE(w->windowTitle(), Title);
        QVERIFY(w->tmr->isActive());
        QCOMPARE(sim->Posts(), QStringList{});
    }

    // The reading itself is the lyrics library's; the window says so and completes the Open.
    // Play with no Winamp says that instead.
    void failuresSaySo() {
        boxes->Answer(MsgResult::OK);
        Open(dir.filePath("none.cx3"));
        QCOMPARE(w->windowTitle(), "Cantorix 3");
        boxes->Answer(MsgResult::OK);
        Open(Write("bad.cx3", "\"Only - A Title\"\r\n"));  // a title and no line
        QCOMPARE(w->windowTitle(), "Only - A Title - Cantorix 3");
        QCOMPARE(boxes->Texts(), QStringList(2, "Playlist Loader: Could not read data file."));
        QVERIFY(boxes->Asked()[1].Icon == platform::MsgIcon::Exclamation);
        QCOMPARE(w->lblNextLine->text(), QString(":o)"));
        QVERIFY(!w->cmdPlay->isHidden() && w->itmPPlay->isEnabled() && w->itmLAdd->isEnabled());
        Open(Song("song.cx3", "Song - Band"));
        sim.reset();
        boxes->Answer(MsgResult::OK);
        w->cmdPlay_Click();
        QCOMPARE(boxes->Asked().value(2).Title, QString("Winamp Handle"));
        QVERIFY(!w->tmr->isActive() && !w->cmdPlay->isHidden());
    }

    // A playlist of one entry with a second added but not saved, unless changed is false; the
    // answer No is the encoder's test.
    void closing_data() {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("saveFails");  // the playlist's path is a folder
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("entriesInFile");
        QTest::newRow("no changes, no question") << false << MsgResult::OK << false << true << 1;
        QTest::newRow("cancel") << true << MsgResult::Cancel << false << false << 1;
        QTest::newRow("yes saves") << true << MsgResult::Yes << false << true << 2;
        QTest::newRow("yes, the save fails") << true << MsgResult::Yes << true << false << 1;
    }
    void closing() {
        QFETCH(bool, changed);
        QFETCH(MsgResult, answer);
        QFETCH(bool, saveFails);
        QFETCH(bool, closes);
        const QString list = Write("list.cxp", "\"/songs/0.cx3\",1,\"Song 0 - Band\"\r\n");
        QVERIFY(w->LoadPlaylist(list) && w->Playlist.Append({"/songs/x.cx3", 9, "X - Y"}));
        w->Playlist.SetModified(changed);
        w->Playlist.SetPath(saveFails ? dir.path() : list);
        boxes->Answer(answer);
        boxes->Answer(MsgResult::OK);  // "Could not save playlist."
        sim->model.Play();
        sim->Clear();
        QCOMPARE(w->close(), closes);
        const QString question = "Close Cantorix?: Would you like to save the changes you made "
                                 "to the playlist?\r" + w->Playlist.PlaylistPath();
        const QString failed = "Playlist Saver: Could not save playlist.";
        QCOMPARE(boxes->Texts(),
                 QStringList(int(changed), question) + QStringList(int(saveFails), failed));
        QVERIFY(!changed || boxes->Asked()[0].Buttons == platform::MsgButtons::YesNoCancel);
        // Closing stops Winamp by the Stop Mode and writes the settings; staying open does
        // neither.
        QCOMPARE(sim->Posts(), closes ? QStringList{SimWinamp::Command(40147)} : QStringList{});
        QCOMPARE(QFile::exists(platform::SettingsFilePath()), closes);
        QTEST(int(ReadBytes(list).count("\r\n")), "entriesInFile");
    }

    // Every setting is applied at start-up and written at close, through the window's own
    // commands; the file format itself is the lyrics library's. Skin Selection opens at the
    // skin folder with the window let go of the top; OK takes the folder opened and reloads
    // the buttons, Cancel leaves both.
    void settingsSurviveARestart() {
        const QString skins = player::SkinsFolder(), night = skins + "night/";
        w->itmCOnTop->trigger();
        bool onTopWhileOpen = true;
        modal->Next([&](QDialog* d) {
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
        QCOMPARE(w->cmdPlay->pixmap().toImage(), nightPlay);
        // A press shows the skin's pressed bitmap until the button is let go.
        emit w->cmdPlay->MouseDown();
        QCOMPARE(w->cmdPlay->pixmap().toImage(),
                 QImage(night + "play_down.bmp").convertToFormat(QImage::Format_RGB32));
        emit w->cmdPlay->MouseUp();
        modal->Next([&](QDialog* d) {
            static_cast<player::frmSkins*>(d)->SetValue(skins + "default/");
            static_cast<player::frmSkins*>(d)->cmdCancel_Click();
        });
        w->itmSSkins->trigger();
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
        QCOMPARE(w->Settings.SkinFolder, night);
        QCOMPARE(w->cmdPlay->pixmap().toImage(), nightPlay);
        QVERIFY(w->itmSCompact->isChecked());
        QVERIFY(w->itmOSFade[1]->isChecked() && !w->itmOSFade[0]->isChecked());
        QVERIFY(w->itmLSmart[1]->isChecked() && w->itmOLSave[1]->isChecked());
        QVERIFY(w->Playlist.RandomizeList() && w->lblRand->font().bold());
        QVERIFY(w->Playlist.RepeatList() && w->lblRepeat->font().bold());
        QCOMPARE(w->lblCurrLine->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(w->lblNextLine->palette().color(QPalette::WindowText), QColor(0x56, 0x34, 0x12));
        QCOMPARE(w->Playlist.PlaylistPath(), list);
        QVERIFY(!w->itmLSave->isEnabled());
    }

    // A playlist opened with the Open button: under On Change a confirmed Add, Sort, Shift, Edit
    // and Remove are in the file at once, and the list shows them; under Manual a change only
    // enables Save. The right button pops up Track and never moves the selection.
    void entryCommandsReachTheFile() {
        const QString path = Write("LIST.CXP",
                                   "\"/l/c.cx3\",7,\"C - Zed\"\r\n\"/l/a.cx3\",2,"
                                   "\"A - Yan\"\r\n\"/l/b.cx3\",5,\"B - Xi\"\r\n");
        Open(path);
        const platform::DialogRequest asked = dialogs->Asked().value(0);
        QCOMPARE(QStringLiteral("%1 %2 ").arg(asked.FilterIndex).arg(asked.Flags) + asked.Filter,
                 "1 6148 Cantorix Files (*.cx3, *.cx2, *.cxp)|*.cx3;*.cx2;*.cxp|"
                 "LRC Files (*.lrc)|*.lrc");
        QVERIFY(w->itmPPlay->isEnabled() && w->itmLVShow->text() == "&Hide");
        modal->Next([](QDialog* d) {
            static_cast<playlist::frmAssoc*>(d)->SetValue(9, "D - Wu", "/l/d.cx3");
            static_cast<playlist::frmAssoc*>(d)->cmdOK_Click();
        });
        w->itmLAdd->trigger();
        QVERIFY(
            ReadBytes(path).endsWith("\"/l/b.cx3\",5,\"B - Xi\"\r\n\"/l/d.cx3\",9,\"D - Wu\"\r\n"));
        w->itmLSort[2]->trigger();  // by track
        modal->Next([](QDialog* d) {
            auto* shift = static_cast<playlist::frmShift*>(d);
            shift->txtLoc->setText("6");
            shift->txtAmt->setText("-2.5");  // -2
            shift->cmdOK_Click();
        });
        w->itmLShift->trigger();
        w->lstList->setCurrentRow(0);
        modal->Next([](QDialog* d) {
            static_cast<playlist::frmAssoc*>(d)->SetValue(3, "A - Yan", "/l/e.cx3");
            static_cast<playlist::frmAssoc*>(d)->cmdOK_Click();
        });
        w->itmLEdit->trigger();
        QCOMPARE(w->lstList->item(0)->text(), "3 - A - Yan - /l/e.cx3");
        QCOMPARE(ReadBytes(path),
                 QByteArray("\"/l/e.cx3\",3,\"A - Yan\"\r\n\"/l/b.cx3\",5,\"B - Xi\"\r\n"
                            "\"/l/c.cx3\",5,\"C - Zed\"\r\n\"/l/d.cx3\",7,\"D - Wu\"\r\n"));
        w->lstList->setCurrentRow(1);
        boxes->Answer(MsgResult::No);
        w->itmLRemove->trigger();
        boxes->Answer(MsgResult::Yes);
        w->itmLRemove->trigger();
        QCOMPARE(boxes->Asked().last().Text, "Are you sure you wish to remove this entry?");
        QCOMPARE(w->lstList->count(), 3);
        QCOMPARE(w->lstList->currentRow(), -1);
        const QByteArray saved = ReadBytes(path);
        QVERIFY(!saved.contains("b.cx3") && !w->itmLSave->isEnabled());
        w->itmOLSave[1]->trigger();
        w->itmLSort[0]->trigger();  // under Manual only Save comes on
        QVERIFY(w->itmLSave->isEnabled());
        QCOMPARE(ReadBytes(path), saved);

        w->show();
        w->lstList->setCurrentRow(2);
        const QPoint row0 = w->lstList->visualItemRect(w->lstList->item(0)).center();
        QTest::mouseClick(w->lstList->viewport(), Qt::RightButton, {}, row0);
        QCOMPARE(w->lstList->currentRow(), 2);
        QVERIFY(w->mnuListPop->isVisible());
        w->mnuListPop->hide();
    }

    // No label or button of the player's dialogs clips what it says at its natural size.
    void dialogsShowTheirWholeText() {
        player::frmAbout about;
        player::frmSkins skins;
        for (QDialog* dialog : {static_cast<QDialog*>(&about), static_cast<QDialog*>(&skins)}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QVERIFY(!dialog->findChildren<QLabel*>().isEmpty());
            for (const QLabel* label : dialog->findChildren<QLabel*>()) {
                const QRect box = label->contentsRect();
                const QRect needed = label->fontMetrics().boundingRect(
                    box, int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0),
                    label->text());
                QVERIFY2(label->text().isEmpty() ||
                             (needed.width() <= box.width() && needed.height() <= box.height()),
                         qPrintable(label->text()));
            }
            for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
                const QString text = QString(button->text()).remove(u'&');
                QVERIFY2(button->fontMetrics().horizontalAdvance(text) < button->width(),
                         qPrintable(text));
            }
        }
    }

    // A playlist from the selection round to its start, each entry shown in the list as it
    // plays (the order is the model's, what Winamp is told the round trip's). Next fades the
    // song out first; the next entry waits for Winamp to stop, a pause in the tail being still
    // the song; Next in the wait skips nothing; Stop in it starts nothing, not even from a tick
    // already queued.
    void songAfterSong() {
        LoadPlaylist(4);
        w->Playlist.Select(1);
        w->itmLPlay->trigger();
        const auto playing = [this](int k) {
            QCOMPARE(w->lblCurrLine->text(), QStringLiteral("first of Song %1 - Band").arg(k));
            QCOMPARE(w->lstList->currentRow(), k);
            QVERIFY(!w->cmdNext->isHidden() && !w->itmLNew->isEnabled());
        };
        playing(1);
        sim->Clear();
        w->itmPNext->trigger();
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(40147)});
        sim->clock.Advance(1000);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{});  // still fading
        sim->clock.Advance(600);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{2});
        playing(2);

        ReachLastLine();
        QVERIFY(w->WaitingForStop);
        sim->Clear();
        w->cmdPause_Click();
        sim->clock.Advance(60000);
        w->tmrWait_Timer();
        w->cmdPause_Click();  // resumes Winamp; the display stays ended
        QVERIFY(!w->tmr->isActive());
        sim->clock.Advance(7000);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{});
        PlayOutTheTail();
        QCOMPARE(Moves(), QList<int>{3});
        QVERIFY(!w->WaitingForStop && w->tmr->isActive());
        playing(3);

        ReachLastLine();
        sim->Clear();
        w->cmdNext_Click();
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(40147)});
        sim->clock.Advance(1600);
        w->tmrWait_Timer();
        QCOMPARE(Moves(), QList<int>{0});
        QVERIFY(Count(40045) == 1 && !w->WaitingForStop && !w->tmrWait->isActive());
        playing(0);
        ReachLastLine();
        PlayOutTheTail();
        QVERIFY(!w->Playlist.PlaylistPlaying() && !w->WaitingForStop);
        QVERIFY(!w->cmdPlay->isHidden() && w->cmdNext->isHidden() && w->cmdStop->isHidden());
        QVERIFY(w->itmLNew->isEnabled() && w->itmLPlay->isEnabled());
        QCOMPARE(w->itmLVShow->text(), QString("&Hide"));

        // A double click while stopped starts that entry, once.
        sim->Clear();
        w->Playlist.Select(3);
        w->lstList_DblClick();
        QCOMPARE(Moves(), QList<int>{3});
        QVERIFY(Count(40045) == 1 && w->Playlist.PlaylistPlaying());
        ReachLastLine();
        sim->Clear();
        w->cmdStop_Click();
        QVERIFY(!w->Playlist.PlaylistPlaying() && !w->WaitingForStop && !w->tmrWait->isActive());
        PlayOutTheTail();
        QVERIFY(Moves().isEmpty() && Count(40045) == 0);
        QVERIFY(w->itmLNew->isEnabled() && !w->cmdPlay->isHidden());
    }
};

QTEST_MAIN(tst_PlayerWindow)
#include "tst_player_window.moc"
