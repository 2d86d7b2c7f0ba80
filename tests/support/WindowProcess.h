#pragma once
#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <QtDebug>

#include "platform/Win32.h"

namespace testsupport {

// Starts program and waits, handling events, until it serves className; on failure (it exited,
// or timeoutMs passed) kills it and returns 0. Its error output goes to the test's by default.
inline platform::HWND StartWindowProcess(QProcess& process, const QString& program,
                                         const QStringList& arguments, const char* className,
                                         int timeoutMs = 10000) {
    if (process.processChannelMode() == QProcess::SeparateChannels) {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    process.start(program, arguments);
    const QDeadlineTimer deadline(timeoutMs);
    platform::HWND window = 0;
    while (process.waitForStarted(timeoutMs) && process.state() == QProcess::Running &&
           !deadline.hasExpired() && (window = platform::FindWindowA(className, nullptr)) == 0) {
        QTest::qWait(10);
    }
    if (window == 0) {
        qWarning().noquote() << program << "did not serve" << className << "in time";
        process.kill();
        process.waitForFinished(timeoutMs);
    }
    return window;
}

}  // namespace testsupport
