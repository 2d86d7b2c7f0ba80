#include "bridge/Program.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "bridge/Bridge.h"
#include "bridge/MprisPlayer.h"
#include "bridge/MpvPlayer.h"
#include "bridge/Say.h"
#include "platform/LocalWindow.h"
#include "platform/Terminate.h"
#include "winamp/Answer.h"
#include "winamp/Messages.h"
#include "winamp/RealClock.h"
#include "winamp/Trace.h"

namespace bridge {

namespace {
// Often enough for a smooth fade of 1.5 s.
constexpr int TickMs = 50;
}  // namespace

void Say(const QString& text) {
    std::fprintf(stderr, "winamp-bridge: %s\n", qPrintable(text));
    std::fflush(stderr);
}

Options ParseOptions(const QStringList& given) {
    Options options;
    QStringList args = given;
    if (args.value(0) == "--trace" && args.size() >= 2) {
        options.TraceFile = args[1];
        args = args.mid(2);
    }
    const QString first = args.value(0);
    if (first == "--help" || first == "-h") {
        options.Ok = args.size() == 1;
    } else if (first == "--version") {
        options.RunMode = Options::Mode::Version;
        options.Ok = args.size() == 1;
    } else if (first == "--mpv") {
        options.RunMode = Options::Mode::Mpv;
        options.Target = args.value(1);
        options.Ok = args.size() == 2 && !options.Target.isEmpty();
    } else if (first == "--mpris") {
        options.RunMode = Options::Mode::Mpris;
        options.Target = args.value(1);
        options.Ok = args.size() <= 2 && !options.Target.startsWith('-');
    }
    if (!options.Ok) {
        options.Error = args.isEmpty() ? QStringLiteral("say which player to serve")
                                       : QStringLiteral("cannot use: %1").arg(args.join(' '));
    }
    return options;
}

int Run(int& argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    const Options options = ParseOptions(args);
    if (!options.Ok) {
        return platform::PrintUsageError(Help, options.Error);
    }
    if (options.RunMode == Options::Mode::Help) {
        return platform::PrintHelp(Help);
    }
    if (options.RunMode == Options::Mode::Version) {
        return platform::PrintVersion(Help);
    }

    QCoreApplication app(argc, argv);
    if (const platform::HWND other = platform::FindWindowA(winamp::WindowClass, nullptr)) {
        Say(QStringLiteral("a Winamp window is already running (handle %1)").arg(other));
        return ExitNoWindow;
    }

    std::unique_ptr<Player> player;
    if (options.RunMode == Options::Mode::Mpv) {
        player = std::make_unique<MpvPlayer>(options.Target);
    } else {
        player = std::make_unique<MprisPlayer>(options.Target);
    }
    winamp::RealClock clock;
    Bridge bridge(clock, *player);
    winamp::Trace trace;
    QString error;
    if (!options.TraceFile.isEmpty() && !trace.Open(options.TraceFile, &error)) {
        Say(error);
        return ExitBadInput;
    }

    // Ticks only while the bridge has something to move on, so an idle bridge sleeps.
    QTimer ticker;
    ticker.setInterval(TickMs);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        bridge.Tick();
        if (!bridge.NeedsTick()) {
            ticker.stop();
        }
    });
    platform::LocalWindow window(
        QString::fromLatin1(winamp::WindowClass),
        [&](const platform::Message& m) {
            const auto text =
                platform::WindowTextAnswer(bridge.WindowTitle().toStdU16String(), m.Msg, m.WParam);
            platform::LRESULT answer =
                text ? *text : winamp::AnswerMessage(bridge, m.Msg, m.WParam, m.LParam);
            answer = m.Posted ? 0 : answer;
            if (bridge.NeedsTick() && !ticker.isActive()) {
                ticker.start();
            }
            if (trace.IsOpen()) {
                trace.Write(clock.NowMs(), m, answer);
            }
            return answer;
        },
        platform::LocalWindow::Scope::System);
    if (!window.IsOpen()) {
        Say(QStringLiteral("cannot serve the Winamp window: %1").arg(window.ErrorString()));
        return ExitNoWindow;
    }
    platform::QuitOnTerminate(app);

    player->Attach(bridge);
    return app.exec();
}

}  // namespace bridge
