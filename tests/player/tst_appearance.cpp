// The player's looks: skins and their fallback, press feedback, colours, always on top,
// and the window heights of the full, short and compact views.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "PlayerFixture.h"
#include "platform/Folders.h"
#include "player/ImageButton.h"
#include "player/frmMain.h"
#include "player/frmSkins.h"
#include "playlist/PlaylistCommands.h"
#include "support/Scripted.h"
#include "winamp/modOne.h"

using player::frmMain;

namespace {

QImage Picture(const player::ImageButton* b) {
    return b->pixmap().toImage();
}
QImage Bitmap(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}
QString Skins() {
    return platform::ResourceFolder() + "/skins/";
}

}  // namespace

class tst_Appearance : public QObject, PlayerFixture {
    Q_OBJECT

    QString Lyrics() {
        return Write("song.cx3", "\"Song - Band\"\r\n1,\"one\"\r\n2,\"two\"\r\n3,\"three\"\r\n");
    }
    QString PlaylistFile() {
        return Write("list.cxp", "\"" + Lyrics().toUtf8() + "\",1,\"Song - Band\"\r\n");
    }
    bool MenusHidden() const { return w->menuBar()->isHidden(); }

  private slots:
    void init() {
        Prepare();
        Start();
    }
    void cleanup() { Finish(); }

    void setListView_data() {
        QTest::addColumn<bool>("force");
        QTest::addColumn<bool>("show");
        QTest::addColumn<bool>("autohide");
        QTest::addColumn<bool>("compact");
        QTest::addColumn<int>("following");  // 0 no, 1 display timer, 2 playlist playing
        QTest::addColumn<int>("height");     // 0: left as it was
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("menusHidden");
        // clang-format off
        QTest::newRow("manual, not forced")         << false << true  << false << false << 0 << 0    << "unchanged" << false;
        QTest::newRow("manual, not forced, hide")   << false << false << false << true  << 1 << 0    << "unchanged" << false;
        QTest::newRow("autohide show")              << false << true  << true  << false << 0 << 6050 << "&Hide"     << false;
        QTest::newRow("autohide show, compact")     << false << true  << true  << true  << 1 << 6050 << "&Hide"     << false;
        QTest::newRow("autohide hide")              << false << false << true  << false << 0 << 2650 << "S&how"     << false;
        QTest::newRow("autohide hide, following")   << false << false << true  << false << 1 << 2650 << "S&how"     << false;
        QTest::newRow("compact, stopped")           << false << false << true  << true  << 0 << 2650 << "S&how"     << false;
        QTest::newRow("compact, display running")   << false << false << true  << true  << 1 << 1450 << "unchanged" << true;
        QTest::newRow("compact, playlist playing")  << false << false << true  << true  << 2 << 1450 << "unchanged" << true;
        QTest::newRow("forced show, manual")        << true  << true  << false << false << 0 << 6050 << "&Hide"     << false;
        QTest::newRow("forced hide, manual")        << true  << false << false << false << 1 << 2650 << "S&how"     << false;
        QTest::newRow("forced hide, manual compact")<< true  << false << false << true  << 2 << 1450 << "unchanged" << true;
        QTest::newRow("forced hide, compact idle")  << true  << false << true  << true  << 0 << 2650 << "S&how"     << false;
        // clang-format on
    }
    void setListView() {
        QFETCH(bool, force);
        QFETCH(bool, show);
        QFETCH(bool, autohide);
        QFETCH(bool, compact);
        QFETCH(int, following);
        QFETCH(int, height);
        QFETCH(QString, caption);
        QFETCH(bool, menusHidden);
        w->itmLSmart_Click(autohide ? 0 : 1);
        if (compact) {
            w->itmSCompact_Click();
        }
        if (following == 1) {
            w->tmr->start();
        }
        w->PlaylistPlaying = following == 2;
        w->OuterHeight = 0;
        w->itmLVShow->setText("unchanged");
        w->SetListView(force, show);
        QCOMPARE(w->OuterHeight, height);
        QCOMPARE(w->itmLVShow->text(), caption);
        QCOMPARE(MenusHidden(), menusHidden);
        w->tmr->stop();
        w->PlaylistPlaying = false;
    }

    void heightsAreOuterHeights() {
        // The window is cut at the bottom: the full view holds the list, the short view
        // ends below the buttons, compact holds the current line only.
        w->SetListView(true, true);
        const int full = w->height();
        w->SetListView(true, false);
        const int shortView = w->height();
        QCOMPARE(full - shortView, 3400 / 15);
        const int shortClient = shortView - w->menuBar()->sizeHint().height();
        QVERIFY(w->cmdOpen->geometry().bottom() < shortClient);
        QVERIFY(shortClient < w->lstList->geometry().top() + 10);
        QVERIFY(full - w->menuBar()->sizeHint().height() > w->lblRand->geometry().bottom());
    }

    void compactDuringPlaybackUntilStop() {
        w->itmSCompact_Click();
        QVERIFY(w->playlist->LoadPlaylist(PlaylistFile()));
        QCOMPARE(w->OuterHeight, 6050);
        w->itmLPlay->trigger();
        QVERIFY(MenusHidden());
        QCOMPARE(w->OuterHeight, 1450);
        // Pause keeps compact; the right click still reaches the Playback menu.
        w->cmdPause_Click();
        QVERIFY(MenusHidden());
        w->cmdPause_Click();
        w->cmdStop_Click();
        QVERIFY(!MenusHidden());
        QCOMPARE(w->OuterHeight, 6050);  // a playlist file is open: the list comes back
    }

    void compactSongEndingByItselfKeepsTheMenusHidden() {
        w->itmSCompact_Click();
        dialogs->ChooseFile(Lyrics());
        w->cmdOpen_Click();
        w->cmdPlay_Click();
        QVERIFY(MenusHidden());
        QCOMPARE(w->OuterHeight, 1450);
        for (int s = 1; s <= 3; ++s) {
            sim->clock.Set(s * 1000);
            w->tmr_Timer();
        }
        QVERIFY(!w->tmr->isActive());
        QVERIFY(MenusHidden());
        QCOMPARE(w->OuterHeight, 1450);  // no playlist file: nothing shows the list
        QVERIFY(w->mnuPlayback->menuAction()->isVisible() == false);
        // The pop-up on the current line still offers Stop, which brings the menus back.
        QVERIFY(w->mnuPlayback->actions().contains(w->itmPStop));
        w->itmPStop->setEnabled(true);
        w->itmPStop->trigger();
        QVERIFY(!MenusHidden());
    }

    void showHideCommand() {
        QCOMPARE(w->itmLVShow->text(), QString("S&how"));
        QCOMPARE(w->itmLVShow->shortcut(), QKeySequence(Qt::Key_F11));
        w->itmLVShow->trigger();
        QCOMPARE(w->OuterHeight, 6050);
        QCOMPARE(w->itmLVShow->text(), QString("&Hide"));
        w->itmLVShow->trigger();
        QCOMPARE(w->OuterHeight, 2650);
        QCOMPARE(w->itmLVShow->text(), QString("S&how"));
        // "&Hide" during playback with compact ticked: the compact strip, caption "S&how".
        w->itmSCompact_Click();
        dialogs->ChooseFile(Lyrics());
        w->cmdOpen_Click();
        w->itmLVShow->trigger();
        w->cmdPlay_Click();
        QCOMPARE(w->itmLVShow->text(), QString("&Hide"));
        w->itmLVShow->trigger();
        QCOMPARE(w->OuterHeight, 1450);
        QCOMPARE(w->itmLVShow->text(), QString("S&how"));
        w->cmdStop_Click();
    }

    void manualLeavesTheListWhereItIs() {
        QVERIFY(w->playlist->LoadPlaylist(PlaylistFile()));
        w->itmLSmart[1]->trigger();
        QCOMPARE(w->OuterHeight, 6050);
        w->itmLPlay->trigger();
        QCOMPARE(w->OuterHeight, 6050);
        w->cmdStop_Click();
        w->itmLSmart[0]->trigger();  // Autohide while stopped hides at once
        QCOMPARE(w->OuterHeight, 2650);
        QCOMPARE(w->itmLVShow->text(), QString("S&how"));
    }

    void colourForTheNextLineOnly() {
        const QPalette before = w->lblCurrLine->palette();
        const QColor back = w->centralWidget()->palette().color(QPalette::Window);
        w->cmdPlay->setPixmap(QPixmap());
        dialogs->ChooseColor(0x00123456);
        w->itmCColour[2]->trigger();
        QCOMPARE(dialogs->Asked().last().kind, platform::DialogKind::Color);
        QCOMPARE(w->Colours[2], std::uint32_t(0x00123456));
        QCOMPARE(w->lblNextLine->palette().color(QPalette::WindowText), QColor(0x56, 0x34, 0x12));
        QCOMPARE(w->lblCurrLine->palette().color(QPalette::WindowText),
                 before.color(QPalette::WindowText));
        QCOMPARE(w->centralWidget()->palette().color(QPalette::Window), back);
        QVERIFY(!w->cmdPlay->pixmap().isNull());  // the bitmaps were loaded again

        dialogs->Cancel();
        w->itmCColour[0]->trigger();
        QCOMPARE(w->Colours[0], std::uint32_t(0x0080C0FF));
        QCOMPARE(w->centralWidget()->palette().color(QPalette::Window), back);
    }

    void skinsDialogChoosesAndCancels() {
        const QString night = Skins() + "night/";
        testsupport::ScriptedModal modal;
        modal.Next([&](QDialog* d) {
            auto* skins = static_cast<player::frmSkins*>(d);
            QCOMPARE(skins->GetValue(), Skins() + "default/");
            skins->SetValue(night);
            skins->cmdOK_Click();
        });
        w->itmSSkins->trigger();
        QCOMPARE(w->SkinFolder, night);
        QCOMPARE(Picture(w->cmdPlay), Bitmap(night + "play.bmp"));
        modal.Next([&](QDialog* d) {
            static_cast<player::frmSkins*>(d)->SetValue(Skins() + "default/");
            static_cast<player::frmSkins*>(d)->cmdCancel_Click();
        });
        w->itmSSkins->trigger();
        QCOMPARE(w->SkinFolder, night);
        QCOMPARE(Picture(w->cmdStop), Bitmap(night + "stop.bmp"));
        QCOMPARE(modal.Unexpected(), 0);
    }

    void brokenSkinInsideTheSkinsFolderFallsBackSilently() {
        QDir skins(Skins());
        const QString name = "broken-" + QString::number(QCoreApplication::applicationPid());
        QVERIFY(skins.mkpath(name));
        const QString broken = Skins() + name + "/";
        for (const char* f : {"play.bmp", "stop.bmp", "next.bmp"}) {
            QVERIFY(QFile::copy(Skins() + "night/" + f, broken + f));
        }
        w->SkinFolder = broken;
        w->ApplySkin();
        QDir(broken).removeRecursively();
        QCOMPARE(w->SkinFolder, Skins() + "default/");
        QCOMPARE(Picture(w->cmdPlay), Bitmap(Skins() + "default/play.bmp"));
        QCOMPARE(boxes->Asked().size(), 0);
    }

    void foreignFolderThatIsNoSkinIsKept() {
        const QString before = w->SkinFolder;
        const QImage open = Picture(w->cmdOpen);
        w->SkinFolder = dir.path() + "/";
        w->ApplySkin();
        QCOMPARE(w->SkinFolder, dir.path() + "/");
        QCOMPARE(Picture(w->cmdOpen), open);
        QCOMPARE(boxes->Asked().size(), 0);
    }

    void skinFolderFromAnotherInstallStillShowsButtons() {
        // As read from a settings file written by a copy of the player installed elsewhere.
        frmMain fresh;
        fresh.SkinFolder = "/nowhere/cantorix/skins/default/";
        fresh.ApplySkin();
        QCOMPARE(fresh.SkinFolder, QString("/nowhere/cantorix/skins/default/"));
        for (const player::ImageButton* b :
             {fresh.cmdOpen, fresh.cmdPlay, fresh.cmdPause, fresh.cmdStop, fresh.cmdNext}) {
            QVERIFY(!b->pixmap().isNull());
        }
        QCOMPARE(Picture(fresh.cmdPlay), Bitmap(Skins() + "default/play.bmp"));
        QCOMPARE(boxes->Asked().size(), 0);
    }

    void pressShowsThePressedBitmap() {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const QString skin = w->SkinFolder;
        QTest::mousePress(w->cmdOpen, Qt::LeftButton);
        QCOMPARE(Picture(w->cmdOpen), Bitmap(skin + "open_down.bmp"));
        QTest::mouseRelease(w->cmdOpen, Qt::RightButton);  // any button releases it
        QCOMPARE(Picture(w->cmdOpen), Bitmap(skin + "open.bmp"));
        // A skin without pressed bitmaps: the button keeps what it shows.
        w->SkinFolder = dir.path() + "/";
        QTest::mousePress(w->cmdOpen, Qt::RightButton);
        QCOMPARE(Picture(w->cmdOpen), Bitmap(skin + "open.bmp"));
        QTest::mouseRelease(w->cmdOpen, Qt::RightButton);
        QCOMPARE(Picture(w->cmdOpen), Bitmap(skin + "open.bmp"));
    }

    void alwaysOnTop() {
        QCOMPARE(w->itmCOnTop->shortcut(), QKeySequence(Qt::Key_F12));
        w->show();
        w->itmCOnTop->trigger();
        QVERIFY(w->itmCOnTop->isChecked());
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w->isVisible());
        w->itmCOnTop->trigger();
        QVERIFY(!w->itmCOnTop->isChecked());
        QVERIFY(!w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w->isVisible());
    }

    void skinsDialogInsideTheBracket() {
        w->itmCOnTop_Click();
        testsupport::ScriptedModal modal;
        bool onTopWhileOpen = true;
        modal.Next([&](QDialog*) { onTopWhileOpen = w->itmCOnTop->isChecked(); });
        w->itmSSkins_Click();
        QVERIFY(!onTopWhileOpen);
        QVERIFY(w->itmCOnTop->isChecked());
        w->itmCOnTop_Click();
    }

    void settingsMenu() {
        QStringList items;
        for (QAction* a : w->mnuControl->actions()) {
            items << (a->isSeparator() ? "-" : a->text());
        }
        QCOMPARE(items,
                 (QStringList{"&Always On Top", "&Retract to Compact", "-", "&Colours", "&Skins...",
                              "-", "&Playlist Visibility", "Playlist Save", "&Stop Mode"}));
        QStringList colours;
        for (QAction* a : w->itmCColour) {
            colours << a->text();
        }
        QCOMPARE(colours, (QStringList{"&Background...", "&Current Line...", "&Next Line..."}));
    }
};

QTEST_MAIN(tst_Appearance)
#include "tst_appearance.moc"
