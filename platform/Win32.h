#pragma once
// Window messages with Windows' meaning. On Windows these are the real user32 calls;
// elsewhere a "window" is a local socket served by a process (see LocalWindow), or a
// window registered inside this process, which is how tests stand in for Winamp.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

using HWND = std::uint32_t;  // 0 means "no window"
using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// The handle of the first live window serving className, or 0. windowName must be null.
HWND FindWindowA(const char* className, const char* windowName);

// The longest a send waits for its answer.
constexpr unsigned MaxSendWaitMs = 500;

// Delivers msg and waits at most MaxSendWaitMs for the answer. A zero, dead or silent window
// answers 0.
LRESULT SendMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// As SendMessageA, but waits at most waitMs (never more than MaxSendWaitMs): for a query that is
// asked again in a moment, so that an answer later than that would be of no use.
LRESULT SendMessageWithin(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, unsigned waitMs);

// Queues msg for the window and returns at once. Posts to one window arrive in the order
// they were made; a post to a zero or dead window goes nowhere. Returns whether it was
// handed over (callers do not rely on it).
bool PostMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// The title of a window, as Windows' GetWindowTextW reads it; empty for a zero, dead or silent
// window. Each of its messages waits at most MaxSendWaitMs.
std::u16string GetWindowTextW(HWND window);

// Where the window is served by our own wire, a text travels in ordinary sends, over two
// messages of its own (its TextQuery): the length message answers the length in UTF-16 units
// with a check of the whole text above bit 32, the piece message four units from the offset in
// wParam, one per 16 bits. A window's title has Windows' WM_GETTEXTLENGTH and WM_GETTEXT; a
// handler that serves a window with a title answers them through WindowTextAnswer.
constexpr UINT MsgGetText = 0x000D;        // Windows' WM_GETTEXT
constexpr UINT MsgGetTextLength = 0x000E;  // Windows' WM_GETTEXTLENGTH
constexpr std::size_t LongestWindowText = 1024;
struct TextQuery {
    UINT LengthMsg;
    LPARAM LengthWhat;  // the length message's lParam
    UINT PieceMsg;
    LPARAM PieceWhat;  // the piece message's lParam
};
constexpr TextQuery WindowTextQuery{MsgGetTextLength, 0, MsgGetText, 0};
// The answer to a message of query for text, or nothing for another message. A text longer
// than LongestWindowText reads as none.
std::optional<LRESULT> TextAnswer(const std::u16string& text, const TextQuery& query, UINT msg,
                                  WPARAM wParam, LPARAM lParam);
// The same for a window's title, cut at LongestWindowText.
std::optional<LRESULT> WindowTextAnswer(const std::u16string& title, UINT msg, WPARAM wParam);
// A text read by query; empty for a zero, dead or silent window, or one that keeps changing
// it. Where known holds the text read last time and the window's length answer still fits it,
// the pieces are not read again; known is then set to what was read.
std::u16string ReadText(HWND window, const TextQuery& query, std::u16string* known = nullptr);

// Whether the window is a real one of the system's (Windows' user32), rather than one served
// by our own wire.
bool IsSystemWindow(HWND window);
// A zero-terminated UTF-16 text in the memory of the process that serves a system window at
// address, as Winamp answers some queries with a pointer into its own memory. Empty where it
// cannot be read, where it is longer than LongestWindowText and for any other window.
std::u16string ReadWindowProcessText(HWND window, LRESULT address);

}  // namespace platform
