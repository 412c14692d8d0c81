#pragma once
// A clock that shows the time it is given.
#include "platform/clock.h"

namespace qm {

class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalTime time = {2024, 1, 2, 3, 4, 5}) : time_(time) {}
  void Set(LocalTime time) { time_ = time; }
  LocalTime Now() override { return time_; }

 private:
  LocalTime time_;
};

}  // namespace qm
