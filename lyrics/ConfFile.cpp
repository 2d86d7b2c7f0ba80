#include "lyrics/ConfFile.h"

#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace lyrics {

namespace {
const QString OutputDelayKey = QStringLiteral("Output/DelayMs");
const QString SearchOnlineKey = QStringLiteral("Online/SearchMissingLyrics");

bool WriteValue(const QString& path, const QString& key, const QVariant& value) {
    QSettings file(path, QSettings::IniFormat);
    file.setValue(key, value);
    file.sync();
    return file.status() == QSettings::NoError;
}
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
    // Anything but a plain answer counts as never asked: the question comes again.
    const QString search = file.value(SearchOnlineKey).toString();
    if (search == QLatin1String("true") || search == QLatin1String("false")) {
        conf.SearchOnline = search == QLatin1String("true");
    }
    return conf;
}

bool WriteOutputDelay(const QString& path, int delayMs) {
    return WriteValue(path, OutputDelayKey, std::clamp(delayMs, 0, MaxOutputDelayMs));
}

bool WriteSearchOnline(const QString& path, bool on) {
    return WriteValue(path, SearchOnlineKey, on ? QStringLiteral("true") : QStringLiteral("false"));
}

}  // namespace lyrics
