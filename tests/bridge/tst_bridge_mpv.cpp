// The real winamp-bridge in front of the real mpv (no sound card: --ao=null), over mpv's
// IPC and over MPRIS on a private session bus, and the real cantorix following a song
// through it. What mpv does is read from mpv itself, through a socket of its own.
// Every wait polls until a generous deadline, so a loaded machine only makes it slower.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
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
#include <functional>

#include "lyrics/LyricsFile.h"
#include "platform/Win32.h"
#include "support/Files.h"
#include "support/Wav.h"
#include "support/WindowProcess.h"

using platform::LRESULT;
using testsupport::TempPath;

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

bool Eventually(const std::function<bool()>& holds, int ms = WaitMs) {
    const QDeadlineTimer deadline(ms);
    while (!holds()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(20);
    }
    return true;
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
    bool Start(const QString& name, const QStringList& files, const QStringList& extra,
               const QProcessEnvironment& env) {
        socketPath = TempPath(name + ".sock");
        process.setProcessEnvironment(env);
        process.start("mpv",
                      QStringList{"--idle", "--pause", "--ao=null", "--vo=null", "--no-terminal",
                                  "--no-config", "--input-ipc-server=" + socketPath} +
                          extra + files);
        return Eventually([this] {
            socket.connectToServer(socketPath);
            return socket.waitForConnected(100);
        });
    }
    QJsonValue Get(const char* property) {
        const QJsonObject ask{{"command", QJsonArray{"get_property", property}}, {"request_id", 1}};
        socket.write(QJsonDocument(ask).toJson(QJsonDocument::Compact) + '\n');
        for (QDeadlineTimer deadline(WaitMs); !deadline.hasExpired();) {
            while (socket.canReadLine()) {
                const QJsonObject reply = QJsonDocument::fromJson(socket.readLine()).object();
                if (reply.value("request_id").toInt() == 1) {
                    return reply.value("data");
                }
            }
            socket.waitForReadyRead(100);
        }
        return {};
    }
};

}  // namespace

class tst_BridgeMpv : public QObject {
    Q_OBJECT
    QProcess bridge;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString six, four;

    bool StartBridge(const QStringList& args) {
        winamp = testsupport::StartWindowProcess(
            bridge, QCoreApplication::applicationDirPath() + "/winamp-bridge", args, WinampClass,
            WaitMs);
        return winamp != 0;
    }

    // The transport commands as Winamp takes them, checked on mpv itself. `stopped` tells
    // how mpv looks after a stop: idle over IPC, paused (at the start) over MPRIS.
    void DrivesMpv(Mpv& mpv, const std::function<bool()>& stopped) {
        QVERIFY(Eventually([] { return Ask(124) == 2 || Ask(104) == 3; }));
        Post(40045);
        QVERIFY(Eventually([&] { return Ask(104) == 1 && mpv.Get("pause") == false; }));
        QVERIFY(Eventually([&] { return mpv.Get("time-pos").toDouble() > 0.5; }));

        Post(40046);
        QVERIFY(Eventually([&] { return Ask(104) == 3 && mpv.Get("pause") == true; }));
        Post(40046);
        QVERIFY(Eventually([&] { return Ask(104) == 1 && mpv.Get("pause") == false; }));

        // The fade: playing and quieter meanwhile, then stopped with the volume back.
        Post(40147);
        // Seen together, so a busy machine that looks late cannot miss the quieter part.
        QVERIFY(Eventually([&] { return mpv.Get("volume").toDouble() < 90 && Ask(104) == 1; }));
        QVERIFY(Eventually([&] { return Ask(104) == 0 && stopped(); }));
        QVERIFY(Eventually([&] { return mpv.Get("volume").toDouble() > 99; }));
        QCOMPARE(Ask(105), LRESULT(0));

        // Play starts over; Stop stops at once.
        Post(40045);
        QVERIFY(Eventually([&] { return Ask(104) == 1 && mpv.Get("pause") == false; }));
        QVERIFY(mpv.Get("time-pos").toDouble() < 3);
        Post(40047);
        QVERIFY(Eventually([&] { return Ask(104) == 0 && stopped(); }));
    }

  private slots:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable("mpv").isEmpty(),
                 "mpv is missing (scripts/setup.sh installs it)");
        six = TempPath("six.wav"), four = TempPath("four.wav");
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
        QVERIFY(mpv.Start("ipc", {six, QFileInfo(four).fileName()}, {}, there));
        bridge.setProcessChannelMode(QProcess::ForwardedOutputChannel);  // its errors are read
        QVERIFY(StartBridge({"--mpv", mpv.socketPath}));
        const auto idle = [&mpv] { return mpv.Get("idle-active") == true; };
        DrivesMpv(mpv, idle);

        // The entry set takes effect on Play. (Stop after the current track over IPC is
        // what the player asks for in cantorixFollowsMpv.)
        platform::PostMessageA(winamp, 1024, 1, 121);
        Post(40045);
        QVERIFY(Eventually([&] { return mpv.Get("playlist-pos").toInt() == 1 && Ask(105) > 0; }));
        QCOMPARE(Ask(105, 1), LRESULT(4));
        // The playing file, given to mpv from its own folder.
        const auto file =
            QString::fromStdU16String(platform::ReadText(winamp, {1024, 17201, 1024, 17202}));
        QVERIFY2(QFileInfo(file).isAbsolute() && QFileInfo(file) == QFileInfo(four),
                 qPrintable(file));

        // mpv killed mid-song, then back: the bridge answers 0, then mpv again.
        mpv.process.kill();
        QVERIFY(Eventually([] { return Ask(104) == 0 && Ask(105) == 0; }));
        Mpv again;
        QVERIFY(again.Start("ipc", {six}, {}, env));
        QVERIFY(Eventually([] { return Ask(104) == 3; }));

        // Ended by SIGTERM while it serves a client and is connected to mpv, it closes its
        // window and exits 0, with nothing for the sanitizers to report.
        QVERIFY(::kill(pid_t(bridge.processId()), SIGTERM) == 0);
        QVERIFY(bridge.waitForFinished(WaitMs));
        const QByteArray errors = bridge.readAllStandardError();
        bridge.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QVERIFY2(bridge.exitStatus() == QProcess::NormalExit && bridge.exitCode() == 0,
                 errors.constData());
        QVERIFY2(!errors.contains("runtime error") && !errors.contains("Sanitizer"),
                 errors.constData());
        QCOMPARE(platform::FindWindowA(WinampClass, nullptr), platform::HWND(0));
    }

    // A real MPRIS player on a private bus (audacious playing into a silent jackd): the
    // listener's seek back and Next in the player itself are followed, and the Next does not
    // stop it though stop-after-current was asked; the end of the next track does. The
    // window title names the track.
    void overMpris_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("mpv") << "mpv";
        QTest::newRow("audacious") << "audacious";
    }
    void overMpris() {
        QFETCH(QString, name);
        if (QStandardPaths::findExecutable(name == "mpv" ? "mpv" : "jackd").isEmpty() ||
            QStandardPaths::findExecutable(name).isEmpty()) {
            QSKIP(qPrintable(name + " or jackd is missing (scripts/setup.sh installs them)"));
        }
        QProcess bus, jack, audacious;
        bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(Eventually([&] { return bus.canReadLine(); }));
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
            QVERIFY(mpv.Start("mpris", {six, four, six}, {"--script=/usr/lib/mpv-mpris/mpris.so"},
                              env));
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
                        "stamp 1679557635\nversion 48\nflags 0\nname JACK Output\n"
                        "domain audacious-plugins\npriority 10\nabout 0\nconfig 1\nenabled 1\n"));
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
        const QString service = "org.mpris.MediaPlayer2." + name;
        const auto call = [&](const QString& interface, const QString& method,
                              const QVariantList& args = {}) {
            QDBusMessage m = QDBusMessage::createMethodCall(service, "/org/mpris/MediaPlayer2",
                                                            interface, method);
            m.setArguments(args);
            return test.call(m).arguments().value(0).value<QDBusVariant>().variant();
        };
        const auto player = [&](const char* property) {
            return call("org.freedesktop.DBus.Properties", "Get",
                        {"org.mpris.MediaPlayer2.Player", property});
        };
        const auto title = [] {
            return QString::fromStdU16String(platform::GetWindowTextW(winamp));
        };
        QVERIFY(Eventually([&] { return !title().isEmpty() && title() != "Winamp"; }));
        if (name == "mpv") {
            DrivesMpv(mpv, [&mpv] {
                return mpv.Get("pause") == true && mpv.Get("time-pos").toDouble() < 0.5;
            });
        }

        Post(40045);
        QVERIFY(Eventually([] { return Ask(104) == 1 && Ask(105) > 2500; }));
        call("org.mpris.MediaPlayer2.Player", "Seek", {qlonglong(-2500000)});
        QVERIFY(Eventually([] { return Ask(105) < 2000; }));
        Post(40157);
        call("org.mpris.MediaPlayer2.Player", "Next");
        QVERIFY(Eventually([&] { return title().contains("four") && Ask(105) > 1000; }));
        QVERIFY(Ask(104) == 1 && player("PlaybackStatus") == "Playing");
        QVERIFY(Eventually([] { return Ask(104) == 0; }));
        QVERIFY(Eventually([&] {
            return player("PlaybackStatus") == "Paused" && player("Position").toLongLong() < 500000;
        }));
        QVERIFY2(title().contains("six") && title().endsWith(" - Winamp [Stopped]"),
                 qPrintable(title()));

        (name == "mpv" ? mpv.process : audacious).kill();
        QVERIFY(Eventually([&] { return Ask(104) == 0 && title() == "Winamp"; }));
        QCOMPARE(bridge.state(), QProcess::Running);
    }

    // cantorix --play follows the song by the bridge's answers, as it does winamp-sim's.
    void cantorixFollowsMpv() {
        const QString song = TempPath("song.cx3"), trace = TempPath("bridge.log");
        QVERIFY(lyrics::WriteLyricsFile(
            song, "Song - Bridge Band",
            {{0.5, "one"}, {1.0, "two"}, {1.5, "three"}, {2.0, "four"}, {std::nullopt, "end"}}, 4));
        Mpv mpv;
        QVERIFY(mpv.Start("e2e", {six, four}, {}, env));
        QVERIFY(StartBridge({"--trace", trace, "--mpv", mpv.socketPath}));
        QVERIFY(Eventually([] { return Ask(124) == 2; }));
        QProcess player;
        player.setProcessChannelMode(QProcess::ForwardedChannels);
        player.start(QCoreApplication::applicationDirPath() + "/cantorix", {"--play", song});

        // The lines run out at 2 s; the track plays on to its end at 6 s and stops there.
        const auto traced = [&trace](const QByteArray& what) {
            return testsupport::ReadBytes(trace).contains(what);
        };
        QVERIFY(Eventually([&] { return traced(" post 273 40157 0\n"); }));
        QVERIFY(Eventually([&] { return mpv.Get("time-pos").toDouble() > 2.5; }));
        QCOMPARE(Ask(104), LRESULT(1));
        QVERIFY(Eventually([&] { return mpv.Get("idle-active") == true; }));
        QCOMPARE(mpv.Get("playlist-count").toInt(), 2);
        QVERIFY(mpv.Get("keep-open") != "always" && Ask(125) == 0);

        // Position queries from Play on, rising, past the last line's 2 s, then no more.
        QList<qint64> answers;
        for (const QByteArray& line : testsupport::ReadBytes(trace).split('\n')) {
            if (line.contains(" send 1024 0 105 ")) {
                answers << line.split(' ').last().toLongLong();
            }
        }
        QVERIFY2(answers.size() >= 20, qPrintable(QString::number(answers.size())));
        for (qsizetype i = 1; i < answers.size(); ++i) {
            QVERIFY2(answers[i] >= answers[i - 1] - 20, qPrintable(QString::number(i)));
        }
        QVERIFY(answers.last() >= 2000 && answers.last() < 2500);
        QCOMPARE(player.state(), QProcess::Running);

        // mpv killed under the player: nothing crashes, and nothing comes of it.
        mpv.process.kill();
        QVERIFY(Eventually([] { return Ask(104) == 0; }));
        QTest::qWait(500);
        QVERIFY(player.state() == QProcess::Running && bridge.state() == QProcess::Running);
        player.kill();
        player.waitForFinished(WaitMs);
    }
};

QTEST_GUILESS_MAIN(tst_BridgeMpv)
#include "tst_bridge_mpv.moc"
