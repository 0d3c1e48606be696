#pragma once
// Thread timers for window systems that have none the host drives for us (the raster,
// X11): a list fired by whoever moves the clock. A timer that falls due while nobody
// looks fires once when next asked, not once per missed period. Single-threaded.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gui/platform/platform.h"

namespace platform {

class TimerList {
 public:
  // Answers the new timer's identifier (never 0), or 0 for a zero period or no callback.
  uint32_t start(uint32_t periodMs, TimerCallback cb, uint32_t now);
  void stop(uint32_t id);
  // Fires the timers due at `now`; callbacks may start or stop timers.
  void fireDue(uint32_t now);
  size_t size() const { return timers_.size(); }

 private:
  struct Timer {
    uint32_t id, period, due;
    TimerCallback cb;
  };
  std::vector<Timer> timers_;
  uint32_t nextId_ = 1;
};

}  // namespace platform
