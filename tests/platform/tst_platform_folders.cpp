// Where the programs keep their settings, and the twips rule.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "platform/Folders.h"
#include "platform/Twips.h"

using namespace platform;

class TestFolders : public QObject {
    Q_OBJECT

  private slots:
    // $CANTORIX_HOME when set and not empty, else ~/.config/cantorix; made when missing.
    void settingsFolder_data() {
        QTest::addColumn<QByteArray>("home");  // relative to a temporary root; "-": unset
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing, created") << QByteArray("/a/b/settings") << "a/b/settings";
        QTest::newRow("untidy, trailing separator") << QByteArray("/x/../y//z/") << "y/z";
        QTest::newRow("unset") << QByteArray("-") << "user/.config/cantorix";
        QTest::newRow("empty counts as unset") << QByteArray() << "user/.config/cantorix";
    }
    void settingsFolder() {
        QFETCH(QByteArray, home);
        QFETCH(QString, expected);
        QTemporaryDir root;
        qputenv("HOME", QFile::encodeName(root.filePath("user")));
        home == "-" ? qunsetenv("CANTORIX_HOME")
                    : qputenv("CANTORIX_HOME",
                              home.isEmpty() ? home : QFile::encodeName(root.path()) + home);
        const QString want = QDir::cleanPath(root.path() + "/" + expected);
        QCOMPARE(SettingsFolder(), want);
        QVERIFY(QFileInfo(want).isDir());
    }

    // Twips round to the nearest pixel, half up.
    void twips() {
        for (const auto& [twips, pixels] : {std::pair{7, 0}, {8, 1}, {7230, 482}}) {
            QCOMPARE(Px(Twips(pixels)), pixels);
            QCOMPARE(TwipsRect(twips, 0, twips, 15), QRect(pixels, 0, pixels, 1));
        }
    }
};

QTEST_GUILESS_MAIN(TestFolders)
#include "tst_platform_folders.moc"
