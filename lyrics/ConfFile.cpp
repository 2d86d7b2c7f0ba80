#include "lyrics/ConfFile.h"

#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace lyrics {

namespace {
const QString OutputDelayKey = QStringLiteral("Output/DelayMs");
const QString LibraryFolderKey = QStringLiteral("Library/Folder");

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
    conf.LibraryFolder = file.value(LibraryFolderKey).toString();
    return conf;
}

bool WriteOutputDelay(const QString& path, int delayMs) {
    return WriteValue(path, OutputDelayKey, std::clamp(delayMs, 0, MaxOutputDelayMs));
}

bool WriteLibraryFolder(const QString& path, const QString& folder) {
    return WriteValue(path, LibraryFolderKey, folder);
}

}  // namespace lyrics
