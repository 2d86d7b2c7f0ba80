#include "player/Session.h"

#include <QTimer>

#include "lyrics/LyricsFile.h"
#include "lyrics/Offsets.h"
#include "platform/Product.h"
#include "playlist/Playlist.h"
#include "winamp/Link.h"
#include "winamp/Messages.h"

namespace player {

namespace {
const QString PausedPrefix = QStringLiteral("-- PAUSED -- ");

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
        const qint64 heard = lyrics::HeardPosition(winamp.TickPositionMs(), outputDelayMs);
        if (const std::optional<LineView> view = follower.Tick(double(heard - offset.ShiftMs()))) {
            Show(*view);
        }
    } else if (InWait() && !StillPlaying(winamp.PlayState())) {
        // A paused song is still the song: only a stopped Winamp lets the next entry start.
        LeaveWait();
        PlaySelectedEntry();
    }
}

void Session::MoveLyrics(int deltaMs) {
    if (state != State::Following && !(state == State::Paused && resumeTo == State::Following)) {
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

void Session::Show(const LineView& view) {
    if (view.Current) {
        emit CurrentLineChanged(*view.Current);
    }
    emit NextLineChanged(view.Next);
    if (view.Ended) {
        EndDisplay(true);
    }
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

void Session::Enter(State next) {
    const bool changed = next != state;
    state = next;
    if (state != State::Following && !InWait()) {
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
