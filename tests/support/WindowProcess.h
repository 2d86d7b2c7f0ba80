#pragma once
// Starting a program that serves a window, for tests that cross a process boundary.
#include <QProcess>
#include <QStringList>

#include "platform/Win32.h"

namespace testsupport {

// Waits until FindWindowA finds className with a handle other than notThis, handling
// events meanwhile. Gives up after timeoutMs, or as soon as watched (when given) has
// exited. Returns the handle or 0.
platform::HWND WaitForWindow(const char* className, int timeoutMs = 10000,
                             platform::HWND notThis = 0, const QProcess* watched = nullptr);

// Starts program and waits for it to serve className (a window other than notThis). On
// failure the process is killed and 0 returned. Unless the caller chose otherwise, the
// program's error output goes to the test's.
platform::HWND StartWindowProcess(QProcess& process, const QString& program,
                                  const QStringList& arguments, const char* className,
                                  int timeoutMs = 10000, platform::HWND notThis = 0);

}  // namespace testsupport
