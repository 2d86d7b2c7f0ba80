#include "playlist/PlayOrder.h"

#include <QRandomGenerator>
#include <utility>

namespace playlist {

void PlayOrder::BuildInOrder(int start, int count) {
    Rows.resize(size_t(std::max(count, 0)));
    OrderPos = 0;
    for (int k = 0; k < count; ++k) {
        Rows[size_t(k)] = qint16((start + k) % count);
    }
}

void PlayOrder::BuildRandom(int first, int count, QRandomGenerator& random) {
    Rows.resize(size_t(std::max(count, 0)));
    OrderPos = 0;
    if (count <= 0) {
        return;
    }
    if (first < 0 || first >= count) {
        first = int(random.bounded(count));
    }
    for (int row = 0; row < count; ++row) {
        Rows[size_t(row)] = qint16(row);
    }
    std::swap(Rows[0], Rows[size_t(first)]);
    // Fisher-Yates over the steps after the first.
    for (int i = count - 1; i > 1; --i) {
        std::swap(Rows[size_t(i)], Rows[size_t(1 + random.bounded(i))]);
    }
}

bool PlayOrder::Advance(bool repeat, int count) {
    const int last = int(Rows.size()) - 1;
    int pos = OrderPos;
    for (int tries = 0; tries <= last; ++tries) {
        if (pos >= last) {
            if (!repeat) {
                return false;
            }
            pos = 0;
        } else {
            ++pos;
        }
        if (Rows[size_t(pos)] < count) {
            OrderPos = qint16(pos);
            return true;
        }
    }
    return false;
}

}  // namespace playlist
