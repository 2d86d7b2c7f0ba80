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
        const QString lines =
            QStringLiteral("\"%1\"\r\n1,\"%1.1\"\r\n2,\"%1.2\"\r\n3,\"%1.3\"\r\n");
        return Write(title + ".cx3", lines.arg(title).toUtf8());
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

    // The output delay in cantorix.conf holds the lines back. An unreadable file is said;
    // compact, Play folds the window to the strip with Stop for Play; Ctrl+(Shift+)arrows move
    // the lines; a delay set in its dialog holds at once even when it cannot be kept; Stop
    // (Immediate) brings the menus back, asks to keep the moved lines and says when their file
    // cannot be written.
    void oneSong() {
        QVERIFY(testsupport::WriteBytes(platform::ConfFilePath(), "[Output]\nDelayMs=250\n"));
        Start();
        Find("itmOSFade1")->trigger();
        Find("itmSCompact")->trigger();
        boxes->Answer(MsgResult::OK);
        Open(Write("bad.cx3", "\"Only - A Title\"\r\n"));
        Open(Song("S"));
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        Find("itmPPlay")->trigger();
        QVERIFY(Shows("cmdStop") && !Shows("cmdOpen") && !Find("itmPOpen")->isEnabled());
        QCOMPARE(Shown({1249, 1250}), (QStringList{"S.1", "S.2"}));
        QTest::keyClick(w.get(), Qt::Key_Right, Qt::ControlModifier);
        QTest::keyClick(w.get(), Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Find<QLabel>("lblOffset")->text(), "Lyrics 0.09 s later");
        QVERIFY(QFile::remove(platform::ConfFilePath()) && QDir().mkpath(platform::ConfFilePath()));
        modal->Next([](QDialog* d) {
            QCOMPARE(d->findChild<QSpinBox*>("txtValue")->value(), 250);
            d->findChild<QSpinBox*>("txtValue")->setValue(400);
            d->findChild<QPushButton*>("cmdOK")->click();
        });
        for (MsgResult answer : {MsgResult::OK, MsgResult::Yes, MsgResult::OK}) {
            boxes->Answer(answer);
        }
        Find("itmSDelay")->trigger();
        QCOMPARE(Shown({2489}), QStringList{"S.2"});
        QVERIFY(QFile::rename(dir.filePath("S.cx3"), dir.filePath("away.cx3")));
        sim->Clear();
        Find("itmPStop")->trigger();
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(40047)});
        QVERIFY(!w->menuBar()->isHidden() && Shows("cmdOpen") && !Shows("cmdStop"));
        QCOMPARE(boxes->Texts(),
                 (QStringList{"Playlist Loader: Could not read data file.",
                              "Output Delay: Could not save the output delay. It holds until "
                              "the player ends.",
                              "Cantorix 3: Keep the new timing in the lyrics file?",
                              "Cantorix 3: Could not save the new timing in the lyrics file:\r" +
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
        QVERIFY(w->Playlist().RandomizeList() && w->Playlist().RepeatList());
        QCOMPARE(w->Playlist().PlaylistPath(), list);
    }

    // Under On Change each entry command is in the playlist file at once; under Manual a change
    // only enables Save. The right button never moves the selection. Playlist Play offers Next.
    void entryCommandsReachTheFile() {
        const QString path = Write("LIST.CXP", ("\"" + Song("C") +
                                                "\",7,\"C - Zed\"\r\n\"/l/a.cx3\",2,\"A - Yan\"\r\n"
                                                "\"/l/b.cx3\",5,\"B - Xi\"\r\n")
                                                   .toUtf8());
        Open(path);
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
        entry(3, "A - Yan", Song("S0"));
        Find("itmLEdit")->trigger();
        QCOMPARE(Tracks(path), "3 5 5 7");
        List()->setCurrentRow(1);
        boxes->Answer(MsgResult::Yes);
        Find("itmLRemove")->trigger();
        QCOMPARE(Tracks(path), "3 5 7");
        Find("itmOLSave1")->trigger();
        Find("itmLSort2")->trigger();
        QVERIFY(Find("itmLSave")->isEnabled());
        w->show();
        List()->setCurrentRow(2);
        QTest::mouseClick(List()->viewport(), Qt::RightButton, {}, Row(0));
        QCOMPARE(List()->currentRow(), 2);

        List()->setCurrentRow(0);
        Find("itmLPlay")->trigger();
        Find("itmPNext")->trigger();
        sim->clock.Advance(1600);
        w->tmr_Timer();
        QCOMPARE(List()->currentRow(), 1);
    }

    // Karaoke and Overlay, kept in cantorix.conf: the fill moves on in both panes, held by a
    // pause, gone at Stop. Locked, the overlay's handle unlocks it.
    void karaokeAndOverlay() {
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

        Find("itmSLock")->trigger();
        QVERIFY(lyrics::ReadConfFile(platform::ConfFilePath()).OverlayLocked);
        QTest::mouseClick(overlay->Handle(), Qt::LeftButton);
        QVERIFY(!Find("itmSLock")->isChecked() && !overlay->Handle()->isVisible());
        QVERIFY(!lyrics::ReadConfFile(platform::ConfFilePath()).OverlayLocked);
    }
};

QTEST_MAIN(tst_PlayerWindow)
#include "tst_player_window.moc"
