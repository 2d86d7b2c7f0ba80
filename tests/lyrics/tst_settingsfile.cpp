// cantorix.ini: the exact bytes written, reading back, and where a bad line stops reading.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "lyrics/SettingsFile.h"
#include "support/Files.h"

using lyrics::Settings;

namespace {

const QByteArray Example =
    "8438015,16711680,49152\r\n"
    "1200,900\r\n"
    "0,\"on top\"\r\n"
    "0,\"compact\"\r\n"
    "0,\"stop fade\"\r\n"
    "0,\"list view\"\r\n"
    "0,\"list save\"\r\n"
    "1,\"randomize list\"\r\n"
    "1,\"repeat list\"\r\n"
    "\"D:\\Lyrics\\skins\\default\\\"\r\n"
    "\"\"\r\n";

using testsupport::ReadBytes;
using testsupport::WriteBytes;

// The example with line n (1 to 11) replaced.
QByteArray WithLine(int n, const QByteArray& line) {
    QList<QByteArray> lines = Example.split('\n');
    lines[n - 1] = line + "\r";
    return lines.join('\n');
}

}  // namespace

class tst_SettingsFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString Path() const { return dir.filePath("cantorix.ini"); }

  private slots:
    void exampleReadsAndWritesBackTheSameBytes() {
        WriteBytes(Path(), Example);
        const lyrics::SettingsRead read = lyrics::ReadSettingsFile(Path());
        QCOMPARE(read.LinesRead, 11);
        const Settings& s = read.Values;
        QCOMPARE(s.Colours, (lyrics::ColourTable{8438015, 16711680, 49152}));
        QCOMPARE(s.Left, 1200);
        QCOMPARE(s.Top, 900);
        QVERIFY(!s.OnTop && !s.Compact && !s.Randomize && !s.Repeat);
        QCOMPARE(s.SkinFolder, QString("D:\\Lyrics\\skins\\default\\"));
        QCOMPARE(s.PlaylistPath, QString());
        const QString again = dir.filePath("again.ini");
        QVERIFY(lyrics::WriteSettingsFile(again, s));
        QCOMPARE(ReadBytes(again), Example);
    }

    void everyValueRoundTrips() {
        Settings s;
        s.Colours = {0, 0xFFFFFF, 0x123456};
        s.Left = -32768;
        s.Top = 32767;
        s.OnTop = s.Compact = s.Randomize = s.Repeat = true;
        s.StopFade = s.ListView = s.ListSave = 1;
        s.SkinFolder = QString::fromUtf8("/home/ана/skins/夜, night/");
        s.PlaylistPath = QStringLiteral("/tmp/list, one.cxp");
        QVERIFY(lyrics::WriteSettingsFile(Path(), s));
        const QByteArray bytes = ReadBytes(Path());
        QVERIFY(bytes.contains("0,\"randomize list\"\r\n0,\"repeat list\"\r\n"));
        const lyrics::SettingsRead read = lyrics::ReadSettingsFile(Path());
        QCOMPARE(read.LinesRead, 11);
        QCOMPARE(read.Values.Colours, s.Colours);
        QCOMPARE(read.Values.Left, s.Left);
        QCOMPARE(read.Values.Top, s.Top);
        QVERIFY(read.Values.OnTop && read.Values.Compact && read.Values.Randomize &&
                read.Values.Repeat);
        QCOMPARE(read.Values.StopFade, 1);
        QCOMPARE(read.Values.ListView, 1);
        QCOMPARE(read.Values.ListSave, 1);
        QCOMPARE(read.Values.SkinFolder, s.SkinFolder);
        QCOMPARE(read.Values.PlaylistPath, s.PlaylistPath);
    }

    void positionsOutsideSixteenBitsAreClamped_data() {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("wide desktop") << 40000 << 100 << QByteArray("32767,100\r\n");
        QTest::newRow("far left") << -50000 << -40000 << QByteArray("-32768,-32768\r\n");
    }
    void positionsOutsideSixteenBitsAreClamped() {
        QFETCH(int, left);
        QFETCH(int, top);
        QFETCH(QByteArray, line);
        Settings s;
        s.Left = left;
        s.Top = top;
        QVERIFY(lyrics::WriteSettingsFile(Path(), s));
        QVERIFY(ReadBytes(Path()).contains("\r\n" + line));
        QCOMPARE(lyrics::ReadSettingsFile(Path()).LinesRead, 11);
    }

    // Reading stops at the failing line: the lines before it keep their values, the rest
    // take the defaults.
    void badLineStopsReading_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("colour not a number") << 1 << QByteArray("8438015,blue,49152");
        QTest::newRow("colour quoted") << 1 << QByteArray("\"8438015\",1,2");
        QTest::newRow("colour negative") << 1 << QByteArray("-1,1,2");
        QTest::newRow("position beyond 16 bits") << 2 << QByteArray("40000,900");
        QTest::newRow("position fraction") << 2 << QByteArray("12.5,900");
        QTest::newRow("on top not a number") << 3 << QByteArray("yes,\"on top\"");
        QTest::newRow("stop mode 2") << 5 << QByteArray("2,\"stop fade\"");
        QTest::newRow("stop mode -1") << 5 << QByteArray("-1,\"stop fade\"");
        QTest::newRow("list view 7") << 6 << QByteArray("7,\"list view\"");
        QTest::newRow("list save x") << 7 << QByteArray("x,\"list save\"");
        QTest::newRow("randomize quoted") << 8 << QByteArray("\"0\",\"randomize list\"");
    }
    void badLineStopsReading() {
        QFETCH(int, line);
        QFETCH(QByteArray, bytes);
        // Every setting away from its default, so a default shows where reading stopped.
        QByteArray file =
            "1,2,3\r\n100,200\r\n1,\"on top\"\r\n1,\"compact\"\r\n1,\"stop fade\"\r\n"
            "1,\"list view\"\r\n1,\"list save\"\r\n0,\"randomize list\"\r\n0,\"repeat list\"\r\n"
            "\"/skins/x/\"\r\n\"/lists/a.cxp\"\r\n";
        QList<QByteArray> lines = file.split('\n');
        lines[line - 1] = bytes + "\r";
        WriteBytes(Path(), lines.join('\n'));
        const lyrics::SettingsRead read = lyrics::ReadSettingsFile(Path());
        QCOMPARE(read.LinesRead, line - 1);
        const Settings& s = read.Values;
        QCOMPARE(s.Colours, (line > 1 ? lyrics::ColourTable{1, 2, 3} : lyrics::DefaultColours));
        QCOMPARE(s.Left, line > 2 ? 100 : 0);
        QCOMPARE(s.OnTop, line > 3);
        QCOMPARE(s.Compact, line > 4);
        QCOMPARE(s.StopFade, line > 5 ? 1 : 0);
        QCOMPARE(s.ListView, line > 6 ? 1 : 0);
        QCOMPARE(s.ListSave, line > 7 ? 1 : 0);
        QCOMPARE(s.Randomize, line > 8);
        QCOMPARE(s.Repeat, line > 9);
        QCOMPARE(s.SkinFolder, QString());
        QCOMPARE(s.PlaylistPath, QString());
    }

    void truncatedOrMissingFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("create");
        QTest::addColumn<int>("linesRead");
        QTest::newRow("missing") << QByteArray() << false << 0;
        QTest::newRow("empty") << QByteArray() << true << 0;
        QTest::newRow("cut after line 4") << Example.left(Example.indexOf("0,\"stop")) << true << 4;
        QTest::newRow("cut inside line 1") << QByteArray("8438015,16711680") << true << 0;
        QTest::newRow("no line 11") << Example.left(Example.lastIndexOf("\"\"")) << true << 10;
        QTest::newRow("binary") << QByteArray("\x00\xff\x10,\x80\"", 6) << true << 0;
    }
    void truncatedOrMissingFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, create);
        QFETCH(int, linesRead);
        QFile::remove(Path());
        if (create) {
            WriteBytes(Path(), bytes);
        }
        QCOMPARE(lyrics::ReadSettingsFile(Path()).LinesRead, linesRead);
    }

    void keysAreNotRead() {
        WriteBytes(Path(), WithLine(5, "1,\"anything at all\""));
        const lyrics::SettingsRead read = lyrics::ReadSettingsFile(Path());
        QCOMPARE(read.LinesRead, 11);
        QCOMPARE(read.Values.StopFade, 1);
    }

    void colourLineForTheEncoder() {
        WriteBytes(Path(), Example);
        QCOMPARE(lyrics::ReadColourLine(Path()), (lyrics::ColourTable{8438015, 16711680, 49152}));
        WriteBytes(Path(), "1,2\r\n");
        QVERIFY(!lyrics::ReadColourLine(Path()));
        QVERIFY(!lyrics::ReadColourLine(dir.filePath("none.ini")));
    }

    void failedWriteKeepsTheOldFile() {
        WriteBytes(Path(), Example);
        // A folder where the file should go: the write fails for root too.
        const QString blocked = dir.filePath("blocked.ini");
        QVERIFY(QDir().mkpath(blocked));
        QVERIFY(!lyrics::WriteSettingsFile(blocked, Settings{}));
        QVERIFY(
            !lyrics::WriteSettingsFile(dir.filePath("no/such/folder/cantorix.ini"), Settings{}));
        QCOMPARE(ReadBytes(Path()), Example);
    }
};

QTEST_GUILESS_MAIN(tst_SettingsFile)
#include "tst_settingsfile.moc"
