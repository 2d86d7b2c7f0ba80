#pragma once
// What the lyric labels show of a line: the whole line when it fits, else its start.
#include <QString>
#include <functional>

class QLabel;

namespace lyrics {

// Past this many characters nothing of a line is ever measured or shown: a lyric line of
// megabytes would otherwise hold the window thread and its memory while being laid out.
inline constexpr qsizetype MaxShownChars = 500;

// The line itself when it holds at most MaxShownChars characters and fits; else the longest
// run of its first whole words (its first characters when not even one word fits) that fits
// with "…" after it. fits answers whether a text fits the label and must grow monotonically
// false as the text grows.
QString FitLine(const QString& line, const std::function<bool(const QString&)>& fits);

// Sets label's text to what of line fits its contents rectangle in its font, alignment and
// word wrap.
void ShowLine(QLabel& label, const QString& line);

}  // namespace lyrics
