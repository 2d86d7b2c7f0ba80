#include "Win32.h"

#include <algorithm>
#include <optional>

// CANTORIX_NO_QT: the plain Win32 build of the link, with no windows of this process
// (the Windows cross-build where no Qt for Windows is at hand).
#ifndef CANTORIX_NO_QT
#include <QByteArray>

#include "WindowRegistry.h"
#endif

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include "SocketClient.h"
#endif

namespace platform {

namespace {

#ifdef _WIN32
::HWND ToNative(HWND window) {
    return reinterpret_cast<::HWND>(static_cast<std::uintptr_t>(window));
}
#endif

#ifndef CANTORIX_NO_QT
// Windows of this process answer on the caller's thread, as Windows calls the window
// procedure directly for a send within its own thread.
// A closed window of this process answers nothing, whatever its handle may name elsewhere.
std::optional<LRESULT> DeliverHere(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, bool posted,
                                   bool* dead) {
    registry::Entry entry;
    const auto route = registry::Lookup(window, &entry);
    *dead = route == registry::Route::Dead;
    if (route != registry::Route::Direct) {
        return std::nullopt;
    }
    return (*entry.handler)(Message{msg, wParam, lParam, posted});
}
#else
std::optional<LRESULT> DeliverHere(HWND, UINT, WPARAM, LPARAM, bool, bool* dead) {
    *dead = false;
    return std::nullopt;
}
#endif

}  // namespace

HWND FindWindowA(const char* className, const char* windowName) {
    if (className == nullptr || windowName != nullptr) {
        return 0;
    }
#ifndef CANTORIX_NO_QT
    if (const HWND here = registry::FindClass(QByteArray(className))) {
        return here;
    }
#endif
#ifdef _WIN32
    // User handles are 32 bits wide even in a 64-bit process.
    return static_cast<HWND>(
        reinterpret_cast<std::uintptr_t>(::FindWindowA(className, windowName)));
#else
    return socketclient::FindClass(QByteArray(className));
#endif
}

LRESULT SendMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageWithin(window, msg, wParam, lParam, MaxSendWaitMs);
}

LRESULT SendMessageWithin(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, unsigned waitMs) {
    if (window == 0) {
        return 0;
    }
    bool dead = false;
    if (const auto answer = DeliverHere(window, msg, wParam, lParam, false, &dead)) {
        return *answer;
    }
    if (dead) {
        return 0;
    }
    waitMs = std::min(waitMs, MaxSendWaitMs);
#ifdef _WIN32
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutA(ToNative(window), msg, wParam, lParam, SMTO_ABORTIFHUNG, waitMs,
                              &result) == 0) {
        return 0;
    }
    return static_cast<LRESULT>(result);
#else
    return socketclient::Send(window, msg, wParam, lParam, std::chrono::milliseconds(waitMs));
#endif
}

bool PostMessageA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (window == 0) {
        return false;
    }
    bool dead = false;
    if (DeliverHere(window, msg, wParam, lParam, true, &dead)) {
        return true;
    }
    if (dead) {
        return false;
    }
#ifdef _WIN32
    return ::PostMessageA(ToNative(window), msg, wParam, lParam) != 0;
#else
    return socketclient::Post(window, msg, wParam, lParam);
#endif
}

}  // namespace platform
