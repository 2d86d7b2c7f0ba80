#pragma once
// Window messages with Windows' meaning. On Windows these are the real user32 calls;
// elsewhere a "window" is a local socket served by a process (see LocalWindow), or a
// window registered inside this process, which is how tests stand in for Winamp.
#include <cstdint>

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

}  // namespace platform
