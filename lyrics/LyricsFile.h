#pragma once
// Timed lyrics files (.cx3, and the older .cx2 of the same layout): a header line with the
// quoted song title, then one line per lyric line, its time in seconds and its quoted text.
#include <QString>
#include <optional>
#include <vector>

#include "lyrics/LyricLines.h"
#include "lyrics/SourceRow.h"

namespace lyrics {

// What reading a lyrics file gave. Lines holds the rows as far as the file could be read, the
// failing one included as far as it was read; a file of more than 32,768 lines fails at the
// first line too many. Lines.LyricsPath is the path read.
struct LyricsRead {
    LyricLines Lines;
    bool Complete = false;   // the whole file was read
    bool TitleRead = false;  // the title was read (false when the file could not be opened)
};

// The lyrics file at path, times turned into milliseconds; read as LRC (ReadLrc, with the
// file's base name for a missing title) when its name says so.
LyricsRead ReadLyricsFile(const QString& path);

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
