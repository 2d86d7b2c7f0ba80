// Window messages: in-process windows, and windows served by other processes over local
// sockets. The test binary doubles as the serving and the client program: started with
// "--serve CLASS" it serves a window, with "--client CLASS SENDS POSTS" it talks to one.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/LocalWindow.h"
#include "platform/Win32.h"
#include "platform/WindowWire.h"
#include "support/WindowProcess.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace platform;

namespace {

// What the serving program understands.
enum : UINT {
    Accumulate = 1,   // post: acc = acc * 31 + wParam; count + 1
    Accumulated = 2,  // send: acc
    Count = 3,        // send: how many Accumulate arrived
    Reset = 4,        // send: acc and count back to 0
    Echo = 10,        // send: wParam * 3 + lParam
    Sleep = 11,       // send: sleeps lParam ms, answers wParam
    RecordPosted = 12,
    LastPosted = 13,  // send: 1 when the last RecordPosted came as a post, 2 for a send
    Tally = 14,       // post: tally + 1
    Tallied = 15,     // send: tally
    Echoes = 16,      // send: how many Echo arrived
    Quit = 99,
};

constexpr const char* ServedClass = "Cantorix Test Window";

std::uint32_t NextAcc(std::uint32_t acc, WPARAM value) {
    return acc * 31u + static_cast<std::uint32_t>(value);
}

LRESULT EchoOf(WPARAM wParam, LPARAM lParam) {
    return static_cast<LRESULT>(static_cast<std::uint64_t>(wParam) * 3u +
                                static_cast<std::uint64_t>(lParam));
}

int ServeMain(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::uint32_t acc = 0;
    LRESULT count = 0, tally = 0, echoes = 0, lastPosted = 0;
    LocalWindow window(
        QString::fromLocal8Bit(argv[2]),
        [&](const Message& m) -> LRESULT {
            switch (m.msg) {
                case Accumulate:
                    acc = NextAcc(acc, m.wParam);
                    ++count;
                    return 0;
                case Accumulated:
                    return acc;
                case Count:
                    return count;
                case Reset:
                    acc = 0;
                    count = 0;
                    return 1;
                case Echo:
                    ++echoes;
                    return EchoOf(m.wParam, m.lParam);
                case Sleep:
                    QThread::msleep(static_cast<unsigned long>(m.lParam));
                    return static_cast<LRESULT>(m.wParam);
                case RecordPosted:
                    lastPosted = m.posted ? 1 : 2;
                    return 0;
                case LastPosted:
                    return lastPosted;
                case Tally:
                    ++tally;
                    return 0;
                case Tallied:
                    return tally;
                case Echoes:
                    return echoes;
                case Quit:
                    app.quit();
                    return 0;
                default:
                    return 0;
            }
        },
        LocalWindow::Scope::System);
    if (!window.IsOpen()) {
        std::fprintf(stderr, "cannot serve: %s\n", qPrintable(window.ErrorString()));
        return 2;
    }
    return app.exec();
}

int ClientMain(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const HWND window = FindWindowA(argv[2], nullptr);
    if (window == 0) {
        return 3;
    }
    const int sends = QByteArray(argv[3]).toInt();
    const int posts = QByteArray(argv[4]).toInt();
    for (int i = 0; i < sends; ++i) {
        if (SendMessageA(window, Echo, static_cast<WPARAM>(i), 7) != EchoOf(i, 7)) {
            return 1;
        }
    }
    // Posted just before exiting: they must still arrive.
    for (int i = 0; i < posts; ++i) {
        PostMessageA(window, Tally, 0, 0);
    }
    return 0;
}

QString SelfPath() {
    return QCoreApplication::applicationFilePath();
}

// A handle that no window uses.
HWND UnusedHandle() {
    for (;;) {
        const auto h = static_cast<HWND>(QRandomGenerator::global()->bounded(1, 0x7fffffff));
        if (!QFileInfo::exists(wire::SocketPath(h))) {
            return h;
        }
    }
}

int RawConnect(const QString& path) {
    const QByteArray p = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, p.constData(), static_cast<std::size_t>(p.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int RawListen(const QString& path) {
    const QByteArray p = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, p.constData(), static_cast<std::size_t>(p.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(fd, 8) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// True when the peer closes fd within timeoutMs (reading and discarding what comes).
bool ClosedByPeer(int fd, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    char buffer[256];
    while (clock.elapsed() < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0) {
            const ssize_t n = ::recv(fd, buffer, sizeof(buffer), 0);
            if (n <= 0) {
                return true;
            }
        }
    }
    return false;
}

bool ReadFrame(int fd, unsigned char* frame, int timeoutMs) {
    std::size_t got = 0;
    QElapsedTimer clock;
    clock.start();
    while (got < wire::FrameSize && clock.elapsed() < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0) {
            const ssize_t n = ::recv(fd, frame + got, wire::FrameSize - got, 0);
            if (n <= 0) {
                return false;
            }
            got += static_cast<std::size_t>(n);
        }
    }
    return got == wire::FrameSize;
}

// A window served by hand at the socket of a made-up handle, answering every send the way
// a test asks for, so the client's handling of odd servers can be checked.
class FakeWindow {
  public:
    // Deaf never even accepts the connection; Never reads but does not answer.
    enum class Reply { StaleThenRight, Right, Garbage, WrongKind, Close, Never, Deaf };

    explicit FakeWindow(Reply reply) : reply(reply), handle(UnusedHandle()) {
        listenFd = RawListen(wire::SocketPath(handle));
        if (listenFd >= 0) {
            thread = std::thread([this] { Run(); });
        }
    }
    ~FakeWindow() {
        stop = true;
        if (thread.joinable()) {
            thread.join();
        }
        if (listenFd >= 0) {
            ::close(listenFd);
            QFile::remove(wire::SocketPath(handle));
        }
    }
    bool IsOpen() const { return listenFd >= 0; }
    HWND Handle() const { return handle; }

  private:
    void Run() {
        std::vector<int> open;
        while (!stop) {
            if (reply == Reply::Deaf) {
                QThread::msleep(20);
                continue;
            }
            std::vector<pollfd> fds{{listenFd, POLLIN, 0}};
            for (const int fd : open) {
                fds.push_back({fd, POLLIN, 0});
            }
            if (::poll(fds.data(), fds.size(), 20) <= 0) {
                continue;
            }
            for (std::size_t i = 1; i < fds.size(); ++i) {
                if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
                    continue;
                }
                if (!Answer(fds[i].fd) || reply == Reply::Close) {
                    ::close(fds[i].fd);
                    std::erase(open, fds[i].fd);
                }
            }
            if (fds[0].revents & POLLIN) {
                const int fd = ::accept(listenFd, nullptr, nullptr);
                if (fd >= 0) {
                    open.push_back(fd);
                }
            }
        }
        for (const int fd : open) {
            ::close(fd);
        }
    }

    // Reads one frame from fd and replies to it; false when the client has gone.
    bool Answer(int fd) {
        unsigned char in[wire::FrameSize];
        if (!ReadFrame(fd, in, 2000)) {
            return false;
        }
        const auto request = wire::Decode(in);
        if (!request) {
            return false;
        }
        auto write = [fd](const wire::Frame& f) {
            const QByteArray bytes = wire::Encode(f);
            (void)!::send(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()),
                          MSG_NOSIGNAL);
        };
        switch (reply) {
            case Reply::StaleThenRight:
                write({wire::Kind::Answer, request->seq - 1, 0, 0, 111});
                write({wire::Kind::Answer, request->seq, 0, 0, 222});
                break;
            case Reply::Right:
                write({wire::Kind::Answer, request->seq, 0, 0, 222});
                break;
            case Reply::Garbage: {
                const char junk[wire::FrameSize] = "this is not an answer at all!!";
                (void)!::send(fd, junk, sizeof(junk), MSG_NOSIGNAL);
                break;
            }
            case Reply::WrongKind:
                write({wire::Kind::Post, request->seq, 0, 0, 222});
                break;
            case Reply::Close:
            case Reply::Never:
            case Reply::Deaf:
                break;
        }
        return true;
    }

    Reply reply;
    HWND handle;
    int listenFd = -1;
    std::atomic<bool> stop{false};
    std::thread thread;
};

// Stops a serving process: politely first, then for good.
void StopServer(QProcess& process, HWND window) {
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    PostMessageA(window, Quit, 0, 0);
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

}  // namespace

Q_DECLARE_METATYPE(FakeWindow::Reply)

class TestWindows : public QObject {
    Q_OBJECT

    QProcess server;
    HWND served = 0;

  private slots:
    void initTestCase() {
        served = testsupport::StartWindowProcess(server, SelfPath(), {"--serve", ServedClass},
                                                 ServedClass);
        QVERIFY(served != 0);
    }

    void cleanupTestCase() { StopServer(server, served); }

    void runtimeFolderIsPrivate_data() {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<bool>("underXdg");
        QTest::addColumn<bool>("usable");
        QTest::newRow("fresh") << "fresh" << true << true;
        QTest::newRow("loose mode is tightened") << "loose" << true << true;
        QTest::newRow("a symlink is refused") << "symlink" << true << false;
        QTest::newRow("a file is refused") << "file" << true << false;
        QTest::newRow("no XDG_RUNTIME_DIR") << "unset" << false << true;
        QTest::newRow("socket path too long") << "long" << false << true;
    }
    void runtimeFolderIsPrivate() {
        QFETCH(QString, setUp);
        QFETCH(bool, underXdg);
        QFETCH(bool, usable);
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", saved); });
        QTemporaryDir base(QDir::tempPath() + "/cxr-XXXXXX");
        QVERIFY(base.isValid());
        QString xdg = base.path();
        const QString target = xdg + "/cantorix";
        const QByteArray t = QFile::encodeName(target);
        if (setUp == "loose") {
            QVERIFY(::mkdir(t.constData(), 0755) == 0);
        } else if (setUp == "symlink") {
            QVERIFY(QDir(xdg).mkdir("elsewhere"));
            QVERIFY(::chmod(QFile::encodeName(xdg + "/elsewhere").constData(), 0700) == 0);
            QVERIFY(QFile::link(xdg + "/elsewhere", target));
        } else if (setUp == "file") {
            QFile f(target);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (setUp == "long") {
            xdg += "/" + QString(100, 'x');
            QVERIFY(QDir().mkpath(xdg));
        }
        if (setUp == "unset") {
            qunsetenv("XDG_RUNTIME_DIR");
        } else {
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(xdg));
        }

        const QString folder = RuntimeFolder();
        if (!usable) {
            QCOMPARE(folder, QString());
            QCOMPARE(FindWindowA(ServedClass, nullptr), HWND(0));
            LocalWindow refused(
                "Cantorix Test Refused", [](const Message&) { return 1; },
                LocalWindow::Scope::System);
            QVERIFY(!refused.IsOpen());
            QVERIFY(!refused.ErrorString().isEmpty());
            return;
        }
        const QString expected = underXdg ? target : QString("/tmp/cantorix-%1").arg(::getuid());
        QCOMPARE(folder, expected);
        struct stat st {};
        QVERIFY(::lstat(QFile::encodeName(folder).constData(), &st) == 0);
        QVERIFY(S_ISDIR(st.st_mode));
        QCOMPARE(st.st_mode & 07777, mode_t(0700));
        QCOMPARE(st.st_uid, ::getuid());
        QVERIFY(sizeof(sockaddr_un{}.sun_path) > std::size_t(wire::SocketPath(0x7fffffff).size()));
    }

    void processWindowDeliversInOrder() {
        QList<QPair<UINT, bool>> seen;
        auto window = std::make_unique<LocalWindow>(
            "Cantorix Test Local",
            [&](const Message& m) -> LRESULT {
                seen.append({m.msg, m.posted});
                return static_cast<LRESULT>(m.wParam + 1000 * m.msg);
            },
            LocalWindow::Scope::Process);
        QVERIFY(window->IsOpen());
        const HWND h = window->Handle();
        QVERIFY(h != 0 && h <= 0x7fffffff);
        QCOMPARE(FindWindowA("Cantorix Test Local", nullptr), h);

        QVERIFY(PostMessageA(h, 1, 0, 0));
        QCOMPARE(seen.size(), 1);  // delivered before PostMessageA returned
        QCOMPARE(SendMessageA(h, 2, 5, 0), LRESULT(2005));
        QVERIFY(PostMessageA(h, 3, 0, 0));
        QCOMPARE(seen, (QList<QPair<UINT, bool>>{{1, true}, {2, false}, {3, true}}));

        window.reset();
        QCOMPARE(FindWindowA("Cantorix Test Local", nullptr), HWND(0));
        QCOMPARE(SendMessageA(h, 2, 5, 0), LRESULT(0));
        QVERIFY(!PostMessageA(h, 1, 0, 0));
        QCOMPARE(seen.size(), 3);

        LocalWindow again(
            "Cantorix Test Local", [](const Message&) { return 1; }, LocalWindow::Scope::Process);
        QVERIFY(again.Handle() != h);
        QCOMPARE(SendMessageA(h, 2, 5, 0), LRESULT(0));
        QCOMPARE(SendMessageA(again.Handle(), 2, 5, 0), LRESULT(1));
    }

    void newestWindowOfAClassIsFound() {
        auto answer = [](LRESULT value) { return [value](const Message&) { return value; }; };
        auto older = std::make_unique<LocalWindow>("Cantorix Test Twin", answer(1),
                                                   LocalWindow::Scope::Process);
        auto newer = std::make_unique<LocalWindow>("Cantorix Test Twin", answer(2),
                                                   LocalWindow::Scope::Process);
        QCOMPARE(FindWindowA("Cantorix Test Twin", nullptr), newer->Handle());
        newer.reset();
        QCOMPARE(FindWindowA("Cantorix Test Twin", nullptr), older->Handle());
        older.reset();
        QCOMPARE(FindWindowA("Cantorix Test Twin", nullptr), HWND(0));
    }

    void deadHandlesAnswerNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("zero") << "zero";
        QTest::newRow("never served") << "never";
        QTest::newRow("closed process window") << "process";
        QTest::newRow("closed system window") << "system";
    }
    void deadHandlesAnswerNothing() {
        QFETCH(QString, kind);
        int calls = 0;
        auto handler = [&calls](const Message&) -> LRESULT { return ++calls; };
        HWND h = 0;
        if (kind == "never") {
            h = UnusedHandle();
        } else if (kind != "zero") {
            LocalWindow window(
                "Cantorix Test Dead", handler,
                kind == "process" ? LocalWindow::Scope::Process : LocalWindow::Scope::System);
            QVERIFY(window.IsOpen());
            h = window.Handle();
        }
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(SendMessageA(h, Echo, 1, 2), LRESULT(0));
        QVERIFY(!PostMessageA(h, Echo, 1, 2));
        QVERIFY2(clock.elapsed() < 450, "a dead window must not be waited for");
        QCOMPARE(calls, 0);
        if (kind == "system") {
            QVERIFY(!QFileInfo::exists(wire::SocketPath(h)));
        }
    }

    void roundTripBetweenProcesses_data() {
        QTest::addColumn<quint64>("wParam");
        QTest::addColumn<qint64>("lParam");
        QTest::newRow("zeros") << quint64(0) << qint64(0);
        QTest::newRow("small") << quint64(5) << qint64(105);
        QTest::newRow("negative lParam") << quint64(1) << qint64(-1000);
        QTest::newRow("32-bit limits") << quint64(0xffffffffu) << qint64(0x7fffffff);
        QTest::newRow("wide wParam") << quint64(0x123456789abcULL) << qint64(-1);
    }
    void roundTripBetweenProcesses() {
        QFETCH(quint64, wParam);
        QFETCH(qint64, lParam);
        QCOMPARE(FindWindowA(ServedClass, nullptr), served);
        QCOMPARE(SendMessageA(served, Echo, wParam, lParam), EchoOf(wParam, lParam));
    }

    void sendIsHandledAfterEarlierPosts() {
        QCOMPARE(SendMessageA(served, Reset, 0, 0), LRESULT(1));
        std::uint32_t expected = 0;
        for (WPARAM i = 1; i <= 300; ++i) {
            QVERIFY(PostMessageA(served, Accumulate, i, 0));
            expected = NextAcc(expected, i);
            if (i % 100 == 0) {
                QCOMPARE(SendMessageA(served, Count, 0, 0), LRESULT(i));
            }
        }
        QCOMPARE(SendMessageA(served, Accumulated, 0, 0), LRESULT(expected));
    }

    void postedFlagReachesTheHandler() {
        QVERIFY(PostMessageA(served, RecordPosted, 0, 0));
        QCOMPARE(SendMessageA(served, LastPosted, 0, 0), LRESULT(1));
        SendMessageA(served, RecordPosted, 0, 0);
        QCOMPARE(SendMessageA(served, LastPosted, 0, 0), LRESULT(2));
    }

    void clientsAnswerFromOtherProcesses() {
        const LRESULT echoesBefore = SendMessageA(served, Echoes, 0, 0);
        const LRESULT talliedBefore = SendMessageA(served, Tallied, 0, 0);
        QProcess first, second;
        for (QProcess* p : {&first, &second}) {
            p->setProcessChannelMode(QProcess::ForwardedChannels);
            p->start(SelfPath(), {"--client", ServedClass, "300", "50"});
        }
        for (QProcess* p : {&first, &second}) {
            QVERIFY(p->waitForFinished(20000));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(p->exitCode(), 0);
        }
        QCOMPARE(SendMessageA(served, Echoes, 0, 0), echoesBefore + 600);
        QCOMPARE(SendMessageA(served, Tallied, 0, 0), talliedBefore + 100);
    }

    void threadsShareOneWindow() {
        std::atomic<int> wrong{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([t, &wrong, this] {
                for (int i = 0; i < 200; ++i) {
                    const LPARAM l = t * 1000 + i;
                    if (SendMessageA(served, Echo, static_cast<WPARAM>(i), l) != EchoOf(i, l)) {
                        ++wrong;
                    }
                    PostMessageA(served, Tally, 0, 0);
                }
            });
        }
        for (auto& t : threads) {
            t.join();
        }
        QCOMPARE(wrong.load(), 0);
    }

    void slowHandlerTimesOutThenRecovers() {
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(SendMessageA(served, Sleep, 42, 900), LRESULT(0));
        const qint64 waited = clock.elapsed();
        QVERIFY2(waited >= 400 && waited < 2000, qPrintable(QString::number(waited)));
        // The late answer must not be taken for the answer to a later send.
        QTRY_COMPARE_WITH_TIMEOUT(SendMessageA(served, Echo, 2, 1), EchoOf(2, 1), 5000);
        QCOMPARE(SendMessageA(served, Echo, 3, 1), EchoOf(3, 1));
    }

    void oddServers_data() {
        QTest::addColumn<FakeWindow::Reply>("reply");
        QTest::addColumn<LRESULT>("answer");
        QTest::addColumn<bool>("waitsForTimeout");
        QTest::newRow("right answer") << FakeWindow::Reply::Right << LRESULT(222) << false;
        QTest::newRow("stale answer first")
            << FakeWindow::Reply::StaleThenRight << LRESULT(222) << false;
        QTest::newRow("garbage") << FakeWindow::Reply::Garbage << LRESULT(0) << false;
        QTest::newRow("not an answer") << FakeWindow::Reply::WrongKind << LRESULT(0) << false;
        QTest::newRow("hangs up") << FakeWindow::Reply::Close << LRESULT(0) << false;
        QTest::newRow("never answers") << FakeWindow::Reply::Never << LRESULT(0) << true;
    }
    void oddServers() {
        QFETCH(FakeWindow::Reply, reply);
        QFETCH(LRESULT, answer);
        QFETCH(bool, waitsForTimeout);
        FakeWindow fake(reply);
        QVERIFY(fake.IsOpen());
        for (int round = 0; round < 2; ++round) {
            QElapsedTimer clock;
            clock.start();
            QCOMPARE(SendMessageA(fake.Handle(), Echo, 1, 1), answer);
            const qint64 waited = clock.elapsed();
            if (waitsForTimeout) {
                QVERIFY2(waited >= 400, qPrintable(QString::number(waited)));
            }
            QVERIFY2(waited < 2000, qPrintable(QString::number(waited)));
        }
    }

    void postsNeverBlock() {
        // Nobody reads this window, so its socket fills up; posts are then lost, not waited on.
        FakeWindow fake(FakeWindow::Reply::Deaf);
        QVERIFY(fake.IsOpen());
        QVERIFY(PostMessageA(fake.Handle(), Tally, 0, 0));
        QElapsedTimer clock;
        clock.start();
        int handedOver = 0;
        bool lost = false;
        for (int i = 0; i < 200000 && !lost; ++i) {
            if (PostMessageA(fake.Handle(), Tally, 0, 0)) {
                ++handedOver;
            } else {
                lost = true;
            }
        }
        QVERIFY(lost);
        QVERIFY(handedOver > 0);
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    }

    void malformedBytesDropOnlyThatClient_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("serverHangsUp");
        auto frame = [](wire::Kind kind) { return wire::Encode({kind, 1, Echo, 1, 1}); };
        QByteArray wrongMagic = frame(wire::Kind::Send);
        wrongMagic[0] = 'X';
        QByteArray unknownKind = frame(wire::Kind::Send);
        unknownKind[4] = 9;
        QTest::newRow("text") << QByteArray("GET / HTTP/1.0\r\n\r\nmore text to fill a frame")
                              << true;
        QTest::newRow("wrong magic") << wrongMagic << true;
        QTest::newRow("unknown kind") << unknownKind << true;
        QTest::newRow("an answer sent to the window") << frame(wire::Kind::Answer) << true;
        QTest::newRow("garbage after a good post")
            << frame(wire::Kind::Post) + QByteArray(40, '\xff') << true;
        QTest::newRow("short frame") << frame(wire::Kind::Send).left(10) << false;
    }
    void malformedBytesDropOnlyThatClient() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, serverHangsUp);
        const int fd = RawConnect(wire::SocketPath(served));
        QVERIFY(fd >= 0);
        auto closeFd = qScopeGuard([fd] { ::close(fd); });
        QCOMPARE(
            ::send(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()), MSG_NOSIGNAL),
            ssize_t(bytes.size()));
        QCOMPARE(ClosedByPeer(fd, serverHangsUp ? 3000 : 300), serverHangsUp);
        QCOMPARE(SendMessageA(served, Echo, 4, 4), EchoOf(4, 4));
        QCOMPARE(server.state(), QProcess::Running);
    }

    void systemWindowInThisProcess() {
        QThread* const mainThread = QThread::currentThread();
        QList<QPair<UINT, bool>> seen;
        bool onWindowThread = true;
        auto handler = [&](const Message& m) -> LRESULT {
            seen.append({m.msg, m.posted});
            onWindowThread = onWindowThread && QThread::currentThread() == mainThread;
            return static_cast<LRESULT>(m.wParam) + 1;
        };
        auto window = std::make_unique<LocalWindow>("Cantorix Test Here", handler,
                                                    LocalWindow::Scope::System);
        QVERIFY2(window->IsOpen(), qPrintable(window->ErrorString()));
        const HWND h = window->Handle();
        const QString socket = wire::SocketPath(h);
        const QString entry = wire::ClassEntryPath("Cantorix Test Here");
        QVERIFY(QFileInfo::exists(socket));
        QCOMPARE(QFile::symLinkTarget(entry), socket);
        QCOMPARE(FindWindowA("Cantorix Test Here", nullptr), h);

        // From its own thread a send is answered at once, without waiting on the socket.
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(SendMessageA(h, 1, 1, 0), LRESULT(2));
        QVERIFY(clock.elapsed() < 450);

        // From another thread the handler still runs here, in order.
        std::atomic<bool> done{false};
        LRESULT fromThread = -1;
        std::thread client([&] {
            PostMessageA(h, 2, 0, 0);
            fromThread = SendMessageA(h, 3, 41, 0);
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done.load(), 5000);
        client.join();
        QCOMPARE(fromThread, LRESULT(42));
        QCOMPARE(seen, (QList<QPair<UINT, bool>>{{1, false}, {2, true}, {3, false}}));
        QVERIFY(onWindowThread);

        window.reset();
        QVERIFY(!QFileInfo::exists(socket));
        QVERIFY(!QFileInfo::exists(entry) && !QFileInfo(entry).isSymLink());
        QCOMPARE(FindWindowA("Cantorix Test Here", nullptr), HWND(0));
    }

    void closingAnOlderWindowKeepsTheNewerEntry() {
        auto one = [](const Message&) -> LRESULT { return 1; };
        auto older =
            std::make_unique<LocalWindow>("Cantorix Test Pair", one, LocalWindow::Scope::System);
        LocalWindow newer("Cantorix Test Pair", one, LocalWindow::Scope::System);
        QVERIFY(older->IsOpen() && newer.IsOpen());
        QVERIFY(older->Handle() != newer.Handle());
        const QString entry = wire::ClassEntryPath("Cantorix Test Pair");
        QCOMPARE(QFile::symLinkTarget(entry), wire::SocketPath(newer.Handle()));
        older.reset();
        QCOMPARE(QFile::symLinkTarget(entry), wire::SocketPath(newer.Handle()));
        QCOMPARE(FindWindowA("Cantorix Test Pair", nullptr), newer.Handle());
    }

    void killedServerLeavesADeadHandle() {
        const char* cls = "Cantorix Test Restart";
        QProcess first;
        const HWND old = testsupport::StartWindowProcess(first, SelfPath(), {"--serve", cls}, cls);
        QVERIFY(old != 0);
        QCOMPARE(SendMessageA(old, Echo, 1, 1), EchoOf(1, 1));  // leaves a cached connection
        first.kill();
        QVERIFY(first.waitForFinished(5000));
        // The killed server could not clean up after itself.
        QVERIFY(QFileInfo::exists(wire::SocketPath(old)));
        QVERIFY(QFileInfo(wire::ClassEntryPath(cls)).isSymLink());
        QCOMPARE(FindWindowA(cls, nullptr), HWND(0));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(SendMessageA(old, Echo, 1, 1), LRESULT(0));
        QVERIFY(!PostMessageA(old, Tally, 0, 0));
        QVERIFY(clock.elapsed() < 450);

        QProcess second;
        const HWND renewed =
            testsupport::StartWindowProcess(second, SelfPath(), {"--serve", cls}, cls);
        QVERIFY(renewed != 0);
        QVERIFY(renewed != old);
        QCOMPARE(FindWindowA(cls, nullptr), renewed);
        QCOMPARE(SendMessageA(old, Echo, 1, 1), LRESULT(0));
        QCOMPARE(SendMessageA(renewed, Echo, 1, 1), EchoOf(1, 1));

        // A server that ends normally takes its socket and class entry with it.
        StopServer(second, renewed);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(wire::SocketPath(renewed)));
        QVERIFY(!QFileInfo(wire::ClassEntryPath(cls)).isSymLink());
        QCOMPARE(FindWindowA(cls, nullptr), HWND(0));
        QCOMPARE(SendMessageA(renewed, Echo, 1, 1), LRESULT(0));
        QFile::remove(wire::SocketPath(old));
    }
};

int main(int argc, char** argv) {
    if (argc >= 3 && qstrcmp(argv[1], "--serve") == 0) {
        return ServeMain(argc, argv);
    }
    if (argc >= 5 && qstrcmp(argv[1], "--client") == 0) {
        return ClientMain(argc, argv);
    }
    QCoreApplication app(argc, argv);
    TestWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_platform_windows.moc"
