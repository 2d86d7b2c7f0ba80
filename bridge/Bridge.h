#pragma once
#include <cstdint>

#include "bridge/Player.h"
#include "winamp/Clock.h"
#include "winamp/Messages.h"

namespace bridge {

// Winamp's face of a real player. The transport feeds it the player's events; the window
// asks it the message table's queries, answered at once from what it keeps, and gives it
// the commands, which it passes on to the player in the player's terms.
//
// - The position runs on from the last one the player reported at the player's rate, by
//   the clock, so a query never waits for the player. After a Play or a seek it stands at
//   the target until the player says it has got there (Restarted): a report still on its
//   way from before would take it elsewhere, and the player has not started from there yet.
//   A report close to the target confirms it too (MPRIS players need not signal a seek).
// - The playlist position (what 125 answers, 121 sets) is Winamp's "current entry": setting
//   it does not touch what plays; the next Play starts it. It follows the player when the
//   player moves on to another entry by itself.
// - Stop-after-current makes the player hold at the end of the track; the bridge stops it
//   there. Any stop clears the request.
// - The fading stop answers "playing" for FadeMs while the volume ramps down, then stops
//   the player and gives it its volume back. Play, pause, stop, previous and next end a
//   fade at once, with the volume restored.
// - Without a player every query answers 0 and every command is lost, as with a closed
//   Winamp.
class Bridge {
  public:
    static constexpr qint64 FadeMs = 1500;
    // A player that never confirms a restart is believed again after this long.
    static constexpr qint64 RestartWaitMs = 2000;
    // A report this close to the target of a start or seek confirms it.
    static constexpr qint64 ArrivedMs = 250;

    Bridge(winamp::Clock& clock, Player& player);

    // Events from the player.
    void Connected(bool connected);
    void StatusChanged(winamp::PlayState status);
    void PositionReported(qint64 ms);
    void Restarted();  // a start or seek asked for has been carried out
    void RateChanged(double rate);
    void LengthReported(qint64 ms);
    void ListReported(int count, int current);  // current -1: none loaded
    void VolumeReported(double volume);
    void TrackEnded();  // held at the end of the track (see HoldAtTrackEnd)

    // The queries of the message table.
    winamp::PlayState PlayState() const;
    qint64 PositionMs() const;
    int LengthS() const;
    int Count() const { return connected ? count : 0; }
    int PlaylistPosition() const { return connected ? selected : 0; }

    // The commands of the message table.
    void Play();
    void PauseResume();
    void Stop();
    void FadeOut();
    void StopAfterCurrent();
    void Previous();
    void Next();
    void SetPlaylistPosition(std::int64_t entry);  // ignored when out of range
    void Seek(std::int64_t ms);                    // ignored when stopped
    void OpenJumpDialog();
    void Close();

    // Moves the fade on; the program calls it from a timer.
    void Tick();

    bool IsConnected() const { return connected; }
    bool Fading() const { return fadeStart >= 0; }

  private:
    void Rebase(qint64 ms);
    void StopHere();
    void Restart();
    void Expect(winamp::PlayState to);
    void EndFade();
    void UpdateHold();
    void Step(int by);

    winamp::Clock& clock;
    Player& player;
    bool connected = false;
    winamp::PlayState status = winamp::PlayState::Stopped;
    qint64 baseMs = 0;  // position at clock time baseAt
    qint64 baseAt = 0;
    double rate = 1.0;
    qint64 lengthMs = 0;
    int count = 0;
    int current = -1;  // the entry the player has loaded
    int selected = 0;
    double volume = -1;  // -1 while the player has not told it
    bool stopAfter = false;
    bool holding = false;
    bool stopSent = false;  // until the player confirms the stop the bridge asked for
    qint64 fadeStart = -1;
    double fadeVolume = 0;
    double lastFadeStep = -1;
    qint64 restartSince = -1;  // clock time of a start or seek not yet confirmed
    // A play, pause or resume asked for and not yet confirmed: until then, and for at most
    // RestartWaitMs, a report of the state it left is an old one still on its way.
    winamp::PlayState leftBehind = winamp::PlayState::Stopped;
    qint64 expectedSince = -1;
    winamp::PlayState reported = winamp::PlayState::Stopped;  // what the player said last
};

}  // namespace bridge
