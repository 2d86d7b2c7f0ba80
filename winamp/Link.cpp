#include "winamp/Link.h"

#include <algorithm>

#include "winamp/Messages.h"

namespace winamp {

bool WinampLink::Redetect() {
    WinampHandle = platform::FindWindowA(WindowClass, nullptr);
    return WinampHandle != 0;
}

platform::LRESULT WinampLink::Ask(platform::LPARAM what, unsigned waitMs) const {
    return platform::SendMessageWithin(WinampHandle, MsgUser, TimeAsPosition, what, waitMs);
}

void WinampLink::Command(platform::WPARAM what) const {
    platform::PostMessageA(WinampHandle, MsgCommand, what, 0);
}

platform::LRESULT WinampLink::PlayState() const {
    return Ask(AskPlayState);
}
platform::LRESULT WinampLink::PositionMs() const {
    return Ask(AskPosition);
}
platform::LRESULT WinampLink::TickPositionMs() const {
    return Ask(AskPosition, TickWaitMs);
}
platform::LRESULT WinampLink::ListPosition() const {
    return Ask(AskListPosition);
}
platform::LRESULT WinampLink::TrackLengthS() const {
    return platform::SendMessageA(WinampHandle, MsgUser, TimeAsLength, AskPosition);
}
NowPlayingTrack WinampLink::NowPlaying() const {
    NowPlayingTrack track = ParseWinampTitle(platform::GetWindowTextW(WinampHandle));
    if (!track.Title.empty()) {
        track.File = PlayingFile();
    }
    return track;
}

std::u16string WinampLink::PlayingFile() const {
    if (platform::IsSystemWindow(WinampHandle)) {
        // The real Winamp: a pointer into its memory, for the entry it plays.
        return platform::ReadWindowProcessText(
            WinampHandle, platform::SendMessageA(WinampHandle, MsgUser,
                                                 static_cast<platform::WPARAM>(ListPosition()),
                                                 AskListFilePointer));
    }
    return platform::ReadText(WinampHandle, PlayingFileQuery, &playingFile);
}

void WinampLink::SetListPosition(int entryFromZero) const {
    platform::PostMessageA(WinampHandle, MsgUser, static_cast<platform::WPARAM>(entryFromZero),
                           SetListPositionTo);
}
void WinampLink::Play() const {
    Command(CmdPlay);
}
void WinampLink::Pause() const {
    const platform::LRESULT state = PlayState();
    if (state == StatePlaying || state == StatePaused) {
        Command(CmdPause);
    }
}
void WinampLink::Stop(bool immediate) const {
    Command(immediate ? CmdStop : CmdFadeStop);
}
void WinampLink::StopAfterCurrent() const {
    Command(CmdStopAfterCurrent);
}
void WinampLink::Seek(std::int64_t positionMs) const {
    // Posted, so that it reaches Winamp after a Play posted before it.
    platform::PostMessageA(WinampHandle, MsgUser,
                           static_cast<platform::WPARAM>(std::max<std::int64_t>(0, positionMs)),
                           SeekTo);
}
void WinampLink::OpenJumpToFile() const {
    Command(CmdJumpToFile);
}
void WinampLink::Close() const {
    Command(CmdClose);
}

}  // namespace winamp
