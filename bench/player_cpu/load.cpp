// In this process, on the offscreen platform: loading a lyrics file of 32,767 lines (the
// reader alone, and the window's load with its display set-up), and the player's
// random play order over a playlist of 32,768 entries. Prints the median and the spread
// of several runs; it never fails on time.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "lyrics/LyricsFile.h"
#include "player/frmMain.h"
#include "playlist/PlaylistFile.h"
#include "playlist/PlaylistList.h"

#include "bench/BenchSupport.h"

using bench::Measure;
using bench::Print;
using bench::Runs;

namespace {

constexpr int LyricLineCount = 32767;

bool IsPermutation(std::vector<qint16> order, int count) {
    if (int(order.size()) != count) {
        return false;
    }
    std::sort(order.begin(), order.end());
    for (int i = 0; i < count; ++i) {
        if (order[size_t(i)] != i) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir dir(QDir::tempPath() + "/cxl-XXXXXX");
    // The window never looks for Winamp here, but keep it away from the user's folders anyway.
    if (!dir.isValid() || !bench::IsolateWindows(dir.path())) {
        std::fprintf(stderr, "bench_player_load: cannot make a temporary folder\n");
        return 1;
    }
    QApplication app(argc, argv);

    const QString song = dir.filePath("long.cx3");
    std::vector<lyrics::SourceRow> rows;
    for (int i = 0; i < LyricLineCount - 1; ++i) {
        rows.push_back({0.25 * (i + 1),
                        QStringLiteral("Line %1, where the words of a long song would be").arg(i)});
    }
    rows.push_back({std::nullopt, QStringLiteral("(the end)")});
    if (!lyrics::WriteLyricsFile(song, QStringLiteral("The Longest Song"), rows,
                                 int(rows.size()) - 1)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(song));
        return 1;
    }
    std::printf("lyrics file of %d lines, %lld bytes, %d runs each\n", LyricLineCount,
                static_cast<long long>(QFileInfo(song).size()), Runs);

    lyrics::LyricLines table;
    bool loaded = true;
    Print("lyrics::ReadLyricsFile", Measure([&] {
              lyrics::LyricsRead read = lyrics::ReadLyricsFile(song);
              loaded = read.Complete && loaded;
              table = std::move(read.Lines);
          }));
    if (!loaded || table.LastLine != LyricLineCount - 1) {
        std::fprintf(stderr, "read %d lines, expected %d\n", table.LastLine + 1, LyricLineCount);
        return 1;
    }

    player::frmMain window;
    window.show();
    QApplication::processEvents();
    Print("frmMain::OpenFile of the lyrics, shown and painted", Measure([&] {
              loaded = window.OpenFile(song) && loaded;
              QApplication::processEvents();
          }));
    if (!loaded || window.windowTitle() != "The Longest Song - Cantorix 3") {
        std::fprintf(stderr, "the window did not take up %s\n", qPrintable(song));
        return 1;
    }

    const QString list = dir.filePath("big.cxp");
    playlist::PlaylistTable entries;
    for (int i = 0; !entries.IsFull(); ++i) {
        entries.Append(
            {QStringLiteral("/home/someone/lyrics/Artist %1/Song %2.cx3").arg(i % 500).arg(i),
             static_cast<qint16>(i % 32767 + 1),
             QStringLiteral("Song number %1 - Artist %2").arg(i).arg(i % 500)});
    }
    if (!playlist::WritePlaylistFile(list, entries) || !window.LoadPlaylist(list) ||
        window.Playlist().LastEntry() != entries.Count() - 1) {
        std::fprintf(stderr, "cannot write or load %s\n", qPrintable(list));
        return 1;
    }
    QApplication::processEvents();
    std::printf("playlist of %d entries loaded through LoadPlaylist\n", entries.Count());

    QRandomGenerator* random = QRandomGenerator::global();
    Print("Playlist::BuildRandomOrder",
          Measure([&] { window.Playlist().BuildRandomOrder(*random); }));
    Print("Playlist::BuildRandomOrder, then painted", Measure([&] {
              window.Playlist().BuildRandomOrder(*random);
              QApplication::processEvents();
          }));
    if (!IsPermutation(window.Playlist().Order().Rows, entries.Count()) ||
        window.findChild<playlist::PlaylistList*>("lstList")->currentRow() !=
            window.Playlist().Order().Rows[0]) {
        std::fprintf(stderr, "the play order is not a shuffle of every row\n");
        return 1;
    }
    return 0;
}
