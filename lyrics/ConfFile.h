#pragma once
// cantorix.conf: the settings beyond the eleven lines of cantorix.ini, in Qt's INI format in
// the same folder, shared by both programs. Read once at start; a missing file, key or
// unreadable value gives the default without a word.
#include <QString>

namespace lyrics {

// Bluetooth speakers lag 100 to 300 ms; two seconds covers any output device.
inline constexpr int MaxOutputDelayMs = 2000;

struct ConfSettings {
    // How far the listener's output device lags behind the player, 0 to MaxOutputDelayMs.
    int OutputDelayMs = 0;
    // The lyrics library's folder; empty until one is chosen.
    QString LibraryFolder;
};

ConfSettings ReadConfFile(const QString& path);
// Writes the delay, held within its range, keeping whatever else the file holds. False when
// the file cannot be written.
bool WriteOutputDelay(const QString& path, int delayMs);
// Writes the library folder the same way.
bool WriteLibraryFolder(const QString& path, const QString& folder);

}  // namespace lyrics
