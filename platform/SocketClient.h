#pragma once
// The client side of windows served over local sockets by other processes (or by other
// threads of this one).
#include <QByteArray>
#include <chrono>

#include "Win32.h"

namespace platform::socketclient {

// How long a send waits in all, connecting included, before it answers 0.
constexpr std::chrono::milliseconds SendTimeout{MaxSendWaitMs};

// The window the class entry names, when its socket accepts connections; else 0.
HWND FindClass(const QByteArray& className);
// Waits at most wait in all, connecting included (the caller keeps it within SendTimeout).
LRESULT Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, std::chrono::milliseconds wait);
bool Post(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// True when something is listening on the window's socket.
bool IsLive(HWND window);

}  // namespace platform::socketclient
