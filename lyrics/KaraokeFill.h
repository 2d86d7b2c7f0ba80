#pragma once
// How much of the current line has been sung, for the karaoke fill of the lyric labels.
#include <vector>

#include "lyrics/LyricLines.h"

namespace lyrics {

// Where the sung part of each line of row's text ends, as a character position in the whole
// text (from 0 to the text's length; fractional inside a character). The text's lines (an
// original and its translation, split at line breaks) are sung together, so each fills on its
// own: word by word where it has word times, else evenly from startMs, when the row became
// current, to endMs, when the next row starts. Nothing is sung before startMs; everything
// after endMs, or at once when the row has no later end.
std::vector<double> SungChars(const LyricRow& row, double startMs, double endMs, double positionMs);

// Never more than this is added to a queried position: a Winamp that stopped answering does
// not let the fill run on through the song.
inline constexpr double MaxExtrapolationMs = 250;

// The position now, queriedMs having been read sinceQueryMs ago: it moves on only while
// Winamp plays.
double ExtrapolatedMs(double queriedMs, double sinceQueryMs, bool playing);

}  // namespace lyrics
