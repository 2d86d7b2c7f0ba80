#include "winamp/RealClock.h"

#include <cmath>

namespace winamp {

RealClock::RealClock(double speed) : speed(speed > 0 ? speed : 1.0) {
    timer.start();
}

qint64 RealClock::NowMs() const {
    return static_cast<qint64>(std::floor(static_cast<double>(timer.nsecsElapsed()) * speed / 1e6));
}

}  // namespace winamp
