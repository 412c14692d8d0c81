#pragma once
// The local wall-clock time of the system.
#include "platform/clock.h"

namespace qm {

class Win32Clock : public Clock {
 public:
  LocalTime Now() override;
};

}  // namespace qm
