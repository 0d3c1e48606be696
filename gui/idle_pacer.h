#pragma once
// Idle pacing of tracking loops: at most one editor idle per 100 ms, with a 4 ms sleep
// when called early and a 50 ms tolerance. All times are unsigned milliseconds.
#include <cstdint>

class IdlePacer {
 public:
  IdlePacer();
  // Runs `idle` (and then `hostIdle` with the in-idle flag set) when due.
  // Answers whether it idled.
  template <class Idle, class HostIdle>
  bool run(Idle idle, HostIdle hostIdle) {
    uint32_t now = ticks();
    if (now < next_) {
      sleep4();
      now += 4;
      if (now < next_ - 50) return false;
    }
    idle();
    dispatchPaint();
    inIdle_ = true;
    next_ = now + 100;
    hostIdle();
    inIdle_ = false;
    return true;
  }
  bool inIdle() const { return inIdle_; }
  uint32_t nextIdleTime() const { return next_; }

 private:
  static uint32_t ticks();
  static void sleep4();
  static void dispatchPaint();
  uint32_t next_;
  bool inIdle_ = false;
};
