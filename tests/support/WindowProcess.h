#pragma once
// Starting a program that serves a window, for tests that cross a process boundary.
#include <QProcess>
#include <QStringList>

#include "platform/Win32.h"

namespace testsupport {

// Starts program and waits, handling events, until it serves className. On failure (the
// program exited or timeoutMs passed) the process is killed and 0 returned. Unless the
// caller chose otherwise, the program's error output goes to the test's.
platform::HWND StartWindowProcess(QProcess& process, const QString& program,
                                  const QStringList& arguments, const char* className,
                                  int timeoutMs = 10000);

}  // namespace testsupport
