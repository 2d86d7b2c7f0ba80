#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QtEndian>
#include <memory>

#include "platform/LocalWindow.h"
#include "platform/Win32.h"
#include "support/WindowProcess.h"

using platform::HWND;
using platform::LRESULT;

namespace {

constexpr const char* WinampClass = "Winamp v1.x";
constexpr int WaitMs = 10000;

QString Program() {
    return QStringLiteral(CANTORIX_BIN_DIR "/winamp-sim");
}

QString TempFolder() {
    return qEnvironmentVariable("CANTORIX_TEST_TMP", QDir::tempPath());
}

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the program to its end (client mode or a refused start), bounded in time.
Outcome RunToEnd(const QStringList& args) {
    QProcess process;
    process.start(Program(), args);
    Outcome outcome;
    if (!process.waitForFinished(WaitMs)) {
        process.kill();
        process.waitForFinished(WaitMs);
        outcome.err = "did not finish in time";
        return outcome;
    }
    outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    outcome.out = process.readAllStandardOutput();
    outcome.err = process.readAllStandardError();
    return outcome;
}

LRESULT Ask(HWND window, platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam) {
    return platform::SendMessageA(window, msg, wParam, lParam);
}

}  // namespace

class tst_WinampSimProcess : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void refusedRuns_data();
    void refusedRuns();
    void servesQueries();
    void clientMode();
    void clockRunsAtSpeed();
    void secondServerRefused();
    void malformedBytesDoNotHurt_data();
    void malformedBytesDoNotHurt();
    void traceHasOneLinePerMessage();
    void closeEndsProgram_data();
    void closeEndsProgram();
    void cleanupTestCase();

  private:
    HWND StartServer(const QStringList& args);

    std::unique_ptr<QProcess> server;
    HWND window = 0;
    QString tracePath;
};

HWND tst_WinampSimProcess::StartServer(const QStringList& args) {
    server = std::make_unique<QProcess>();
    window = testsupport::StartWindowProcess(*server, Program(), args, WinampClass, WaitMs);
    return window;
}

void tst_WinampSimProcess::initTestCase() {
    QVERIFY2(QFile::exists(Program()), qPrintable(Program()));
    QVERIFY2(!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"), "needs a private runtime folder");
    QCOMPARE(platform::FindWindowA(WinampClass, nullptr), HWND(0));
    tracePath = TempFolder() + "/sim-trace.log";
    QFile::remove(tracePath);
}

// Before any Winamp runs: client mode finds none, and bad input never starts serving.
void tst_WinampSimProcess::refusedRuns_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QString noLengths = TempFolder() + "/no-lengths.m3u";
    QFile file(noLengths);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#EXTM3U\r\na.mp3\r\nb.mp3\r\n");
    file.close();

    QTest::newRow("send, no Winamp")
        << QStringList{"send", "1024", "0", "104"} << 1 << "winamp-sim: no Winamp window found";
    QTest::newRow("post, no Winamp")
        << QStringList{"post", "273", "40045", "0"} << 1 << "winamp-sim: no Winamp window found";
    QTest::newRow("send, bad number")
        << QStringList{"send", "1024", "x", "104"} << 2 << "winamp-sim: bad wParam \"x\"";
    QTest::newRow("post, too few")
        << QStringList{"post", "273"} << 2 << "winamp-sim: post needs three numbers";
    QTest::newRow("unknown option")
        << QStringList{"--headless", "--bogus"} << 2 << "winamp-sim: unknown option --bogus";
    QTest::newRow("missing playlist")
        << QStringList{"--headless", TempFolder() + "/none.m3u"} << 2
        << "winamp-sim: cannot open playlist " + TempFolder() + "/none.m3u";
    QTest::newRow("playlist without lengths")
        << QStringList{"--headless", noLengths} << 2
        << "winamp-sim: " + noLengths + ": no track has a length";
    QTest::newRow("trace file in a missing folder")
        << QStringList{"--headless", "--trace", "/nonexistent-folder/t.log"} << 2
        << "winamp-sim: cannot open trace file /nonexistent-folder/t.log";
}

void tst_WinampSimProcess::refusedRuns() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Outcome outcome = RunToEnd(args);
    QTEST(outcome.exitCode, "exitCode");
    QVERIFY2(QString::fromLocal8Bit(outcome.err).startsWith(message), outcome.err.constData());
    QVERIFY(outcome.out.isEmpty());
    QCOMPARE(platform::FindWindowA(WinampClass, nullptr), HWND(0));
}

void tst_WinampSimProcess::servesQueries() {
    QVERIFY(StartServer({"--headless", "--trace", tracePath, "--speed", "50", "--tracks", "4",
                         "--length", "3600"}) != 0);
    QCOMPARE(Ask(window, 1024, 0, 124), LRESULT(4));
    QCOMPARE(Ask(window, 1024, 0, 125), LRESULT(0));
    QCOMPARE(Ask(window, 1024, 0, 104), LRESULT(0));
    QCOMPARE(Ask(window, 1024, 1, 105), LRESULT(3600));
    QCOMPARE(Ask(window, 1024, 0, 999), LRESULT(0));

    // Selecting the entry, then playing it, in the order posted.
    QVERIFY(platform::PostMessageA(window, 1024, 2, 121));
    QVERIFY(platform::PostMessageA(window, 273, 40045, 0));
    QTRY_COMPARE_WITH_TIMEOUT(Ask(window, 1024, 0, 104), LRESULT(1), WaitMs);
    QCOMPARE(Ask(window, 1024, 0, 125), LRESULT(2));
}

void tst_WinampSimProcess::clientMode() {
    QVERIFY(window != 0);
    Outcome outcome = RunToEnd({"send", "1024", "0", "124"});
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.out, QByteArray("4\n"));
    QVERIFY(outcome.err.isEmpty());

    outcome = RunToEnd({"post", "273", "40046", "0"});
    QCOMPARE(outcome.exitCode, 0);
    QVERIFY(outcome.out.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(Ask(window, 1024, 0, 104), LRESULT(3), WaitMs);

    outcome = RunToEnd({"send", "0x400", "0", "104"});
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.out, QByteArray("3\n"));

    outcome = RunToEnd({"send", "273", "40046", "0"});  // a command sent answers 0
    QCOMPARE(outcome.out, QByteArray("0\n"));
    QCOMPARE(Ask(window, 1024, 0, 104), LRESULT(1));
}

void tst_WinampSimProcess::clockRunsAtSpeed() {
    // --speed 50: at least 50 simulated ms pass for each real one.
    QCOMPARE(Ask(window, 1024, 0, 104), LRESULT(1));
    const LRESULT before = Ask(window, 1024, 0, 105);
    QTest::qWait(200);
    const LRESULT after = Ask(window, 1024, 0, 105);
    QVERIFY2(after - before >= 9990, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
}

void tst_WinampSimProcess::secondServerRefused() {
    const Outcome outcome = RunToEnd({"--headless", "--tracks", "1"});
    QCOMPARE(outcome.exitCode, 1);
    QVERIFY2(outcome.err.startsWith("winamp-sim: a Winamp window is already running"),
             outcome.err.constData());
    QCOMPARE(platform::FindWindowA(WinampClass, nullptr), window);
    QCOMPARE(Ask(window, 1024, 0, 124), LRESULT(4));
}

void tst_WinampSimProcess::malformedBytesDoNotHurt_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("stayConnected");

    // A frame is 32 bytes, little-endian: magic "CXW1", kind, sequence, msg, wParam, lParam.
    auto frame = [](quint32 magic, quint32 kind) {
        QByteArray bytes(32, '\0');
        qToLittleEndian(magic, bytes.data());
        qToLittleEndian(kind, bytes.data() + 4);
        qToLittleEndian(quint32(1024), bytes.data() + 12);
        qToLittleEndian(quint64(124), bytes.data() + 24);
        return bytes;
    };
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i) {
        noise[i] = char((i * 7919 + 13) % 251);
    }
    QTest::newRow("text") << QByteArray("hello winamp, play something\n") << false;
    QTest::newRow("noise") << noise << false;
    QTest::newRow("half a frame, then gone") << frame(0x31575843, 1).left(20) << false;
    QTest::newRow("half a frame, left hanging") << frame(0x31575843, 1).left(20) << true;
    QTest::newRow("wrong magic") << frame(0x12345678, 1) << false;
    QTest::newRow("unknown kind") << frame(0x31575843, 9) << false;
    QTest::newRow("an answer sent to the server") << frame(0x31575843, 3) << false;
    QTest::newRow("good frame then noise") << frame(0x31575843, 2) + noise << false;
}

void tst_WinampSimProcess::malformedBytesDoNotHurt() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, stayConnected);
    QVERIFY(window != 0);
    const QString path = platform::RuntimeFolder() + "/h" + QString::number(window);
    QVERIFY2(QFile::exists(path), qPrintable(path));

    QLocalSocket socket;
    socket.connectToServer(path);
    QVERIFY(socket.waitForConnected(WaitMs));
    socket.write(bytes);
    QVERIFY(socket.waitForBytesWritten(WaitMs));
    if (!stayConnected) {
        socket.disconnectFromServer();
        if (socket.state() != QLocalSocket::UnconnectedState) {
            socket.waitForDisconnected(WaitMs);
        }
    }
    QTest::qWait(50);
    QCOMPARE(server->state(), QProcess::Running);
    QCOMPARE(Ask(window, 1024, 0, 124), LRESULT(4));
    QCOMPARE(Ask(window, 1024, 0, 104), LRESULT(1));
}

void tst_WinampSimProcess::traceHasOneLinePerMessage() {
    QVERIFY(window != 0);
    QCOMPARE(Ask(window, 1024, 1, 105), LRESULT(3600));  // the last line to look for
    QFile file(tracePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QVERIFY(lines.size() > 10);
    QVERIFY(lines.last().isEmpty());  // every line ends with a line feed

    const QRegularExpression shape(
        QStringLiteral("^(\\d+) (send \\d+ \\d+ -?\\d+ -?\\d+|post \\d+ \\d+ -?\\d+)$"));
    qint64 lastMs = 0;
    QStringList bodies;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const auto match = shape.match(QString::fromLatin1(lines[i]));
        QVERIFY2(match.hasMatch(), lines[i].constData());
        const qint64 ms = match.captured(1).toLongLong();
        QVERIFY2(ms >= lastMs, lines[i].constData());
        lastMs = ms;
        bodies << match.captured(2);
    }
    // In the order they were made, with the answers the tests above saw.
    const QStringList expected{"send 1024 0 124 4",    "send 1024 0 125 0", "send 1024 0 104 0",
                               "send 1024 1 105 3600", "send 1024 0 999 0", "post 1024 2 121",
                               "post 273 40045 0"};
    QCOMPARE(bodies.mid(0, expected.size()), expected);
    QVERIFY(bodies.contains("post 273 40046 0"));
    QVERIFY(bodies.contains("send 1024 0 104 3"));
    QVERIFY(bodies.contains("send 273 40046 0 0"));
    QCOMPARE(bodies.last(), QString("send 1024 1 105 3600"));
}

void tst_WinampSimProcess::closeEndsProgram_data() {
    QTest::addColumn<QStringList>("args");  // empty: the server already running
    QTest::addColumn<QString>("how");       // post or send 40001, or terminate

    QTest::newRow("headless, posted close") << QStringList() << "post";
    QTest::newRow("headless, sent close") << QStringList{"--headless"} << "send";
    QTest::newRow("headless, terminated") << QStringList{"--headless"} << "terminate";
    // The test runs offscreen, so the window can be real here.
    QTest::newRow("windowed, with the jump dialog open") << QStringList{"--tracks", "2"} << "post";
}

void tst_WinampSimProcess::closeEndsProgram() {
    QFETCH(QStringList, args);
    QFETCH(QString, how);
    if (!args.isEmpty()) {
        QVERIFY(StartServer(args) != 0);
    }
    QVERIFY(window != 0 && server);
    const HWND closing = window;
    const QString socketPath = platform::RuntimeFolder() + "/h" + QString::number(closing);
    QVERIFY(QFile::exists(socketPath));

    if (!args.contains("--headless") && !args.isEmpty()) {
        // The dialog must not hold up the answers.
        QCOMPARE(Ask(closing, 273, 40194, 0), LRESULT(0));
        QCOMPARE(Ask(closing, 1024, 0, 124), LRESULT(2));
    }
    if (how == "send") {
        QCOMPARE(Ask(closing, 273, 40001, 0), LRESULT(0));
    } else if (how == "post") {
        QVERIFY(platform::PostMessageA(closing, 273, 40001, 0));
    } else {
        server->terminate();
    }
    QVERIFY(server->waitForFinished(WaitMs));
    QCOMPARE(server->exitStatus(), QProcess::NormalExit);
    QCOMPARE(server->exitCode(), 0);
    window = 0;

    // Gone the way a closed window goes: not found, its old handle answers 0.
    QCOMPARE(platform::FindWindowA(WinampClass, nullptr), HWND(0));
    QCOMPARE(Ask(closing, 1024, 0, 124), LRESULT(0));
    QVERIFY(!QFile::exists(socketPath));
}

void tst_WinampSimProcess::cleanupTestCase() {
    if (server && server->state() != QProcess::NotRunning) {
        server->kill();
        server->waitForFinished(WaitMs);
    }
}

QTEST_MAIN(tst_WinampSimProcess)
#include "tst_winampsim_process.moc"
