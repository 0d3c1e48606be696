#include "gui/timer.h"

#include <algorithm>
#include <vector>

#include "gui/platform/platform.h"

namespace {
std::vector<CGuiTimer*>& runningTimers() {
  static std::vector<CGuiTimer*> timers;
  return timers;
}
}  // namespace

CGuiTimer::CGuiTimer(CBaseObject* listener, int32_t periodMs)
    : period_(periodMs), listener_(listener) {}

CGuiTimer::~CGuiTimer() { stop(); }

bool CGuiTimer::start() {
  if (id_) return true;
  if (!listener_ || period_ <= 0) return false;
  id_ = platform::current().startTimer(static_cast<uint32_t>(period_), &CGuiTimer::fired);
  if (id_) runningTimers().push_back(this);
  return id_ != 0;
}

bool CGuiTimer::stop() {
  if (!id_) return false;
  platform::current().stopTimer(id_);
  auto& list = runningTimers();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  id_ = 0;
  return true;
}

bool CGuiTimer::setPeriod(int32_t ms) {
  if (ms == period_) return false;
  const bool wasRunning = stop();
  period_ = ms;
  if (wasRunning) start();
  return true;
}

void CGuiTimer::fired(uint32_t id) {
  // Copy: a listener may stop or start timers while being told.
  std::vector<CGuiTimer*> list = runningTimers();
  for (CGuiTimer* t : list)
    if (t->id_ == id && t->listener_) {
      t->listener_->notify(t, kMsgTimerFired);
      return;
    }
}
