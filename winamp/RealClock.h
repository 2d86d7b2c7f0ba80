#pragma once
#include <QElapsedTimer>

#include "winamp/Clock.h"

namespace winamp {

// Monotonic time since construction, run faster or slower by a speed factor so that a
// demo or a script can go through long tracks quickly (--speed).
class RealClock : public Clock {
  public:
    explicit RealClock(double speed = 1.0);
    qint64 NowMs() const override;
    double Speed() const { return speed; }

  private:
    QElapsedTimer timer;
    double speed;
};

}  // namespace winamp
