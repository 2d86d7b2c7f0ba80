// In this process, on the offscreen platform: the largest source text the encoder takes
// (32,766 lines) split into lines, loaded into the window's table and line list, and the
// lyrics file of that many stamped lines written. Prints medians; never fails on time.
#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "encoder/Capture.h"
#include "encoder/SourceText.h"
#include "encoder/frmMain.h"
#include "lyrics/LyricsFile.h"
#include "lyrics/SaveFile.h"
#include "platform/ListBox.h"

#include "bench/BenchSupport.h"

int main(int argc, char** argv) {
    QTemporaryDir dir(QDir::tempPath() + "/cxe-XXXXXX");
    if (!dir.isValid() || !bench::IsolateWindows(dir.path())) {
        std::fprintf(stderr, "bench_encoder_load: cannot make a temporary folder\n");
        return 1;
    }
    QApplication app(argc, argv);

    QByteArray text;
    for (int i = 0; i < encoder::MaxSourceLines; ++i) {
        text +=
            "  Line " + QByteArray::number(i) + ", where the \"words\" of a long song would be\r\n";
    }
    const QString source = dir.filePath("long.txt");
    const QString lyricsFile = dir.filePath("long.cx3");
    if (!lyrics::SaveBytes(source, text).Saved()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(source));
        return 1;
    }
    std::printf("source text of %d lines, %lld bytes, %d runs each\n", encoder::MaxSourceLines,
                static_cast<long long>(text.size()), bench::Runs);

    bool ok = true;
    bench::Print("ReadSourceLines",
                 bench::Measure([&] { ok = ok && encoder::ReadSourceLines(source).has_value(); }));

    encoder::frmMain window;
    window.show();
    QApplication::processEvents();
    bench::Print("frmMain::TakeUpSong, shown and painted", bench::Measure([&] {
                     ok = window.TakeUpSong(source, lyricsFile, "The Longest Song - Band") && ok;
                     QApplication::processEvents();
                 }));
    const int listed = window.findChild<platform::ListBox*>("lstFile")->count();
    if (!ok || listed != encoder::MaxSourceLines) {
        std::fprintf(stderr, "loaded %d lines, expected %d\n", listed, encoder::MaxSourceLines);
        return 1;
    }

    encoder::Capture lines = window.Lines();
    lines.Start();
    // Positions from 7 ms on never ask for the play state.
    for (qint64 ms = 7;
         lines.Next(ms, [] { return qint64(0); }) == encoder::Capture::Press::Stamped; ms += 250) {
    }
    bench::Print("WriteLyricsFile, every line stamped", bench::Measure([&] {
                     ok = lyrics::WriteLyricsFile(lyricsFile, "The Longest Song - Band",
                                                  lines.SourceLines, lines.LastSourceLine) &&
                          ok;
                 }));
    std::printf("lyrics file: %lld bytes\n", static_cast<long long>(QFileInfo(lyricsFile).size()));
    return ok ? 0 : 1;
}
