#include "player/Karaoke.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <cmath>

#include "lyrics/KaraokeFill.h"
#include "lyrics/LyricsPane.h"

namespace player {

namespace {

// One frame per refresh of the screen, 60 Hz where it does not say.
int FrameMs() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double hz = screen != nullptr && screen->refreshRate() >= 1 ? screen->refreshRate() : 60;
    return std::max(1, int(std::lround(1000 / hz)));
}

}  // namespace

Karaoke::Karaoke(const Session& session, std::vector<lyrics::LyricsPane*> panes, QObject* parent)
    : QObject(parent), session(session), panes(std::move(panes)), frames(new QTimer(this)) {
    frames->setObjectName(QStringLiteral("tmrKaraoke"));
    frames->setTimerType(Qt::PreciseTimer);
    connect(frames, &QTimer::timeout, this, &Karaoke::Frame);
    connect(&session, &Session::PositionRead, this, &Karaoke::PositionRead);
    connect(&session, &Session::StateChanged, this, &Karaoke::StateChanged);
}

bool Karaoke::IsRunning() const {
    return frames->isActive();
}

void Karaoke::SetOn(bool switchedOn) {
    on = switchedOn;
    if (!on) {
        Clear();
    }
    Run();
}

void Karaoke::PositionRead(int currentRow, double positionMs) {
    const bool newLine = currentRow != row;
    row = currentRow;
    queriedMs = positionMs;
    sinceQuery.start();
    Run();
    if (newLine && IsRunning()) {
        Frame();  // with the new line's text, not a frame later
    }
}

void Karaoke::StateChanged(Session::State state) {
    if (state == Session::State::Paused) {
        // Held where it was, and moving on from there once Winamp plays again.
        queriedMs =
            lyrics::ExtrapolatedMs(queriedMs, double(sinceQuery.nsecsElapsed()) / 1e6, true);
    } else if (!session.SongInStep()) {
        Clear();
    }
    sinceQuery.start();
    Run();
}

void Karaoke::Run() {
    if (on && row >= 0 && session.SongInStep()) {
        if (!frames->isActive()) {
            frames->start(FrameMs());
        }
    } else {
        frames->stop();
    }
}

void Karaoke::Clear() {
    row = -1;
    for (lyrics::LyricsPane* pane : panes) {
        pane->ShowSung({});
    }
}

void Karaoke::Frame() {
    const std::vector<lyrics::LyricRow>& rows = session.Lyrics().Rows;
    if (session.GetState() == Session::State::FollowingPlayer && !session.SongInStep()) {
        // The followed player moved on to a song whose lyrics are still looked for, or missing.
        Clear();
        Run();
        return;
    }
    if (!on || row < 0 || size_t(row) >= rows.size()) {
        return;
    }
    const double startMs = row > 0 ? rows[size_t(row) - 1].TimeMs : 0;
    const double nowMs = lyrics::ExtrapolatedMs(queriedMs, double(sinceQuery.nsecsElapsed()) / 1e6,
                                                session.SongInStep());
    const std::vector<double> sung =
        lyrics::SungChars(rows[size_t(row)], startMs, rows[size_t(row)].TimeMs, nowMs);
    for (lyrics::LyricsPane* pane : panes) {
        if (pane->isVisible()) {  // a hidden overlay catches up when shown, a frame later
            pane->ShowSung(sung);
        }
    }
}

}  // namespace player
