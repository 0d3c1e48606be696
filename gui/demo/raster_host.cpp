// The demo on the raster window system: the frame's window is a pixel buffer in memory.
#include "gui/demo/demo_host.h"
#include "gui/platform/raster/raster_platform.h"

namespace demo {
namespace {
int gHost = 0;  // any non-null parent will do
}  // namespace

const char* defaultShotName() { return "raster_demo.png"; }
void* openHost(int32_t, int32_t) { return &gHost; }
void closeHost() {}

bool windowPixels(CFrame* frame, std::vector<uint8_t>& rgb) {
  auto* window = static_cast<raster::RasterWindow*>(frame->platformWindow());
  if (!window) return false;
  window->paint();
  raster::RasterSurface& s = window->surface();
  rgb.assign(static_cast<size_t>(s.width()) * s.height() * 3, 0);
  for (int32_t y = 0; y < s.height(); ++y)
    for (int32_t x = 0; x < s.width(); ++x) {
      const uint32_t p = s.pixel(x, y);  // the frame is opaque: premultiplied equals straight
      uint8_t* o = &rgb[(static_cast<size_t>(y) * s.width() + x) * 3];
      o[0] = static_cast<uint8_t>(p >> 16);
      o[1] = static_cast<uint8_t>(p >> 8);
      o[2] = static_cast<uint8_t>(p);
    }
  return true;
}

void showUntilClosed(CFrame*) {}  // nothing on screen to look at

}  // namespace demo
