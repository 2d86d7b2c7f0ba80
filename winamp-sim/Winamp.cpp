#include "winamp-sim/Winamp.h"

#include <algorithm>

#include "winamp/Answer.h"
#include "winamp/TrackTitle.h"

namespace winampsim {

using platform::LPARAM;
using platform::LRESULT;
using platform::UINT;
using platform::WPARAM;

Winamp::Winamp(winamp::Clock& clock, TrackList tracks, QObject* parent)
    : QObject(parent), clock(clock), tracks(std::move(tracks)) {}

qint64 Winamp::LengthMsOf(int entry) const {
    if (entry < 0 || entry >= Count()) {
        return 0;
    }
    return static_cast<qint64>(tracks[entry].LengthS) * 1000;
}

void Winamp::CatchUp() {
    const qint64 now = clock.NowMs();
    // Every pass either returns or moves the playlist on by one entry, so even a gap of
    // days ends after at most Count() passes.
    while (state == State::Playing) {
        const qint64 endAt = origin + LengthMsOf(loaded);
        if (fadeEnd >= 0 && fadeEnd < endAt) {
            if (fadeEnd <= now) {
                StopNow();
            }
            return;
        }
        if (endAt > now) {
            return;
        }
        if (fadeEnd >= 0 || stopAfter || selected + 1 >= Count()) {
            StopNow();
            return;
        }
        ++selected;
        loaded = selected;
        origin = endAt;
    }
}

void Winamp::StartLoaded(qint64 now) {
    origin = now;
    state = State::Playing;
    fadeEnd = -1;
}

void Winamp::StopNow() {
    state = State::Stopped;
    loaded = -1;
    pausedAt = 0;
    fadeEnd = -1;
    stopAfter = false;
}

Winamp::State Winamp::PlayState() {
    CatchUp();
    return state;
}

qint64 Winamp::PositionMs() {
    CatchUp();
    switch (state) {
        case State::Playing:
            return std::clamp<qint64>(clock.NowMs() - origin, 0, LengthMsOf(loaded));
        case State::Paused:
            return pausedAt;
        case State::Stopped:
            break;
    }
    return 0;
}

int Winamp::LengthS() {
    CatchUp();
    const int entry = state == State::Stopped ? selected : loaded;
    return entry >= 0 && entry < Count() ? tracks[entry].LengthS : 0;
}

int Winamp::PlaylistPosition() {
    CatchUp();
    return selected;
}

int Winamp::LoadedTrack() {
    CatchUp();
    return loaded;
}

bool Winamp::Fading() {
    CatchUp();
    return fadeEnd >= 0;
}

bool Winamp::StopAfterCurrentRequested() {
    CatchUp();
    return stopAfter;
}

void Winamp::Play() {
    CatchUp();
    if (tracks.isEmpty()) {
        return;
    }
    loaded = selected;
    StartLoaded(clock.NowMs());
}

void Winamp::PauseResume() {
    CatchUp();
    const qint64 now = clock.NowMs();
    if (state == State::Playing) {
        pausedAt = std::clamp<qint64>(now - origin, 0, LengthMsOf(loaded));
        state = State::Paused;
        fadeEnd = -1;
    } else if (state == State::Paused) {
        origin = now - pausedAt;
        state = State::Playing;
        CatchUp();
    }
}

void Winamp::Stop() {
    CatchUp();
    StopNow();
}

void Winamp::FadeOut() {
    CatchUp();
    if (state == State::Playing) {
        if (fadeEnd < 0) {
            fadeEnd = clock.NowMs() + FadeMs;
        }
    } else if (state == State::Paused) {
        StopNow();  // nothing audible to fade
    }
}

void Winamp::StopAfterCurrent() {
    CatchUp();
    stopAfter = true;
}

void Winamp::Previous() {
    CatchUp();
    if (selected <= 0) {
        return;
    }
    --selected;
    if (state != State::Stopped) {
        loaded = selected;
        StartLoaded(clock.NowMs());
    }
}

void Winamp::Next() {
    CatchUp();
    if (selected + 1 >= Count()) {
        return;
    }
    ++selected;
    if (state != State::Stopped) {
        loaded = selected;
        StartLoaded(clock.NowMs());
    }
}

void Winamp::SetPlaylistPosition(qint64 entry) {
    CatchUp();
    if (entry >= 0 && entry < Count()) {
        selected = static_cast<int>(entry);
    }
}

void Winamp::Seek(qint64 ms) {
    CatchUp();
    if (state == State::Stopped) {
        return;
    }
    const qint64 target = std::clamp<qint64>(ms, 0, LengthMsOf(loaded));
    if (state == State::Paused) {
        pausedAt = target;
        return;
    }
    origin = clock.NowMs() - target;
    CatchUp();  // a seek to the very end ends the track now
}

void Winamp::OpenJumpDialog() {
    emit JumpDialogRequested();
}

void Winamp::Close() {
    emit CloseRequested();
}

void Winamp::Tick() {
    CatchUp();
}

int Winamp::TitledEntry() {
    const int entry = PlayState() == State::Stopped ? selected : loaded;
    return entry < Count() ? entry : -1;
}

std::u16string Winamp::PlayingFile() {
    const int entry = TitledEntry();
    return entry < 0 ? std::u16string() : tracks[entry].File.toStdU16String();
}

QString Winamp::WindowTitle() {
    const int entry = TitledEntry();
    if (entry < 0) {
        return QStringLiteral("Winamp");
    }
    return QString::fromStdU16String(
        winamp::WinampTitle(entry + 1, tracks[entry].Title.toStdU16String(), state));
}

LRESULT Winamp::Answer(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (const auto text = platform::WindowTextAnswer(WindowTitle().toStdU16String(), msg, wParam)) {
        return *text;
    }
    return winamp::AnswerMessage(*this, msg, wParam, lParam);
}

LRESULT Winamp::Handle(const platform::Message& message) {
    LRESULT answer = Answer(message.Msg, message.WParam, message.LParam);
    if (message.Posted) {
        answer = 0;
    }
    const Received received{message, answer, clock.NowMs()};
    if (keepLog) {
        log.append(received);
    }
    emit MessageHandled(received);
    return answer;
}

LRESULT Winamp::Handle(UINT msg, WPARAM wParam, LPARAM lParam, bool posted) {
    return Handle(platform::Message{msg, wParam, lParam, posted});
}

}  // namespace winampsim
