#pragma once
#include <QtGlobal>

namespace winampsim {

// Where the simulated Winamp reads the time. The model never looks at a wall clock of its
// own, so tests drive it with a ManualClock and the program with a RealClock.
class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never goes backwards in normal use.
    virtual qint64 NowMs() const = 0;
};

}  // namespace winampsim
