#pragma once
#include <QString>

#include "playlist/PlaylistTable.h"

namespace playlist {

enum class ReadFailure {
    None,
    CannotOpen,       // missing, unreadable, or not a file
    EndInEntry,       // the file ends after the first or second field of an entry
    BadTrackNumber,   // not a whole number in plain decimal
    TrackOutOfRange,  // outside the 16-bit range of TrackNumber
    TooManyEntries,   // more than PlaylistTable::MaxEntries
};

struct PlaylistReadResult {
    PlaylistTable Table;  // empty unless the whole file was read
    ReadFailure Failure = ReadFailure::None;

    bool Ok() const { return Failure == ReadFailure::None; }
};

// Reads a .cxp file: three fields per entry (LyricsFile, TrackNumber, Title) taken as a
// stream, whatever the line structure, until nothing but blank lines is left. The table
// is built apart from any table in use, so a caller that fails keeps what it had.
PlaylistReadResult ReadPlaylistFile(const QString& path);

// One line per entry, CR LF after each; an empty table gives an empty file. The file is
// replaced atomically: when this fails, the old file is still whole.
bool WritePlaylistFile(const QString& path, const PlaylistTable& table);

}  // namespace playlist
