// The player's window against a simulated Winamp on a manual clock, with scripted boxes and
// dialogs: the wiring of its controls to the playback session and to the playlist commands
// (whose rules are their own tests'), the captions, the settings across a restart, dialogs that
// show their whole text; the output delay and a song's own offset.
#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
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
#include "support/Find.h"
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

    // The Winamp tracks that entries were started on, as posted.
    QStringList Moves() const { return sim->Posts().filter(QRegularExpression(":121$")); }
    template <typename T>
    T* Find(const char* name) const {
        return testsupport::Child<T>(w.get(), name);
    }
    QAction* Item(const char* name) const { return Find<QAction>(name); }
    QLabel* Label(const char* name) const { return Find<QLabel>(name); }
    player::ImageButton* Button(const char* name) const { return Find<player::ImageButton>(name); }
    playlist::PlaylistList* List() const { return Find<playlist::PlaylistList>("lstList"); }
    QTimer* Tick() const { return Find<QTimer>("tmr"); }
    QString Lines() const {
        return Label("lblCurrLine")->text() + '/' + Label("lblNextLine")->text();
    }
    // The current line at each position of the song that plays, a tick at each.
    QStringList Shown(const QList<qint64>& positions) {
        QStringList shown;
        for (qint64 ms : positions) {
            sim->clock.Set(sim->clock.NowMs() + ms - sim->model.PositionMs());
            w->tmr_Timer();
            shown << Label("lblCurrLine")->text();
        }
        return shown;
    }
    void SetDelay(int ms) {
        modal->Next([ms](QDialog* d) {
            QCOMPARE(d->windowTitle(), "Output Delay");
            d->findChild<QSpinBox*>("txtValue")->setValue(ms);
            d->findChild<QPushButton*>("cmdOK")->click();
        });
        Item("itmSDelay")->trigger();
    }

  private slots:
    void init() {
        QFile::remove(platform::SettingsFilePath());
        QFile::remove(platform::ConfFilePath());
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

    // One song through the window's controls, with Retract to Compact and Stop Mode Immediate
    // on. Play shows Pause and Stop for Play and Open, shows the lines and folds the window to
    // the compact strip without menus. A right click on the current line pops up Playback;
    // Pause shows in the caption; Stop posts the Stop Mode's command and brings back the menus
    // and Play.
    void oneSong() {
        Item("itmOSFade1")->trigger();
        Item("itmSCompact")->trigger();
        Open(Song("song.cx3", "Song - Band"));
        QVERIFY(!MenusHidden());
        Item("itmPPlay")->trigger();
        QVERIFY(MenusHidden() && w->OuterHeight() == 1450 && Tick()->isActive());
        QVERIFY(Button("cmdPlay")->isHidden() && Button("cmdOpen")->isHidden());
        QVERIFY(!Button("cmdStop")->isHidden() && Item("itmPPause")->isEnabled());
        QCOMPARE(Lines(), "first of Song - Band/second of Song - Band");
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTest::mouseClick(Label("lblCurrLine"), Qt::LeftButton);
        QVERIFY(!Find<QMenu>("mnuPlayback")->isVisible());
        QTest::mouseClick(Label("lblCurrLine"), Qt::RightButton);
        QTRY_VERIFY(Find<QMenu>("mnuPlayback")->isVisible());
        Find<QMenu>("mnuPlayback")->hide();

        Item("itmPPause")->trigger();
        QCOMPARE(w->windowTitle(), "-- PAUSED -- " + Title);
        sim->Clear();
        Item("itmPStop")->trigger();
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(40047)});
        QCOMPARE(w->windowTitle(), Title);
        QVERIFY(!MenusHidden() && !Button("cmdPlay")->isHidden() && !Button("cmdOpen")->isHidden());
        QVERIFY(Button("cmdStop")->isHidden() && Button("cmdPause")->isHidden());
        QVERIFY(Item("itmPPlay")->isEnabled() && !Item("itmPStop")->isEnabled());
    }
    // What the session finds unreadable, or that Winamp is missing, comes up as a box; Open
    // completes its own steps even so.
    void failuresSaySo() {
        boxes->Answer(MsgResult::OK);
        Open(Write("bad.cx3", "\"Only - A Title\"\r\n"));  // a title and no line
        QCOMPARE(boxes->Texts(), QStringList{"Playlist Loader: Could not read data file."});
        QVERIFY(boxes->Asked()[0].Icon == platform::MsgIcon::Exclamation);
        QVERIFY(!Button("cmdPlay")->isHidden() && Item("itmPPlay")->isEnabled());
        QVERIFY(Item("itmLAdd")->isEnabled());
        Open(Song("song.cx3", "Song - Band"));
        sim.reset();
        boxes->Answer(MsgResult::OK);
        w->cmdPlay_Click();
        QCOMPARE(boxes->Asked().value(1).Title, QString("Winamp Handle"));
        QVERIFY(!Tick()->isActive() && !Button("cmdPlay")->isHidden());
        QVERIFY(!Item("itmWPlay")->isEnabled());
    }

    // The output delay read from cantorix.conf at start holds the lines back; set from the
    // Settings menu it does at once and is written for the next start; one that cannot be
    // written says so and still holds.
    void outputDelay() {
        QVERIFY(testsupport::WriteBytes(platform::ConfFilePath(), "[Output]\nDelayMs=250\n"));
        Start();
        Open(Song("song.cx3", "S"));
        w->cmdPlay_Click();
        QCOMPARE(Shown({1249, 1250}), (QStringList{"first of S", "second of S"}));
        SetDelay(400);
        QCOMPARE(Shown({2399, 2400}), (QStringList{"second of S", "last of S"}));
        Start();
        modal->Next([](QDialog* d) {
            QCOMPARE(d->findChild<QSpinBox*>("txtValue")->value(), 400);
            d->findChild<QPushButton*>("cmdCancel")->click();
        });
        Item("itmSDelay")->trigger();
        QVERIFY(QFile::remove(platform::ConfFilePath()) && QDir().mkpath(platform::ConfFilePath()));
        boxes->Answer(MsgResult::OK);
        SetDelay(0);
        Open(Song("song.cx3", "S"));
        w->cmdPlay_Click();
        QCOMPARE(Shown({999, 1000}), (QStringList{"first of S", "second of S"}));
        QCOMPARE(boxes->Texts(), QStringList{"Output Delay: Could not save the output delay. It "
                                             "holds until the player ends."});
        QVERIFY(QDir(platform::ConfFilePath()).removeRecursively());
    }

    // Ctrl+Right and Ctrl+Left (Shift: a tenth as far) move the lines of the song that plays
    // and say so for a moment; closing the player during the song asks whether to keep that,
    // and a file that cannot be written is said.
    void songOffsetByKeys() {
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        Open(Song("song.cx3", "S"));
        w->cmdPlay_Click();
        QTest::keyClick(w.get(), Qt::Key_Right, Qt::ControlModifier);
        QTest::keyClick(w.get(), Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Label("lblOffset")->isHidden() ? QString() : Label("lblOffset")->text(),
                 "Lyrics 0.09 s later");
        QVERIFY(Find<QTimer>("tmrOffset")->isActive());
        w->tmrOffset_Timer();
        QVERIFY(Label("lblOffset")->isHidden());
        QCOMPARE(Shown({1089, 1090}), (QStringList{"first of S", "second of S"}));
        QVERIFY(QFile::rename(dir.filePath("song.cx3"), dir.filePath("away.cx3")));
        boxes->Answer(MsgResult::Yes);
        boxes->Answer(MsgResult::OK);
        QVERIFY(w->close());
        QCOMPARE(boxes->Texts(),
                 (QStringList{"Cantorix 3: Keep the new timing in the lyrics file?",
                              "Cantorix 3: Could not save the new timing in the lyrics file:\r" +
                                  dir.filePath("song.cx3")}));
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
        QVERIFY(w->LoadPlaylist(list) && w->Playlist().Append({"/songs/x.cx3", 9, "X - Y"}));
        w->Playlist().SetModified(changed);
        w->Playlist().SetPath(saveFails ? dir.path() : list);
        boxes->Answer(answer);
        boxes->Answer(MsgResult::OK);  // "Could not save playlist."
        sim->model.Play();
        sim->Clear();
        QCOMPARE(w->close(), closes);
        const QString question =
            "Close Cantorix?: Would you like to save the changes you made "
            "to the playlist?\r" +
            w->Playlist().PlaylistPath();
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
        Item("itmCOnTop")->trigger();
        bool onTopWhileOpen = true;
        modal->Next([&](QDialog* d) {
            onTopWhileOpen = w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            auto* dlg = static_cast<player::frmSkins*>(d);
            QCOMPARE(dlg->GetValue(), skins + "default/");
            dlg->SetValue(night);
            dlg->cmdOK_Click();
        });
        Item("itmSSkins")->trigger();
        QVERIFY(!onTopWhileOpen);
        QVERIFY(Item("itmCOnTop")->isChecked() &&
                w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QImage nightPlay = QImage(night + "play.bmp").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(Button("cmdPlay")->pixmap().toImage(), nightPlay);
        // A press shows the skin's pressed bitmap until the button is let go.
        emit Button("cmdPlay")->MouseDown();
        QCOMPARE(Button("cmdPlay")->pixmap().toImage(),
                 QImage(night + "play_down.bmp").convertToFormat(QImage::Format_RGB32));
        emit Button("cmdPlay")->MouseUp();
        modal->Next([&](QDialog* d) {
            static_cast<player::frmSkins*>(d)->SetValue(skins + "default/");
            static_cast<player::frmSkins*>(d)->cmdCancel_Click();
        });
        Item("itmSSkins")->trigger();
        Item("itmSCompact")->trigger();
        Item("itmOSFade1")->trigger();
        Item("itmLSmart1")->trigger();
        Item("itmOLSave1")->trigger();
        QTest::mouseClick(Label("lblRand"), Qt::LeftButton);
        QTest::mouseClick(Label("lblRepeat"), Qt::LeftButton);
        dialogs->ChooseColor(0x00123456);
        Item("itmCColour2")->trigger();
        const QString list = Write("remembered.cxp", "\"/songs/0.cx3\",1,\"Song 0 - Band\"\r\n");
        QVERIFY(w->LoadPlaylist(list));
        w->move(100, 60);
        QVERIFY(w->close());

        Start();
        QCOMPARE(w->pos(), QPoint(100, 60));
        QVERIFY(Item("itmCOnTop")->isChecked() &&
                w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(w->Settings().SkinFolder, night);
        QCOMPARE(Button("cmdPlay")->pixmap().toImage(), nightPlay);
        QVERIFY(Item("itmSCompact")->isChecked());
        QVERIFY(Item("itmOSFade1")->isChecked() && !Item("itmOSFade0")->isChecked());
        QVERIFY(Item("itmLSmart1")->isChecked() && Item("itmOLSave1")->isChecked());
        QVERIFY(w->Playlist().RandomizeList() && Label("lblRand")->font().bold());
        QVERIFY(w->Playlist().RepeatList() && Label("lblRepeat")->font().bold());
        QCOMPARE(Label("lblCurrLine")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(Label("lblNextLine")->palette().color(QPalette::WindowText),
                 QColor(0x56, 0x34, 0x12));
        QCOMPARE(w->Playlist().PlaylistPath(), list);
        QVERIFY(!Item("itmLSave")->isEnabled());
    }

    // A playlist opened with the Open button: under On Change each list command is in the file
    // at once and the list shows it; under Manual a change only enables Save. The right button
    // pops up Track and never moves the selection.
    void entryCommandsReachTheFile() {
        const QString path = Write("LIST.CXP",
                                   "\"/l/c.cx3\",7,\"C - Zed\"\r\n\"/l/a.cx3\",2,"
                                   "\"A - Yan\"\r\n\"/l/b.cx3\",5,\"B - Xi\"\r\n");
        const auto tracks = [&path] {  // the track numbers in the file
            QStringList numbers;
            for (const QByteArray& line : ReadBytes(path).split('\n')) {
                numbers << line.split(',').value(1);
            }
            return numbers.join(' ').trimmed();
        };
        Open(path);
        const platform::DialogRequest asked = dialogs->Asked().value(0);
        QCOMPARE(QStringLiteral("%1 %2 ").arg(asked.FilterIndex).arg(asked.Flags) + asked.Filter,
                 "1 6148 Cantorix Files (*.cx3, *.cx2, *.cxp)|*.cx3;*.cx2;*.cxp|"
                 "LRC Files (*.lrc)|*.lrc");
        QVERIFY(Item("itmPPlay")->isEnabled() && Item("itmLVShow")->text() == "&Hide");
        modal->Next([](QDialog* d) {
            static_cast<playlist::frmAssoc*>(d)->SetValue(9, "D - Wu", "/l/d.cx3");
            static_cast<playlist::frmAssoc*>(d)->cmdOK_Click();
        });
        Item("itmLAdd")->trigger();
        QCOMPARE(tracks(), "7 2 5 9");
        Item("itmLSort2")->trigger();  // by track
        QCOMPARE(tracks(), "2 5 7 9");
        modal->Next([](QDialog* d) {
            auto* shift = static_cast<playlist::frmShift*>(d);
            shift->txtLoc->setText("6");
            shift->txtAmt->setText("-2");
            shift->cmdOK_Click();
        });
        Item("itmLShift")->trigger();
        QCOMPARE(tracks(), "2 5 5 7");
        List()->setCurrentRow(0);
        modal->Next([](QDialog* d) {
            static_cast<playlist::frmAssoc*>(d)->SetValue(3, "A - Yan", "/l/e.cx3");
            static_cast<playlist::frmAssoc*>(d)->cmdOK_Click();
        });
        Item("itmLEdit")->trigger();
        QCOMPARE(tracks(), "3 5 5 7");
        QCOMPARE(List()->item(0)->text(), "3 - A - Yan - /l/e.cx3");
        List()->setCurrentRow(1);
        boxes->Answer(MsgResult::Yes);
        Item("itmLRemove")->trigger();
        QCOMPARE(boxes->Texts(),
                 QStringList{"Remove Entry: Are you sure you wish to remove this entry?"});
        QCOMPARE(tracks(), "3 5 7");
        QVERIFY(List()->count() == 3 && List()->currentRow() == -1);
        QVERIFY(!Item("itmLSave")->isEnabled());
        Item("itmOLSave1")->trigger();
        Item("itmLSort0")->trigger();  // under Manual only Save comes on
        QVERIFY(Item("itmLSave")->isEnabled());
        QCOMPARE(tracks(), "3 5 7");

        w->show();
        List()->setCurrentRow(2);
        const QPoint row0 = List()->visualItemRect(List()->item(0)).center();
        QTest::mouseClick(List()->viewport(), Qt::RightButton, {}, row0);
        QCOMPARE(List()->currentRow(), 2);
        QVERIFY(Find<QMenu>("mnuListPop")->isVisible());
        Find<QMenu>("mnuListPop")->hide();
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

    // A playlist through the window: Playlist Play puts Next in Play's place, turns New off and
    // hides the panel, and the list shows the entry played. Next fades Winamp out and the
    // window's tick starts the next entry once it has stopped; Stop brings New and the panel
    // back. A double click on an entry while stopped starts from it, once.
    void songAfterSong() {
        QVERIFY(w->LoadPlaylist(Write("list.cxp", ("\"" + Song("0.cx3", "A") + "\",1,\"A\"\r\n\"" +
                                                   Song("1.cx3", "B") + "\",2,\"B\"\r\n")
                                                      .toUtf8())));
        Item("itmLPlay")->trigger();
        QCOMPARE(List()->currentRow(), 0);
        QVERIFY(!Button("cmdNext")->isHidden() && Item("itmPNext")->isEnabled());
        QVERIFY(!Item("itmLNew")->isEnabled() && !Item("itmLPlay")->isEnabled());
        QCOMPARE(Item("itmLVShow")->text(), QString("S&how"));
        sim->Clear();
        Item("itmPNext")->trigger();
        QCOMPARE(sim->Posts(), QStringList{SimWinamp::Command(40147)});
        sim->clock.Advance(1600);
        w->tmr_Timer();
        QCOMPARE(Moves(), QStringList{"1024:1:121"});
        QCOMPARE(List()->currentRow(), 1);
        Item("itmPStop")->trigger();
        QVERIFY(Button("cmdNext")->isHidden() && !Item("itmPNext")->isEnabled());
        QVERIFY(Item("itmLNew")->isEnabled() && Item("itmLPlay")->isEnabled());
        QCOMPARE(Item("itmLVShow")->text(), QString("&Hide"));

        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        sim->Clear();
        const QPoint row1 = List()->visualItemRect(List()->item(1)).center();
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, row1);
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, row1);
        QCOMPARE(Moves(), QStringList{"1024:1:121"});
        QVERIFY(w->Playlist().PlaylistPlaying() && Tick()->isActive());
    }
};

QTEST_MAIN(tst_PlayerWindow)
#include "tst_player_window.moc"
