#pragma once
// The queries and commands both programs send to Winamp, one function per row of the
// message table. All go to WinampHandle; with a zero or dead handle queries answer 0 and
// commands are lost.
#include "platform/Win32.h"

namespace winamp {

platform::HWND FindWinamp();

// Queries (sent).
platform::LRESULT PlayState();     // 1 playing, 3 paused, anything else stopped
platform::LRESULT PositionMs();    // playback position in the current song
platform::LRESULT ListPosition();  // playlist position counted from 0

// Commands (posted).
void SetListPosition(int entryFromZero);
void Play();
void TogglePause();
void StopNow();
void FadeStop();
void StopAfterCurrent();
void OpenJumpToFile();
void Close();

}  // namespace winamp
