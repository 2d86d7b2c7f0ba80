#pragma once
#include <QByteArray>
#include <QString>

#include "winamp-sim/Track.h"

namespace winampsim {

// The outcome of reading a playlist: the tracks, or a message that says what is wrong
// and where, ready for stderr.
struct PlaylistLoad {
    bool Ok = false;
    TrackList Tracks;
    QString Error;
};

// The longest track the simulation accepts, so lengths in milliseconds stay far from
// any overflow.
inline constexpr int MaxTrackLengthS = 1000000;

// Reads an M3U playlist. Every entry needs a length from an "#EXTINF:<seconds>,<title>"
// line before it; an entry without one is an error naming its line, rather than being
// skipped, because skipping would shift the entry numbers that lyrics playlists refer
// to. The media files themselves are never opened. Without an #EXTINF title the title is
// the entry's file name without folders and extension. A track's file is the entry's file line
// taken from the playlist's folder (a file:// URL as its local path; none for another URL).
PlaylistLoad LoadM3u(const QString& path);

// The same for bytes already read; name is used in messages, entries are taken from folder.
PlaylistLoad ParseM3u(const QByteArray& bytes, const QString& name, const QString& folder);

// count tracks of lengthS seconds each, titled "Track 1", "Track 2", ...
TrackList GenerateTracks(int count, int lengthS);

}  // namespace winampsim
