#include "support/WindowProcess.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QtDebug>

namespace testsupport {

platform::HWND WaitForWindow(const char* className, int timeoutMs, platform::HWND notThis,
                             const QProcess* watched) {
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const platform::HWND found = platform::FindWindowA(className, nullptr);
        if (found != 0 && found != notThis) {
            return found;
        }
        if (deadline.hasExpired() ||
            (watched != nullptr && watched->state() == QProcess::NotRunning)) {
            return 0;
        }
        QTest::qWait(10);
    }
}

platform::HWND StartWindowProcess(QProcess& process, const QString& program,
                                  const QStringList& arguments, const char* className,
                                  int timeoutMs, platform::HWND notThis) {
    if (process.processChannelMode() == QProcess::SeparateChannels) {
        // Nobody reads it otherwise; in the test log it explains a failed start.
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs)) {
        qWarning().noquote() << "Cannot start" << program << ":" << process.errorString();
        return 0;
    }
    const platform::HWND window = WaitForWindow(className, timeoutMs, notThis, &process);
    if (window == 0) {
        qWarning().noquote() << program << "did not serve" << className << "in time";
        process.kill();
        process.waitForFinished(timeoutMs);
    }
    return window;
}

}  // namespace testsupport
