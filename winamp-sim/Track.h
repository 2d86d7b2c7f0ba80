#pragma once
#include <QList>
#include <QString>

namespace winampsim {

// One entry of the simulated playlist. There is no media behind it, only a title and a
// length, which is all the clock needs.
struct Track {
    QString Title;
    int LengthS = 0;  // whole seconds, always > 0 in a loaded playlist
    QString File;     // the entry's media file as a local path; empty when it names none

    bool operator==(const Track&) const = default;
};

using TrackList = QList<Track>;

}  // namespace winampsim
