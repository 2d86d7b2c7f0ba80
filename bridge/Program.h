#pragma once
#include <QString>
#include <QStringList>

#include "platform/CommandLine.h"

namespace bridge {

// What the command line asks for:
//   winamp-bridge [--trace FILE] --mpv SOCKET
//   winamp-bridge [--trace FILE] --mpris [NAME]
struct Options {
    enum class Mode { Mpv, Mpris, Help, Version };
    bool Ok = false;
    QString Error;  // set when Ok is false
    Mode RunMode = Mode::Help;
    QString Target;     // mpv's socket, or the MPRIS bus-name suffix (empty: the first player)
    QString TraceFile;  // as winamp-sim's --trace
};

// args without the program name.
Options ParseOptions(const QStringList& args);

inline const platform::ProgramHelp Help{
    .Program = QStringLiteral("winamp-bridge"),
    .Usage = {QStringLiteral("[--trace FILE] --mpv SOCKET"),
              QStringLiteral("[--trace FILE] --mpris [NAME]")},
    .Description = QStringLiteral(
        "Serves the Winamp window in front of a real player, so that cantorix and "
        "cantorix-encoder follow and drive it: mpv started with --input-ipc-server=SOCKET, or "
        "the MPRIS player whose bus name ends in NAME (the first one found without NAME)."),
    .Options = {{QStringLiteral("--mpv"), QStringLiteral("SOCKET"),
                 QStringLiteral("serve in front of mpv's IPC socket")},
                {QStringLiteral("--mpris"), QStringLiteral("[NAME]"),
                 QStringLiteral("serve in front of an MPRIS player")},
                {QStringLiteral("--trace"), QStringLiteral("FILE"),
                 QStringLiteral("append one line per message received to FILE")}},
    .Example = QStringLiteral("--mpv /tmp/mpv.sock"),
    .ExampleNote = QStringLiteral(
        "After mpv --idle --input-ipc-server=/tmp/mpv.sock song.mp3 &, the lyrics player "
        "follows mpv.")};

inline constexpr int ExitBadInput = 2;
inline constexpr int ExitNoWindow = 3;

int Run(int& argc, char** argv);

}  // namespace bridge
