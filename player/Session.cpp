#include "player/Session.h"

#include <QTimer>

#include "lyrics/LyricsFile.h"
#include "lyrics/Offsets.h"
#include "platform/Product.h"
#include "player/LyricsLookup.h"
#include "playlist/Playlist.h"
#include "winamp/Link.h"
#include "winamp/Messages.h"

namespace player {

namespace {
const QString PausedPrefix = QStringLiteral("-- PAUSED -- ");
const QString NoLyricsFor = QStringLiteral("No lyrics for ");
const QString TimeThemNow = QStringLiteral("Click above to time them now");

// "Song - Artist", as lyrics files and the encoder name a song.
QString SongTitle(const winamp::NowPlayingTrack& track) {
    const QString title = QString::fromStdU16String(track.Title);
    return track.Artist.empty()
               ? title
               : title + QStringLiteral(" - ") + QString::fromStdU16String(track.Artist);
}

bool StillPlaying(platform::LRESULT playState) {
    return playState == winamp::StatePlaying || playState == winamp::StatePaused;
}
}  // namespace

Session::Session(winamp::WinampLink& winamp, playlist::Playlist& playlist, QRandomGenerator& random,
                 QObject* parent)
    : QObject(parent),
      winamp(winamp),
      playlist(playlist),
      random(random),
      caption(platform::PlayerTitle),
      timer(new QTimer(this)) {
    timer->setObjectName(QStringLiteral("tmr"));
    timer->setInterval(TickMs);
    connect(timer, &QTimer::timeout, this, &Session::Tick);
    // Selecting an entry, by a click or by playback moving on, makes Play play the playlist.
    connect(&playlist, &playlist::Playlist::SelectionChanged, this, [this](int row) {
        if (row >= 0) {
            ChoosePlaylist();
        }
    });
}

void Session::SetLyricsLookup(LyricsLookup* newLookup) {
    lookup = newLookup;
    connect(lookup, &LyricsLookup::Found, this, &Session::ShowFound);
    connect(lookup, &LyricsLookup::NothingLocal, this, &Session::ShowMissing);
}

void Session::StopWinamp() {
    winamp.Stop(immediateStop);
}

bool Session::OpenLyrics(const QString& path) {
    const bool loaded = LoadLyrics(path);
    playFromPlaylist = false;
    return loaded;
}

void Session::ChoosePlaylist() {
    playFromPlaylist = true;
    SetCaption(platform::PlayerTitle);
}

void Session::Play() {
    if (playFromPlaylist) {
        PlayPlaylist();
    } else if (lines.LastLine >= 0) {
        StartDisplay();
    }
}

void Session::PlayPlaylist() {
    if (!LookUpWinamp()) {
        return;
    }
    if (!playlist.StartPlayback(random)) {
        emit PlaylistEmpty();
        return;
    }
    emit PlaylistStarted();
    PlaySelectedEntry();  // the entry StartPlayback selected
}

void Session::PlaySelectedEntry() {
    if (!playlist.PlaylistPlaying()) {
        PlayPlaylist();  // ends by playing the entry it selects
        return;
    }
    const int row = playlist.SelectedEntry();
    if (row < 0 || row > playlist.LastEntry()) {
        return;
    }
    // Only one wait at a time: an entry started now ends any wait for the one before.
    if (InWait()) {
        LeaveWait();
    }
    const playlist::PlaylistEntry entry = playlist.Table().Entry(row);
    LoadLyrics(entry.LyricsFile);  // an entry that cannot be read starts with what was read
    winamp.SetListPosition(entry.TrackNumber - 1);
    entryTrack = entry.TrackNumber - 1;
    entryPositionMs = 0;
    StartDisplay();
}

void Session::Pause() {
    const platform::LRESULT playState = winamp.PlayState();
    if (playState == winamp::StatePlaying) {
        winamp.Pause();
        if (state != State::Paused) {
            resumeTo = state;
            Enter(State::Paused);
            SetCaption(PausedPrefix + caption);
        }
    } else if (playState == winamp::StatePaused) {
        winamp.Pause();
        if (state == State::Paused) {
            Enter(resumeTo);
        }
        SetCaption(LyricsCaption());
    }
}

void Session::Stop() {
    playlist.StopPlayback();
    if (state == State::Paused) {
        SetCaption(LyricsCaption());
    }
    EndDisplay(false);
}

void Session::Next() {
    if (InWait()) {
        // The song is over already; stop it now and let the wait start the entry it has
        // selected, so nothing is skipped and nothing starts twice.
        StopWinamp();
        return;
    }
    EndDisplay(false);
}

void Session::Tick() {
    if (state == State::Following) {
        // The position first: it is the question that waits least for a Winamp that hangs.
        const platform::LRESULT position = winamp.TickPositionMs();
        if (LeftEntryTrack(position)) {
            // Moved on under us: the entry's song is over, as if it had ended.
            ClearDisplay();
            EndDisplay(true);
            return;
        }
        StepLines(position, true);
    } else if (state == State::FollowingPlayer) {
        FollowPlayerTick();
    } else if (InWait() && !StillPlaying(winamp.PlayState())) {
        // A paused song is still the song: only a stopped Winamp lets the next entry start.
        LeaveWait();
        PlaySelectedEntry();
    }
}

void Session::MoveLyrics(int deltaMs) {
    if (!InStep(state) && !(state == State::Paused && InStep(resumeTo))) {
        return;
    }
    offset.Nudge(deltaMs);
    emit LyricsMoved(offset.ShiftMs());
}

void Session::KeepOffset() {
    if (!offset.Changed() || !keepQuestion) {
        return;
    }
    if (!keepQuestion()) {
        offset.Dropped();
    } else if (lyrics::MoveLyricsFile(offset.Path(), offset.PendingMs())) {
        offset.Kept();
    } else {
        emit OffsetNotKept(offset.Path());  // and asked again when the song ends once more
    }
}

bool Session::LookUpWinamp() {
    const bool found = winamp.Redetect();
    emit WinampLookedUp(found);
    return found;
}

bool Session::LoadLyrics(const QString& path) {
    KeepOffset();
    offset.Reset(path);
    lyrics::LyricsRead read = lyrics::ReadLyricsFile(path);
    if (!read.TitleRead) {
        read.Lines.LyricsTitle = lines.LyricsTitle;  // the caption keeps the song it named
    }
    lines = std::move(read.Lines);
    if (!read.Complete) {
        emit LyricsUnreadable();
        return false;
    }
    SetCaption(LyricsCaption());
    if (lines.LastLine < 0) {
        emit LyricsUnreadable();
        return false;
    }
    emit NextLineChanged(lines.Rows[0].Text);
    emit PanelDue(false);
    return true;
}

void Session::StartDisplay() {
    if (!LookUpWinamp() || lines.LastLine < 0) {
        return;
    }
    if (state == State::Paused) {
        SetCaption(LyricsCaption());
    }
    emit DisplayStarted();
    winamp.Play();
    const LineView view = follower.Start();
    emit CurrentLineChanged(*view.Current);
    // Winamp stops at the end of the track, so that a next entry starts from our side.
    winamp.StopAfterCurrent();
    emit NextLineChanged(view.Next);
    if (view.Ended) {
        // A single line is current and last at once: Winamp plays the song to its end alone,
        // as when the tick reaches the last line.
        EndDisplay(true);
        return;
    }
    Enter(State::Following);
    emit PanelDue(false);
}

void Session::EndDisplay(bool keepWinampPlaying) {
    entryTrack = -1;
    if (!keepWinampPlaying) {
        StopWinamp();
    }
    KeepOffset();
    if (playlist.NextEntry()) {
        // Between entries; a pause stays on until Pause again or the next entry.
        if (state == State::Paused) {
            resumeTo = State::Waiting;
            Enter(State::Paused);
        } else {
            Enter(State::Waiting);
        }
        return;
    }
    Enter(State::Idle);
    if (!playlist.PlaylistPath().isEmpty()) {
        emit PanelDue(true);
    }
    emit PlaybackStopped();
}

void Session::StepLines(platform::LRESULT position, bool endAfterLast) {
    const double heardMs = HeardMs(position);
    if (const std::optional<LineView> view = follower.Tick(heardMs, position != 0)) {
        if (view->Current) {
            emit CurrentLineChanged(*view->Current);
        }
        emit NextLineChanged(view->Next);
        if (view->Ended && endAfterLast) {
            EndDisplay(true);  // leaves the song: no position for a fill any more
            return;
        }
    }
    emit PositionRead(follower.CurrentLine(), heardMs);
}

void Session::LeaveWait() {
    if (state == State::Paused) {
        SetCaption(LyricsCaption());
    }
    Enter(State::Idle);
}

bool Session::InWait() const {
    return state == State::Waiting || (state == State::Paused && resumeTo == State::Waiting);
}

bool Session::InStep(State s) const {
    return s == State::Following || (s == State::FollowingPlayer && followedLyrics);
}

bool Session::FollowsPlayer() const {
    return state == State::FollowingPlayer ||
           (state == State::Paused && resumeTo == State::FollowingPlayer);
}

double Session::HeardMs(platform::LRESULT positionMs) const {
    return double(lyrics::HeardPosition(positionMs, outputDelayMs) - offset.ShiftMs());
}

bool Session::LeftEntryTrack(platform::LRESULT positionMs) {
    // Another track starts from its beginning, so the position falls back; only then is
    // Winamp asked more than the one question of a tick.
    const bool fellBack = positionMs != 0 && positionMs < entryPositionMs;
    if (positionMs != 0) {
        entryPositionMs = positionMs;
    }
    if (!fellBack || entryTrack < 0 || !playlist.PlaylistPlaying()) {
        return false;
    }
    return winamp.ListPosition() != entryTrack && winamp.PlayState() == winamp::StatePlaying;
}

void Session::Follow(bool on) {
    if (!on) {
        if (FollowsPlayer()) {
            if (state == State::Paused) {
                SetCaption(LyricsCaption());
            }
            KeepOffset();
            Enter(State::Idle);
            emit PlaybackStopped();
        }
        return;
    }
    if (FollowsPlayer() || !LookUpWinamp()) {
        return;
    }
    // Following takes over from whatever played; Winamp plays on as the listener left it.
    playlist.StopPlayback();
    entryTrack = -1;
    emit DisplayStarted();
    Enter(State::FollowingPlayer);
    emit PanelDue(false);
    TakeUpTrack(winamp.NowPlaying(), winamp.ListPosition());
}

void Session::FollowPlayerTick() {
    const platform::LRESULT position = winamp.TickPositionMs();
    const winamp::NowPlayingTrack track = winamp.NowPlaying();
    const platform::LRESULT listPosition = winamp.ListPosition();
    if (track != followedTrack || listPosition != followedPosition) {
        TakeUpTrack(track, listPosition);
        return;
    }
    if (!followedLyrics) {
        return;
    }
    // The display stays after the last line: a seek back brings the lines again.
    StepLines(position, false);
}

void Session::TakeUpTrack(const winamp::NowPlayingTrack& track, platform::LRESULT listPosition) {
    followedTrack = track;
    followedPosition = listPosition;
    followedLyrics = false;
    if (lookup != nullptr) {
        lookup->Forget();
    }
    KeepOffset();
    offset.Reset({});
    lines = {};
    lines.LyricsTitle = SongTitle(track);
    ClearDisplay();
    emit LyricsMissing({});
    if (track.Title.empty()) {
        SetCaption(platform::PlayerTitle);  // nothing loaded in Winamp
        return;
    }
    SetCaption(LyricsCaption());
    if (lookup != nullptr) {
        lookup->Find(track);
    } else {
        ShowMissing(track);
    }
}

void Session::ShowFound(const QString& lyricsPath) {
    if (!FollowsPlayer()) {
        return;
    }
    const winamp::NowPlayingTrack track = followedTrack;
    if (!LoadLyrics(lyricsPath)) {
        ShowMissing(track);
        return;
    }
    followedLyrics = true;
    emit LyricsMissing({});  // found after all: the library changed
    const LineView view = follower.StartAt(HeardMs(winamp.TickPositionMs()));
    emit CurrentLineChanged(*view.Current);
    emit NextLineChanged(view.Next);
}

void Session::ShowMissing(const winamp::NowPlayingTrack& track) {
    if (!FollowsPlayer() || track != followedTrack) {
        return;
    }
    const QString title = QString::fromStdU16String(track.Title);
    emit CurrentLineChanged(NoLyricsFor + (track.Artist.empty()
                                               ? title
                                               : QString::fromStdU16String(track.Artist) +
                                                     QStringLiteral(" - ") + title));
    emit NextLineChanged(TimeThemNow);
    emit LyricsMissing(SongTitle(track));
}

void Session::ClearDisplay() {
    emit CurrentLineChanged({});
    emit NextLineChanged({});
}

void Session::Enter(State next) {
    const bool changed = next != state;
    const bool wasFollowingPlayer = FollowsPlayer();
    state = next;
    if (wasFollowingPlayer && !FollowsPlayer()) {
        followedLyrics = false;
        if (lookup != nullptr) {
            lookup->Forget();
        }
        emit LyricsMissing({});  // the offer to time a song goes with it
    }
    if (state != State::Following && state != State::FollowingPlayer && !InWait()) {
        timer->stop();
    } else if (!timer->isActive()) {
        timer->start();
    }
    if (changed) {
        emit StateChanged(state);
    }
}

void Session::SetCaption(const QString& text) {
    if (text != caption) {
        caption = text;
        emit CaptionChanged(caption);
    }
}

QString Session::LyricsCaption() const {
    return lines.LyricsTitle + QStringLiteral(" - ") + platform::PlayerTitle;
}

}  // namespace player
