// The real player at start with a FIFO as its settings file or remembered playlist, or given a
// name not valid UTF-8, never waits: it runs its event loop (--snapshot saves a picture from it
// and exits), or ends on the box that says what it cannot use.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include "lyrics/SettingsFile.h"
#include "support/Files.h"
#include "support/WindowProcess.h"

#include <sys/stat.h>

using testsupport::TempPath;

class TestNotFiles : public QObject {
    Q_OBJECT
    QProcess winamp;  // else the player asks for one before its window shows

  private slots:
    void initTestCase() {
        QVERIFY(::mkfifo(QFile::encodeName(TempPath("list.cxp")).constData(), 0600) == 0);
        QVERIFY(testsupport::StartWindowProcess(winamp, CANTORIX_BIN_DIR "/winamp-sim",
                                                {"--headless", "--tracks", "1"}, "Winamp v1.x"));
    }

    void playerStaysUsable_data() {
        QTest::addColumn<QByteArray>("box");  // the text of the box that ends it; none: a picture
        QTest::newRow("settings file") << QByteArray();
        QTest::newRow("remembered playlist") << QByteArray("text: Could not read data file.");
        QTest::newRow("latin-1 name")
            << QByteArray("\xEF\xBF\xBD.cx3\" cannot be used: it is not valid UTF-8.");
    }
    void playerStaysUsable() {
        QFETCH(QByteArray, box);
        const QString tag = QTest::currentDataTag(), home = TempPath(tag), shot = home + "/s.png";
        QVERIFY(QDir().mkpath(home));
        if (tag == "settings file") {
            QVERIFY(::mkfifo(QFile::encodeName(home + "/cantorix.ini").constData(), 0600) == 0);
        } else if (tag == "remembered playlist") {
            lyrics::Settings settings;
            settings.PlaylistPath = TempPath("list.cxp");
            QVERIFY(lyrics::WriteSettingsFile(home + "/cantorix.ini", settings));
        }
        qputenv("CANTORIX_HOME", QFile::encodeName(home));
        QProcess player;
        const QString program = CANTORIX_BIN_DIR "/cantorix";
        if (tag == "latin-1 name") {  // no QString names "caf\xE9.cx3": the shell gives it
            player.start("/bin/sh", {"-c", R"(exec "$0" --snapshot "$1" "caf$(printf '\351').cx3")",
                                     program, shot});
        } else {
            player.start(program, {"--snapshot", shot});
        }
        QVERIFY2(player.waitForFinished(20000), "the player hung");
        const QByteArray said = player.readAllStandardError();
        QVERIFY2(box.isEmpty() ? player.exitStatus() == QProcess::NormalExit &&
                                     player.exitCode() == 0 && QFile::exists(shot)
                               : said.contains(box),
                 said.constData());
    }
};

QTEST_GUILESS_MAIN(TestNotFiles)
#include "tst_not_files.moc"
