// Sorting and shifting the largest playlist a 16-bit index allows: 32,768 entries whose
// titles share few songs and artists, so most keys are equal to many others. Prints the
// median and the spread of several runs; it never fails on time.
#include <QCoreApplication>
#include <cstdio>

#include "bench/BenchSupport.h"
#include "playlist/SortShift.h"

using bench::Measure;
using bench::Print;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int songs = bench::IntArg(app.arguments(), QStringLiteral("--songs"), 300);

    playlist::PlaylistTable table;
    for (int i = 0; !table.IsFull(); ++i) {
        // A fixed scramble, so runs are comparable and the input is not already in order.
        const int k = int((qint64(i) * 7919) % playlist::PlaylistTable::MaxEntries);
        table.Append({QStringLiteral("/home/someone/lyrics/%1.cx3").arg(k), qint16(k % 1000 + 1),
                      QStringLiteral("Song %1 - Artist %2").arg(k % songs).arg(k % 37)});
    }
    std::printf("playlist of %d entries, %d different titles, %d runs each\n", table.Count(), songs,
                bench::Runs);

    const char* names[] = {"sort by artist (37 keys)", "sort by title", "sort by track (1000 keys)"};
    for (int by = 0; by < 3; ++by) {
        Print(names[by], Measure([&] {
                  playlist::PlaylistTable copy = table;
                  playlist::SortTable(copy, playlist::SortBy(by));
              }));
    }
    Print("shift every entry by 1", Measure([&] {
              playlist::PlaylistTable copy = table;
              playlist::ShiftTable(copy, 1, 1);
          }));
    return 0;
}
