#pragma once
#include <QString>
#include <optional>

#include "lyrics/LyricLines.h"

namespace player {

// What the two lyric labels show.
struct LineView {
    std::optional<QString> Current;  // nothing: the current line stays as it is
    QString Next;
    // The line made current is the last one: the display ends, Winamp plays on.
    bool Ended = false;
};

// Which line of a song is current at Winamp's position. The display starts at row 0 and
// moves on at most one line per tick, when the current line's time has been reached (an
// equal time counts); it never moves back. The last row's time is never compared: the
// display ends on the tick at which the last line becomes current.
class LineFollower {
  public:
    static const QString EndOfSong;  // "(end of song)", shown as the next line at the end

    explicit LineFollower(const lyrics::LyricLines& lines) : lines(lines) {}

    // Rows 0 and 1 at the start of a song; a single row is current and last at once. The
    // table must hold at least one row.
    LineView Start();
    // One tick at positionMs: the new view when the display moved on, else nothing.
    std::optional<LineView> Tick(double positionMs);
    qint16 CurrentLine() const { return currentLine; }

  private:
    LineView ViewAt(int row) const;

    const lyrics::LyricLines& lines;
    qint16 currentLine = 0;
};

}  // namespace player
