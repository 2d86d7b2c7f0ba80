#include "bridge/Bridge.h"

#include <algorithm>
#include <cmath>

#include "winamp/TrackTitle.h"

namespace bridge {

Bridge::Bridge(winamp::Clock& clock, Player& player) : clock(clock), player(player) {}

void Bridge::Rebase(qint64 ms) {
    baseMs = ms;
    baseAt = clock.NowMs();
    refreshedAt = baseAt;
}

void Bridge::UpdateHold() {
    const bool want = stopAfter || Fading();
    if (want != holding) {
        holding = want;
        player.HoldAtTrackEnd(want);
    }
}

void Bridge::EndFade() {
    if (!Fading()) {
        return;
    }
    fadeStart = -1;
    if (fadeVolume >= 0 && lastFadeStep >= 0) {
        player.SetVolume(fadeVolume);
    }
    UpdateHold();
}

// Stops first and only then gives the volume back, so the end of a fade is not heard loud.
void Bridge::StopHere() {
    player.Stop();
    stopSent = true;
    status = winamp::PlayState::Stopped;
    Rebase(0);
    stopAfter = false;
    restartSince = -1;
    expectedSince = -1;
    EndFade();
    UpdateHold();
}

// Until the player confirms `to`, or for at most RestartWaitMs, a report of the state left
// behind is an old one still on its way.
void Bridge::Expect(winamp::PlayState to) {
    if (status != to) {
        leftBehind = status;
        expectedSince = clock.NowMs();
    }
    status = to;
}

void Bridge::Restart() {
    Expect(winamp::PlayState::Playing);
    stopSent = false;
    Rebase(0);
    restartSince = clock.NowMs();
}

void Bridge::Connected(bool isConnected) {
    connected = isConnected;
    status = winamp::PlayState::Stopped;
    Rebase(0);
    rate = 1.0;
    lengthMs = 0;
    count = 0;
    current = -1;
    selected = 0;
    volume = -1;
    artist.clear();
    title.clear();
    file.clear();
    stopAfter = false;
    stopSent = false;
    fadeStart = -1;
    restartSince = -1;
    expectedSince = -1;
    reported = winamp::PlayState::Stopped;
    // A player met anew moves on at track ends until told otherwise.
    holding = false;
    if (connected) {
        player.HoldAtTrackEnd(false);
    }
}

void Bridge::StatusChanged(winamp::PlayState newStatus) {
    reported = newStatus;
    // The player may still say "paused" on its way to the stop the bridge asked for.
    if (stopSent && newStatus == winamp::PlayState::Paused) {
        return;
    }
    if (expectedSince >= 0 && newStatus == leftBehind &&
        clock.NowMs() - expectedSince < RestartWaitMs) {
        return;
    }
    expectedSince = -1;
    stopSent = false;
    if (newStatus == status) {
        return;
    }
    Rebase(newStatus == winamp::PlayState::Stopped ? 0 : RunningMs());
    status = newStatus;
    if (status == winamp::PlayState::Stopped) {
        stopAfter = false;
    }
    if (status != winamp::PlayState::Playing) {
        EndFade();
    }
    UpdateHold();
}

void Bridge::PositionReported(qint64 ms) {
    // A report near the target says the player has got there.
    if (restartSince >= 0 && std::abs(ms - baseMs) > ArrivedMs &&
        clock.NowMs() - restartSince < RestartWaitMs) {
        return;
    }
    restartSince = -1;
    // Players move their own position on in steps (mpv a quarter second at a time without a
    // sound card), so a report a little behind the running position is an old step.
    const qint64 running = RunningMs();
    if (status == winamp::PlayState::Playing && ms < running && running - ms <= ArrivedMs) {
        return;
    }
    // Back to the start from the end of the track, not asked for: the next track, or the same
    // one again, with nothing else to tell it.
    if (status == winamp::PlayState::Playing && lengthMs > 0 && running >= lengthMs - NearEndMs &&
        ms < NearEndMs) {
        TrackChanged();
    }
    Rebase(std::max<qint64>(ms, 0));
}

void Bridge::Restarted() {
    if (restartSince >= 0) {
        restartSince = -1;
        Rebase(baseMs);
    }
}

void Bridge::RateChanged(double newRate) {
    Rebase(RunningMs());
    rate = newRate > 0 ? newRate : 1.0;
}

void Bridge::LengthReported(qint64 ms) {
    lengthMs = std::max<qint64>(ms, 0);
}

void Bridge::ListReported(int newCount, int newCurrent) {
    count = std::max(newCount, 0);
    if (newCurrent != current) {
        current = newCurrent;
        if (current >= 0) {
            selected = current;
        }
    }
    selected = std::clamp(selected, 0, std::max(count - 1, 0));
}

void Bridge::VolumeReported(double newVolume) {
    // While fading, the volumes reported are the ramp's own.
    if (!Fading()) {
        volume = newVolume;
    }
}

void Bridge::TrackEnded() {
    if (connected && (stopAfter || Fading())) {
        StopHere();
    }
}

void Bridge::TrackChanged() {
    // A start or step asked for brings its own track.
    if (!connected || status != winamp::PlayState::Playing || restartSince >= 0) {
        return;
    }
    // Without a length the end cannot be told from the listener's hand: taken as the end.
    if (lengthMs <= 0 || RunningMs() >= lengthMs - NearEndMs) {
        TrackEnded();
    }
    if (status == winamp::PlayState::Playing) {
        Rebase(0);
    }
}

void Bridge::TrackReported(const QString& newArtist, const QString& newTitle,
                           const QString& newFile) {
    artist = newArtist;
    title = newTitle;
    file = newFile;
}

QString Bridge::WindowTitle() const {
    if (!connected || title.isEmpty()) {
        return QStringLiteral("Winamp");
    }
    const int number = count <= 0                             ? 0
                       : status == winamp::PlayState::Stopped ? selected + 1
                                                              : current + 1;
    return QString::fromStdU16String(winamp::WinampTitle(
        number, (artist.isEmpty() ? title : artist + " - " + title).toStdU16String(), PlayState()));
}

winamp::PlayState Bridge::PlayState() const {
    return connected ? status : winamp::PlayState::Stopped;
}

qint64 Bridge::PositionMs() const {
    const qint64 now = clock.NowMs();
    if (connected && status == winamp::PlayState::Playing && now - refreshedAt >= RefreshMs) {
        refreshedAt = now;
        player.RefreshPosition();
    }
    return RunningMs();
}

qint64 Bridge::RunningMs() const {
    if (!connected || status == winamp::PlayState::Stopped) {
        return 0;
    }
    qint64 ms = baseMs;
    // Until the player has got to a start or seek it is not running from there yet.
    if (status == winamp::PlayState::Playing && restartSince < 0) {
        ms += std::llround(double(clock.NowMs() - baseAt) * rate);
    }
    return lengthMs > 0 ? std::clamp<qint64>(ms, 0, lengthMs) : std::max<qint64>(ms, 0);
}

int Bridge::LengthS() const {
    return connected ? int((lengthMs + 500) / 1000) : 0;
}

void Bridge::Play() {
    if (!connected) {
        return;
    }
    EndFade();
    if (count > 0) {
        current = selected;
        player.PlayEntry(selected);
    } else {
        player.PlayEntry(-1);
    }
    Restart();
}

void Bridge::PauseResume() {
    if (!connected) {
        return;
    }
    if (status == winamp::PlayState::Playing) {
        EndFade();
        Rebase(RunningMs());
        Expect(winamp::PlayState::Paused);
        player.SetPaused(true);
    } else if (status == winamp::PlayState::Paused) {
        Rebase(baseMs);
        Expect(winamp::PlayState::Playing);
        player.SetPaused(false);
    }
}

void Bridge::Stop() {
    if (connected) {
        StopHere();
    }
}

void Bridge::FadeOut() {
    if (!connected) {
        return;
    }
    if (status == winamp::PlayState::Paused) {
        StopHere();  // nothing audible to fade
    } else if (status == winamp::PlayState::Playing && !Fading()) {
        fadeStart = clock.NowMs();
        fadeVolume = volume;
        lastFadeStep = -1;
        UpdateHold();
    }
}

void Bridge::StopAfterCurrent() {
    if (connected) {
        stopAfter = true;
        UpdateHold();
    }
}

void Bridge::Step(int by) {
    if (!connected) {
        return;
    }
    EndFade();
    if (count <= 0) {
        by > 0 ? player.Next() : player.Previous();
        // Its new track is this step's, not the end of the old one.
        if (status == winamp::PlayState::Playing) {
            Rebase(0);
            restartSince = clock.NowMs();
        }
        return;
    }
    const int target = selected + by;
    if (target < 0 || target >= count) {
        return;
    }
    selected = target;
    if (status != winamp::PlayState::Stopped) {
        current = selected;
        player.PlayEntry(selected);
        Restart();
    }
}

void Bridge::Previous() {
    Step(-1);
}

void Bridge::Next() {
    Step(1);
}

void Bridge::SetPlaylistPosition(std::int64_t entry) {
    if (connected && entry >= 0 && entry < count) {
        selected = static_cast<int>(entry);
    }
}

void Bridge::Seek(std::int64_t ms) {
    if (!connected || status == winamp::PlayState::Stopped) {
        return;
    }
    const qint64 target =
        lengthMs > 0 ? std::clamp<qint64>(ms, 0, lengthMs) : std::max<qint64>(ms, 0);
    player.Seek(target);
    Rebase(target);
    restartSince = clock.NowMs();
}

void Bridge::OpenJumpDialog() {
    if (connected) {
        player.ShowPlaylist();
    }
}

void Bridge::Close() {
    if (connected) {
        player.Quit();
    }
}

void Bridge::Tick() {
    // The player never confirmed what was asked: what it said last holds.
    if (expectedSince >= 0 && clock.NowMs() - expectedSince >= RestartWaitMs) {
        expectedSince = -1;
        if (connected && reported != status) {
            StatusChanged(reported);
        }
    }
    if (!Fading()) {
        return;
    }
    const qint64 elapsed = clock.NowMs() - fadeStart;
    if (elapsed >= FadeMs) {
        StopHere();
        return;
    }
    if (fadeVolume >= 0) {
        const double step = fadeVolume * double(FadeMs - elapsed) / double(FadeMs);
        if (lastFadeStep < 0 || std::abs(step - lastFadeStep) >= 0.5) {
            lastFadeStep = step;
            player.SetVolume(step);
        }
    }
}

}  // namespace bridge
