#include "gui/platform/raster/raster_platform.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace raster {

RasterPlatform& RasterPlatform::instance() {
  static RasterPlatform p;
  return p;
}

std::unique_ptr<platform::Window> RasterPlatform::createWindow(void* parent, int32_t width,
                                                               int32_t height,
                                                               platform::WindowListener* l) {
  if (!parent || width <= 0 || height <= 0 || !platform::fitsSurface(width, height)) return nullptr;
  return std::make_unique<RasterWindow>(width, height, l);
}

std::unique_ptr<platform::Surface> RasterPlatform::createOffscreen(int32_t width, int32_t height) {
  if (!platform::fitsSurface(width, height)) width = height = 0;
  return std::make_unique<RasterSurface>(width, height);
}

uint32_t RasterPlatform::ticks() {
  if (manual_) return manualTicks_;
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void RasterPlatform::sleep(uint32_t ms) {
  if (manual_)
    manualTicks_ += ms;
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

uint32_t RasterPlatform::startTimer(uint32_t periodMs, platform::TimerCallback cb) {
  return refuseTimers_ ? 0 : timers_.start(periodMs, cb, ticks());
}

void RasterPlatform::stopTimer(uint32_t id) { timers_.stop(id); }

void RasterPlatform::runDueTimers() { timers_.fireDue(ticks()); }

void RasterPlatform::useManualClock(uint32_t startTicks) {
  manual_ = true;
  manualTicks_ = startTicks;
}
void RasterPlatform::useRealClock() { manual_ = false; }

void RasterPlatform::advance(uint32_t ms) {
  if (!manual_) return;
  for (uint32_t i = 0; i < ms; ++i) {
    ++manualTicks_;
    runDueTimers();
  }
}

void RasterPlatform::dispatchOnePaint() {
  for (RasterWindow* w : windows_)
    if (w->needsPaint()) {
      w->paint();
      return;
    }
}

void RasterPlatform::windowDestroyed(RasterWindow* w) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), w), windows_.end());
}

}  // namespace raster
