// A plain Win32 Winamp for the link's tests under Windows: it registers the window class
// "Winamp v1.x" and answers the message table as the simulated Winamp does, over three
// tracks of 200 s, with its clock from GetTickCount64. 40001 closes it.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "winamp/Messages.h"

namespace {

using namespace winamp;

constexpr int Count = 3;
constexpr std::int64_t LengthMs = 200000;

LRESULT state = StateStopped;
int selected = 0;
std::int64_t origin = 0;  // the tick at which the track was at 0, while playing
std::int64_t pausedAt = 0;

std::int64_t Now() {
    return static_cast<std::int64_t>(GetTickCount64());
}

std::int64_t Position() {
    return state == StatePlaying  ? std::clamp<std::int64_t>(Now() - origin, 0, LengthMs)
           : state == StatePaused ? pausedAt
                                  : 0;
}

LRESULT Ask(WPARAM wParam, LPARAM lParam) {
    switch (lParam) {
        case AskPlayState:
            return state;
        case AskPosition:
            return wParam == TimeAsPosition ? LRESULT(Position())
                   : wParam == TimeAsLength ? LengthMs / 1000
                                            : 0;
        case AskListLength:
            return Count;
        case AskListPosition:
            return selected;
        case SetListPositionTo:
            selected = wParam < WPARAM(Count) ? int(wParam) : selected;
            return 0;
    }
    return 0;
}

void Command(WPARAM command) {
    if (command == CmdPlay) {
        state = StatePlaying, origin = Now();
    } else if (command == CmdPause && state == StatePlaying) {
        pausedAt = Position(), state = StatePaused;
    } else if (command == CmdPause && state == StatePaused) {
        origin = Now() - pausedAt, state = StatePlaying;
    } else if (command == CmdStop || command == CmdFadeStop) {  // no sound to fade
        state = StateStopped;
    } else if (command == CmdNext || command == CmdPrevious) {
        selected = std::clamp(selected + (command == CmdNext ? 1 : -1), 0, Count - 1);
    } else if (command == CmdClose) {
        PostQuitMessage(0);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == MsgUser) {
        return Ask(wParam, lParam);
    }
    if (msg == MsgCommand) {
        Command(wParam);
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

int main() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = winamp::WindowClass;
    if (RegisterClassA(&windowClass) == 0 ||
        CreateWindowA(winamp::WindowClass, "1. Stand-in Band - First Song - Winamp [Stopped]",
                      WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, windowClass.hInstance,
                      nullptr) == nullptr) {
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}
