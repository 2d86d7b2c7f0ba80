#pragma once
#include <QList>
#include <QObject>

#include "platform/LocalWindow.h"
#include "winamp-sim/Track.h"
#include "winamp/Clock.h"
#include "winamp/Messages.h"

namespace winampsim {

// One message as the simulated Winamp handled it, with its answer (0 for posts and
// commands) and the model's clock time when it arrived.
struct Received {
    platform::Message Message;
    platform::LRESULT Answer = 0;
    qint64 AtMs = 0;
};

// The simulated Winamp: a playlist of tracks with known lengths and a clock running over
// them. Everything time-driven (track ends, the end of a fade) is worked out from the
// clock whenever the model is asked, told or ticked, so a long gap between two calls is
// caught up in one go, track end after track end.
//
// Behaviour worth knowing when driving it:
// - The playlist position (what 125 answers and 121 sets) is Winamp's "current entry".
//   Setting it while a track plays only moves the selection: the loaded track plays on,
//   position and length answer for it, and the next Play starts the selected entry.
//   When the loaded track ends, playback moves on from the selected entry.
// - Every stop (stop, the end of a fade, stop-after-current, the end of the playlist)
//   puts the position back to 0 and keeps the playlist position where it is.
// - A fade answers "playing" for FadeMs while the position runs on (the sound goes on
//   fading), then stops. A track end during a fade stops at once rather than starting
//   the next track. Play, pause, stop, previous and next cancel a fade; seek and
//   selecting an entry do not.
// - The stop-after-current request stands until a track end honours it, or until any
//   stop; either clears it, so the next track end moves on again.
// - Previous and next move the playlist position by one, never past either end; while
//   playing or paused they start the new entry from its beginning.
class Winamp : public QObject {
    Q_OBJECT
  public:
    using State = winamp::PlayState;
    static constexpr qint64 FadeMs = 1500;

    Winamp(winamp::Clock& clock, TrackList tracks, QObject* parent = nullptr);

    // The window-message face: queries answer, commands act and answer 0, anything
    // unknown answers 0 and changes nothing.
    platform::LRESULT Handle(const platform::Message& message);
    platform::LRESULT Handle(platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam,
                             bool posted = false);

    // Queries. Each one first catches up with the clock.
    State PlayState();
    qint64 PositionMs();
    int LengthS();           // of the loaded track, or of the selected one when stopped
    int PlaylistPosition();  // the current entry, from 0
    int LoadedTrack();       // the entry whose clock runs, -1 when stopped
    bool Fading();
    bool StopAfterCurrentRequested();
    // The main window's title as Winamp shows it: "N. Title - Winamp" for the loaded track (the
    // selected one when stopped), with " [Paused]" or " [Stopped]" after it when not playing.
    QString WindowTitle();
    // The media file of the track the title names; empty when it has none.
    std::u16string PlayingFile();
    int Count() const { return static_cast<int>(tracks.size()); }
    const TrackList& Tracks() const { return tracks; }

    // Commands, as the messages and the window give them.
    void Play();
    void PauseResume();
    void Stop();
    void FadeOut();
    void StopAfterCurrent();
    void Previous();
    void Next();
    void SetPlaylistPosition(qint64 entry);  // ignored when out of range
    void Seek(qint64 ms);                    // ignored when stopped; clamped to the track
    void OpenJumpDialog();
    void Close();

    // Catches up with the clock; the program calls it from a timer.
    void Tick();

    // The log of received messages, kept only when asked for (tests read it; the program
    // traces to a file instead so a long session does not grow without end).
    void KeepLog(bool keep) { keepLog = keep; }
    const QList<Received>& Log() const { return log; }
    void ClearLog() { log.clear(); }

  signals:
    void MessageHandled(const winampsim::Received& received);
    void JumpDialogRequested();
    void CloseRequested();

  private:
    void CatchUp();
    void StartLoaded(qint64 now);
    void StopNow();
    qint64 LengthMsOf(int entry) const;
    int TitledEntry();  // the loaded track, the selected one when stopped; -1 for none
    platform::LRESULT Answer(platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam);

    winamp::Clock& clock;
    TrackList tracks;
    State state = State::Stopped;
    int selected = 0;
    int loaded = -1;
    qint64 origin = 0;    // clock time at which the loaded track was at 0 (playing)
    qint64 pausedAt = 0;  // position while paused
    qint64 fadeEnd = -1;  // clock time the fade finishes, -1 when not fading
    bool stopAfter = false;
    bool keepLog = false;
    QList<Received> log;
};

}  // namespace winampsim

Q_DECLARE_METATYPE(winampsim::Received)
