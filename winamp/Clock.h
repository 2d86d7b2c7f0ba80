#pragma once
#include <QtGlobal>

namespace winamp {

// Where a model behind the Winamp window (the simulated Winamp, the bridge) reads the time.
// It never looks at a wall clock of its own, so tests drive it with a ManualClock and the
// programs with a RealClock.
class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never goes backwards in normal use.
    virtual qint64 NowMs() const = 0;
};

}  // namespace winamp
