// The player's window against a simulated Winamp on a manual clock, with scripted boxes and
// dialogs: the wiring of its controls to the rules tested on their own.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "lyrics/ConfFile.h"
#include "lyrics/LyricLabel.h"
#include "lyrics/LyricsPane.h"
#include "platform/Folders.h"
#include "player/ImageButton.h"
#include "player/Karaoke.h"
#include "player/Overlay.h"
#include "player/Skin.h"
#include "player/frmMain.h"
#include "player/frmSkins.h"
#include "playlist/PlaylistList.h"
#include "playlist/frmAssoc.h"
#include "playlist/frmShift.h"
#include "support/Files.h"
#include "support/Find.h"
#include "support/Scripted.h"
#include "support/SimWinamp.h"

using platform::MsgResult;

class tst_PlayerWindow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<SimWinamp> sim;
    std::unique_ptr<testsupport::ScriptedBoxes> boxes;
    std::unique_ptr<testsupport::ScriptedDialogs> dialogs;
    std::unique_ptr<testsupport::ScriptedModal> modal;
    std::unique_ptr<player::frmMain> w;

    // The window as at program start; again, a restart that reads what the last one wrote.
    void Start() {
        w = std::make_unique<player::frmMain>();
        w->Form_Load();
    }
    QString Write(const QString& name, const QByteArray& bytes) {
        testsupport::WriteBytes(dir.filePath(name), bytes);
        return dir.filePath(name);
    }
    // Song "T" has the lines "T.1", "T.2" and "T.3", left at 1, 2 and 3 s.
    QString Song(const QString& title) {
        return Write(title + ".cx3", QStringLiteral("\"%1\"\r\n1,\"%1.1\"\r\n2,\"%1.2\"\r\n"
                                                    "3,\"%1.3\"\r\n")
                                         .arg(title)
                                         .toUtf8());
    }
    void Open(const QString& path) {
        dialogs->ChooseFile(path);
        w->cmdOpen_Click();
    }
    template <typename T = QAction>
    T* Find(const char* name) const {
        return testsupport::Child<T>(w.get(), name);
    }
    bool Shows(const char* button) const { return !Find<player::ImageButton>(button)->isHidden(); }
    playlist::PlaylistList* List() const { return Find<playlist::PlaylistList>("lstList"); }
    QPoint Row(int row) const {
        return List()->visualRect(List()->model()->index(row, 0)).center();
    }
    // The current line after a tick at each position of the song that plays.
    QStringList Shown(const QList<qint64>& positions) {
        QStringList shown;
        for (qint64 ms : positions) {
            sim->clock.Set(sim->clock.NowMs() + ms - sim->model.PositionMs());
            w->tmr_Timer();
            shown << Find<QLabel>("lblCurrLine")->text();
        }
        return shown;
    }
    // The track numbers in the playlist file at path.
    static QString Tracks(const QString& path) {
        QStringList numbers;
        for (const QByteArray& line : testsupport::ReadBytes(path).split('\n')) {
            numbers << line.split(',').value(1);
        }
        return numbers.join(' ').trimmed();
    }

  private slots:
    void init() {
        QFile::remove(platform::SettingsFilePath());
        QFile::remove(platform::ConfFilePath());
        QDir(platform::ConfFilePath()).removeRecursively();  // left by a failed delay test
        sim = std::make_unique<SimWinamp>(6, 10);
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

    // An unreadable file is said. Compact, Play folds the window to the strip with Stop for
    // Play; a right click on the line pops up Playback; Stop (Immediate) brings all back.
    void oneSong() {
        Find("itmOSFade1")->trigger();
        Find("itmSCompact")->trigger();
        boxes->Answer(MsgResult::OK);
        Open(Write("bad.cx3", "\"Only - A Title\"\r\n"));
        QCOMPARE(boxes->Texts(), QStringList{"Playlist Loader: Could not read data file."});
        QVERIFY(Shows("cmdPlay") && Find("itmPPlay")->isEnabled() && Find("itmLAdd")->isEnabled());
        Open(Song("S"));
        Find("itmPPlay")->trigger();
        QVERIFY(w->menuBar()->isHidden() && w->OuterHeight() == 1450);
        QVERIFY(!Shows("cmdPlay") && !Shows("cmdOpen") && Shows("cmdStop"));
        QVERIFY(Find("itmPPause")->isEnabled() && !Find("itmPOpen")->isEnabled());
        QCOMPARE(Find<QLabel>("lblNextLine")->text(), "S.2");
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTest::mouseClick(Find<QLabel>("lblCurrLine"), Qt::RightButton);
        QTRY_VERIFY(Find<QMenu>("mnuPlayback")->isVisible());
        Find<QMenu>("mnuPlayback")->hide();
        Find("itmPPause")->trigger();
        QCOMPARE(w->windowTitle(), "-- PAUSED -- S - Cantorix 3");
        sim->Clear();
        Find("itmPStop")->trigger();
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(40047)});
        QVERIFY(!w->menuBar()->isHidden() && Shows("cmdPlay") && Shows("cmdOpen"));
        QVERIFY(!Shows("cmdStop") && !Shows("cmdPause") && !Find("itmPStop")->isEnabled());
        sim.reset();
        boxes->Answer(MsgResult::OK);
        w->cmdPlay_Click();
        QCOMPARE(boxes->Asked().value(1).Title, QString("Winamp Handle"));
        QVERIFY(Shows("cmdPlay") && !Find("itmWPlay")->isEnabled());
    }

    // The output delay in cantorix.conf holds the lines back, one set in its dialog at once
    // even when it cannot be kept; Ctrl+(Shift+)arrows move the lines, kept on the listener's
    // word at the song's end, a file that cannot be written said.
    void delayAndOffset() {
        QVERIFY(testsupport::WriteBytes(platform::ConfFilePath(), "[Output]\nDelayMs=250\n"));
        Start();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        Open(Song("S"));
        w->cmdPlay_Click();
        QCOMPARE(Shown({1249, 1250}), (QStringList{"S.1", "S.2"}));
        QTest::keyClick(w.get(), Qt::Key_Right, Qt::ControlModifier);
        QTest::keyClick(w.get(), Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!Find<QLabel>("lblOffset")->isHidden());
        QCOMPARE(Find<QLabel>("lblOffset")->text(), "Lyrics 0.09 s later");
        w->tmrOffset_Timer();
        QVERIFY(Find<QLabel>("lblOffset")->isHidden());
        QVERIFY(QFile::remove(platform::ConfFilePath()) && QDir().mkpath(platform::ConfFilePath()));
        modal->Next([](QDialog* d) {
            QCOMPARE(d->findChild<QSpinBox*>("txtValue")->value(), 250);
            d->findChild<QSpinBox*>("txtValue")->setValue(400);
            d->findChild<QPushButton*>("cmdOK")->click();
        });
        boxes->Answer(MsgResult::OK);
        Find("itmSDelay")->trigger();
        QVERIFY(QFile::rename(dir.filePath("S.cx3"), dir.filePath("away.cx3")));
        boxes->Answer(MsgResult::Yes);
        boxes->Answer(MsgResult::OK);
        QCOMPARE(Shown({2489, 2490}), (QStringList{"S.2", "S.3"}));
        QCOMPARE(boxes->Texts(), (QStringList{"Output Delay: Could not save the output delay. It "
                                              "holds until the player ends.",
                                              "Cantorix 3: Keep the new timing in the lyrics file?",
                                              "Cantorix 3: Could not save the new timing in the "
                                              "lyrics file:\r" +
                                                  dir.filePath("S.cx3")}));
    }

    // Every setting made through the window's commands comes back after a restart, the skin
    // chosen with the window let go of the top. Closing saves the changed playlist, stops
    // Winamp and writes the settings; a failed save keeps it all open.
    void settingsSurviveARestart() {
        const QString skins = player::SkinsFolder(), night = skins + "night/";
        Find("itmCOnTop")->trigger();
        bool onTopWhileOpen = true;
        modal->Next([&](QDialog* d) {
            onTopWhileOpen = w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            QCOMPARE(static_cast<player::frmSkins*>(d)->GetValue(), skins + "default/");
            static_cast<player::frmSkins*>(d)->SetValue(night);
            static_cast<player::frmSkins*>(d)->cmdOK_Click();
        });
        Find("itmSSkins")->trigger();
        QVERIFY(!onTopWhileOpen && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        for (const char* item : {"itmSCompact", "itmOSFade1", "itmLSmart1", "itmOLSave1"}) {
            Find(item)->trigger();
        }
        QTest::mouseClick(Find<QLabel>("lblRand"), Qt::LeftButton);
        QTest::mouseClick(Find<QLabel>("lblRepeat"), Qt::LeftButton);
        dialogs->ChooseColor(0x00123456);
        Find("itmCColour2")->trigger();
        const QString list = Write("remembered.cxp", "\"/songs/0.cx3\",1,\"Song 0 - Band\"\r\n");
        QVERIFY(w->LoadPlaylist(list) && w->Playlist().Append({"/songs/x.cx3", 9, "X - Y"}));
        w->Playlist().SetModified(true);
        w->Playlist().SetPath(dir.path());  // a folder: the save at closing fails
        for (MsgResult answer : {MsgResult::Yes, MsgResult::OK, MsgResult::Yes}) {
            boxes->Answer(answer);
        }
        sim->model.Play();
        sim->Clear();
        QVERIFY(!w->close() && sim->Posts().isEmpty());
        QVERIFY(!QFile::exists(platform::SettingsFilePath()));
        w->Playlist().SetPath(list);
        w->move(100, 60);
        QVERIFY(w->close());
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(40047)});  // the Stop Mode's
        QCOMPARE(boxes->Texts().mid(1), (QStringList{"Playlist Saver: Could not save playlist.",
                                                     "Close Cantorix?: Would you like to save the "
                                                     "changes you made to the playlist?\r" +
                                                         list}));
        QCOMPARE(Tracks(list), "1 9");

        Start();
        QCOMPARE(w->pos(), QPoint(100, 60));
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(Find<player::ImageButton>("cmdPlay")->pixmap().toImage(),
                 QImage(night + "play.bmp").convertToFormat(QImage::Format_RGB32));
        for (const char* item :
             {"itmCOnTop", "itmSCompact", "itmOSFade1", "itmLSmart1", "itmOLSave1"}) {
            QVERIFY2(Find(item)->isChecked(), item);
        }
        QVERIFY(w->Playlist().RandomizeList() && Find<QLabel>("lblRand")->font().bold());
        QVERIFY(w->Playlist().RepeatList() && Find<QLabel>("lblRepeat")->font().bold());
        QCOMPARE(Find<QLabel>("lblNextLine")->palette().color(QPalette::WindowText),
                 QColor(0x56, 0x34, 0x12));
        QCOMPARE(w->Playlist().PlaylistPath(), list);
        QVERIFY(!Find("itmLSave")->isEnabled());
    }

    // Under On Change each entry command is in the playlist file at once; under Manual a change
    // only enables Save. The right button pops up Track and never moves the selection.
    void entryCommandsReachTheFile() {
        const QString path = Write("LIST.CXP",
                                   "\"/l/c.cx3\",7,\"C - Zed\"\r\n\"/l/a.cx3\",2,"
                                   "\"A - Yan\"\r\n\"/l/b.cx3\",5,\"B - Xi\"\r\n");
        const auto entryCommands = [this](bool enabled) {
            for (const char* item : {"itmLAdd", "itmLEdit", "itmLRemove", "itmLS", "itmLShift"}) {
                QVERIFY2(Find(item)->isEnabled() == enabled, item);
            }
        };
        entryCommands(false);
        Open(path);
        QCOMPARE(Find("itmLVShow")->text(), "&Hide");
        entryCommands(true);
        const auto entry = [this](int track, const QString& title, const QString& file) {
            modal->Next([=](QDialog* d) {
                static_cast<playlist::frmAssoc*>(d)->SetValue(qint16(track), title, file);
                static_cast<playlist::frmAssoc*>(d)->cmdOK_Click();
            });
        };
        entry(9, "D - Wu", "/l/d.cx3");
        Find("itmLAdd")->trigger();
        QCOMPARE(Tracks(path), "7 2 5 9");
        Find("itmLSort2")->trigger();  // by track
        QCOMPARE(Tracks(path), "2 5 7 9");
        modal->Next([](QDialog* d) {
            d->findChild<QLineEdit*>("txtLoc")->setText("6");
            d->findChild<QLineEdit*>("txtAmt")->setText("-2");
            static_cast<playlist::frmShift*>(d)->cmdOK_Click();
        });
        Find("itmLShift")->trigger();
        QCOMPARE(Tracks(path), "2 5 5 7");
        List()->setCurrentRow(0);
        entry(3, "A - Yan", "/l/e.cx3");
        Find("itmLEdit")->trigger();
        QCOMPARE(Tracks(path), "3 5 5 7");
        QCOMPARE(List()->model()->index(0, 0).data().toString(), "3 - A - Yan - /l/e.cx3");
        List()->setCurrentRow(1);
        boxes->Answer(MsgResult::Yes);
        Find("itmLRemove")->trigger();
        QCOMPARE(Tracks(path), "3 5 7");
        QVERIFY(List()->count() == 3 && !Find("itmLSave")->isEnabled());
        Find("itmOLSave1")->trigger();
        Find("itmLSort0")->trigger();
        QVERIFY(Find("itmLSave")->isEnabled());
        QCOMPARE(Tracks(path), "3 5 7");
        w->show();
        List()->setCurrentRow(2);
        QTest::mouseClick(List()->viewport(), Qt::RightButton, {}, Row(0));
        QCOMPARE(List()->currentRow(), 2);
        QVERIFY(Find<QMenu>("mnuListPop")->isVisible());
        Find<QMenu>("mnuListPop")->hide();

        // Playlist Play: Next for Play, New off, the panel hidden, the entry played selected;
        // Stop brings them back; a double click starts an entry.
        Find("itmOLSave0")->trigger();
        for (int row = 0; row < 2; ++row) {
            List()->setCurrentRow(row);
            entry(row + 1, "A - Yan", Song(QString("S%1").arg(row)));
            Find("itmLEdit")->trigger();
        }
        List()->setCurrentRow(0);
        Find("itmLPlay")->trigger();
        QVERIFY(Shows("cmdNext") && Find("itmPNext")->isEnabled() && !Find("itmLNew")->isEnabled());
        QVERIFY(List()->currentRow() == 0 && Find("itmLVShow")->text() == "S&how");
        Find("itmPNext")->trigger();
        sim->clock.Advance(1600);
        w->tmr_Timer();
        QCOMPARE(List()->currentRow(), 1);
        Find("itmPStop")->trigger();
        QVERIFY(!Shows("cmdNext") && !Find("itmPNext")->isEnabled());
        QVERIFY(Find("itmLNew")->isEnabled() && Find("itmLPlay")->isEnabled());
        QCOMPARE(Find("itmLVShow")->text(), "&Hide");
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        sim->Clear();
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, Row(1));
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, Row(1));
        QCOMPARE(sim->Posts().filter(":121"), QStringList{"1024:1:121"});
        QVERIFY(w->Playlist().PlaylistPlaying());
    }

    // Karaoke and Overlay, kept in cantorix.conf: the fill moves on in both panes, held by a
    // pause, gone at Stop and when off. Locked, the overlay's handle unlocks it.
    void karaokeAndOverlay() {
        QVERIFY(!Find("itmSKaraoke")->isChecked() && !Find("itmSOverlay")->isChecked());
        QVERIFY(!Find("itmSLock")->isEnabled());
        Find("itmSKaraoke")->trigger();
        Find("itmSOverlay")->trigger();
        Start();
        w->show();
        auto* overlay = w->findChild<player::Overlay*>();
        auto* karaoke = w->findChild<player::Karaoke*>();
        QVERIFY(Find("itmSKaraoke")->isChecked() && overlay->Window()->isVisible());
        Open(Write("song.lrc",
                   "[00:01.00]<00:01.00>one <00:02.00>two <00:03.00>three\n"
                   "[00:05.00]next\n[00:09.00]last\n"));
        w->cmdPlay_Click();
        const auto fillAt = [&](qint64 ms) {
            Shown({ms});
            karaoke->Frame();
            QList<int> ends;
            for (const QObject* pane :
                 {static_cast<QObject*>(w.get()), static_cast<QObject*>(overlay->Pane())}) {
                const QRect sung = testsupport::Child<lyrics::LyricLabel>(pane, "lblCurrLine")
                                       ->SungRegion()
                                       .boundingRect();
                ends << (sung.isEmpty() ? 0 : sung.right());
            }
            return ends;
        };
        const QList<int> early = fillAt(1500), later = fillAt(2500);
        QVERIFY(karaoke->IsRunning() && early[0] > 0);
        QVERIFY(later[0] > early[0] && later[1] > early[1]);
        w->cmdPause_Click();
        QVERIFY(!karaoke->IsRunning() && fillAt(2500)[0] >= later[0]);
        w->cmdPause_Click();
        QVERIFY(fillAt(2600)[0] > 0 && karaoke->IsRunning());
        w->cmdStop_Click();
        QVERIFY(!karaoke->IsRunning() && fillAt(2600) == QList<int>({0, 0}));
        Find("itmSKaraoke")->trigger();
        w->cmdPlay_Click();
        QVERIFY(fillAt(1500) == QList<int>({0, 0}) && !karaoke->IsRunning());

        Find("itmSLock")->trigger();
        QVERIFY(overlay->Window()->windowFlags().testFlag(Qt::WindowTransparentForInput));
        QVERIFY(lyrics::ReadConfFile(platform::ConfFilePath()).OverlayLocked);
        QTest::mouseClick(overlay->Handle(), Qt::LeftButton);
        QVERIFY(!overlay->Window()->windowFlags().testFlag(Qt::WindowTransparentForInput));
        QVERIFY(!Find("itmSLock")->isChecked() && !overlay->Handle()->isVisible());
        QVERIFY(!lyrics::ReadConfFile(platform::ConfFilePath()).OverlayLocked);
        Find("itmSOverlay")->trigger();
        QVERIFY(!overlay->Window()->isVisible() && !Find("itmSLock")->isEnabled());

        // Following the player: the fill runs over the lyrics found for what it plays.
        QVERIFY(lyrics::WriteLibraryFolder(platform::ConfFilePath(), dir.path()) &&
                QFile::copy(dir.filePath("song.lrc"), dir.filePath("Track 1.lrc")));
        Start();
        Find("itmSKaraoke")->trigger();
        sim->model.Play();
        Find("itmPFollow")->trigger();
        QTRY_VERIFY((Shown({1500}), w->findChild<player::Karaoke*>()->IsRunning()));
    }
};

QTEST_MAIN(tst_PlayerWindow)
#include "tst_player_window.moc"
