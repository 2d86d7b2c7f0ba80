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

std::optional<LineView> LineFollower::Tick(double positionMs) {
    if (currentLine < 0 || currentLine >= lines.LastLine) {
        // Nothing left to follow (the table changed under the display): end it.
        return LineView{std::nullopt, EndOfSong, true};
    }
    if (lines.Rows[size_t(currentLine)].TimeMs > positionMs) {
        return std::nullopt;
    }
    ++currentLine;
    return ViewAt(currentLine);
}

}  // namespace player
