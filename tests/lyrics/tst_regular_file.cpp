// Every reader goes through FieldReader::Open, which takes regular files only: anything else
// is refused at once, even a FIFO whose open would wait for a writer forever.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <future>
#include <thread>

#include "lyrics/DelimitedFile.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

class TestRegularFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    int listener = -1;

  private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600) == 0);
        QVERIFY(QFile::link(dir.filePath("fifo"), dir.filePath("to-fifo.cx3")));
        QFile text(dir.filePath("text"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("\"a\",1\r\n") == 7);
        text.close();
        QVERIFY(QFile::link(dir.filePath("text"), dir.filePath("to-text.cx3")));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = QFile::encodeName(dir.filePath("socket"));
        std::memcpy(address.sun_path, socketPath.constData(), std::size_t(socketPath.size()));
        listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0);
        QVERIFY(::listen(listener, 1) == 0);
    }
    void cleanupTestCase() { ::close(listener); }

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
    }
    void onlyRegularFilesOpen() {
        QFETCH(QString, path);
        QFETCH(bool, opens);
        // A reader that blocks would hang the test: it runs apart and gets five seconds.
        std::packaged_task<bool()> open([path] {
            lyrics::FieldReader reader;
            return reader.Open(path);
        });
        auto opened = open.get_future();
        std::thread(std::move(open)).detach();
        QVERIFY2(opened.wait_for(std::chrono::seconds(5)) == std::future_status::ready,
                 "the reader blocked");
        QCOMPARE(opened.get(), opens);
    }
};

QTEST_GUILESS_MAIN(TestRegularFile)
#include "tst_regular_file.moc"
