// In this process, on the offscreen platform: a 32,766-line lyrics file opened in the timing
// window (a new window, the file read, shown and painted), and one nudge of a line in the
// middle of the song with the list shown and repainted. Prints medians; never fails on time.
#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

#include "encoder/SourceText.h"
#include "encoder/TimingFile.h"
#include "encoder/frmTiming.h"
#include "lyrics/SaveFile.h"
#include "winamp/Link.h"

#include "bench/BenchSupport.h"

int main(int argc, char** argv) {
    QTemporaryDir dir(QDir::tempPath() + "/cxt-XXXXXX");
    if (!dir.isValid() || !bench::IsolateWindows(dir.path())) {
        std::fprintf(stderr, "bench_timing_window: cannot make a temporary folder\n");
        return 1;
    }
    QApplication app(argc, argv);

    QByteArray bytes = "\"The Longest Song - Band\"\r\n";
    for (int i = 0; i < encoder::MaxSourceLines; ++i) {
        bytes += QByteArray::number(i * 0.25 + 0.007) + ",\"Line " + QByteArray::number(i) +
                 ", where the words of a long song would be\"\r\n";
    }
    const QString path = dir.filePath("long.cx3");
    if (!lyrics::SaveBytes(path, bytes).Saved()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("lyrics file of %d lines, %lld bytes, %d runs each\n", encoder::MaxSourceLines,
                static_cast<long long>(bytes.size()), bench::Runs);

    winamp::WinampLink link;  // no Winamp: the window never asks it here
    const auto noWinamp = [] { return false; };
    bool ok = true;
    bench::Print("ReadTimingFile",
                 bench::Measure([&] { ok = encoder::ReadTimingFile(path).has_value() && ok; }));
    bench::Print("frmTiming: new, OpenFile, shown and painted", bench::Measure([&] {
                     encoder::frmTiming window(link, noWinamp, 0);
                     ok = window.OpenFile(path) && ok;
                     window.show();
                     QApplication::processEvents();
                 }));

    encoder::frmTiming window(link, noWinamp, 0);
    ok = window.OpenFile(path) && ok;
    window.show();
    auto* lines = window.findChild<QTableView*>(QStringLiteral("lstLines"));
    const int middle = encoder::MaxSourceLines / 2;
    lines->setCurrentIndex(window.Table().index(middle, 1));
    QApplication::processEvents();
    int step = 0;
    bench::Print("one nudge, the list repainted", bench::Measure([&] {
                     window.itmNudge_Click(step++ % 2 == 0 ? 2 : 3);  // 10 ms later, sooner
                     QApplication::processEvents();
                 }));
    if (!ok || window.Table().Count() != encoder::MaxSourceLines ||
        window.Table().Selected() != middle) {
        std::fprintf(stderr, "the window did not hold the song\n");
        return 1;
    }
    return 0;
}
