#pragma once
// The message table as a Winamp window answers it, for any model that offers the queries
// and commands by these names (the simulated Winamp, the bridge in front of a real player,
// the Windows stand-in of the link's tests): queries answer, commands act and answer 0,
// anything unknown answers 0 and changes nothing. PlayingFile() is the playing entry's media
// file, empty where the model cannot tell it. Plain C++ over the message table, so it
// builds without Qt as well.
#include <climits>
#include <cstdint>

#include "platform/Win32.h"
#include "winamp/Messages.h"

namespace winamp {

template <class Model>
platform::LRESULT AnswerMessage(Model& model, platform::UINT msg, platform::WPARAM wParam,
                                platform::LPARAM lParam) {
    using platform::LRESULT;
    using platform::WPARAM;
    if (msg == winamp::MsgUser) {
        switch (lParam) {
            case winamp::AskPlayState:
                return static_cast<LRESULT>(model.PlayState());
            case winamp::AskPosition:
                if (wParam == winamp::TimeAsPosition) {
                    return static_cast<LRESULT>(model.PositionMs());
                }
                if (wParam == winamp::TimeAsLength) {
                    return model.LengthS();
                }
                return 0;
            case winamp::SeekTo:
                // A wParam beyond qint64 comes from a negative number; treat it as 0.
                model.Seek(wParam > WPARAM(INT64_MAX) ? 0 : static_cast<std::int64_t>(wParam));
                return 0;
            case winamp::SetListPositionTo:
                model.SetPlaylistPosition(
                    wParam > WPARAM(INT_MAX) ? -1 : static_cast<std::int64_t>(wParam));
                return 0;
            case winamp::AskListLength:
                return model.Count();
            case winamp::AskListPosition:
                return model.PlaylistPosition();
            case winamp::AskFileLength:
            case winamp::AskFilePiece:
                return *platform::TextAnswer(model.PlayingFile(), PlayingFileQuery, msg, wParam,
                                             lParam);
            default:
                return 0;
        }
    }
    if (msg == winamp::MsgCommand) {
        switch (wParam) {
            case winamp::CmdPlay:
                model.Play();
                break;
            case winamp::CmdPause:
                model.PauseResume();
                break;
            case winamp::CmdStop:
                model.Stop();
                break;
            case winamp::CmdFadeStop:
                model.FadeOut();
                break;
            case winamp::CmdStopAfterCurrent:
                model.StopAfterCurrent();
                break;
            case winamp::CmdPrevious:
                model.Previous();
                break;
            case winamp::CmdNext:
                model.Next();
                break;
            case winamp::CmdJumpToFile:
                model.OpenJumpDialog();
                break;
            case winamp::CmdClose:
                model.Close();
                break;
            default:
                break;
        }
    }
    return 0;
}

}  // namespace winamp
