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

[[maybe_unused]] bool ServedHere(HWND window) {
    registry::Entry entry;
    return registry::Lookup(window, &entry) != registry::Route::Elsewhere;
}
#else
std::optional<LRESULT> DeliverHere(HWND, UINT, WPARAM, LPARAM, bool, bool* dead) {
    *dead = false;
    return std::nullopt;
}

[[maybe_unused]] bool ServedHere(HWND) {
    return false;
}
#endif

constexpr std::size_t UnitsPerPiece = 4;

// The length row's answer: the length with a check of the whole text above bit 32.
std::uint64_t TextHead(const std::u16string& text) {
    std::uint32_t hash = 2166136261u;  // FNV-1a over the units
    for (const char16_t unit : text) {
        hash = (hash ^ unit) * 16777619u;
    }
    return (std::uint64_t(hash & 0x7fffffffu) << 32) | text.size();
}

}  // namespace

std::optional<LRESULT> TextAnswer(const std::u16string& text, const TextQuery& query, UINT msg,
                                  WPARAM wParam, LPARAM lParam) {
    if (msg == query.LengthMsg && lParam == query.LengthWhat) {
        return static_cast<LRESULT>(TextHead(text));
    }
    if (msg != query.PieceMsg || lParam != query.PieceWhat) {
        return std::nullopt;
    }
    std::uint64_t piece = 0;
    for (std::size_t i = 0; i < UnitsPerPiece && wParam + i < text.size(); ++i) {
        piece |= std::uint64_t(text[wParam + i]) << (16 * i);
    }
    return static_cast<LRESULT>(piece);
}

std::optional<LRESULT> WindowTextAnswer(const std::u16string& title, UINT msg, WPARAM wParam) {
    // A title is cut where Windows would cut it.
    return TextAnswer(title.substr(0, LongestWindowText), WindowTextQuery, msg, wParam, 0);
}

std::u16string ReadText(HWND window, const TextQuery& query, std::u16string* known) {
    // A text that changes while it is read fails its check and is read again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const auto head =
            static_cast<std::uint64_t>(SendMessageA(window, query.LengthMsg, 0, query.LengthWhat));
        const std::size_t length = head & 0xffffffffu;
        if (head == 0 || length > LongestWindowText) {
            break;
        }
        if (known != nullptr && head == TextHead(*known)) {
            return *known;
        }
        std::u16string text;
        for (std::size_t at = 0; at < length; at += UnitsPerPiece) {
            const auto piece = static_cast<std::uint64_t>(
                SendMessageA(window, query.PieceMsg, at, query.PieceWhat));
            for (std::size_t i = 0; i < UnitsPerPiece && at + i < length; ++i) {
                text += static_cast<char16_t>(piece >> (16 * i));
            }
        }
        if (TextHead(text) == head) {
            if (known != nullptr) {
                *known = text;
            }
            return text;
        }
    }
    if (known != nullptr) {
        known->clear();
    }
    return {};
}

std::u16string GetWindowTextW(HWND window) {
    if (window == 0) {
        return {};
    }
#ifdef _WIN32
    if (!ServedHere(window)) {
        DWORD_PTR length = 0;
        if (::SendMessageTimeoutW(ToNative(window), WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                                  MaxSendWaitMs, &length) == 0) {
            return {};
        }
        std::u16string text(std::min<std::size_t>(length, LongestWindowText) + 1, u'\0');
        DWORD_PTR copied = 0;
        if (::SendMessageTimeoutW(ToNative(window), WM_GETTEXT, text.size(),
                                  reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                                  MaxSendWaitMs, &copied) == 0) {
            return {};
        }
        text.resize(std::min<std::size_t>(copied, text.size() - 1));
        return text;
    }
#endif
    return ReadText(window, WindowTextQuery);
}

bool IsSystemWindow([[maybe_unused]] HWND window) {
#ifdef _WIN32
    return window != 0 && !ServedHere(window);
#else
    return false;
#endif
}

std::u16string ReadWindowProcessText([[maybe_unused]] HWND window,
                                     [[maybe_unused]] LRESULT address) {
#ifdef _WIN32
    DWORD processId = 0;
    if (address == 0 || !IsSystemWindow(window) ||
        ::GetWindowThreadProcessId(ToNative(window), &processId) == 0) {
        return {};
    }
    const HANDLE process = ::OpenProcess(PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        return {};
    }
    // Read up to each page's end at most, so that a text ending just before an unreadable page
    // is still read whole.
    constexpr std::uintptr_t PageBytes = 4096;
    std::u16string text;
    auto at = static_cast<std::uintptr_t>(address);
    bool ended = false;
    while (!ended && text.size() <= LongestWindowText) {
        char16_t units[PageBytes / sizeof(char16_t)];
        const std::uintptr_t bytes = std::min<std::uintptr_t>(
            PageBytes - at % PageBytes, (LongestWindowText + 1 - text.size()) * sizeof(char16_t));
        SIZE_T read = 0;
        if (::ReadProcessMemory(process, reinterpret_cast<LPCVOID>(at), units, bytes, &read) == 0 ||
            read < sizeof(char16_t)) {
            break;
        }
        for (std::size_t i = 0; i < read / sizeof(char16_t) && !ended; ++i) {
            ended = units[i] == u'\0';
            if (!ended) {
                text += units[i];
            }
        }
        at += read;
    }
    ::CloseHandle(process);
    return ended && text.size() <= LongestWindowText ? text : std::u16string();
#else
    return {};
#endif
}

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
