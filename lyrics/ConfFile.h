#pragma once
// cantorix.conf: the settings beyond the eleven lines of cantorix.ini, in Qt's INI format in
// the same folder, shared by both programs. Read once at start; a missing file, key or
// unreadable value gives the default without a word.
#include <QString>
#include <optional>

namespace lyrics {

// Bluetooth speakers lag 100 to 300 ms; two seconds covers any output device.
inline constexpr int MaxOutputDelayMs = 2000;

struct ConfSettings {
    // How far the listener's output device lags behind the player, 0 to MaxOutputDelayMs.
    int OutputDelayMs = 0;
    // Whether the player may ask the open lyrics database for songs without lyrics: nullopt
    // until the listener has been asked, so nothing leaves the machine before a yes.
    std::optional<bool> SearchOnline;
};

ConfSettings ReadConfFile(const QString& path);
// Writes the delay, held within its range, keeping whatever else the file holds. False when
// the file cannot be written.
bool WriteOutputDelay(const QString& path, int delayMs);
// Writes the listener's answer about the lyrics database, keeping the rest of the file.
bool WriteSearchOnline(const QString& path, bool on);

}  // namespace lyrics
