#pragma once
// Synced lyrics as the database keeps them (LRC lines with no tags), to and from our files.
#include <QString>

#include "lyrics/LyricLines.h"
#include "online/Record.h"

namespace online {

// "Artist - Title.lrc", with what a file name cannot hold (path separators, control
// characters, the characters Windows refuses) replaced by "_", and each part cut to 100
// characters so the name stays within what file systems take.
QString LrcFileName(const QString& artist, const QString& title);

// Saves the record's synced lyrics into folder under LrcFileName, atomically, with
// [ti:], [ar:] and [al:] tags in front so the player names the song as the database does.
// The path written, or an empty text when the record has no synced lyrics that read as
// LRC or the file could not be written.
QString SaveSyncedLrc(const LyricsRecord& record, const QString& folder);

// The table's lines as LRC without its tags or the empty line before the first sung one:
// what the database takes as synced lyrics.
QString SyncedFromTable(const lyrics::LyricLines& table);

// The plain text of synced lyrics: each line without its stamps and word stamps, tag lines
// left out, blank lines at the ends dropped and runs of them kept as one, lines joined by
// "\n".
QString PlainFromSynced(const QString& synced);

}  // namespace online
