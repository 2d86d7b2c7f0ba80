#include "player/ListView.h"

namespace player {

std::optional<ListViewChange> DecideListView(bool force, bool show, bool autohide, bool compact,
                                             bool following) {
    if (!force && !autohide) {
        return std::nullopt;
    }
    if (show) {
        return ListViewChange{FullHeight, false, true};
    }
    if (compact && following) {
        return ListViewChange{CompactHeight, true, std::nullopt};
    }
    return ListViewChange{ShortHeight, false, false};
}

}  // namespace player
