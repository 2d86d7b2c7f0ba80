#pragma once
#include "winamp-sim/Options.h"

namespace winampsim {

// Exit codes of the program.
inline constexpr int ExitOk = 0;
inline constexpr int ExitNoWinamp = 1;  // client mode found no window, or one already runs
inline constexpr int ExitBadInput = 2;  // bad arguments, playlist or trace file

// Serves the window class until closed (by message 40001 or the window).
int RunServer(const Options& options, int& argc, char** argv);

// send/post: one message to the running Winamp; a send prints the answer.
int RunClient(const Options& options, int& argc, char** argv);

// Whatever the command line says: usage, an argument error, client or server.
int Run(int& argc, char** argv);

}  // namespace winampsim
