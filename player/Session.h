#pragma once
#include <QObject>
#include <QString>
#include <functional>

#include "lyrics/LyricLines.h"
#include "platform/Win32.h"
#include "player/LineFollower.h"
#include "player/SongOffset.h"
#include "winamp/TrackTitle.h"

class QRandomGenerator;
class QTimer;

namespace playlist {
class Playlist;
}
namespace winamp {
class WinampLink;
}

namespace player {

class LyricsLookup;

// The display asks Winamp for its position once a tick; between two playlist entries it asks
// for the play state at the same pace.
inline constexpr int TickMs = 40;

// The player's playback session, without widgets: the song on display, what Play plays, the
// display following Winamp a tick at a time, its pause, and playlist playback song after
// song with the wait for Winamp to finish a song before the next entry starts, and following
// whatever Winamp plays with the lyrics found for it. The window forwards its commands here
// and shows what the signals say; the Winamp link and the playlist are the program's, passed
// in.
class Session : public QObject {
    Q_OBJECT
  public:
    enum class State {
        Idle,       // nothing is followed
        Following,  // the display moves on with Winamp's position, a line at most per tick
        Paused,     // Winamp paused by Pause; Pause again goes back to what it paused
        Waiting,    // between entries: the song plays out, the next entry waits for a stop
        // Whatever Winamp plays, song after song as the listener moves on, with the lyrics
        // found for each; Winamp is never told what to play.
        FollowingPlayer,
    };
    Q_ENUM(State)

    Session(winamp::WinampLink& winamp, playlist::Playlist& playlist, QRandomGenerator& random,
            QObject* parent = nullptr);

    State GetState() const { return state; }
    // Following the player, paused or not.
    bool FollowsPlayer() const;
    // A song's lines move on with Winamp: a song followed, or the lyrics found for what the
    // followed player plays.
    bool SongInStep() const { return InStep(state); }
    const lyrics::LyricLines& Lyrics() const { return lines; }
    const QString& Caption() const { return caption; }

    // How Stop and Next stop Winamp: at once, or fading out.
    void SetImmediateStop(bool immediate) { immediateStop = immediate; }
    // How far the listener's output lags behind Winamp: the lines wait as long.
    void SetOutputDelay(int delayMs) { outputDelayMs = delayMs; }
    // Asked once a song whose lines the user moved ends or another opens: keep the new timing
    // in its file? Without an answer nothing is written and the offset stays pending.
    void SetKeepQuestion(std::function<bool()> ask) { keepQuestion = std::move(ask); }
    const SongOffset& Offset() const { return offset; }
    // Where FollowingPlayer finds the lyrics of a song; without one no song has any.
    void SetLyricsLookup(LyricsLookup* lookup);
    void StopWinamp();

    // A lyrics file opened by the user: read and its first line shown as the next one; Play
    // then plays it. False after LyricsUnreadable; Play still plays what was read.
    bool OpenLyrics(const QString& path);
    // A playlist loaded or an entry selected: Play plays the playlist.
    void ChoosePlaylist();

  public slots:
    void Play();
    // Playlist playback from the selected entry (or the first).
    void PlayPlaylist();
    // The selected entry at once; starts playlist playback when it is off.
    void PlaySelectedEntry();
    void Pause();
    void Stop();
    void Next();
    // Following the player on: FollowingPlayer, from the song playing now; off: the display
    // ends and Winamp plays on.
    void Follow(bool on);
    // While a song is followed, paused or not: its lines deltaMs later (sooner when negative).
    void MoveLyrics(int deltaMs);
    // Every TickMs while a song is followed or waited for; a tick left over from a state
    // that has ended does nothing.
    void Tick();

  signals:
    void StateChanged(player::Session::State state);
    void CaptionChanged(const QString& caption);
    void CurrentLineChanged(const QString& text);
    void NextLineChanged(const QString& text);
    // "Could not read data file." is due.
    void LyricsUnreadable();
    // Winamp was looked for again before a start; the window says so when it was not found.
    void WinampLookedUp(bool found);
    // The display started: Pause and Stop take the place of Play and Open.
    void DisplayStarted();
    // The stopped state: Play and Open again.
    void PlaybackStopped();
    // Playlist playback began: Next stands in Play's place.
    void PlaylistStarted();
    // Playlist Play found no entry to play.
    void PlaylistEmpty();
    // The playlist panel may retract (false) or come back (true), where it does so by itself.
    void PanelDue(bool shown);
    // A tick read Winamp's position: positionMs in the lyrics' own time (the output delay and
    // the song's offset taken off), with row the line then current.
    void PositionRead(int row, double positionMs);
    // The song's lines were moved: now shiftMs later than its file has them.
    void LyricsMoved(int shiftMs);
    // The new timing could not be written to the song's file at path; it still holds here.
    void OffsetNotKept(const QString& path);
    // While following: no lyrics were found for songTitle ("Song - Artist"), which may be
    // timed now; an empty title when the offer no longer stands.
    void LyricsMissing(const QString& songTitle);

  private:
    bool InStep(State s) const;
    bool LookUpWinamp();
    bool LoadLyrics(const QString& path);
    void StartDisplay();
    void EndDisplay(bool keepWinampPlaying);
    // The lines at the heard position, then that position for the fill. endAfterLast: the
    // song ends with its last line (ours); otherwise the lines stay for a seek back.
    void StepLines(platform::LRESULT position, bool endAfterLast);
    void LeaveWait();
    bool InWait() const;
    // The song's position as the listener hears it, its lines moved as the user moved them.
    double HeardMs(platform::LRESULT positionMs) const;
    // During playlist playback: Winamp, still playing, has left the entry's track.
    bool LeftEntryTrack(platform::LRESULT positionMs);
    void FollowPlayerTick();
    // A new song under the player: its lines go at once and its lyrics are looked for.
    void TakeUpTrack(const winamp::NowPlayingTrack& track, platform::LRESULT listPosition);
    void ShowFound(const QString& lyricsPath);
    void ShowMissing(const winamp::NowPlayingTrack& track);
    void ClearDisplay();
    // The song's moved lines kept in its file, or dropped, as the user answers.
    void KeepOffset();
    void Enter(State next);
    void SetCaption(const QString& text);
    QString LyricsCaption() const;

    winamp::WinampLink& winamp;
    playlist::Playlist& playlist;
    QRandomGenerator& random;
    lyrics::LyricLines lines;
    LineFollower follower{lines};
    State state = State::Idle;
    // What Pause goes back to: Following, or Waiting when the tail of a song was paused.
    State resumeTo = State::Following;
    bool playFromPlaylist = false;
    bool immediateStop = false;
    int outputDelayMs = 0;
    SongOffset offset;
    std::function<bool()> keepQuestion;
    QString caption;
    QTimer* timer;
    // The entry's track (from 0) while an entry plays, and the last position heard in it.
    platform::LRESULT entryTrack = -1;
    platform::LRESULT entryPositionMs = 0;
    LyricsLookup* lookup = nullptr;
    // The song under the player while following, and whether its lyrics are shown.
    winamp::NowPlayingTrack followedTrack;
    platform::LRESULT followedPosition = -1;
    bool followedLyrics = false;
};

}  // namespace player
