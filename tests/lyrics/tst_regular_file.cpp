// Every reader goes through FieldReader::Open, which takes regular files only: anything else
// is refused at once, even a FIFO whose open would wait for a writer forever. A reader that
// fails to open holds nothing, not even what it read before.
#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QTest>
#include <future>
#include <thread>

#include "lyrics/DelimitedFile.h"
#include "support/Files.h"

#include <sys/stat.h>

class TestRegularFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QLocalServer socket;

  private slots:
    void initTestCase() {
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600) == 0);
        QVERIFY(QFile::link(dir.filePath("fifo"), dir.filePath("to-fifo.cx3")));
        QVERIFY(testsupport::WriteBytes(dir.filePath("text"), "\"Caf\xE9\",1\r\n"));
        QVERIFY(QFile::link(dir.filePath("text"), dir.filePath("to-text.cx3")));
        QFile huge(dir.filePath("huge.cx3"));
        QVERIFY(huge.open(QIODevice::WriteOnly) &&
                huge.resize(lyrics::FieldReader::MaxFileSize + 1));
        QVERIFY(socket.listen(dir.filePath("socket")));
    }

    void onlyRegularFilesOpen_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("opens");
        QTest::newRow("regular file") << dir.filePath("text") << true;
        QTest::newRow("symlink to a regular file") << dir.filePath("to-text.cx3") << true;
        QTest::newRow("folder") << dir.path() << false;
        QTest::newRow("FIFO") << dir.filePath("fifo") << false;
        QTest::newRow("symlink to a FIFO") << dir.filePath("to-fifo.cx3") << false;
        QTest::newRow("device") << "/dev/zero" << false;
        QTest::newRow("socket") << dir.filePath("socket") << false;
        QTest::newRow("missing") << dir.filePath("none") << false;
        QTest::newRow("too big") << dir.filePath("huge.cx3") << false;
    }
    void onlyRegularFilesOpen() {
        QFETCH(QString, path);
        QFETCH(bool, opens);
        // A reader that blocks would hang the test: it runs apart and gets five seconds.
        std::packaged_task<QString()> open([path] {
            lyrics::FieldReader reader(QByteArray("\"earlier\""));
            const bool ok = reader.Open(path);
            return (ok ? "opened " : "refused ") + reader.ReadString().value_or("<nothing>");
        });
        auto opened = open.get_future();
        std::thread(std::move(open)).detach();
        QVERIFY2(opened.wait_for(std::chrono::seconds(5)) == std::future_status::ready,
                 "the reader blocked");
        QCOMPARE(opened.get(), opens ? QStringLiteral(u"opened Café") : "refused <nothing>");
    }
};

QTEST_GUILESS_MAIN(TestRegularFile)
#include "tst_regular_file.moc"
