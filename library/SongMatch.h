#pragma once
// The plain rules by which a lyrics file is found for a song: the key two names are compared
// by, what artist and title a lyrics file may be of, and how well it fits a song asked for.
#include <QString>
#include <vector>

namespace library {

// Where a file's artist and title were read; a title record is the surer of the two.
enum class SongSource { FileName = 1, TitleRecord = 2 };

struct SongCandidate {
    QString ArtistKey;  // NormalKey of the artist; empty when the source names none
    QString TitleKey;   // NormalKey of the title; never empty
    SongSource Source = SongSource::FileName;
    friend bool operator==(const SongCandidate&, const SongCandidate&) = default;
};

// A name as it is compared: case, accents, punctuation and blanks do not count, nor do words
// in brackets ("Song (Remastered 2011)", "[Live]"), unless the brackets hold all there is.
QString NormalKey(const QString& name);

// "Song - Artist" as a lyrics file's title record (or "[ti:]" and "[ar:]" tags) gives it; a
// record without " - " is a title alone. None when it holds no letter or digit.
std::vector<SongCandidate> TitleRecordCandidates(const QString& titleRecord);

// The songs a file name without its extension may stand for: "Artist - Title" and
// "Title - Artist" alike; with more parts ("Artist - Album - Title") the first and the last
// either way round, and each split at the first and the last " - ". A track number in front
// ("01 - Artist - Title") is dropped; a name without " - " is a title alone. Underscores
// count as blanks.
std::vector<SongCandidate> FileNameCandidates(const QString& baseName);

// How well a candidate fits the song asked for by its keys: 0 not at all; more for the same
// artist than for an artist unknown on either side, and more for a title record than a name.
int MatchRank(const SongCandidate& candidate, const QString& artistKey, const QString& titleKey);

}  // namespace library
