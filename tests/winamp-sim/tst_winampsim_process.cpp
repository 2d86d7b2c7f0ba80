// The real winamp-sim program, started as a process and reached through the platform's
// window messages.
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTest>
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

struct Outcome {
    int exitCode = -1;  // -1 when it did not end normally in time
    QByteArray out;
    QByteArray err;
};

// Runs the program to its end (client mode or a refused start).
Outcome RunToEnd(const QStringList& args) {
    QProcess process;
    process.start(Program(), args);
    const bool ended =
        process.waitForFinished(WaitMs) && process.exitStatus() == QProcess::NormalExit;
    process.kill();
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

constexpr auto Ask = platform::SendMessageA;

}  // namespace

class tst_WinampSimProcess : public QObject {
    Q_OBJECT

    std::unique_ptr<QProcess> server;  // killed, if still running, when the test ends
    HWND window = 0;
    QString tracePath = qEnvironmentVariable("CANTORIX_TEST_TMP", QDir::tempPath()) + "/trace.log";

    HWND StartServer(const QStringList& args) {
        server = std::make_unique<QProcess>();
        window = testsupport::StartWindowProcess(*server, Program(), args, WinampClass, WaitMs);
        return window;
    }

  private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(Program()), qPrintable(Program()));
        QCOMPARE(platform::FindWindowA(WinampClass, nullptr), HWND(0));
        QFile::remove(tracePath);
    }

    // Before any Winamp runs: client mode finds none, and bad input never starts serving.
    void refusedRuns_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("send, no Winamp")
            << QStringList{"send", "1024", "0", "104"} << 1 << "winamp-sim: no Winamp window found";
        QTest::newRow("unknown option")
            << QStringList{"--headless", "--bogus"} << 2 << "winamp-sim: unknown option --bogus";
        QTest::newRow("missing playlist")
            << QStringList{"--headless", "/nonexistent-folder/none.m3u"} << 2
            << "winamp-sim: cannot open playlist /nonexistent-folder/none.m3u";
    }
    void refusedRuns() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const Outcome outcome = RunToEnd(args);
        QTEST(outcome.exitCode, "exitCode");
        QVERIFY2(QString::fromLocal8Bit(outcome.err).startsWith(message), outcome.err.constData());
        QVERIFY(outcome.out.isEmpty());
        QCOMPARE(platform::FindWindowA(WinampClass, nullptr), HWND(0));
    }

    // Selecting the entry, then playing it, in the order posted; the clock runs at --speed 50,
    // so at least 50 simulated ms pass for each real one.
    void servesQueries() {
        QVERIFY(StartServer({"--headless", "--trace", tracePath, "--speed", "50", "--tracks", "4",
                             "--length", "3600"}) != 0);
        QCOMPARE(Ask(window, 1024, 0, 124), LRESULT(4));
        QCOMPARE(Ask(window, 1024, 0, 104), LRESULT(0));
        QCOMPARE(Ask(window, 1024, 1, 105), LRESULT(3600));
        QCOMPARE(Ask(window, 1024, 0, 999), LRESULT(0));
        QVERIFY(platform::PostMessageA(window, 1024, 2, 121));
        QVERIFY(platform::PostMessageA(window, 273, 40045, 0));
        QTRY_COMPARE_WITH_TIMEOUT(Ask(window, 1024, 0, 104), LRESULT(1), WaitMs);
        QCOMPARE(Ask(window, 1024, 0, 125), LRESULT(2));
        const LRESULT before = Ask(window, 1024, 0, 105);
        QTest::qWait(200);
        const LRESULT after = Ask(window, 1024, 0, 105);
        QVERIFY2(after - before >= 9990,
                 qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
    }

    // Client mode reaches the running Winamp; a second one refuses to serve.
    void clientModeAndSecondServer() {
        Outcome outcome = RunToEnd({"post", "273", "40046", "0"});
        QCOMPARE(outcome.exitCode, 0);
        QVERIFY(outcome.out.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(Ask(window, 1024, 0, 104), LRESULT(3), WaitMs);
        outcome = RunToEnd({"send", "0x400", "0", "104"});
        QCOMPARE(outcome.exitCode, 0);
        QCOMPARE(outcome.out, QByteArray("3\n"));
        outcome = RunToEnd({"send", "273", "40046", "0"});  // a command sent answers 0
        QCOMPARE(outcome.out, QByteArray("0\n"));
        QCOMPARE(Ask(window, 1024, 0, 104), LRESULT(1));

        outcome = RunToEnd({"--headless", "--tracks", "1"});
        QCOMPARE(outcome.exitCode, 1);
        QVERIFY2(outcome.err.startsWith("winamp-sim: a Winamp window is already running"),
                 outcome.err.constData());
        QCOMPARE(platform::FindWindowA(WinampClass, nullptr), window);
    }

    // The wire format itself is covered with the platform; here the real program must
    // survive noise and a half frame left hanging.
    void malformedBytesDoNotHurt() {
        const QString path = platform::RuntimeFolder() + "/h" + QString::number(window);
        const QByteArray noise = QByteArray("GET / HTTP/1.0\r\n").repeated(256);
        QLocalSocket noisy, hanging;
        noisy.connectToServer(path);
        hanging.connectToServer(path);
        QVERIFY(noisy.waitForConnected(WaitMs) && hanging.waitForConnected(WaitMs));
        noisy.write(noise);
        hanging.write(noise.left(20));
        QVERIFY(noisy.waitForBytesWritten(WaitMs) && hanging.waitForBytesWritten(WaitMs));
        QTest::qWait(50);
        QCOMPARE(server->state(), QProcess::Running);
        QCOMPARE(Ask(window, 1024, 0, 124), LRESULT(4));
        QCOMPARE(Ask(window, 1024, 0, 104), LRESULT(1));
    }

    // One line per message, in the order made, with the answers the tests above saw.
    void traceHasOneLinePerMessage() {
        QCOMPARE(Ask(window, 1024, 1, 105), LRESULT(3600));  // the last line to look for
        QFile file(tracePath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(file.readAll());
        QVERIFY(text.endsWith(u'\n'));
        QStringList bodies;
        for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
            bodies << line.section(u' ', 1);  // without the time
        }
        QCOMPARE(bodies.mid(0, 6),
                 (QStringList{"send 1024 0 124 4", "send 1024 0 104 0", "send 1024 1 105 3600",
                              "send 1024 0 999 0", "post 1024 2 121", "post 273 40045 0"}));
        QVERIFY(bodies.contains("post 273 40046 0") && bodies.contains("send 273 40046 0 0"));
        QCOMPARE(bodies.last(), QString("send 1024 1 105 3600"));
    }

    // The program ends cleanly, gone the way a closed window goes: not found, its old
    // handle answers 0, its socket removed.
    void closeEndsProgram_data() {
        QTest::addColumn<QStringList>("args");  // empty: the server already running
        QTest::addColumn<QString>("how");       // post or send 40001, or terminate
        QTest::newRow("headless, posted close") << QStringList() << "post";
        QTest::newRow("headless, terminated") << QStringList{"--headless"} << "terminate";
        // The test runs offscreen, so the window can be real here.
        QTest::newRow("windowed, jump dialog open, sent close")
            << QStringList{"--tracks", "2"} << "send";
    }
    void closeEndsProgram() {
        QFETCH(QStringList, args);
        QFETCH(QString, how);
        if (!args.isEmpty()) {
            QVERIFY(StartServer(args) != 0);
        }
        const HWND closing = window;
        const QString socketPath = platform::RuntimeFolder() + "/h" + QString::number(closing);
        QVERIFY(QFile::exists(socketPath));
        if (!args.isEmpty() && !args.contains("--headless")) {
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
        QCOMPARE(platform::FindWindowA(WinampClass, nullptr), HWND(0));
        QCOMPARE(Ask(closing, 1024, 0, 124), LRESULT(0));
        QVERIFY(!QFile::exists(socketPath));
    }
};

QTEST_MAIN(tst_WinampSimProcess)
#include "tst_winampsim_process.moc"
