#include "winamp/Link.h"

#include "winamp/Messages.h"
#include "winamp/modOne.h"

namespace winamp {

platform::HWND WinampHandle = 0;

namespace {
platform::LRESULT Ask(platform::LPARAM what) {
    return platform::SendMessageA(WinampHandle, MsgUser, 0, what);
}
void Command(platform::WPARAM what) {
    platform::PostMessageA(WinampHandle, MsgCommand, what, 0);
}
}  // namespace

platform::HWND FindWinamp() {
    return platform::FindWindowA(WindowClass, nullptr);
}

platform::LRESULT PlayState() {
    return Ask(AskPlayState);
}
platform::LRESULT PositionMs() {
    return Ask(AskPosition);
}
platform::LRESULT ListPosition() {
    return Ask(AskListPosition);
}

void SetListPosition(int entryFromZero) {
    platform::PostMessageA(WinampHandle, MsgUser, static_cast<platform::WPARAM>(entryFromZero),
                           SetListPositionTo);
}
void Play() {
    Command(CmdPlay);
}
void TogglePause() {
    Command(CmdPause);
}
void StopNow() {
    Command(CmdStop);
}
void FadeStop() {
    Command(CmdFadeStop);
}
void StopAfterCurrent() {
    Command(CmdStopAfterCurrent);
}
void OpenJumpToFile() {
    Command(CmdJumpToFile);
}
void Close() {
    Command(CmdClose);
}

}  // namespace winamp
