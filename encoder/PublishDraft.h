#pragma once
// What "Publish..." gives the open lyrics database for a timed lyrics file: its title as song
// and artist, the song's length as Winamp gives it, the synced lines and the plain text made
// from them.
#include <QString>

#include "online/Record.h"

namespace encoder {

struct PublishDraft {
    online::LyricsRecord Song;
    // Why the file cannot be published, in words for the user; empty when it can.
    QString Problem;
};

PublishDraft DraftForPublish(const QString& lyricsPath, qint64 lengthS);

}  // namespace encoder
