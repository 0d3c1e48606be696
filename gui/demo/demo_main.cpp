// Shows every control class in a frame of the window system it is built for and writes
// a PNG screenshot of the window's pixels.
// Usage: soravel_raster_demo [out.png]; soravel_win32_demo.exe [out.png] [--show]
#include <cstdio>
#include <cstring>
#include <vector>

#include "gui/demo/demo_host.h"
#include "gui/demo/demo_scene.h"
#include "gui/demo/png_write.h"

namespace {
bool WriteShot(const char* path, const std::vector<uint8_t>& rgb) {
  const std::vector<uint8_t> png = demo::encodePng(rgb.data(), demo::kWidth, demo::kHeight, 3);
  FILE* f = png.empty() ? nullptr : std::fopen(path, "wb");
  if (!f) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  return std::fclose(f) == 0 && written;
}

struct NoEditor : GuiEditorInterface {
  void doIdleStuff() override {}
  int32_t getKnobMode() const override { return 0; }
  void beginEdit(int32_t) override {}
  void endEdit(int32_t) override {}
};
}  // namespace

int main(int argc, char** argv) {
  const char* out = argc > 1 ? argv[1] : demo::defaultShotName();
  const bool show = argc > 2 && std::strcmp(argv[2], "--show") == 0;
  void* host = demo::openHost(demo::kWidth, demo::kHeight);
  if (!host) return 1;
  NoEditor editor;
  auto* frame = new CFrame(CBounds(0, 0, demo::kWidth, demo::kHeight), host, &editor);
  std::vector<CBitmap*> bitmaps;
  demo::buildScene(frame, bitmaps);
  std::vector<uint8_t> rgb;
  const bool ok = demo::windowPixels(frame, rgb) && WriteShot(out, rgb);
  if (show) demo::showUntilClosed(frame);
  frame->release();
  for (CBitmap* b : bitmaps) b->release();
  demo::closeHost();
  if (!ok) {
    std::fprintf(stderr, "cannot write %s\n", out);
    return 1;
  }
  std::printf("wrote %s\n", out);
  return 0;
}
