#pragma once
#include <QtGlobal>
#include <vector>

class QRandomGenerator;

namespace playlist {

// The order of playlist playback: Rows[k] is the row played at step k, OrderPos the step
// being played. Built when playback starts (and with Randomize on, when a playlist is
// loaded or an entry added); editing the table does not rebuild it.
class PlayOrder {
  public:
    std::vector<qint16> Rows;
    qint16 OrderPos = 0;

    // count rows in list order from start, wrapping around: start, start+1, ..., start-1.
    void BuildInOrder(int start, int count);
    // A uniform shuffle of count rows with first (or, when it is not a row, a random row)
    // at step 0.
    void BuildRandom(int first, int count, QRandomGenerator& random);

    // Moves on one step, to step 0 after the last with repeat, passing over rows that no
    // longer exist (at or beyond count). False, leaving the order where it was, when the
    // order has run out or names no row that exists.
    bool Advance(bool repeat, int count);

    // The row at OrderPos; -1 when the order is empty.
    int Row() const { return Rows.empty() ? -1 : Rows[size_t(OrderPos)]; }
};

}  // namespace playlist
