// Loading and listing the largest playlist a 16-bit index allows: 32,768 entries.
// Prints the median and the spread of several runs; it never fails on time.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "playlist/Playlist.h"
#include "playlist/PlaylistCommands.h"
#include "playlist/PlaylistList.h"
#include "playlist/PlaylistFile.h"

#include "bench/BenchSupport.h"

using bench::Measure;
using bench::Print;
using bench::Runs;

namespace {}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const QString path = dir.filePath(QStringLiteral("big.cxp"));

    playlist::PlaylistTable table;
    for (int i = 0; !table.IsFull(); ++i) {
        table.Append(
            {QStringLiteral("/home/someone/lyrics/Artist %1/Song %2.cx3").arg(i % 500).arg(i),
             static_cast<qint16>(i % 32767 + 1),
             QStringLiteral("Song number %1 - Artist %2").arg(i).arg(i % 500)});
    }
    if (!playlist::WritePlaylistFile(path, table)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("playlist of %d entries, %lld bytes, %d runs each\n", table.Count(),
                static_cast<long long>(QFileInfo(path).size()), Runs);

    Print("write (WritePlaylistFile)", Measure([&] { playlist::WritePlaylistFile(path, table); }));

    int entries = 0;
    Print("read (ReadPlaylistFile)",
          Measure([&] { entries = playlist::ReadPlaylistFile(path).Table.Count(); }));

    QWidget owner;
    playlist::Playlist model;
    playlist::PlaylistList list(model, &owner);
    // The file was written just above; a failure to read it shows in the count checked below.
    const QString unread = QStringLiteral("Could not read the playlist.");
    playlist::ReadPlaylist(model, path, &owner, unread);
    Print("list (ReloadList)", Measure([&] { list.ReloadList(); }));

    owner.show();
    Print("list, shown (ReloadList)", Measure([&] {
              list.ReloadList();
              QApplication::processEvents();
          }));

    Print("read and list (ReadPlaylist)",
          Measure([&] { playlist::ReadPlaylist(model, path, &owner, unread); }));

    if (entries != table.Count() || list.count() != table.Count()) {
        std::fprintf(stderr, "read %d entries and %d rows, expected %d\n", entries,
                     list.count(), table.Count());
        return 1;
    }
    return 0;
}
