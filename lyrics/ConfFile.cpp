#include "lyrics/ConfFile.h"

#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace lyrics {

namespace {
const QString OutputDelayKey = QStringLiteral("Output/DelayMs");
}  // namespace

ConfSettings ReadConfFile(const QString& path) {
    ConfSettings conf;
    // Only a regular file: a FIFO in its place would hold the program at start.
    if (!QFileInfo(path).isFile()) {
        return conf;
    }
    const QSettings file(path, QSettings::IniFormat);
    bool ok = false;
    const int delay = file.value(OutputDelayKey).toInt(&ok);
    if (ok) {
        conf.OutputDelayMs = std::clamp(delay, 0, MaxOutputDelayMs);
    }
    return conf;
}

bool WriteOutputDelay(const QString& path, int delayMs) {
    QSettings file(path, QSettings::IniFormat);
    file.setValue(OutputDelayKey, std::clamp(delayMs, 0, MaxOutputDelayMs));
    file.sync();
    return file.status() == QSettings::NoError;
}

}  // namespace lyrics
