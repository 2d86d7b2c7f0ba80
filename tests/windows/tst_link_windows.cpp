// The Winamp link on Windows: the real user32 calls against WinampStandIn.exe, started beside
// this program. Prints "N passed, M failed" and exits non-zero on any failure.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <functional>

#include "platform/Win32.h"
#include "winamp/Link.h"
#include "winamp/Messages.h"

namespace {

int passed = 0, failed = 0;

void Check(bool ok, const char* what) {
    ++(ok ? passed : failed);
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what);
}

// Posts are handled in the stand-in's time: poll up to 10 s (its start: a minute, fresh Wine).
bool Eventually(const std::function<bool()>& holds, int tries = 1000) {
    for (int i = 0; i < tries; ++i, Sleep(10)) {
        if (holds()) {
            return true;
        }
    }
    return false;
}

// Without a path, the program's own folder is searched first.
bool StartStandIn(PROCESS_INFORMATION* process) {
    char command[] = "WinampStandIn.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          process) != 0;
}

}  // namespace

int main() {
    using namespace winamp;
    WinampLink link;
    Check(!link.Redetect() && link.PlayState() == 0 && link.PositionMs() == 0,
          "no Winamp: Redetect finds nothing and the zero handle answers 0");

    PROCESS_INFORMATION process{};
    Check(StartStandIn(&process) && Eventually([&link] { return link.Redetect(); }, 6000) &&
              link.PlayState() == 0 && link.ListPosition() == 0,
          "Redetect finds the stand-in, stopped at the first entry");
    Check(link.NowPlaying() == winamp::NowPlayingTrack{u"Stand-in Band", u"First Song",
                                                       u"C:\\Music\\01 First Song.mp3"},
          "what is playing, from the window's title, its file from Winamp's memory (214)");
    link.SetListPosition(1);
    Check(Eventually([&link] { return link.NowPlaying().File == u"C:\\Music\\02 Sóng 🎵.flac"; }),
          "the file of the entry set as the playlist position (121)");
    link.Play();
    Check(Eventually(
              [&link] { return link.PlayState() == StatePlaying && link.TickPositionMs() >= 200; }),
          "Play plays and the position runs on (40045)");

    link.Close();
    Check(WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0, "Close closes (40001)");
    Check(
        link.PlayState() == 0 && !platform::PostMessageA(link.WinampHandle, MsgCommand, CmdPlay, 0),
        "a dead handle answers 0 and takes no post");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
