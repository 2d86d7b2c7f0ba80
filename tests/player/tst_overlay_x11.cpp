// The overlay on a real X display (xvfb-run, xdotool as the mouse): dragged, it moves and keeps
// its place; locked, a click lands on the window beneath but for its handle, which unlocks it.
#include <QMouseEvent>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include "lyrics/ConfFile.h"
#include "platform/Folders.h"
#include "player/Overlay.h"
#include "player/Session.h"
#include "playlist/Playlist.h"
#include "winamp/Link.h"

namespace {

// A plain window that counts the presses it gets.
class Beneath : public QWidget {
  public:
    int Presses = 0;

  protected:
    void mousePressEvent(QMouseEvent*) override { ++Presses; }
};

// xdotool with arguments; false when it did not run to a good end.
bool Mouse(const QStringList& args) {
    QProcess xdotool;
    xdotool.start("xdotool", args);
    return xdotool.waitForFinished(10000) && xdotool.exitCode() == 0;
}

}  // namespace

class tst_OverlayX11 : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != "xcb") {
            QSKIP("needs an X display");
        }
    }

    void dragLockClickThroughUnlock() {
        Beneath beneath;
        beneath.setGeometry(0, 0, 900, 500);
        beneath.show();
        QVERIFY(QTest::qWaitForWindowExposed(&beneath));
        winamp::WinampLink winamp;
        playlist::Playlist playlist;
        const player::Session session(winamp, playlist, *QRandomGenerator::global());
        player::Overlay overlay(session, nullptr);
        overlay.Place(QPoint(100, 100));
        overlay.SetShown(true);
        QWidget* window = overlay.Window();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_COMPARE(window->pos(), QPoint(100, 100));

        QVERIFY(Mouse({"mousemove", "--sync", "300", "150", "mousedown", "1"}));
        for (const int step : {20, 60, 100}) {
            QVERIFY(Mouse(
                {"mousemove", "--sync", QString::number(300 + step), QString::number(150 + step)}));
            QTest::qWait(30);
        }
        QVERIFY(Mouse({"mouseup", "1"}));
        QTRY_COMPARE(window->pos(), QPoint(200, 200));
        QCOMPARE(beneath.Presses, 0);
        QTRY_COMPARE(lyrics::ReadConfFile(platform::ConfFilePath()).OverlayPlace, QPoint(200, 200));

        overlay.SetLocked(true);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(QTest::qWaitForWindowExposed(overlay.Handle()));
        QTest::qWait(200);
        QVERIFY(Mouse({"mousemove", "--sync", "450", "260", "click", "1"}));
        QTRY_COMPARE(beneath.Presses, 1);
        QCOMPARE(window->pos(), QPoint(200, 200));

        QSignalSpy unlock(&overlay, &player::Overlay::UnlockWanted);
        const QPoint handle = overlay.Handle()->geometry().center();
        QVERIFY(Mouse({"mousemove", "--sync", QString::number(handle.x()),
                       QString::number(handle.y()), "click", "1"}));
        QTRY_COMPARE(unlock.count(), 1);
        QCOMPARE(beneath.Presses, 1);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);
    tst_OverlayX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_overlay_x11.moc"
