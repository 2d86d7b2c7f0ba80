#pragma once
#include <optional>

namespace player {

// Outer heights of the main window in twips, title bar and menu bar included: everything,
// the playlist out of sight below the buttons, and the compact strip of the current line.
inline constexpr int FullHeight = 6050;
inline constexpr int ShortHeight = 2650;
inline constexpr int CompactHeight = 1450;

struct ListViewChange {
    int OuterHeight = FullHeight;
    bool HideMenuBar = false;  // compact: the menu bar goes too
    // The Show/Hide item's caption reads "&Hide" (true) or "S&how" (false); nothing for
    // compact, which leaves it as it was.
    std::optional<bool> CaptionHide;
};

// The window height for a playlist-view decision. Not forced and mode Manual: no change.
// Shown: the full height. Hidden while compact is wanted and a song is followed: the
// compact strip. Otherwise the list is out of sight.
std::optional<ListViewChange> DecideListView(bool force, bool show, bool autohide, bool compact,
                                             bool following);

}  // namespace player
