#pragma once
// Every message the programs exchange with Winamp. Queries are sent and their answers
// read; commands are posted and nothing comes back.
#include "platform/Win32.h"

namespace winamp {

inline constexpr const char* WindowClass = "Winamp v1.x";

// Message numbers.
inline constexpr platform::UINT MsgUser = 1024;    // queries and list commands, lParam says which
inline constexpr platform::UINT MsgCommand = 273;  // menu commands, wParam says which

// MsgUser lParam values.
inline constexpr platform::LPARAM AskPlayState = 104;       // 1 playing, 3 paused, else stopped
inline constexpr platform::LPARAM AskPosition = 105;        // wParam 0: position in ms
inline constexpr platform::LPARAM AskListLength = 124;      // number of playlist entries
inline constexpr platform::LPARAM AskListPosition = 125;    // playlist position from 0
inline constexpr platform::LPARAM SetListPositionTo = 121;  // wParam: entry from 0
inline constexpr platform::LPARAM SeekTo = 106;             // wParam: position in ms
// wParam: entry from 0. Winamp answers a pointer to the entry's file name (UTF-16) in its own
// memory.
inline constexpr platform::LPARAM AskListFilePointer = 214;
// The playing entry's file as a text of our own wire (see platform::TextQuery), from the
// windows we serve ourselves; empty where the player does not tell it. Winamp knows neither
// message and answers 0, which reads as no text.
inline constexpr platform::LPARAM AskFileLength = 17201;
inline constexpr platform::LPARAM AskFilePiece = 17202;
inline constexpr platform::TextQuery PlayingFileQuery{MsgUser, AskFileLength, MsgUser,
                                                      AskFilePiece};

// wParam of AskPosition.
inline constexpr platform::WPARAM TimeAsPosition = 0;  // position in the track, in ms
inline constexpr platform::WPARAM TimeAsLength = 1;    // length of the track, in seconds

// Play states answered to AskPlayState; any answer but playing or paused means stopped.
inline constexpr platform::LRESULT StateStopped = 0;
inline constexpr platform::LRESULT StatePlaying = 1;
inline constexpr platform::LRESULT StatePaused = 3;

// The same states as a model behind the Winamp window keeps them.
enum class PlayState : platform::LRESULT {
    Stopped = StateStopped,
    Playing = StatePlaying,
    Paused = StatePaused
};

// MsgCommand wParam values.
inline constexpr platform::WPARAM CmdClose = 40001;
inline constexpr platform::WPARAM CmdPrevious = 40044;
inline constexpr platform::WPARAM CmdPlay = 40045;
inline constexpr platform::WPARAM CmdPause = 40046;  // toggles paused and playing
inline constexpr platform::WPARAM CmdStop = 40047;
inline constexpr platform::WPARAM CmdNext = 40048;
inline constexpr platform::WPARAM CmdFadeStop = 40147;
inline constexpr platform::WPARAM CmdStopAfterCurrent = 40157;
inline constexpr platform::WPARAM CmdJumpToFile = 40194;

}  // namespace winamp
