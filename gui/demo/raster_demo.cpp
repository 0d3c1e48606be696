// Draws every control class on the raster window system and writes a PNG screenshot.
// Usage: soravel_raster_demo [out.png]
#include <cstdio>
#include <string>
#include <vector>

#include "gui/demo/demo_scene.h"
#include "gui/demo/png_write.h"
#include "gui/platform/raster/raster_platform.h"

namespace {
struct NoEditor : GuiEditorInterface {
  void doIdleStuff() override {}
  int32_t getKnobMode() const override { return 0; }
  void beginEdit(int32_t) override {}
  void endEdit(int32_t) override {}
};

// The frame is opaque: its premultiplied pixels are its straight colours.
bool saveSurface(const char* path, const raster::RasterSurface& s, std::string& error) {
  std::vector<uint32_t> px;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) px.push_back(s.pixel(x, y));
  return demo::writePng(path, px.data(), s.width(), s.height(), error);
}
}  // namespace

int main(int argc, char** argv) {
  const char* out = argc > 1 ? argv[1] : "raster_demo.png";
  NoEditor editor;
  int host = 0;
  auto* frame = new CFrame(CBounds(0, 0, demo::kWidth, demo::kHeight), &host, &editor);
  std::vector<CBitmap*> bitmaps;
  demo::buildScene(frame, bitmaps);
  auto* window = static_cast<raster::RasterWindow*>(frame->platformWindow());
  window->paint();
  std::string error;
  const bool ok = saveSurface(out, window->surface(), error);
  frame->release();
  for (CBitmap* b : bitmaps) b->release();
  if (!ok) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::printf("wrote %s\n", out);
  return 0;
}
