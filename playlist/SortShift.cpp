#include "playlist/SortShift.h"

#include <QHash>
#include <algorithm>
#include <numeric>

#include "playlist/Playlist.h"

namespace playlist {

namespace {

// Counts over 0..size-1: prefix sums and the position of the k-th count, in log time.
class CountTree {
  public:
    explicit CountTree(int size, int each = 0) : tree(size_t(size) + 1, 0) {
        for (int i = 0; i < size; ++i) {
            Add(i, each);
        }
    }
    void Add(int index, int amount) {
        for (size_t i = size_t(index) + 1; i < tree.size(); i += i & (~i + 1)) {
            tree[i] += amount;
        }
    }
    int Below(int index) const {  // the counts of 0..index-1
        int sum = 0;
        for (size_t i = size_t(index); i > 0; i -= i & (~i + 1)) {
            sum += tree[i];
        }
        return sum;
    }
    int Find(int k) const {  // the lowest index whose counts up to it reach k (k >= 1)
        size_t at = 0;
        size_t step = 1;
        while (step * 2 < tree.size()) {
            step *= 2;
        }
        for (; step > 0; step /= 2) {
            if (at + step < tree.size() && tree[at + step] < k) {
                at += step;
                k -= tree[at];
            }
        }
        return int(at);
    }

  private:
    std::vector<int> tree;
};

// The entries of one key, which the sort keeps as a circle: it gains entries just before its
// head and turns by one position at a time.
struct Run {
    std::vector<int> entries;  // in the order they joined
    std::vector<int> places;    // where each joined, in the circle as it was then
    int head = 0;
    int lowerSeen = 0;  // entries of lower keys placed when the run was last brought up to date

    void Turn(int lowerPlaced) {
        if (!entries.empty()) {
            head = int((head + qint64(lowerPlaced - lowerSeen)) % qint64(entries.size()));
        }
        lowerSeen = lowerPlaced;
    }
    void Join(int entry) {
        places.push_back(head);
        entries.push_back(entry);
        head = (head + 1) % int(entries.size());
    }
    // The circle read from its head.
    void AppendTo(std::vector<int>& out) const {
        const int size = int(entries.size());
        std::vector<int> circle(size_t(size), -1);
        CountTree free(size, 1);
        for (int k = size - 1; k >= 0; --k) {  // the last to join sits where it was put
            const int at = free.Find(places[size_t(k)] + 1);
            circle[size_t(at)] = entries[size_t(k)];
            free.Add(at, -1);
        }
        std::rotate(circle.begin(), circle.begin() + head, circle.end());
        out.insert(out.end(), circle.begin(), circle.end());
    }
};

// Keys turned into ranks from 0 up that compare as the keys do. A playlist has many entries
// with the same key, so only the different keys are sorted.
template <typename Key>
std::vector<int> Ranks(const std::vector<Key>& keys) {
    QHash<Key, int> numbers;
    std::vector<Key> different;
    std::vector<int> rank(keys.size());
    for (size_t k = 0; k < keys.size(); ++k) {
        auto found = numbers.constFind(keys[k]);
        if (found == numbers.constEnd()) {
            found = numbers.insert(keys[k], int(different.size()));
            different.push_back(keys[k]);
        }
        rank[k] = *found;
    }
    std::vector<int> byKey(different.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(),
              [&different](int a, int b) { return different[size_t(a)] < different[size_t(b)]; });
    std::vector<int> rankOf(different.size());
    for (size_t r = 0; r < byKey.size(); ++r) {
        rankOf[size_t(byKey[r])] = int(r);
    }
    for (int& r : rank) {
        r = rankOf[size_t(r)];
    }
    return rank;
}

std::vector<int> KeysOf(const PlaylistTable& table, SortBy by) {
    if (by == SortBy::Track) {
        std::vector<int> tracks;
        tracks.reserve(size_t(table.Count()));
        for (const PlaylistEntry& entry : table) {
            tracks.push_back(entry.TrackNumber);
        }
        return Ranks(tracks);
    }
    std::vector<QString> texts;
    texts.reserve(size_t(table.Count()));
    for (const PlaylistEntry& entry : table) {
        texts.push_back((by == SortBy::Artist ? ArtistOf(entry.Title) : entry.Title).toUpper());
    }
    return Ranks(texts);
}

}  // namespace

QString ArtistOf(const QString& title) {
    const qsizetype separator = title.indexOf(QStringLiteral(" - "));
    return separator < 0 ? title : title.mid(separator + 3);
}

std::vector<int> ExchangeSortOrder(const std::vector<int>& keys) {
    std::vector<int> at(keys.size());
    std::iota(at.begin(), at.end(), 0);
    if (at.empty()) {
        return at;
    }
    // i = 0: position 0 changes places with every later key above the one it holds, and so
    // ends with the first of the largest keys.
    for (size_t j = 1; j < at.size(); ++j) {
        if (keys[size_t(at[0])] < keys[size_t(at[j])]) {
            std::swap(at[0], at[j]);
        }
    }
    // From i = 1 on, positions 0..i-1 hold ascending keys, the largest last, and position i
    // is still as i = 0 left it. The pass of j over 0..i-1 puts entry i after every key not
    // above its own, and each run of equal keys above it turns by one: its first entry moves
    // to its end. The pass of j over the positions after i exchanges nothing. So every key's
    // run is a circle that gains entries at its end and turns once for each entry of a lower
    // key placed after it began; CountTree tells how many those were.
    const std::vector<int> rank = Ranks(keys);
    const int distinct = *std::max_element(rank.begin(), rank.end()) + 1;
    std::vector<Run> runs(static_cast<size_t>(distinct));
    CountTree placed(distinct);
    for (const int entry : at) {
        const int r = rank[size_t(entry)];
        Run& run = runs[size_t(r)];
        run.Turn(placed.Below(r));
        run.Join(entry);
        placed.Add(r, 1);
    }
    std::vector<int> order;
    order.reserve(keys.size());
    for (int r = 0; r < distinct; ++r) {
        runs[size_t(r)].Turn(placed.Below(r));
        runs[size_t(r)].AppendTo(order);
    }
    return order;
}

void SortTable(PlaylistTable& table, SortBy by) {
    PlaylistTable sorted;
    for (const int k : ExchangeSortOrder(KeysOf(table, by))) {
        sorted.Append(table.Entry(k));
    }
    table = std::move(sorted);
}

void ShiftTable(PlaylistTable& table, int location, int amount) {
    for (PlaylistEntry& entry : table) {
        if (entry.TrackNumber >= location) {
            entry.TrackNumber = qint16(std::clamp(entry.TrackNumber + amount, -32768, 32767));
        }
    }
}

bool SortPlaylist(Playlist& model, SortBy by) {
    if (model.Table().IsEmpty()) {
        return false;
    }
    PlaylistTable table = model.Table();
    SortTable(table, by);
    model.ReplaceTable(std::move(table));
    return true;
}

bool ShiftPlaylist(Playlist& model, int location, int amount) {
    if (model.Table().IsEmpty()) {
        return false;
    }
    PlaylistTable table = model.Table();
    ShiftTable(table, location, amount);
    model.ReplaceTable(std::move(table));
    return true;
}

}  // namespace playlist
