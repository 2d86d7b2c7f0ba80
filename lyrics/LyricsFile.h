#pragma once
// Timed lyrics files (.cx3, and the older .cx2 of the same layout): a header line with the
// quoted song title, then one line per lyric line, its time in seconds and its quoted text.
#include <QString>
#include <optional>
#include <vector>

#include "lyrics/LyricLines.h"
#include "lyrics/SourceRow.h"

namespace lyrics {

// Reads the file named by table.LyricsPath into the table, times turned into
// milliseconds; a name ending in "lrc" is read as LRC (LoadLrc). The table is emptied
// first. On failure it keeps the rows read so far, the failing one included as far as it
// was read; when the file cannot be opened it stays empty and the title keeps its old
// value. A file of more than 32,768 lines fails at the first line too many.
bool LoadLyrics(LyricLines& table);

// A .cx3/.cx2 file whole, as the encoder keeps lines: times in seconds as written, an
// empty time left empty. nullopt when the file cannot be read to its end, so that nothing
// is ever written back from part of a file.
struct LyricsRows {
    QString Title;
    std::vector<SourceRow> Rows;
};
std::optional<LyricsRows> ReadLyricsRows(const QString& path);

// The title of the lyrics file at path, without reading further (an LRC file is read whole).
std::optional<QString> ReadLyricsTitle(const QString& path);

// Writes title and rows 0 to last of lines as a new file at path, replacing any file of
// that name only when the whole file could be written. An untimed row gets an empty time.
// False when the file cannot be written or last lies beyond the rows given.
bool WriteLyricsFile(const QString& path, const QString& title, const std::vector<SourceRow>& lines,
                     int last);

}  // namespace lyrics
