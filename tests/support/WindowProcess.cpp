#include "support/WindowProcess.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QtDebug>

namespace testsupport {

platform::HWND StartWindowProcess(QProcess& process, const QString& program,
                                  const QStringList& arguments, const char* className,
                                  int timeoutMs) {
    if (process.processChannelMode() == QProcess::SeparateChannels) {
        // Nobody reads it otherwise; in the test log it explains a failed start.
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
