#include "playlist/PlaylistFile.h"

#include <cmath>
#include <limits>

#include "lyrics/DelimitedFile.h"

namespace playlist {

namespace {

PlaylistReadResult Failed(ReadFailure failure) {
    PlaylistReadResult result;
    result.Failure = failure;
    return result;
}

}  // namespace

PlaylistReadResult ReadPlaylistFile(const QString& path) {
    lyrics::FieldReader reader;
    if (!reader.Open(path)) {
        return Failed(ReadFailure::CannotOpen);
    }

    PlaylistReadResult result;
    while (!reader.AtEnd()) {
        if (result.Table.IsFull()) {
            return Failed(ReadFailure::TooManyEntries);
        }
        PlaylistEntry entry;

        std::optional<QString> lyricsFile = reader.ReadString();
        if (!lyricsFile) {
            return Failed(ReadFailure::EndInEntry);
        }
        entry.LyricsFile = *lyricsFile;

        if (reader.AtEnd()) {
            return Failed(ReadFailure::EndInEntry);
        }
        // An empty field would read as 0, but a missing track number is damage, not track 0.
        bool empty = false;
        std::optional<double> track = reader.ReadNumber(&empty);
        if (!track || empty || std::trunc(*track) != *track) {
            return Failed(ReadFailure::BadTrackNumber);
        }
        if (*track < std::numeric_limits<qint16>::min() ||
            *track > std::numeric_limits<qint16>::max()) {
            return Failed(ReadFailure::TrackOutOfRange);
        }
        entry.TrackNumber = static_cast<qint16>(*track);

        std::optional<QString> title = reader.ReadString();
        if (!title) {
            return Failed(ReadFailure::EndInEntry);
        }
        entry.Title = *title;

        result.Table.Append(entry);
    }
    return result;
}

bool WritePlaylistFile(const QString& path, const PlaylistTable& table) {
    lyrics::FieldWriter writer;
    for (const PlaylistEntry& entry : table) {
        writer.WriteString(entry.LyricsFile);
        writer.WriteNumber(entry.TrackNumber);
        writer.WriteString(entry.Title);
        writer.EndLine();
    }
    return writer.Save(path).Saved();
}

}  // namespace playlist
