#pragma once
#include <QCoreApplication>

namespace platform {

// Ends the event loop on SIGTERM or SIGINT, so a served window is closed as on 40001 and
// its socket does not stay behind. Nothing on Windows.
void QuitOnTerminate(QCoreApplication& app);

}  // namespace platform
