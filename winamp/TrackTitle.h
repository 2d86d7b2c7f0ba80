#pragma once
// What is playing, read from the title Winamp gives its main window while a song is loaded:
// "N. Artist - Title - Winamp", with " [Paused]" or " [Stopped]" after it when not playing.
// Plain text handling without Qt, so the Windows link builds without it.
#include <string>

#include "winamp/Messages.h"

namespace winamp {

struct NowPlayingTrack {
    std::u16string Artist;  // empty when the title names none
    std::u16string Title;   // empty when nothing is loaded
    std::u16string File;    // the media file, where the player tells it (not through the title)
    friend bool operator==(const NowPlayingTrack&, const NowPlayingTrack&) = default;
};

// Artist and title of a main window's title. Lenient: the number, the " - Winamp" suffix and
// the bracketed state may each be missing; a title without " - " between artist and song is
// a song alone. "Winamp" alone (or with its version) names nothing.
NowPlayingTrack ParseWinampTitle(const std::u16string& windowTitle);

// The title a Winamp window shows for the song ("Artist - Title") at playlist entry number
// (from 1; 0 leaves the number out) in the given state.
std::u16string WinampTitle(int number, const std::u16string& song, PlayState state);

}  // namespace winamp
