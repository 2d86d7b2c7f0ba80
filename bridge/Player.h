#pragma once
#include <QtGlobal>

namespace bridge {

class Bridge;

// What the bridge asks of the real player. A transport (mpv's IPC, MPRIS) carries each
// request out without waiting for the player's answer; what the player then does comes
// back as events to the Bridge.
class Player {
  public:
    virtual ~Player() = default;
    // Starts reaching the player; its events go to bridge from then on.
    virtual void Attach(Bridge& bridge) = 0;
    // Start the entry (counted from 0) from its beginning, unpaused; -1 means the track the
    // player has loaded, for players whose playlist the bridge cannot see.
    virtual void PlayEntry(int entry) = 0;
    virtual void SetPaused(bool paused) = 0;
    virtual void Stop() = 0;
    virtual void Seek(qint64 ms) = 0;
    // Asks for a fresh position report, for players that do not report it as it runs.
    virtual void RefreshPosition() = 0;
    virtual void SetVolume(double volume) = 0;
    // Move to the next or previous track, for players whose playlist the bridge cannot see.
    virtual void Next() = 0;
    virtual void Previous() = 0;
    // Whether the player must hold at the end of the current track instead of moving on,
    // so that the bridge can stop there (TrackEnded).
    virtual void HoldAtTrackEnd(bool hold) = 0;
    // The nearest thing the player has to Winamp's jump-to-file dialog.
    virtual void ShowPlaylist() = 0;
    virtual void Quit() = 0;
};

}  // namespace bridge
