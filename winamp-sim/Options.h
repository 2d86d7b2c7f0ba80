#pragma once
#include <QString>
#include <QStringList>

#include "platform/CommandLine.h"
#include "platform/Win32.h"

namespace winampsim {

// What the command line asks for.
//   winamp-sim [--headless] [--trace FILE] [--speed X] [--tracks N] [--length S] [PLAYLIST.m3u]
//   winamp-sim send|post MSG WPARAM LPARAM
struct Options {
    enum class Mode { Serve, Send, Post, Help, Version };

    bool Ok = true;
    QString Error;  // set when Ok is false
    Mode RunMode = Mode::Serve;

    // serving
    bool Headless = false;
    QString TraceFile;
    double Speed = 1.0;
    QString Playlist;    // empty: generated tracks
    int TrackCount = 3;  // generated tracks, when there is no playlist
    int TrackLengthS = 200;

    // client
    platform::UINT Msg = 0;
    platform::WPARAM WParam = 0;
    platform::LPARAM LParam = 0;
};

// args without the program name. Numbers of the client mode are decimal or 0x hex, and
// may be negative.
Options ParseOptions(const QStringList& args);

inline const platform::ProgramHelp Help{
    .Program = QStringLiteral("winamp-sim"),
    .Usage = {QStringLiteral("[OPTION]... [PLAYLIST.m3u]"),
              QStringLiteral("send MSG WPARAM LPARAM"), QStringLiteral("post MSG WPARAM LPARAM")},
    .Description = QStringLiteral(
        "A simulated Winamp for cantorix and cantorix-encoder: it serves the window class "
        "\"Winamp v1.x\" and runs a clock over a playlist of tracks with known lengths "
        "(#EXTINF lines of an M3U playlist), without playing a sound. Without a playlist it "
        "plays generated tracks (3 x 200 s unless --tracks/--length).\n"
        "send sends one message to the running Winamp and prints the answer; post posts it. "
        "The numbers are decimal or 0x hex."),
    .Options = {{QStringLiteral("--headless"), {}, QStringLiteral("no window")},
                {QStringLiteral("--trace"), QStringLiteral("FILE"),
                 QStringLiteral("append one line per message received to FILE")},
                {QStringLiteral("--speed"), QStringLiteral("X"),
                 QStringLiteral("run the clock X times as fast")},
                {QStringLiteral("--tracks"), QStringLiteral("N"),
                 QStringLiteral("N generated tracks")},
                {QStringLiteral("--length"), QStringLiteral("S"),
                 QStringLiteral("of S seconds each")}},
    .Example = QStringLiteral("send 1024 0 104"),
    .ExampleNote = QStringLiteral(
        "Prints the play state of the running Winamp: 1 playing, 3 paused, 0 stopped.")};

}  // namespace winampsim
