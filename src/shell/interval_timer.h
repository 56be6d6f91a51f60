#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace mokuro {

// A timer with an enabled switch and an interval that can be set in any order, as the
// main window's auto-check needs. An interval of 0 or less never ticks.
class IntervalTimer : public QObject {
 public:
  explicit IntervalTimer(QObject* parent = nullptr);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Interval() const { return interval_; }
  // Restarts the period when the timer is running.
  void SetInterval(int milliseconds);
  // True when ticks are actually coming.
  bool Running() const { return timer_.isActive(); }

  std::function<void()> OnTimer;

 private:
  void Restart();

  QTimer timer_;
  bool enabled_ = false;
  int interval_ = 5000;
};

}  // namespace mokuro
