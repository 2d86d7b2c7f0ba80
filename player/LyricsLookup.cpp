#include "player/LyricsLookup.h"

#include "library/LyricsLibrary.h"

namespace player {

LyricsLookup::LyricsLookup(library::LyricsLibrary& library, QObject* parent)
    : QObject(parent), library(library) {
    connect(&library, &library::LyricsLibrary::Found, this,
            [this](quint64 answered, const QString& lyricsPath) {
                if (answered != ticket || ticket == 0) {
                    return;
                }
                ticket = 0;
                if (!lyricsPath.isEmpty()) {
                    missing = false;
                    emit Found(lyricsPath);
                } else if (!missing) {
                    missing = true;
                    emit NothingLocal(asked);
                }
            });
    connect(&library, &library::LyricsLibrary::Ready, this, [this] {
        if (waiting) {
            Ask();
        }
    });
    connect(&library, &library::LyricsLibrary::Changed, this, [this] {
        if (missing && ticket == 0) {
            Ask();
        }
    });
}

void LyricsLookup::Find(const winamp::NowPlayingTrack& track) {
    asked = track;
    missing = false;
    Ask();
}

void LyricsLookup::Forget() {
    ticket = 0;
    waiting = false;
    missing = false;
}

bool LyricsLookup::StillMissing(const QString& artist, const QString& title) const {
    return missing && ticket == 0 && QString::fromStdU16String(asked.Artist) == artist &&
           QString::fromStdU16String(asked.Title) == title;
}

void LyricsLookup::FoundElsewhere(const QString& lyricsPath) {
    missing = false;
    emit Found(lyricsPath);
}

void LyricsLookup::Ask() {
    waiting = !library.IsReady();
    ticket = waiting ? 0
                     : library.Find(QString::fromStdU16String(asked.Artist),
                                    QString::fromStdU16String(asked.Title),
                                    QString::fromStdU16String(asked.File));
}

}  // namespace player
