#pragma once
#include "winamp/Clock.h"

namespace winamp {

// A clock that moves only when told to; tests use it to step the model through time.
class ManualClock : public Clock {
  public:
    explicit ManualClock(qint64 startMs = 0) : now(startMs) {}
    qint64 NowMs() const override { return now; }
    void Advance(qint64 ms) { now += ms; }
    void Set(qint64 ms) { now = ms; }

  private:
    qint64 now;
};

}  // namespace winamp
