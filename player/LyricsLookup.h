#pragma once
#include <QObject>
#include <QString>

#include "winamp/TrackTitle.h"

namespace library {
class LyricsLibrary;
}

namespace player {

// Where the lyrics of the song the followed player plays come from: a lyrics file beside its
// audio file with the same base name (.cx3, then .cx2, then .lrc), else the best match in the
// lyrics library. Only the song asked for last is answered; an answer for one asked before
// it is dropped. Asked while the library is still being read, it answers once it is read; a
// song found nowhere is looked for again as the library changes, and Found when it turns up.
class LyricsLookup : public QObject {
    Q_OBJECT
  public:
    explicit LyricsLookup(library::LyricsLibrary& library, QObject* parent = nullptr);

    void Find(const winamp::NowPlayingTrack& track);
    // An answer still to come is dropped.
    void Forget();
    // Whether the song asked for last, by artist and title, is still found nowhere: an answer
    // from further afield about it is taken, any other is stale.
    bool StillMissing(const QString& artist, const QString& title) const;
    // Lyrics for the missing song found further afield.
    void FoundElsewhere(const QString& lyricsPath);

  signals:
    void Found(const QString& lyricsPath);
    // Nothing on this machine: where a search further afield can take over.
    void NothingLocal(const winamp::NowPlayingTrack& track);

  private:
    void Ask();

    library::LyricsLibrary& library;
    quint64 ticket = 0;
    winamp::NowPlayingTrack asked;
    bool waiting = false;  // for the library to be read
    bool missing = false;  // found nowhere, said so once
};

}  // namespace player
