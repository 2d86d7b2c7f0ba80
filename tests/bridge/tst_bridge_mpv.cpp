// The real winamp-bridge in front of the real mpv (IPC and MPRIS) and audacious, on a private bus.
// Waits poll until a generous deadline, so a loaded machine only makes it slower.
#include <QDBusConnection>
#include <QDBusInterface>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <csignal>

#include "platform/Win32.h"
#include "support/Files.h"
#include "support/Wav.h"
#include "support/WindowProcess.h"

using platform::LRESULT;
using testsupport::TempPath;

#define WAIT(condition) QVERIFY(QTest::qWaitFor([&] { return condition; }, WaitMs))

namespace {

constexpr int WaitMs = 20000;
constexpr const char* WinampClass = "Winamp v1.x";

platform::HWND winamp = 0;  // the bridge's window

LRESULT Ask(platform::LPARAM what, platform::WPARAM wParam = 0) {
    return platform::SendMessageA(winamp, 1024, wParam, what);
}
void Post(platform::WPARAM command) {
    platform::PostMessageA(winamp, 273, command, 0);
}

// mpv, with a socket of the test's own to read its properties.
struct Mpv {
    QProcess process;
    QLocalSocket socket;
    QString socketPath;
    ~Mpv() {
        process.kill();
        process.waitForFinished(WaitMs);
    }
    bool Start(const QString& name, const QStringList& files, const QProcessEnvironment& env,
               const QStringList& extra = {}) {
        socketPath = TempPath(name + ".sock");
        process.setProcessEnvironment(env);
        process.start("mpv",
                      QStringList{"--idle", "--pause", "--ao=null", "--vo=null", "--no-terminal",
                                  "--no-config", "--input-ipc-server=" + socketPath} +
                          extra + files);
        return QTest::qWaitFor(
            [this] { return socket.connectToServer(socketPath), socket.waitForConnected(100); },
            WaitMs);
    }
    QJsonValue Get(const char* property) {  // mpv's events to all clients are passed over
        socket.write(QByteArray(R"({"command":["get_property",")") + property +
                     R"("],"request_id":1})" + '\n');
        QJsonObject reply;
        while (reply.value("request_id") != 1) {
            while (!socket.canReadLine()) {
                if (!socket.waitForReadyRead(WaitMs)) {
                    return {};
                }
            }
            reply = QJsonDocument::fromJson(socket.readLine()).object();
        }
        return reply.value("data");
    }
};

}  // namespace

class tst_BridgeMpv : public QObject {
    Q_OBJECT
    QProcess bridge;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString six = TempPath("six.wav"), four = TempPath("four.wav");

    bool StartBridge(const QStringList& args) {
        winamp = testsupport::StartWindowProcess(
            bridge, QCoreApplication::applicationDirPath() + "/winamp-bridge", args, WinampClass,
            WaitMs);
        return winamp != 0;
    }

  private slots:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable("mpv").isEmpty(),
                 "mpv is missing (scripts/setup.sh installs it)");
        QVERIFY(testsupport::WriteSilence(six, 6) && testsupport::WriteSilence(four, 4));
    }
    void cleanup() {
        bridge.terminate();
        if (!bridge.waitForFinished(WaitMs)) {
            bridge.kill();
        }
    }

    void overIpc() {
        // Started from the songs' folder by a shell, which keeps PWD, mpv's working directory.
        Mpv mpv;
        QProcessEnvironment there = env;
        there.insert("PWD", QFileInfo(four).absolutePath());
        mpv.process.setWorkingDirectory(there.value("PWD"));
        QVERIFY(mpv.Start("ipc", {six, QFileInfo(four).fileName()}, there));
        bridge.setProcessChannelMode(QProcess::ForwardedOutputChannel);  // its errors are read
        QVERIFY(StartBridge({"--mpv", mpv.socketPath}));
        const auto idle = [&mpv] { return mpv.Get("idle-active") == true; };

        // The transport commands as Winamp takes them, checked on mpv itself.
        WAIT(Ask(124) == 2);
        for (int i = 0; i < 3; ++i) {  // play, pause, resume
            Post(i == 0 ? 40045 : 40046);
            WAIT(Ask(104) == (i == 1 ? 3 : 1) && mpv.Get("pause") == (i == 1));
        }
        Post(40147);  // the fade: quieter while still playing, then stopped, the volume back
        WAIT(mpv.Get("volume").toDouble() < 90 && Ask(104) == 1);
        WAIT(Ask(104) == 0 && idle() && mpv.Get("volume").toDouble() > 99);

        // Stop after the current track: mpv idle with its list kept, the next entry not started.
        Post(40045);
        WAIT(Ask(104) == 1 && mpv.Get("time-pos").toDouble() > 0.2);
        platform::SendMessageA(winamp, 1024, 5000, 106);
        Post(40157);
        WAIT(mpv.Get("keep-open") == "always");
        WAIT(idle() && Ask(104) == 0);
        QVERIFY(mpv.Get("keep-open") != "always" && Ask(125) == 0);
        QCOMPARE(mpv.Get("playlist-count").toInt(), 2);

        // The entry set takes effect on Play.
        platform::PostMessageA(winamp, 1024, 1, 121);
        Post(40045);
        WAIT(mpv.Get("playlist-pos").toInt() == 1 && Ask(105) > 0);
        QCOMPARE(Ask(105, 1), LRESULT(4));
        // The playing file, given to mpv from its own folder.
        const auto file =
            QString::fromStdU16String(platform::ReadText(winamp, {1024, 17201, 1024, 17202}));
        QVERIFY2(QFileInfo(file).isAbsolute() && QFileInfo(file) == QFileInfo(four),
                 qPrintable(file));

        // mpv killed mid-song, then back: the bridge answers 0, then mpv again.
        mpv.process.kill();
        WAIT(Ask(104) == 0 && Ask(105) == 0);
        Mpv again;
        QVERIFY(again.Start("ipc", {six}, env));
        WAIT(Ask(104) == 3);

        // SIGTERM while serving and connected: window closed, exit 0, nothing for the sanitizers.
        QVERIFY(::kill(pid_t(bridge.processId()), SIGTERM) == 0);
        QVERIFY(bridge.waitForFinished(WaitMs));
        const QByteArray errors = bridge.readAllStandardError();
        bridge.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QVERIFY2(bridge.exitStatus() == QProcess::NormalExit && bridge.exitCode() == 0 &&
                     !errors.contains("runtime error") && !errors.contains("Sanitizer"),
                 errors.constData());
        QCOMPARE(platform::FindWindowA(WinampClass, nullptr), platform::HWND(0));
    }

    // A real MPRIS player (audacious into a silent jackd): the listener's seek back and Next are
    // followed, the Next never stops it under stop-after-current, the next track's end does.
    void overMpris_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("mpv") << "mpv";
        QTest::newRow("audacious") << "audacious";
    }
    void overMpris() {
        QFETCH(QString, name);
        if (name == "audacious" && (QStandardPaths::findExecutable("audacious").isEmpty() ||
                                    QStandardPaths::findExecutable("jackd").isEmpty())) {
            QSKIP("audacious or jackd is missing (scripts/setup.sh installs them)");
        }
        QProcess bus, jack, audacious;
        bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        WAIT(bus.canReadLine());
        const QString address = QString::fromUtf8(bus.readLine()).trimmed();
        env.insert("DBUS_SESSION_BUS_ADDRESS", address);
        // jackd ended by a signal it can handle, or its server stays registered for good.
        auto stopAll = qScopeGuard([&] {
            for (QProcess* p : {&audacious, &jack, &bus}) {
                p == &jack ? p->terminate() : p->kill();
                p->waitForFinished(WaitMs);
            }
            env.remove("DBUS_SESSION_BUS_ADDRESS");
        });
        Mpv mpv;
        if (name == "mpv") {
            QVERIFY(mpv.Start("mpris", {six, four, six}, env,
                              {"--script=/usr/lib/mpv-mpris/mpris.so"}));
        } else {
            // audacious finds its output in the plug-in registry; the server name is ours.
            const QString server =
                "cantorix-" + QString::number(QCoreApplication::applicationPid());
            env.insert("JACK_DEFAULT_SERVER", server);
            env.insert("XDG_CONFIG_HOME", TempPath("config"));
            QVERIFY(QDir().mkpath(TempPath("config/audacious")) &&
                    testsupport::WriteBytes(
                        TempPath("config/audacious/plugin-registry"),
                        "format 11\noutput /usr/lib/x86_64-linux-gnu/audacious/Output/jack-ng.so\n"
                        "stamp 1679557635\nversion 48\nflags 0\nname JACK Output\ndomain "
                        "audacious-plugins\npriority 10\nabout 0\nconfig 1\nenabled 1\n"));
            jack.setProcessEnvironment(env);
            jack.start("jackd", {"-n", server, "--no-realtime", "-d", "dummy", "-r", "8000"});
            QVERIFY(QProcess::execute("jack_wait", {"-s", server, "-w", "-t", "20"}) == 0);
            audacious.setProcessEnvironment(env);
            audacious.start("audacious", {"-H", six, four, six});
        }
        bridge.setProcessEnvironment(env);
        QVERIFY(StartBridge({"--mpris", name}));
        QDBusConnection test = QDBusConnection::connectToBus(address, "test");
        auto forget = qScopeGuard([] { QDBusConnection::disconnectFromBus("test"); });
        const auto title = [] {
            return QString::fromStdU16String(platform::GetWindowTextW(winamp));
        };
        WAIT(!title().isEmpty() && title() != "Winamp");  // the player is there
        QDBusInterface player("org.mpris.MediaPlayer2." + name, "/org/mpris/MediaPlayer2",
                              "org.mpris.MediaPlayer2.Player", test);

        Post(40045);
        WAIT(Ask(104) == 1 && Ask(105) > 2500);
        player.call("Seek", qlonglong(-2500000));
        WAIT(Ask(105) < 2000);
        Post(40157);
        player.call("Next");
        WAIT(title().contains("four") && Ask(105) > 1000);
        QVERIFY(Ask(104) == 1 && player.property("PlaybackStatus") == "Playing");
        WAIT(Ask(104) == 0);
        WAIT(player.property("PlaybackStatus") == "Paused" &&
             player.property("Position").toLongLong() < 500000);
        QVERIFY2(title().contains("six") && title().endsWith(" - Winamp [Stopped]"),
                 qPrintable(title()));

        (name == "mpv" ? mpv.process : audacious).kill();
        WAIT(Ask(104) == 0 && title() == "Winamp" && bridge.state() == QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(tst_BridgeMpv)
#include "tst_bridge_mpv.moc"
