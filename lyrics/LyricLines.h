#pragma once
// The player's table of the timed lines of one song.
#include <QString>
#include <QtGlobal>
#include <vector>

namespace lyrics {

// When a word of a line is sung, as timed LRC files give it ("<01:12.90>" or "[01:12.90]"
// before the word): a display can fill the line word by word.
struct WordTime {
    double StartMs = 0;  // from the start of the track
    // Where the word starts in the row's text; the text's length for a stamp after its last
    // word, which marks when that word ends.
    qsizetype Offset = 0;
    friend bool operator==(const WordTime&, const WordTime&) = default;
};

struct LyricRow {
    // When the display leaves this line for the next one, in milliseconds from the start of
    // the track; 0 when the file gave no time.
    double TimeMs = 0;
    // Lines sung together (an original and its translation) are one row, their texts in
    // file order with a line break between them.
    QString Text;
    // The timed words of the text in the order of their offsets; none for lyrics files and
    // LRC lines without word stamps (words before the first stamp start with the line).
    std::vector<WordTime> Words;
};

struct LyricLines {
    // Row k is line k of the song; there are always LastLine + 1 rows.
    std::vector<LyricRow> Rows;
    // The index of the last row, -1 when the table is empty. Kept 16 bits wide like every
    // table index of the system, which caps a song at 32,768 lines.
    qint16 LastLine = -1;
    QString LyricsTitle;
    // The file the rows came from.
    QString LyricsPath;
};

}  // namespace lyrics
