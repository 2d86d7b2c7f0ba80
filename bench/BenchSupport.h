#pragma once
// What the benchmark programs share: timing a step several times and reading a number
// from the command line.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/Win32.h"
#include "winamp/Messages.h"

namespace bench {

inline constexpr int Runs = 9;

namespace detail {
inline QtMessageHandler previousHandler = nullptr;

// The offscreen platform says at every fixed-size window that it keeps no size hints.
inline void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints"))) {
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}
}  // namespace detail

// For a benchmark that shows a program's windows in its own process, before the application
// object exists: the windows go offscreen unless a platform is chosen, the settings and the
// runtime folder are private ones under folder, and a message box nobody answers ends the
// run instead of stalling it. False when the folder cannot be made.
inline bool IsolateWindows(const QString& folder) {
    if (!QDir().mkpath(folder + QStringLiteral("/home"))) {
        return false;
    }
    qputenv("CANTORIX_HOME", QFile::encodeName(folder + QStringLiteral("/home")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
    qputenv("CANTORIX_NO_MODAL", "1");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    detail::previousHandler = qInstallMessageHandler(detail::QuietHandler);
    return true;
}

struct Figures {
    double median;
    double fastest;
    double slowest;
};

// Milliseconds of Runs runs of the step.
inline Figures Measure(const std::function<void()>& run) {
    std::vector<double> ms;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

inline void Print(const char* what, const Figures& f) {
    std::printf("%-52s median %8.2f ms   (%.2f .. %.2f)\n", what, f.median, f.fastest, f.slowest);
}

// The positive whole number after `name`, else fallback.
inline int IntArg(const QStringList& args, const QString& name, int fallback) {
    const qsizetype i = args.indexOf(name);
    if (i < 0 || i + 1 >= args.size()) {
        return fallback;
    }
    const int value = args[i + 1].toInt();
    return value > 0 ? value : fallback;
}

struct QueryFigures {
    double medianUs;
    double p99Us;
    int zeroAnswers;
};

// Round trips of the position query (1024/105), in microseconds.
inline QueryFigures MeasureQueries(platform::HWND window, int count) {
    std::vector<double> us;
    us.reserve(static_cast<size_t>(count));
    int zeroes = 0;
    for (int i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const platform::LRESULT answer = platform::SendMessageA(
            window, winamp::MsgUser, winamp::TimeAsPosition, winamp::AskPosition);
        const auto end = std::chrono::steady_clock::now();
        us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        zeroes += answer == 0 ? 1 : 0;
    }
    std::sort(us.begin(), us.end());
    const auto at = [&](double q) {
        return us[std::min(us.size() - 1, static_cast<size_t>(q * static_cast<double>(us.size())))];
    };
    return {at(0.5), at(0.99), zeroes};
}

}  // namespace bench
