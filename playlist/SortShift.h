#pragma once
// Sort and Shift: rearranging a whole playlist at once.
#include <QString>
#include <vector>

#include "playlist/PlaylistTable.h"

namespace playlist {

class Playlist;

// The keys of Sort, in the order of the So&rt submenu (itmLSort).
enum class SortBy { Artist = 0, Title = 1, Track = 2 };

// The artist of a title "Song - Artist": everything after its first " - ". A title without
// that separator has no artist part and sorts by the whole of it.
QString ArtistOf(const QString& title);

// The order of the playlists' exchange sort: for i over every position, and within it for j
// over every position, the entries at i and j change places whenever the key at i is below
// the key at j. Entries with equal keys end in the order that procedure leaves them in
// (not their previous order), and playlists sorted that way for years must keep sorting the
// same, so the order is reproduced exactly, in O(n log n) instead of n² comparisons.
// Element k of the result is the index in keys of the entry that ends at position k.
std::vector<int> ExchangeSortOrder(const std::vector<int>& keys);

// The table in ascending order of the key, upper-cased text compared by character code.
void SortTable(PlaylistTable& table, SortBy by);

// Adds amount to every track number at or above location. The results are held within the
// 16-bit range instead of wrapping, so the file stays readable.
void ShiftTable(PlaylistTable& table, int location, int amount);

// Sort and Shift on a model: the list is rebuilt and nothing is selected; the file and the
// modified flag stay as they were, for the caller to apply its rule for a change. False,
// changing nothing, for an empty playlist.
bool SortPlaylist(Playlist& model, SortBy by);
bool ShiftPlaylist(Playlist& model, int location, int amount);

}  // namespace playlist
