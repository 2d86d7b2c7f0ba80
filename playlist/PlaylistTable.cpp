#include "playlist/PlaylistTable.h"

namespace playlist {

bool PlaylistTable::Append(const PlaylistEntry& entry) {
    if (IsFull()) {
        return false;
    }
    entries.append(entry);
    return true;
}

}  // namespace playlist
