#pragma once
// cantorix.conf: the settings beyond the eleven lines of cantorix.ini, in Qt's INI format in
// the same folder, shared by both programs. Read once at start; a missing file, key or
// unreadable value gives the default without a word.
#include <QPoint>
#include <QString>
#include <optional>

namespace lyrics {

// Bluetooth speakers lag 100 to 300 ms; two seconds covers any output device.
inline constexpr int MaxOutputDelayMs = 2000;

struct ConfSettings {
    // How far the listener's output device lags behind the player, 0 to MaxOutputDelayMs.
    int OutputDelayMs = 0;
    // The lyrics library's folder; empty until one is chosen.
    QString LibraryFolder;
    // The player's current line fills as it is sung.
    bool Karaoke = false;
    // The player's lines over the desktop, clicks passing through them once locked; where
    // the user last put them, if anywhere.
    bool Overlay = false;
    bool OverlayLocked = false;
    std::optional<QPoint> OverlayPlace;
    // Whether the player may ask the open lyrics database for songs without lyrics: nullopt
    // until the listener has been asked, so nothing leaves the machine before a yes.
    std::optional<bool> SearchOnline;
};

// The keys of the player's switches and the overlay's place (a point "x,y").
enum class ConfKey { Karaoke, Overlay, OverlayLocked, OverlayPlace };

ConfSettings ReadConfFile(const QString& path);
// Writes the delay, held within its range, keeping whatever else the file holds. False when
// the file cannot be written.
bool WriteOutputDelay(const QString& path, int delayMs);
// Writes the library folder the same way.
bool WriteLibraryFolder(const QString& path, const QString& folder);
// Writes one switch, keeping whatever else the file holds; false as above.
bool WriteConfSwitch(const QString& path, ConfKey key, bool on);
bool WriteOverlayPlace(const QString& path, const QPoint& place);
// Writes the listener's answer about the lyrics database, keeping the rest of the file.
bool WriteSearchOnline(const QString& path, bool on);

}  // namespace lyrics
