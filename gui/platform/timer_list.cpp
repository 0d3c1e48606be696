#include "gui/platform/timer_list.h"

#include <algorithm>
#include <utility>

namespace platform {

uint32_t TimerList::start(uint32_t periodMs, TimerCallback cb, uint32_t now) {
  if (!cb || periodMs == 0) return 0;
  const uint32_t id = nextId_++;
  if (nextId_ == 0) nextId_ = 1;
  timers_.push_back({id, periodMs, now + periodMs, cb});
  return id;
}

void TimerList::stop(uint32_t id) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [id](const Timer& t) { return t.id == id; }),
                timers_.end());
}

void TimerList::fireDue(uint32_t now) {
  // Collected first: callbacks may start or stop timers.
  std::vector<std::pair<uint32_t, TimerCallback>> due;
  for (Timer& t : timers_)
    if (static_cast<int32_t>(now - t.due) >= 0) {
      due.emplace_back(t.id, t.cb);
      t.due = now + t.period;
    }
  for (auto& d : due) {
    const bool alive = std::any_of(timers_.begin(), timers_.end(),
                                   [&](const Timer& t) { return t.id == d.first; });
    if (alive) d.second(d.first);
  }
}

}  // namespace platform
