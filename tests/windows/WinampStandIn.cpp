// A plain Win32 Winamp for the link's tests under Windows: it registers the window class
// "Winamp v1.x" and answers the message table as the simulated Winamp does, over three
// tracks of 200 s, with its clock from GetTickCount64. 40001 closes it.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "winamp/Messages.h"

namespace {

constexpr int Count = 3;
constexpr std::int64_t LengthMs = 200000;

struct Model {
    int state = 0;  // 0 stopped, 1 playing, 3 paused
    int selected = 0;
    std::int64_t origin = 0;  // tick at which the track was at 0, while playing
    std::int64_t pausedAt = 0;

    static std::int64_t Now() { return static_cast<std::int64_t>(GetTickCount64()); }
    std::int64_t Position() const {
        if (state == 1) {
            return std::clamp<std::int64_t>(Now() - origin, 0, LengthMs);
        }
        return state == 3 ? pausedAt : 0;
    }
    void Command(WPARAM command) {
        switch (command) {
            case winamp::CmdPlay:
                state = 1, origin = Now();
                break;
            case winamp::CmdPause:
                if (state == 1) {
                    pausedAt = Position(), state = 3;
                } else if (state == 3) {
                    origin = Now() - pausedAt, state = 1;
                }
                break;
            case winamp::CmdStop:
            case winamp::CmdFadeStop:  // no sound to fade
                state = 0;
                break;
            case winamp::CmdNext:
                selected = std::min(selected + 1, Count - 1);
                break;
            case winamp::CmdPrevious:
                selected = std::max(selected - 1, 0);
                break;
            case winamp::CmdClose:
                PostQuitMessage(0);
                break;
            default:
                break;
        }
    }
    LRESULT Ask(WPARAM wParam, LPARAM lParam) {
        switch (lParam) {
            case winamp::AskPlayState:
                return state;
            case winamp::AskPosition:
                return wParam == winamp::TimeAsPosition ? LRESULT(Position())
                       : wParam == winamp::TimeAsLength ? LengthMs / 1000
                                                        : 0;
            case winamp::AskListLength:
                return Count;
            case winamp::AskListPosition:
                return selected;
            case winamp::SetListPositionTo:
                if (wParam < WPARAM(Count)) {
                    selected = int(wParam);
                }
                return 0;
            default:
                return 0;
        }
    }
} model;

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == winamp::MsgUser) {
        return model.Ask(wParam, lParam);
    }
    if (msg == winamp::MsgCommand) {
        model.Command(wParam);
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
        CreateWindowA(winamp::WindowClass, "Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                      nullptr, windowClass.hInstance, nullptr) == nullptr) {
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}
