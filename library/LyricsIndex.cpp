#include "library/LyricsIndex.h"

namespace library {

void LyricsIndex::Put(const QString& path, const std::vector<SongCandidate>& candidates) {
    Remove(path);
    if (candidates.empty()) {
        return;
    }
    songs.insert(path, candidates);
    for (const SongCandidate& candidate : candidates) {
        byTitle[candidate.TitleKey].insert(path);
    }
}

void LyricsIndex::Remove(const QString& path) {
    const auto it = songs.constFind(path);
    if (it == songs.constEnd()) {
        return;
    }
    for (const SongCandidate& candidate : *it) {
        const auto bucket = byTitle.find(candidate.TitleKey);
        if (bucket != byTitle.end()) {
            bucket->remove(path);
            if (bucket->isEmpty()) {
                byTitle.erase(bucket);
            }
        }
    }
    songs.erase(it);
}

void LyricsIndex::Clear() {
    songs.clear();
    byTitle.clear();
}

QString LyricsIndex::Lookup(const QString& artist, const QString& title) const {
    const QString artistKey = NormalKey(artist);
    const QString titleKey = NormalKey(title);
    QString best;
    int bestRank = 0;
    for (const QString& path : byTitle.value(titleKey)) {
        for (const SongCandidate& candidate : songs.value(path)) {
            const int rank = MatchRank(candidate, artistKey, titleKey);
            if (rank > bestRank || (rank == bestRank && rank > 0 && path < best)) {
                bestRank = rank;
                best = path;
            }
        }
    }
    return best;
}

}  // namespace library
