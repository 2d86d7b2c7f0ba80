#pragma once
// The player's table of the timed lines of one song.
#include <QString>
#include <QtGlobal>
#include <vector>

namespace lyrics {

struct LyricRow {
    // When the display leaves this line for the next one, in milliseconds from the start of
    // the track; 0 when the file gave no time.
    double TimeMs = 0;
    QString Text;
};

struct LyricLines {
    // Row k is line k of the song; there are always LastLine + 1 rows.
    std::vector<LyricRow> Rows;
    // The index of the last row, -1 when the table is empty. Kept 16 bits wide like every
    // table index of the system, which caps a song at 32,768 lines.
    qint16 LastLine = -1;
    QString LyricsTitle;
    // The file the rows came from; LoadLyrics reads the file named here.
    QString LyricsPath;
};

}  // namespace lyrics
