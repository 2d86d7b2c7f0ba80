// A plain Win32 Winamp answering through winamp-sim's AnswerMessage: three tracks of 200 s;
// 40001 closes it; its files are told as Winamp tells them (214), a pointer into its memory.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "winamp/Answer.h"

namespace {

std::int64_t Now() {
    return static_cast<std::int64_t>(GetTickCount64());
}

// Previous and next only select; a fade stops at once; pause, seek and the rest do nothing.
class StandIn {
  public:
    winamp::PlayState PlayState() const { return state; }
    std::int64_t PositionMs() const {
        return state == winamp::PlayState::Playing
                   ? std::clamp<std::int64_t>(Now() - origin, 0, LengthMs)
                   : 0;
    }
    int LengthS() const { return LengthMs / 1000; }
    int Count() const { return Tracks; }
    int PlaylistPosition() const { return selected; }
    std::u16string PlayingFile() const { return {}; }  // only through 214

    void Play() {
        state = winamp::PlayState::Playing;
        origin = Now();
    }
    void PauseResume() {}
    void Stop() { state = winamp::PlayState::Stopped; }
    void FadeOut() { Stop(); }
    void StopAfterCurrent() {}
    void Previous() { selected = std::max(selected - 1, 0); }
    void Next() { selected = std::min(selected + 1, Tracks - 1); }
    void SetPlaylistPosition(std::int64_t entry) {
        if (entry >= 0 && entry < Tracks) {
            selected = static_cast<int>(entry);
        }
    }
    void Seek(std::int64_t) {}
    void OpenJumpDialog() {}
    void Close() { PostQuitMessage(0); }

  private:
    static constexpr int Tracks = 3;
    static constexpr std::int64_t LengthMs = 200000;
    winamp::PlayState state = winamp::PlayState::Stopped;
    int selected = 0;
    std::int64_t origin = 0;  // the tick at which the track was at 0, while playing
};

StandIn winampModel;

const wchar_t* const Files[] = {L"C:\\Music\\01 First Song.mp3", L"C:\\Music\\02 Sóng 🎵.flac",
                                L"D:\\03.ogg"};

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == winamp::MsgUser && lParam == winamp::AskListFilePointer) {
        return wParam < std::size(Files) ? reinterpret_cast<LRESULT>(Files[wParam]) : 0;
    }
    if (msg == winamp::MsgUser || msg == winamp::MsgCommand) {
        return winamp::AnswerMessage(winampModel, msg, wParam, lParam);
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
