#pragma once

#include "date_time.h"

namespace mokuro {

// Where "now" comes from; tests set their own to cross month boundaries at will.
class Clock {
 public:
  virtual ~Clock() = default;
  // Local date and time.
  virtual TDateTime Now() const = 0;
  TDateTime Today() const { return DateOf(Now()); }
};

class SystemClock final : public Clock {
 public:
  TDateTime Now() const override;
};

// A clock that shows what it was set to.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(TDateTime now) : now_(now) {}
  TDateTime Now() const override { return now_; }
  void Set(TDateTime now) { now_ = now; }

 private:
  TDateTime now_;
};

}  // namespace mokuro
