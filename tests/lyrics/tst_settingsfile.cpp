// cantorix.ini: the bytes written, reading back, and what a file that fails part-way keeps.
#include <QTemporaryDir>
#include <QtTest>

#include "lyrics/SettingsFile.h"
#include "support/Files.h"

using lyrics::Settings;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

const QByteArray Example =
    "8438015,16711680,49152\r\n1200,900\r\n0,\"on top\"\r\n0,\"compact\"\r\n0,\"stop fade\"\r\n"
    "0,\"list view\"\r\n0,\"list save\"\r\n1,\"randomize list\"\r\n1,\"repeat list\"\r\n"
    "\"D:\\Lyrics\\skins\\default\\\"\r\n\"\"\r\n";

// Every setting away from its default, so a default shows what was dropped.
const QByteArray Changed =
    "1,2,3\r\n100,200\r\n1,\"on top\"\r\n1,\"compact\"\r\n1,\"stop fade\"\r\n1,\"list view\"\r\n"
    "1,\"list save\"\r\n0,\"randomize list\"\r\n0,\"repeat list\"\r\n\"/skins/x/\"\r\n"
    "\"/lists/a.cxp\"\r\n";

}  // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString Path() const { return dir.filePath("cantorix.ini"); }

  private slots:
    // Both read whole and are written back byte for byte; positions beyond 16 bits are
    // clamped so the file reads back.
    void readsAndWritesBack() {
        for (const QByteArray& bytes : {Example, Changed}) {
            QVERIFY(WriteBytes(Path(), bytes));
            const lyrics::SettingsRead read = lyrics::ReadSettingsFile(Path());
            QCOMPARE(read.LinesRead, 11);
            QVERIFY(lyrics::WriteSettingsFile(Path(), read.Values));
            QCOMPARE(ReadBytes(Path()), bytes);
        }
        Settings s = lyrics::ReadSettingsFile(Path()).Values;
        QVERIFY(s.OnTop && s.Compact && s.Randomize && s.Repeat);
        QVERIFY(s.StopFade == 1 && s.ListView == 1 && s.ListSave == 1);
        QCOMPARE(s.SkinFolder + '|' + s.PlaylistPath, QString("/skins/x/|/lists/a.cxp"));
        QCOMPARE(lyrics::ReadColourLine(Path()), std::optional(lyrics::ColourTable{1, 2, 3}));
        s.Left = 40000;
        s.Top = -50000;
        QVERIFY(lyrics::WriteSettingsFile(Path(), s));
        QVERIFY(ReadBytes(Path()).startsWith("1,2,3\r\n32767,-32768\r\n"));
        QVERIFY(!lyrics::WriteSettingsFile(dir.path(), s));
    }

    // Only the window position, Always On Top and Retract to Compact from lines before the
    // failing one stay; every other setting takes its default.
    void failingLine_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("bytes");  // the failing line; empty: the file ends there
        QTest::newRow("missing file") << 1 << QByteArray("<missing>");
        QTest::newRow("1: colour not a number") << 1 << QByteArray("1,blue,3");
        QTest::newRow("1: colour negative") << 1 << QByteArray("-1,2,3");
        QTest::newRow("2: position beyond 16 bits") << 2 << QByteArray("40000,900");
        QTest::newRow("2: position fraction") << 2 << QByteArray("12.5,900");
        QTest::newRow("3: on top not a number") << 3 << QByteArray("yes,\"on top\"");
        QTest::newRow("4: compact quoted") << 4 << QByteArray("\"1\",\"compact\"");
        QTest::newRow("5: stop mode 2") << 5 << QByteArray("2,\"stop fade\"");
        QTest::newRow("5: stop mode -1") << 5 << QByteArray("-1,\"stop fade\"");
        QTest::newRow("6: list view 7") << 6 << QByteArray("7,\"list view\"");
        QTest::newRow("7: list save x") << 7 << QByteArray("x,\"list save\"");
        QTest::newRow("8: randomize quoted") << 8 << QByteArray("\"0\",\"randomize list\"");
        QTest::newRow("9: repeat fraction") << 9 << QByteArray("0.5,\"repeat list\"");
        QTest::newRow("10: file ends") << 10 << QByteArray();
        QTest::newRow("11: file ends") << 11 << QByteArray();
    }
    void failingLine() {
        QFETCH(int, line);
        QFETCH(QByteArray, bytes);
        QFile::remove(Path());
        if (bytes != "<missing>") {
            QList<QByteArray> lines = Changed.split('\n').mid(0, line);
            lines.last() = bytes.isEmpty() ? bytes : bytes + '\r';
            QVERIFY(WriteBytes(Path(), lines.join('\n')));
        }
        const lyrics::SettingsRead read = lyrics::ReadSettingsFile(Path());
        QCOMPARE(read.LinesRead, line - 1);
        const Settings& s = read.Values;
        QCOMPARE(s.Left, line > 2 ? 100 : 0);
        QCOMPARE(s.Top, line > 2 ? 200 : 0);
        QCOMPARE(s.OnTop, line > 3);
        QCOMPARE(s.Compact, line > 4);
        QCOMPARE(s.Colours, lyrics::DefaultColours);
        QVERIFY(s.StopFade == 0 && s.ListView == 0 && s.ListSave == 0);
        QVERIFY(!s.Randomize && !s.Repeat);
        QCOMPARE(s.SkinFolder + s.PlaylistPath, QString());
        QCOMPARE(lyrics::ReadColourLine(Path()).has_value(), line > 1);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
