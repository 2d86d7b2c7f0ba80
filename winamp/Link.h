#pragma once
// The Winamp link: the handle of Winamp's main window and one function per row of the
// message table. No widgets; each program owns one link and passes it to what needs it.
#include "platform/Win32.h"
#include "winamp/TrackTitle.h"

namespace winamp {

// Five ticks of a 40 ms display: an answer later than that is of no use to it.
constexpr unsigned TickWaitMs = 200;

class WinampLink {
  public:
    // The handle of Winamp's main window; zero when Winamp was not found. Between two
    // Redetects it may name a window that has gone: every query then answers 0 and every
    // command is lost.
    platform::HWND WinampHandle = 0;

    // Looks the window up again; true when it was found.
    bool Redetect();

    // Queries (sent).
    platform::LRESULT PlayState() const;   // StatePlaying, StatePaused, anything else stopped
    platform::LRESULT PositionMs() const;  // playback position in the current song
    // The position for a display that asks again at its next tick and keeps its line on a 0:
    // it waits at most TickWaitMs, so a Winamp that stops answering holds the caller that
    // long once, and not at all while it stays silent.
    platform::LRESULT TickPositionMs() const;
    platform::LRESULT ListPosition() const;  // playlist position counted from 0
    platform::LRESULT TrackLengthS() const;  // length of the current track in seconds
    // Artist and title as Winamp shows them in its window title, and the playing entry's file
    // where the player tells it. All empty when Winamp is not found or has nothing loaded.
    NowPlayingTrack NowPlaying() const;

    // Commands (posted).
    void SetListPosition(int entryFromZero) const;
    void Play() const;
    // Pauses a playing Winamp and resumes a paused one; a stopped one is left alone.
    void Pause() const;
    // The immediate stop, or the fading one.
    void Stop(bool immediate) const;
    void StopAfterCurrent() const;
    // To positionMs in the song that plays or pauses; a stopped Winamp ignores it.
    void Seek(std::int64_t positionMs) const;
    void OpenJumpToFile() const;
    void Close() const;

  private:
    platform::LRESULT Ask(platform::LPARAM what, unsigned waitMs = platform::MaxSendWaitMs) const;
    void Command(platform::WPARAM what) const;
    std::u16string PlayingFile() const;

    // The file read last, so that a tick that finds it unchanged need not read it again.
    mutable std::u16string playingFile;
};

}  // namespace winamp
