#pragma once
#include <QString>
#include <QStringList>

#include "platform/Win32.h"

namespace winampsim {

// What the command line asks for.
//   winamp-sim [--headless] [--trace FILE] [--speed X] [--tracks N] [--length S] [PLAYLIST.m3u]
//   winamp-sim send|post MSG WPARAM LPARAM
struct Options {
    enum class Mode { Serve, Send, Post, Help };

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

QString Usage();

}  // namespace winampsim
