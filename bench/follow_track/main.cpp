// Following the player, in this process with a private runtime and settings folder:
//  - track change: the real winamp-sim (started here) moves to the next or previous track
//    (40048, 40044) and the clock runs until the player's window shows the new song's first
//    line; the songs' lyrics are .lrc files in a library of 10 files;
//  - the same with a real mpv (silent files, no sound card) through winamp-bridge, mpv told
//    to move on by its own socket as a listener's keys would; the lyrics are the files beside
//    the songs, found through the file mpv plays;
//  - lookup: from asking for a song's lyrics to the answer, from the library and from a file
//    beside the song.
// Prints the median of several runs; never fails on time.
#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

#include "library/LyricsLibrary.h"
#include "lyrics/ConfFile.h"
#include "lyrics/SaveFile.h"
#include "platform/Folders.h"
#include "player/LyricsLookup.h"
#include "player/frmMain.h"

#include "bench/BenchSupport.h"
#include "tests/support/Wav.h"

namespace {

constexpr int Songs = 10;
constexpr int TimeoutMs = 5000;

bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > TimeoutMs) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

platform::HWND WaitForWinamp() {
    platform::HWND winamp = 0;
    WaitFor([&] { return (winamp = platform::FindWindowA(winamp::WindowClass, nullptr)) != 0; });
    return winamp;
}

// Next, next, ... and back: each run changes the track once, by step(forward), and waits for
// the new song's first line.
bench::Figures ChangeTracks(const std::function<void(bool forward)>& step, const QLabel* current,
                            bool& ok) {
    int song = 1;
    bool forward = true;
    return bench::Measure([&] {
        forward = forward ? song < Songs : song == 1;
        song += forward ? 1 : -1;
        step(forward);
        ok = WaitFor(
                 [&] { return current->text() == QStringLiteral("song %1 line 0").arg(song); }) &&
             ok;
    });
}

}  // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir dir;
    if (!dir.isValid() || !bench::IsolateWindows(dir.path())) {
        return 1;
    }
    QApplication app(argc, argv);
    QByteArray m3u = "#EXTM3U\n";
    for (int k = 1; k <= Songs; ++k) {
        m3u += QStringLiteral("#EXTINF:300,Band - Song %1\n%2/music/%1.mp3\n")
                   .arg(k)
                   .arg(dir.path())
                   .toUtf8();
        QByteArray lrc;
        for (int line = 0; line < 40; ++line) {
            lrc += QStringLiteral("[%1:%2.00]song %3 line %4\n")
                       .arg(line * 5 / 60, 2, 10, QChar('0'))
                       .arg(line * 5 % 60, 2, 10, QChar('0'))
                       .arg(k)
                       .arg(line)
                       .toUtf8();
        }
        if (!QDir().mkpath(dir.filePath("Lyrics")) || !QDir().mkpath(dir.filePath("music")) ||
            !lyrics::SaveBytes(dir.filePath(QStringLiteral("Lyrics/Band - Song %1.lrc").arg(k)),
                               lrc)
                 .Saved() ||
            !lyrics::SaveBytes(dir.filePath(QStringLiteral("music/%1.lrc").arg(k)), lrc).Saved()) {
            return 1;
        }
    }
    if (!lyrics::SaveBytes(dir.filePath("songs.m3u"), m3u).Saved() ||
        !lyrics::WriteLibraryFolder(platform::ConfFilePath(), dir.filePath("Lyrics"))) {
        return 1;
    }
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QApplication::applicationDirPath() + QStringLiteral("/winamp-sim"),
              {QStringLiteral("--headless"), dir.filePath("songs.m3u")});
    const platform::HWND winamp = WaitForWinamp();
    if (winamp == 0) {
        std::fprintf(stderr, "winamp-sim did not start\n");
        return 1;
    }
    const auto command = [winamp](platform::WPARAM what) {
        platform::PostMessageA(winamp, winamp::MsgCommand, what, 0);
    };

    player::frmMain window;
    window.Form_Load();
    window.show();
    const QLabel* current = window.findChild<QLabel*>(QStringLiteral("lblCurrLine"));
    command(winamp::CmdPlay);
    window.itmPFollow_Click();
    bool ok = WaitFor([&] { return current->text() == QStringLiteral("song 1 line 0"); });
    const bench::Figures change = ChangeTracks(
        [&](bool forward) { command(forward ? winamp::CmdNext : winamp::CmdPrevious); }, current,
        ok);
    bench::Print("track change to its lyrics shown (winamp-sim)", change);
    window.itmPFollow_Click();
    sim.kill();
    sim.waitForFinished();

    if (QStandardPaths::findExecutable(QStringLiteral("mpv")).isEmpty()) {
        std::printf("mpv is missing: no figure for it\n");
    } else {
        QStringList songs;
        for (int k = 1; k <= Songs; ++k) {
            songs << dir.filePath(QStringLiteral("music/%1.wav").arg(k));
            ok = testsupport::WriteSilence(songs.last(), 60) && ok;
        }
        const QString socket = dir.filePath(QStringLiteral("mpv.sock"));
        QProcess mpv, bridge;
        mpv.start(QStringLiteral("mpv"),
                  QStringList{"--idle", "--ao=null", "--vo=null", "--no-terminal", "--no-config",
                              "--input-ipc-server=" + socket} +
                      songs);
        QLocalSocket keys;  // the listener's hand on mpv
        ok = WaitFor([&] {
                 keys.connectToServer(socket);
                 return keys.waitForConnected(100);
             }) &&
             ok;
        bridge.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        bridge.start(QApplication::applicationDirPath() + QStringLiteral("/winamp-bridge"),
                     {QStringLiteral("--mpv"), socket});
        ok = WaitForWinamp() != 0 && ok;
        window.itmPFollow_Click();
        ok = WaitFor([&] { return current->text() == QStringLiteral("song 1 line 0"); }) && ok;
        const bench::Figures mpvChange = ChangeTracks(
            [&](bool forward) {
                const QJsonArray step{forward ? "playlist-next" : "playlist-prev"};
                keys.write(
                    QJsonDocument(QJsonObject{{"command", step}}).toJson(QJsonDocument::Compact) +
                    '\n');
                keys.flush();
            },
            current, ok);
        bench::Print("track change in mpv to its lyrics shown (winamp-bridge --mpv)", mpvChange);
        window.itmPFollow_Click();
        for (QProcess* p : {&bridge, &mpv}) {
            p->kill();
            p->waitForFinished();
        }
    }

    library::LyricsLibrary library;
    library.Open(dir.filePath("Lyrics"));
    ok = WaitFor([&] { return library.IsReady(); }) && ok;
    player::LyricsLookup lookup(library);
    QString found;
    QObject::connect(&lookup, &player::LyricsLookup::Found,
                     [&](const QString& path) { found = path; });
    for (const bool beside : {false, true}) {
        int k = 0;
        const bench::Figures asked = bench::Measure([&] {
            k = k % Songs + 1;
            found.clear();
            const QString file =
                beside ? dir.filePath(QStringLiteral("music/%1.mp3").arg(k)) : QString();
            lookup.Find({u"Band", QStringLiteral("Song %1").arg(k).toStdU16String(),
                         file.toStdU16String()});
            ok = WaitFor([&] { return !found.isEmpty(); }) && ok;
        });
        bench::Print(beside ? "lookup for a track, file beside it (worker)"
                            : "lookup for a track, library (to its answer)",
                     asked);
    }
    if (!ok) {
        std::fprintf(stderr, "some runs never showed what they waited for\n");
        return 1;
    }
    return 0;
}
