#include "winamp-sim/Program.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "platform/LocalWindow.h"
#include "platform/Win32.h"
#include "winamp-sim/M3u.h"
#include "winamp-sim/RealClock.h"
#include "winamp-sim/SimWindow.h"
#include "winamp-sim/Terminate.h"
#include "winamp-sim/Trace.h"
#include "winamp-sim/Winamp.h"
#include "winamp/Messages.h"

namespace winampsim {

namespace {

void Complain(const QString& message) {
    std::fprintf(stderr, "winamp-sim: %s\n", qPrintable(message));
    std::fflush(stderr);
}

}  // namespace

int RunServer(const Options& options, int& argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();

    TrackList tracks;
    if (options.Playlist.isEmpty()) {
        tracks = GenerateTracks(options.TrackCount, options.TrackLengthS);
    } else {
        const PlaylistLoad load = LoadM3u(options.Playlist);
        if (!load.Ok) {
            Complain(load.Error);
            return ExitBadInput;
        }
        tracks = load.Tracks;
    }

    // Without a window there is no need for a display either, so a headless run works on
    // a machine without one.
    std::unique_ptr<QCoreApplication> app;
    if (options.Headless) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        app = std::make_unique<QApplication>(argc, argv);
    }

    if (const platform::HWND other = platform::FindWindowA(winamp::WindowClass, nullptr)) {
        Complain(QStringLiteral("a Winamp window is already running (handle %1)").arg(other));
        return ExitNoWinamp;
    }

    Trace trace;
    if (!options.TraceFile.isEmpty()) {
        QString error;
        if (!trace.Open(options.TraceFile, &error)) {
            Complain(error);
            return ExitBadInput;
        }
    }

    RealClock clock(options.Speed);
    Winamp model(clock, tracks);
    if (trace.IsOpen()) {
        QObject::connect(&model, &Winamp::MessageHandled, app.get(),
                         [&trace, &sinceStart](const Received& received) {
                             trace.Write(sinceStart.elapsed(), received.Message, received.Answer);
                         });
    }
    // Leave through the event loop, so the answer to a sent close still goes out.
    QObject::connect(&model, &Winamp::CloseRequested, app.get(), &QCoreApplication::quit,
                     Qt::QueuedConnection);

    platform::LocalWindow window(
        QString::fromLatin1(winamp::WindowClass),
        [&model](const platform::Message& message) { return model.Handle(message); },
        platform::LocalWindow::Scope::System);
    if (!window.IsOpen()) {
        Complain(QStringLiteral("cannot serve the Winamp window: %1").arg(window.ErrorString()));
        return ExitNoWinamp;
    }

    QuitOnTerminate(*app);

    std::unique_ptr<SimWindow> view;
    QTimer ticker;
    if (options.Headless) {
        QObject::connect(&ticker, &QTimer::timeout, &model, &Winamp::Tick);
        ticker.start(SimWindow::RefreshMs);
    } else {
        view = std::make_unique<SimWindow>(model);
        view->show();
    }
    return app->exec();
}

int RunClient(const Options& options, int& argc, char** argv) {
    QCoreApplication app(argc, argv);
    const platform::HWND window = platform::FindWindowA(winamp::WindowClass, nullptr);
    if (window == 0) {
        Complain(QStringLiteral("no Winamp window found (class \"%1\")").arg(winamp::WindowClass));
        return ExitNoWinamp;
    }
    if (options.RunMode == Options::Mode::Send) {
        const platform::LRESULT answer =
            platform::SendMessageA(window, options.Msg, options.WParam, options.LParam);
        std::printf("%lld\n", static_cast<long long>(answer));
        std::fflush(stdout);
        return ExitOk;
    }
    if (!platform::PostMessageA(window, options.Msg, options.WParam, options.LParam)) {
        Complain(QStringLiteral("could not post to the Winamp window (handle %1)").arg(window));
        return ExitNoWinamp;
    }
    return ExitOk;
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
    switch (options.RunMode) {
        case Options::Mode::Help:
            return platform::PrintHelp(Help);
        case Options::Mode::Version:
            return platform::PrintVersion(Help);
        case Options::Mode::Send:
        case Options::Mode::Post:
            return RunClient(options, argc, argv);
        case Options::Mode::Serve:
            break;
    }
    return RunServer(options, argc, argv);
}

}  // namespace winampsim
