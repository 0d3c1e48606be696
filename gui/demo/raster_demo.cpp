// Draws every control class on the raster window system and writes a PNG screenshot.
// Usage: soravel_raster_demo [out.png]
#include <png.h>

#include <cstdio>
#include <vector>

#include "gui/demo/demo_scene.h"
#include "gui/platform/raster/raster_platform.h"

namespace {
struct NoEditor : GuiEditorInterface {
  void doIdleStuff() override {}
  int32_t getKnobMode() const override { return 0; }
  void beginEdit(int32_t) override {}
  void endEdit(int32_t) override {}
};

bool writePng(const char* path, raster::RasterSurface& s) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, s.width(), s.height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<size_t>(s.width()) * 3);
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      const uint32_t p = s.pixel(x, y);  // the frame is opaque: premultiplied equals straight
      row[x * 3] = static_cast<png_byte>(p >> 16);
      row[x * 3 + 1] = static_cast<png_byte>(p >> 8);
      row[x * 3 + 2] = static_cast<png_byte>(p);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
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
  const bool ok = writePng(out, window->surface());
  frame->release();
  for (CBitmap* b : bitmaps) b->release();
  if (!ok) {
    std::fprintf(stderr, "cannot write %s\n", out);
    return 1;
  }
  std::printf("wrote %s\n", out);
  return 0;
}
