// The player's entry, Sort and Shift commands: what reaches the playlist file, and when.
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/LocalWindow.h"
#include "player/frmMain.h"
#include "playlist/PlaylistList.h"
#include "playlist/frmAssoc.h"
#include "playlist/frmShift.h"
#include "support/Files.h"
#include "support/Scripted.h"
#include "winamp/Messages.h"

using platform::MsgResult;
using testsupport::ReadBytes;

namespace {
const QByteArray Three =
    "\"/l/c.cx3\",7,\"C - Zed\"\r\n\"/l/a.cx3\",2,\"A - Yan\"\r\n\"/l/b.cx3\",5,\"B - Xi\"\r\n";
}

class tst_entries_player : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path;
    // A Winamp that answers 0 to everything: stopped, on its first song.
    platform::LocalWindow winamp{QString::fromLatin1(winamp::WindowClass),
                                 [](const platform::Message&) { return platform::LRESULT(0); },
                                 platform::LocalWindow::Scope::Process};
    std::unique_ptr<testsupport::ScriptedBoxes> boxes;
    std::unique_ptr<testsupport::ScriptedModal> modal;
    std::unique_ptr<player::frmMain> w;

  private slots:
    void init() {
        path = dir.filePath(QStringLiteral("list.cxp"));
        testsupport::WriteBytes(path, Three);
        boxes = std::make_unique<testsupport::ScriptedBoxes>();
        modal = std::make_unique<testsupport::ScriptedModal>();
        w = std::make_unique<player::frmMain>();
        w->Form_Load();
        QVERIFY(w->LoadPlaylist(path));
    }
    void cleanup() {
        QCOMPARE(boxes->Unexpected() + modal->Unexpected(), 0);
        w.reset();
        modal.reset();
        boxes.reset();
    }

    void onChangeWritesEveryConfirmedChange() {
        modal->Next([](QDialog*) {});  // Add cancelled
        w->itmLAdd_Click();
        QCOMPARE(ReadBytes(path), Three);
        modal->Next([](QDialog* d) {
            auto* dialog = static_cast<playlist::frmAssoc*>(d);
            dialog->SetValue(9, QStringLiteral("D - Wu"), QStringLiteral("/l/d.cx3"));
            dialog->cmdOK_Click();
        });
        w->itmLAdd_Click();
        QCOMPARE(ReadBytes(path), Three + "\"/l/d.cx3\",9,\"D - Wu\"\r\n");

        w->itmLSort_Click(2);  // by track
        QCOMPARE(ReadBytes(path).left(10), QByteArray("\"/l/a.cx3\""));
        modal->Next([](QDialog* d) {
            auto* shift = static_cast<playlist::frmShift*>(d);
            shift->txtLoc->setText(QStringLiteral("6"));
            shift->txtAmt->setText(QStringLiteral("-2.5"));  // -2
            shift->cmdOK_Click();
        });
        w->itmLShift_Click();
        QCOMPARE(ReadBytes(path), QByteArray("\"/l/a.cx3\",2,\"A - Yan\"\r\n\"/l/b.cx3\",5,\"B - Xi\"\r\n"
                                             "\"/l/c.cx3\",5,\"C - Zed\"\r\n\"/l/d.cx3\",7,\"D - Wu\"\r\n"));
        w->lstList->setCurrentRow(1);
        boxes->Answer(MsgResult::No);
        w->itmLRemove_Click();
        boxes->Answer(MsgResult::Yes);
        w->itmLRemove_Click();
        QCOMPARE(boxes->Asked().last().Text,
                 QStringLiteral("Are you sure you wish to remove this entry?"));
        QCOMPARE(w->lstList->count(), 3);
        QCOMPARE(w->lstList->currentRow(), -1);
        QVERIFY(!ReadBytes(path).contains("b.cx3"));
        QVERIFY(!w->itmLSave->isEnabled());
    }

    void manualOnlyEnablesSave() {
        w->itmOLSave_Click(1);
        w->itmLSort_Click(0);  // by artist: Xi, Yan, Zed
        QCOMPARE(w->lstList->item(0)->text(), QStringLiteral("5 - B - Xi - /l/b.cx3"));
        QVERIFY(w->itmLSave->isEnabled());
        QCOMPARE(ReadBytes(path), Three);
    }

    void rightButtonPopsUpTrackWithoutSelecting() {
        w->show();
        w->lstList->setCurrentRow(2);
        const QPoint row0 = w->lstList->visualItemRect(w->lstList->item(0)).center();
        QTest::mouseClick(w->lstList->viewport(), Qt::RightButton, {}, row0);
        QCOMPARE(w->lstList->currentRow(), 2);
        QVERIFY(w->mnuListPop->isVisible());
        w->mnuListPop->hide();
    }
};

QTEST_MAIN(tst_entries_player)
#include "tst_entries_player.moc"
