#pragma once
// A song as the open lyrics database keeps it, and the records it answers with.
#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

namespace online {

struct LyricsRecord {
    qint64 Id = 0;
    QString TrackName;
    QString ArtistName;
    QString AlbumName;
    double Duration = 0;  // seconds
    bool Instrumental = false;
    // Either may be missing (null in the answer): a song known only as plain text, or an
    // instrumental with neither.
    std::optional<QString> PlainLyrics;
    std::optional<QString> SyncedLyrics;
};

// One record from a JSON object; nullopt when the names or the lyrics are not text where
// they are present, so an answer of the wrong shape never passes for an empty song.
std::optional<LyricsRecord> ParseRecord(const QJsonObject& object);

// The records of an answer body: an object for /api/get, an array of them for /api/search.
// nullopt when the body is not JSON or not of that shape.
std::optional<QList<LyricsRecord>> ParseRecords(const QByteArray& body, bool list);

}  // namespace online
