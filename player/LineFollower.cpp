#include "player/LineFollower.h"

namespace player {

const QString LineFollower::EndOfSong = QStringLiteral("(end of song)");

LineView LineFollower::ViewAt(int row) const {
    LineView view;
    view.Current = lines.Rows[size_t(row)].Text;
    view.Ended = row >= lines.LastLine;
    view.Next = view.Ended ? EndOfSong : lines.Rows[size_t(row) + 1].Text;
    return view;
}

LineView LineFollower::Start() {
    currentLine = 0;
    return ViewAt(0);
}

LineView LineFollower::StartAt(double positionMs) {
    currentLine = RowAt(positionMs);
    return ViewAt(currentLine);
}

qint16 LineFollower::RowAt(double positionMs) const {
    qint16 row = 0;
    while (row < lines.LastLine && lines.Rows[size_t(row)].TimeMs <= positionMs) {
        ++row;
    }
    return row;
}

std::optional<LineView> LineFollower::Tick(double positionMs, bool answered) {
    if (currentLine < 0 || currentLine > lines.LastLine) {
        // Nothing left to follow (the table changed under the display): end it.
        return LineView{std::nullopt, EndOfSong, true};
    }
    if (answered && currentLine > 0 && positionMs < lines.Rows[size_t(currentLine) - 1].TimeMs) {
        return StartAt(positionMs);
    }
    if (currentLine == lines.LastLine) {
        return std::nullopt;  // the end was shown when the last line came
    }
    if (lines.Rows[size_t(currentLine)].TimeMs > positionMs) {
        return std::nullopt;
    }
    ++currentLine;
    return ViewAt(currentLine);
}

}  // namespace player
