#pragma once
// LRC, the timed lyrics format most other players speak: one line per lyric line, with the
// moment it starts in front of it ("[01:12.48]text"), and tags such as "[ti:Song]".
//
// Our table keeps, for every line, the moment the display leaves it. Reading turns LRC's
// start times into that, writing turns them back, so a song shows the same lines at the
// same moments either way.
#include <QByteArray>
#include <QString>

#include "lyrics/LyricLines.h"
#include "lyrics/SaveFile.h"

namespace lyrics {

// Reads the LRC text in bytes (any encoding DecodeText takes) into table: one row per
// start, sorted by time, each row's time being the next row's start; when the first stamp
// is later than 0, an empty first row shows until it. Lines with the same stamp (an
// original and its translation) are one row, their texts in file order with a line break
// between them. The title is "title - artist" from the [ti:] and [ar:] tags, several of
// which may share a line, with fallbackSong standing in for a missing title. Word stamps
// ("<01:12.90>", or "[01:12.90]" after the text has begun) leave the text and are kept as
// the row's word times; [offset:] is applied, other tags and unstamped lines are ignored.
// False, with the table emptied and its title kept, when no line has a stamp or the song
// would have more rows, or the file more stamps, than the table holds rows.
bool ReadLrc(const QByteArray& bytes, const QString& fallbackSong, LyricLines& table);

// The table as LRC: [ti:] and [ar:] from its title, then each row with the moment it
// starts, in [mm:ss.xx], each line of its text under that stamp and its word times as
// "<mm:ss.xx>" before their words. Times are rounded up to the hundredth, so no line starts
// earlier than it did, and a row starts a hundredth after the one before it at the least.
// Text that would read as a stamp is written with a blank after its bracket, which ReadLrc
// drops again; so the text reads back as it was, only blanks at the ends of lines go.
QString LrcText(const LyricLines& table);
SaveResult WriteLrcFile(const QString& path, const LyricLines& table);

// The LRC text in bytes with its lines moved shiftMs later (sooner when negative) by its
// [offset:] tag, which ReadLrc reads back to the moved times: the tag in force takes the new
// value, or a new one goes in before the first stamped line. Every other byte stays.
QByteArray LrcMovedBy(const QByteArray& bytes, qint64 shiftMs);

// Writes the lyrics file at lyricsPath as LRC to lrcPath, or when that is empty to the
// same name with the LRC extension. Fails, saying which file and why in one line, when
// the lyrics file cannot be read, the LRC file would be the lyrics file itself, or the LRC
// file cannot be written.
SaveResult ExportLrc(const QString& lyricsPath, const QString& lrcPath = {});

}  // namespace lyrics
