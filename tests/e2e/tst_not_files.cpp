// Paths that are not files (a FIFO, a folder, a device) given to the real player as the file
// to open, or met at start as its settings file or remembered playlist. Opening a FIFO
// blocks until a writer comes, so a reader that opens one holds the window thread for good.
// The player must show its window and run its event loop regardless: --snapshot saves a
// picture of it and exits from that loop, message box or not. A remembered playlist that
// cannot be read is reported in a box before the window shows.
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "lyrics/SettingsFile.h"
#include "support/WindowProcess.h"

#include <sys/stat.h>

namespace {

bool MakeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

}  // namespace

class TestNotFiles : public QObject {
    Q_OBJECT

  private slots:
    void playerStaysUsable() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString fifo = dir.filePath("song.cx3");
        const QString fifoList = dir.filePath("list.cxp");
        QVERIFY(MakeFifo(fifo) && MakeFifo(fifoList));
        QVERIFY(QDir(dir.path()).mkdir("folder.cxp"));
        QVERIFY(QFile::link("/dev/zero", dir.filePath("zero.cx3")));

        struct Case {
            const char* name;
            QStringList arguments;
            enum { Plain, FifoSettings, FifoPlaylist } home;
        };
        const std::vector<Case> cases{
            {"a FIFO as the lyrics file", {fifo}, Case::Plain},
            {"a FIFO as the playlist", {fifoList}, Case::Plain},
            {"a folder as the playlist", {dir.filePath("folder.cxp")}, Case::Plain},
            {"/dev/zero as the lyrics file", {dir.filePath("zero.cx3")}, Case::Plain},
            {"a FIFO as the settings file", {}, Case::FifoSettings},
            {"a FIFO as the remembered playlist", {}, Case::FifoPlaylist},
        };
        // Without a Winamp the player asks for one before its window shows.
        const QString run = dir.filePath("run");
        QVERIFY(QDir().mkpath(run));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", run);
        env.remove("CANTORIX_NO_MODAL");  // a failure box stays up, as for a user
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(run));
        QProcess winamp;
        winamp.setProcessEnvironment(env);
        QVERIFY(testsupport::StartWindowProcess(
                    winamp, QStringLiteral(CANTORIX_BIN_DIR "/winamp-sim"),
                    {"--headless", "--tracks", "1", "--length", "600"}, "Winamp v1.x") != 0);
        auto stopWinamp = qScopeGuard([&winamp] {
            winamp.kill();
            winamp.waitForFinished();
        });

        // All at once: each run takes the snapshot's few seconds.
        std::vector<std::unique_ptr<QProcess>> players;
        for (const Case& c : cases) {
            const QString home = dir.filePath(QString::fromLatin1(c.name).replace('/', '_'));
            QVERIFY(QDir().mkpath(home));
            if (c.home == Case::FifoSettings) {
                QVERIFY(MakeFifo(home + "/cantorix.ini"));
            } else if (c.home == Case::FifoPlaylist) {
                lyrics::Settings settings;
                settings.PlaylistPath = fifoList;
                QVERIFY(lyrics::WriteSettingsFile(home + "/cantorix.ini", settings));
            }
            env.insert("CANTORIX_HOME", home);
            auto& player = players.emplace_back(std::make_unique<QProcess>());
            QProcessEnvironment playerEnv = env;
            if (c.home == Case::FifoPlaylist) {
                // Its start-up box comes before the window: refused, it ends the player with
                // its text, which shows that the read failed at once.
                playerEnv.insert("CANTORIX_NO_MODAL", "1");
            }
            player->setProcessEnvironment(playerEnv);
            player->start(QStringLiteral(CANTORIX_BIN_DIR "/cantorix"),
                          QStringList{"--snapshot", home + "/shot.png"} + c.arguments);
        }
        const QDeadlineTimer deadline(30000);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            QProcess& player = *players[i];
            const bool ended = player.waitForFinished(int(deadline.remainingTime()));
            if (!ended) {
                player.kill();
                player.waitForFinished();
            }
            QVERIFY2(ended, cases[i].name);
            if (cases[i].home == Case::FifoPlaylist) {
                QVERIFY2(player.readAllStandardError().contains("text: Could not read data file."),
                         cases[i].name);
                continue;
            }
            QVERIFY2(player.exitStatus() == QProcess::NormalExit && player.exitCode() == 0,
                     cases[i].name);
            QVERIFY2(QFile::exists(player.arguments().at(1)), cases[i].name);
        }
    }
};

QTEST_GUILESS_MAIN(TestNotFiles)
#include "tst_not_files.moc"
