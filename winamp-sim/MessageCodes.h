#pragma once
#include "platform/Win32.h"

// The window messages the simulated Winamp understands. Queries and the two
// parameterised commands arrive as the user message with the request code in lParam;
// the button-like commands arrive as a command message with the command in wParam.
namespace winampsim::codes {

using platform::LPARAM;
using platform::UINT;
using platform::WPARAM;

inline constexpr UINT UserMessage = 1024;
inline constexpr UINT CommandMessage = 273;

// lParam of UserMessage
inline constexpr LPARAM AskPlayState = 104;  // 1 playing, 3 paused, 0 stopped
inline constexpr LPARAM AskTime = 105;       // wParam 0: position ms, 1: length s
inline constexpr LPARAM SeekTo = 106;        // wParam: position in ms
inline constexpr LPARAM SelectEntry = 121;   // wParam: playlist entry from 0
inline constexpr LPARAM AskEntryCount = 124;
inline constexpr LPARAM AskSelectedEntry = 125;

inline constexpr WPARAM TimePosition = 0;
inline constexpr WPARAM TimeLength = 1;

// wParam of CommandMessage
inline constexpr WPARAM CmdClose = 40001;
inline constexpr WPARAM CmdPrevious = 40044;
inline constexpr WPARAM CmdPlay = 40045;
inline constexpr WPARAM CmdPauseResume = 40046;
inline constexpr WPARAM CmdStop = 40047;
inline constexpr WPARAM CmdNext = 40048;
inline constexpr WPARAM CmdFadeOut = 40147;
inline constexpr WPARAM CmdStopAfterCurrent = 40157;
inline constexpr WPARAM CmdJumpDialog = 40194;

// The window class every client looks for.
inline constexpr const char* WindowClass = "Winamp v1.x";

}  // namespace winampsim::codes
