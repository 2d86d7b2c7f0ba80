// The lyrics library over a generated folder: the whole index built on the worker, one file
// changed and found again under its new title, and the lookup for a track (from memory, and
// with the search beside an audio file on the worker).
// Usage: bench_library_index [--files N]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/BenchSupport.h"
#include "library/LyricsLibrary.h"

namespace {

QString Artist(int i) {
    return QStringLiteral("Artist %1").arg(i % 500);
}
QString Song(int i) {
    return QStringLiteral("Song Number %1 (Remastered)").arg(i);
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// Half .cx3 with a title record, a quarter LRC with tags, a quarter LRC named "Artist - Title",
// in a hundred subfolders.
bool MakeFolder(const QString& root, int files) {
    for (int i = 0; i < files; ++i) {
        const QString folder = root + QStringLiteral("/f%1").arg(i % 100);
        if (!QDir().mkpath(folder)) {
            return false;
        }
        QByteArray body;
        QString name;
        if (i % 2 == 0) {
            name = QStringLiteral("%1.cx3").arg(i);
            body = '"' + (Song(i) + " - " + Artist(i)).toUtf8() + "\"\r\n";
            for (int line = 1; line <= 40; ++line) {
                body += QByteArray::number(line * 3.5) + ",\"a line of the song, number " +
                        QByteArray::number(line) + "\"\r\n";
            }
        } else {
            name = i % 4 == 1
                       ? QStringLiteral("%1.lrc").arg(i)
                       : Artist(i) + QStringLiteral(" - ") + Song(i) + QStringLiteral(".lrc");
            if (i % 4 == 1) {
                body = "[ti:" + Song(i).toUtf8() + "]\n[ar:" + Artist(i).toUtf8() + "]\n";
            }
            for (int line = 1; line <= 40; ++line) {
                body += QStringLiteral("[%1:%2.00]a line of the song\n")
                            .arg(line * 4 / 60, 2, 10, QChar(u'0'))
                            .arg(line * 4 % 60, 2, 10, QChar(u'0'))
                            .toUtf8();
            }
        }
        if (!WriteFile(folder + u'/' + name, body)) {
            return false;
        }
    }
    return true;
}

// Handles events until done() holds or ten seconds pass.
bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.hasExpired(10000)) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int files = bench::IntArg(app.arguments(), QStringLiteral("--files"), 10000);
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("Lyrics"));
    if (!dir.isValid() || !MakeFolder(root, files)) {
        std::fprintf(stderr, "bench_library_index: cannot make the folder of lyrics files\n");
        return 1;
    }
    std::printf("%d lyrics files, medians of %d runs\n", files, bench::Runs);

    bool ok = true;
    bench::Print("index built (open to ready)", bench::Measure([&] {
                     library::LyricsLibrary lib;
                     lib.Open(root);
                     ok = WaitFor([&] { return lib.IsReady(); }) && lib.FileCount() == files && ok;
                 }));

    library::LyricsLibrary lib;
    lib.Open(root);
    ok = WaitFor([&] { return lib.IsReady(); }) && ok;
    const QString changed = root + QStringLiteral("/f0/0.cx3");
    int round = 0;
    bench::Print("one file rewritten, found under its new title", bench::Measure([&] {
                     const QString title = QStringLiteral("Changed %1").arg(++round);
                     WriteFile(changed, '"' + title.toUtf8() + " - Someone\"\r\n1,\"x\"\r\n");
                     ok = WaitFor([&] { return lib.Lookup("someone", title) == changed; }) && ok;
                 }));

    constexpr int Lookups = 1000;
    const auto lookups = bench::Measure([&] {
        for (int i = 0; i < Lookups; ++i) {
            const int n = 1 + (i * 7919) % (files - 1);  // file 0 was retitled
            ok = !lib.Lookup(Artist(n), Song(n).toUpper()).isEmpty() && ok;
        }
    });
    std::printf("%-52s median %8.2f us   (%.2f .. %.2f)\n", "lookup of a track (from memory)",
                lookups.median * 1000 / Lookups, lookups.fastest * 1000 / Lookups,
                lookups.slowest * 1000 / Lookups);

    const QString audio = root + QStringLiteral("/f3/track.mp3");
    WriteFile(audio, "ID3");
    bench::Print("lookup of a track with its audio file (worker)", bench::Measure([&] {
                     QString answer;
                     bool answered = false;
                     const auto connection = QObject::connect(&lib, &library::LyricsLibrary::Found,
                                                              [&](quint64, const QString& path) {
                                                                  answer = path;
                                                                  answered = true;
                                                              });
                     lib.Find(Artist(3), Song(3), audio);
                     ok = WaitFor([&] { return answered; }) && !answer.isEmpty() && ok;
                     QObject::disconnect(connection);
                 }));
    if (!ok) {
        std::fprintf(stderr, "bench_library_index: a step did not give the expected answer\n");
        return 1;
    }
    return 0;
}
