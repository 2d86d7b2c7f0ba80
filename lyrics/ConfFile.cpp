#include "lyrics/ConfFile.h"

#include <QFileInfo>
#include <QSettings>
#include <algorithm>
#include <array>

namespace lyrics {

namespace {

const QString OutputDelayKey = QStringLiteral("Output/DelayMs");
const QString LibraryFolderKey = QStringLiteral("Library/Folder");
const std::array<QString, 4> Keys{QStringLiteral("Player/Karaoke"), QStringLiteral("Overlay/Shown"),
                                  QStringLiteral("Overlay/Locked"),
                                  QStringLiteral("Overlay/Place")};

const QString SearchOnlineKey = QStringLiteral("Online/SearchMissingLyrics");

const QString& KeyOf(ConfKey key) {
    return Keys[size_t(key)];
}

bool WriteValue(const QString& path, const QString& key, const QVariant& value) {
    QSettings file(path, QSettings::IniFormat);
    file.setValue(key, value);
    file.sync();
    return file.status() == QSettings::NoError;
}

// Only "true" and "false", as the file is written; anything else is the default.
bool Switch(const QSettings& file, ConfKey key) {
    return file.value(KeyOf(key)).toString() == QLatin1String("true");
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
    conf.Karaoke = Switch(file, ConfKey::Karaoke);
    conf.Overlay = Switch(file, ConfKey::Overlay);
    conf.OverlayLocked = Switch(file, ConfKey::OverlayLocked);
    const QStringList place = file.value(KeyOf(ConfKey::OverlayPlace)).toStringList();
    bool xOk = false;
    bool yOk = false;
    if (place.size() == 2) {
        const QPoint at(place[0].toInt(&xOk), place[1].toInt(&yOk));
        if (xOk && yOk) {
            conf.OverlayPlace = at;
        }
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

bool WriteLibraryFolder(const QString& path, const QString& folder) {
    return WriteValue(path, LibraryFolderKey, folder);
}

bool WriteConfSwitch(const QString& path, ConfKey key, bool on) {
    return WriteValue(path, KeyOf(key), on);
}

bool WriteOverlayPlace(const QString& path, const QPoint& place) {
    return WriteValue(path, KeyOf(ConfKey::OverlayPlace),
                      QStringList{QString::number(place.x()), QString::number(place.y())});
}

bool WriteSearchOnline(const QString& path, bool on) {
    return WriteValue(path, SearchOnlineKey, on ? QStringLiteral("true") : QStringLiteral("false"));
}

}  // namespace lyrics
