#pragma once
// What the benchmark programs share: timing a step several times and reading a number
// from the command line.
#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

inline constexpr int Runs = 9;

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

}  // namespace bench
