#pragma once
// The song title and the lyrics file name formed from an artist and a song, as the
// Authoring Info dialog forms them, and the way back from a title to the two fields.
#include <QString>

namespace encoder {

// What a blank field becomes when the user accepts a substitute.
inline const QString AnonymousArtist = QStringLiteral("[Anon.]");
inline const QString UntitledSong = QStringLiteral("[Untitled]");

// True when the field holds nothing but spaces.
bool IsBlankField(const QString& field);

// "Song - Artist", each trimmed of spaces: the first record of the lyrics file.
QString SongTitle(const QString& artist, const QString& song);

// "Artist - Song", each trimmed of spaces: the name offered for the lyrics file. It is a
// name, never a path: a "/" or a NUL in either field becomes "-" here (and only here).
QString ProposedFileName(const QString& artist, const QString& song);

struct TitleFields {
    QString Song;
    QString Artist;
};

// The fields of a title made by SongTitle: the text before the first " - " is the song,
// the rest the artist ("A - B - C" gives A and "B - C"). A title without " - " (one given
// on the command line) is all song.
TitleFields SplitSongTitle(const QString& title);

}  // namespace encoder
