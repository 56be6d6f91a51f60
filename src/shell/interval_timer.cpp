#include "interval_timer.h"

namespace mokuro {

IntervalTimer::IntervalTimer(QObject* parent) : QObject(parent) {
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (OnTimer) OnTimer();
  });
}

void IntervalTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Restart();
}

void IntervalTimer::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  Restart();
}

void IntervalTimer::Restart() {
  timer_.stop();
  if (enabled_ && interval_ > 0) timer_.start(interval_);
}

}  // namespace mokuro
