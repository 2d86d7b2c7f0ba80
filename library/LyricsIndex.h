#pragma once
// The songs of a lyrics library in memory: for each file the songs it may be of, found again
// by title. No disk access; the library's worker reads the files and hands their songs in.
#include <QHash>
#include <QSet>
#include <QString>
#include <vector>

#include "library/SongMatch.h"

namespace library {

class LyricsIndex {
  public:
    // Puts a file with its songs in, in place of what was known of it; none takes it out.
    void Put(const QString& path, const std::vector<SongCandidate>& candidates);
    void Remove(const QString& path);
    void Clear();

    // The file that fits the song best (see MatchRank); on a tie the first path in order.
    // Empty when none fits. An unknown artist (empty) matches on the title alone.
    QString Lookup(const QString& artist, const QString& title) const;

    qsizetype FileCount() const { return songs.size(); }

  private:
    QHash<QString, std::vector<SongCandidate>> songs;  // by path
    QHash<QString, QSet<QString>> byTitle;             // title key -> paths
};

}  // namespace library
