// Follow the Player against the real winamp-sim: lyrics from the library and beside the
// song in step, a seek back and Next in the simulator.
#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QtTest>

#include "lyrics/ConfFile.h"
#include "platform/Folders.h"
#include "player/frmMain.h"
#include "support/Files.h"
#include "support/Find.h"
#include "support/Scripted.h"
#include "support/WindowProcess.h"
#include "winamp/Messages.h"

using testsupport::Child;

class tst_Follow : public QObject {
    Q_OBJECT

  private slots:
    void followsSeeksAndTrackChanges() {
        QTemporaryDir dir;
        // A line every 10 s: song 1's in the library, song 2's beside its file.
        QVERIFY(QDir(dir.path()).mkpath("Lyrics"));
        for (const char song : {'1', '2'}) {
            QByteArray lrc;
            for (char k = '0'; k < '6'; ++k) {
                lrc += QByteArray("[00:") + k + "0.00]" + song + '.' + k + '\n';
            }
            QVERIFY(testsupport::WriteBytes(
                dir.filePath(song == '1' ? "Lyrics/Band - Song 1.lrc" : "2.lrc"), lrc));
        }
        const QString m3u = dir.filePath("songs.m3u");
        QVERIFY(testsupport::WriteBytes(m3u,
                                        "#EXTM3U\n#EXTINF:120,Band - Song 1\n1.mp3\n"
                                        "#EXTINF:120,Band - Song 2\n2.mp3\n"));
        QProcess sim;
        const platform::HWND winamp = testsupport::StartWindowProcess(
            sim, CANTORIX_BIN_DIR "/winamp-sim", {"--headless", m3u}, "Winamp v1.x");
        QVERIFY(winamp != 0);
        const auto command = [winamp](platform::WPARAM what, platform::LPARAM seek = 0) {
            platform::PostMessageA(winamp, seek ? winamp::MsgUser : winamp::MsgCommand, what, seek);
        };

        testsupport::ScriptedDialogs dialogs;  // a box aborts the test (CANTORIX_NO_MODAL)
        player::frmMain player;
        player.Form_Load();
        dialogs.ChooseFile(dir.filePath("Lyrics"));
        Child<QAction>(&player, "itmPLibrary")->trigger();
        QVERIFY(dialogs.Asked().value(0).Kind == platform::DialogKind::Folder);
        QCOMPARE(lyrics::ReadConfFile(platform::ConfFilePath()).LibraryFolder,
                 dir.filePath("Lyrics"));
        const QLabel* current = Child<QLabel>(&player, "lblCurrLine");
        QAction* follow = Child<QAction>(&player, "itmPFollow");

        command(winamp::CmdPlay);
        command(31000, winamp::SeekTo);
        follow->trigger();
        QVERIFY(follow->isChecked());
        QTRY_COMPARE(current->text(), "1.3");  // taken up where the song is
        command(13000, winamp::SeekTo);
        QTRY_COMPARE_WITH_TIMEOUT(current->text(), "1.1", 500);  // back at once, not by ticks
        command(winamp::CmdNext);
        QTRY_COMPARE(current->text(), "2.0");
        QCOMPARE(player.windowTitle(), "2 - Cantorix 3");  // the title the file gives: its name
        QCOMPARE(dialogs.Unexpected(), 0);
    }
};

QTEST_MAIN(tst_Follow)
#include "tst_follow.moc"
