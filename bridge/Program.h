#pragma once
#include <QString>
#include <QStringList>

namespace bridge {

// What the command line asks for:
//   winamp-bridge [--trace FILE] --mpv SOCKET
//   winamp-bridge [--trace FILE] --mpris [NAME]
struct Options {
    enum class Mode { Mpv, Mpris, Help };
    bool Ok = false;
    QString Error;  // set when Ok is false
    Mode RunMode = Mode::Help;
    QString Target;  // mpv's socket, or the MPRIS bus-name suffix (empty: the first player)
    QString TraceFile;  // as winamp-sim's --trace
};

// args without the program name.
Options ParseOptions(const QStringList& args);
QString Usage();

inline constexpr int ExitOk = 0;
inline constexpr int ExitBadInput = 2;
inline constexpr int ExitNoWindow = 3;

int Run(int& argc, char** argv);

}  // namespace bridge
