#pragma once
#include <QString>
#include <QtGlobal>

namespace playlist {

// One line of a lyrics playlist: when Winamp plays its track TrackNumber (counted from 1),
// show LyricsFile, whose song title is Title. The field order is the order in the file.
struct PlaylistEntry {
    QString LyricsFile;
    qint16 TrackNumber = 0;
    QString Title;

    friend bool operator==(const PlaylistEntry&, const PlaylistEntry&) = default;
};

// The text of the entry's row in lstList: "3 - Title - path". Every place that puts an
// entry into the list uses it, so a row always matches its entry.
QString RowText(const PlaylistEntry& entry);

}  // namespace playlist
