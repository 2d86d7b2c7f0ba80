#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <vector>

#include "player/Session.h"

class QTimer;

namespace lyrics {
class LyricsPane;
}

namespace player {

// The karaoke fill of the current line in the panes that show the session's lines. Winamp is
// asked for its position once a tick only; between two answers the fill moves on from the
// last one by the time since, at the screen's rate, while the switch is on and a song's lines
// move on with Winamp (a song followed, or the lyrics of what the followed player plays). A
// pause holds the fill where it is; the end of the display, or of the followed song, takes it
// away.
class Karaoke : public QObject {
    Q_OBJECT
  public:
    Karaoke(const Session& session, std::vector<lyrics::LyricsPane*> panes, QObject* parent);

    bool IsRunning() const;

  public slots:
    void SetOn(bool on);
    // One frame: every pane's fill where the song is now.
    void Frame();

  private:
    void PositionRead(int row, double positionMs);
    void StateChanged(Session::State state);
    void Run();
    void Clear();

    const Session& session;
    std::vector<lyrics::LyricsPane*> panes;
    QTimer* frames;
    QElapsedTimer sinceQuery;
    bool on = false;
    int row = -1;  // none read since the display started
    double queriedMs = 0;
};

}  // namespace player
