// Where the programs find their resources and keep their settings, and the twips rule.
#include <QCoreApplication>
#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "platform/Folders.h"
#include "platform/Twips.h"

using namespace platform;

namespace {

// Restores an environment variable when the test ends.
auto KeepEnv(const char* name) {
    const bool wasSet = qEnvironmentVariableIsSet(name);
    const QByteArray value = qgetenv(name);
    return qScopeGuard([=] {
        if (wasSet) {
            qputenv(name, value);
        } else {
            qunsetenv(name);
        }
    });
}

}  // namespace

class TestFolders : public QObject {
    Q_OBJECT

  private slots:
    void programFolder() {
        QCOMPARE(ProgramFolder(), QCoreApplication::applicationDirPath());
        QVERIFY(!ProgramFolder().endsWith('/'));
        QCOMPARE(PathSeparator(), QString("/"));
        QCOMPARE(ExecutableName("cantorix"), QString("cantorix"));
    }

    void resourceFolder_data() {
        QTest::addColumn<bool>("skinsBeside");
        QTest::addColumn<QString>("expected");  // relative to the temporary root
        QTest::newRow("build tree or portable") << true << "bin";
        QTest::newRow("installed") << false << "share/cantorix";
    }
    void resourceFolder() {
        QFETCH(bool, skinsBeside);
        QFETCH(QString, expected);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString program = root.filePath("bin");
        QVERIFY(QDir().mkpath(program));
        if (skinsBeside) {
            QVERIFY(QDir(program).mkdir("skins"));
        }
        QCOMPARE(ResourceFolderFor(program), root.filePath(expected));
        QCOMPARE(ResourceFolderFor(program + "/"), root.filePath(expected));
    }

    void settingsFolderFromCantorixHome_data() {
        QTest::addColumn<QString>("home");  // relative to a temporary root
        QTest::addColumn<QString>("expected");
        QTest::newRow("existing") << ""
                                  << "";
        QTest::newRow("missing, created") << "a/b/settings"
                                          << "a/b/settings";
        QTest::newRow("trailing separator") << "conf/"
                                            << "conf";
        QTest::newRow("untidy") << "x/../y//z"
                                << "y/z";
    }
    void settingsFolderFromCantorixHome() {
        QFETCH(QString, home);
        QFETCH(QString, expected);
        const auto restore = KeepEnv("CANTORIX_HOME");
        QTemporaryDir root;
        QVERIFY(root.isValid());
        qputenv("CANTORIX_HOME", QFile::encodeName(root.path() + "/" + home));
        const QString want = QDir::cleanPath(root.path() + "/" + expected);
        QCOMPARE(SettingsFolder(), want);
        QVERIFY(QFileInfo(want).isDir());
    }

    void settingsFolderWithoutCantorixHome() {
        const auto restoreHome = KeepEnv("CANTORIX_HOME");
        const auto restoreUserHome = KeepEnv("HOME");
        QTemporaryDir user;
        QVERIFY(user.isValid());
        qunsetenv("CANTORIX_HOME");
        qputenv("HOME", QFile::encodeName(user.path()));
        const QString want = user.path() + "/.config/cantorix";
        QCOMPARE(SettingsFolder(), want);
        QVERIFY(QFileInfo(want).isDir());
        qputenv("CANTORIX_HOME", "");  // empty counts as not set
        QCOMPARE(SettingsFolder(), want);
    }

    void twips_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("zero") << 0 << 0;
        QTest::newRow("just under half") << 7 << 0;
        QTest::newRow("half rounds up") << 8 << 1;
        QTest::newRow("one pixel") << 15 << 1;
        QTest::newRow("one inch") << 1440 << 96;
        QTest::newRow("form width") << 7230 << 482;
    }
    void twips() {
        QFETCH(int, twips);
        QFETCH(int, pixels);
        QCOMPARE(Px(twips), pixels);
        QCOMPARE(Px(Twips(pixels)), pixels);
        QCOMPARE(TwipsRect(twips, 0, twips, 15), QRect(pixels, 0, pixels, 1));
    }
};

QTEST_GUILESS_MAIN(TestFolders)
#include "tst_platform_folders.moc"
