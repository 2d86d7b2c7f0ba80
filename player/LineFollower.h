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
// equal time counts). A position before the time at which the current line came (a seek
// back, the song started again) shows the line of that position at once. The last row's
// time is never compared: the display ends on the tick at which the last line becomes
// current.
class LineFollower {
  public:
    static const QString EndOfSong;  // "(end of song)", shown as the next line at the end

    explicit LineFollower(const lyrics::LyricLines& lines) : lines(lines) {}

    // Rows 0 and 1 at the start of a song; a single row is current and last at once. The
    // table must hold at least one row.
    LineView Start();
    // The display taken up in the middle of a song: the line of positionMs at once.
    LineView StartAt(double positionMs);
    // One tick at positionMs: the new view when the display moved, else nothing. A position
    // that is not an answer (Winamp gone or stopped answers 0) moves it forward only.
    std::optional<LineView> Tick(double positionMs, bool answered = true);

  private:
    LineView ViewAt(int row) const;
    // The row current at positionMs: the first whose time lies after it, or the last.
    qint16 RowAt(double positionMs) const;

    const lyrics::LyricLines& lines;
    qint16 currentLine = 0;
};

}  // namespace player
