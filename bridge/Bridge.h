#pragma once
#include <QString>
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
//   there. Any stop clears the request. A player that cannot hold tells of the new track
//   instead (TrackChanged): near the old one's end that was its end, and the bridge stops
//   the player; earlier it was the listener's own Next or Previous, and it plays on.
// - Between reports nothing is asked while paused or stopped; while playing, a position
//   query asks the player for a fresh report at most once every RefreshMs, so a player
//   that signals no jumps is set right within that time, and only while someone follows.
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
    // A new track this close to the old one's end (or the position falling back from there)
    // is the old one's end.
    static constexpr qint64 NearEndMs = 2000;
    static constexpr qint64 RefreshMs = 1000;

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
    void TrackEnded();    // held at the end of the track (see HoldAtTrackEnd)
    void TrackChanged();  // another track than before, for players that cannot hold
    // What is playing, as the player names it (the artist may be empty), and its local file
    // (empty where the player does not tell one).
    void TrackReported(const QString& artist, const QString& title, const QString& file);

    // The queries of the message table.
    winamp::PlayState PlayState() const;
    qint64 PositionMs() const;
    int LengthS() const;
    int Count() const { return connected ? count : 0; }
    int PlaylistPosition() const { return connected ? selected : 0; }
    std::u16string PlayingFile() const { return file.toStdU16String(); }

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

    // Winamp's window title: "N. Artist - Title - Winamp", the number only where the
    // player's list is seen, " [Paused]" or " [Stopped]" after it; "Winamp" for no track.
    QString WindowTitle() const;

    // Moves the fade on and gives up on unconfirmed requests; the program calls it from a
    // timer while NeedsTick() says there is something to move on.
    void Tick();
    bool NeedsTick() const { return Fading() || expectedSince >= 0; }

    bool IsConnected() const { return connected; }
    bool Fading() const { return fadeStart >= 0; }

  private:
    qint64 RunningMs() const;  // the position, without asking the player for a fresh one
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
    mutable qint64 refreshedAt = 0;  // clock time of the last report or request for one
    double rate = 1.0;
    qint64 lengthMs = 0;
    int count = 0;
    int current = -1;  // the entry the player has loaded
    int selected = 0;
    double volume = -1;  // -1 while the player has not told it
    QString artist, title, file;
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
