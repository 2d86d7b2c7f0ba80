// FIFOs given to the real player (folders and devices: the reader's table), or met at
// start as its settings file or remembered playlist: it shows its window and runs its event
// loop regardless (--snapshot saves a picture from that loop and exits). An unreadable
// remembered playlist is reported before the window shows; a name not valid UTF-8 is refused.
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

class TestNotFiles : public QObject {
    Q_OBJECT

  private slots:
    void playerStaysUsable() {
        QTemporaryDir dir;
        const auto fifo = [&dir](const char* name) {
            return ::mkfifo(QFile::encodeName(dir.filePath(name)).constData(), 0600) == 0;
        };
        QVERIFY(fifo("song.cx3") && fifo("list.cxp"));
        // The file given; none for "ini" and "remembered"; "latin-1" names "caf\xE9.cx3", which
        // no QString can name, so the shell makes and gives it.
        const QStringList cases{"song.cx3", "list.cxp", "ini", "remembered", "latin-1"};

        // Without a Winamp the player asks for one before its window shows.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", dir.filePath("run"));
        env.remove("CANTORIX_NO_MODAL");  // a failure box stays up, as for a user
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath("run")));
        QProcess winamp;
        winamp.setProcessEnvironment(env);
        QVERIFY(QDir().mkpath(dir.filePath("run")) &&
                testsupport::StartWindowProcess(
                    winamp, QStringLiteral(CANTORIX_BIN_DIR "/winamp-sim"),
                    {"--headless", "--tracks", "1", "--length", "600"}, "Winamp v1.x") != 0);
        auto stopWinamp = qScopeGuard([&winamp] {
            winamp.kill();
            winamp.waitForFinished();
        });

        std::vector<std::unique_ptr<QProcess>> players;
        for (const QString& c : cases) {
            const QString home = dir.filePath("home-" + c);
            QVERIFY(QDir().mkpath(home));
            if (c == "ini") {
                QVERIFY(fifo("home-ini/cantorix.ini"));
            } else if (c == "remembered") {
                lyrics::Settings settings;
                settings.PlaylistPath = dir.filePath("list.cxp");
                QVERIFY(lyrics::WriteSettingsFile(home + "/cantorix.ini", settings));
                // Its start-up box, refused, ends the player with its text.
                env.insert("CANTORIX_NO_MODAL", "1");
            }
            env.insert("CANTORIX_HOME", home);
            auto& player = players.emplace_back(std::make_unique<QProcess>());
            player->setProcessEnvironment(env);
            if (c == "latin-1") {
                player->start(
                    "/bin/sh",
                    {"-c",
                     R"(f="$2$(printf '\351').cx3"; printf '"Song - Band"\r\n)"
                     R"(1,"line"\r\n' >"$f" && exec "$0" --snapshot "$1" "$f")",
                     CANTORIX_BIN_DIR "/cantorix", home + "/shot.png", dir.filePath("caf")});
                continue;
            }
            player->start(QStringLiteral(CANTORIX_BIN_DIR "/cantorix"),
                          QStringList{"--snapshot", home + "/shot.png"} +
                              (c.contains('.') ? QStringList{dir.filePath(c)} : QStringList{}));
        }
        const QDeadlineTimer deadline(30000);
        for (qsizetype i = 0; i < cases.size(); ++i) {
            QProcess& player = *players[std::size_t(i)];  // killed, if need be, as it goes
            QVERIFY2(player.waitForFinished(int(deadline.remainingTime())), qPrintable(cases[i]));
            const QByteArray box = cases[i] == "remembered" ? "text: Could not read data file."
                                   : cases[i] == "latin-1"
                                       ? "\xEF\xBF\xBD.cx3\" cannot be used: it is not valid UTF-8."
                                       : "";
            QVERIFY2(!box.isEmpty()
                         ? player.readAllStandardError().contains(box)
                         : player.exitStatus() == QProcess::NormalExit && player.exitCode() == 0 &&
                               QFile::exists(player.arguments().at(1)),
                     qPrintable(cases[i]));
        }
    }
};

QTEST_GUILESS_MAIN(TestNotFiles)
#include "tst_not_files.moc"
