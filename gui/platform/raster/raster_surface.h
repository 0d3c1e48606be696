#pragma once
// A software drawing surface on a 32-bit premultiplied BGRA pixel buffer (top-down).
// Lines follow the usual window-system rule: the end point is not drawn. Text uses
// FreeType faces found through fontconfig where that is built in; without it, text
// draws nothing (the Windows build uses the raster only to compare pixels).
#include <vector>

#include "gui/platform/platform.h"

namespace raster {

class RasterSurface : public platform::Surface {
 public:
  RasterSurface(int32_t width, int32_t height);  // owns a buffer cleared to 0
  // Wraps an external buffer of height rows of `stride` words (not owned).
  RasterSurface(uint32_t* pixels, int32_t width, int32_t height, int32_t stride);

  int32_t width() const override { return width_; }
  int32_t height() const override { return height_; }
  void setClip(const platform::Rect& r) override;
  platform::Rect clip() const override { return clip_; }
  void fillRect(const platform::Rect& r, platform::Color c) override;
  void line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, platform::Color c,
            int32_t width) override;
  void text(const char* s, const platform::Rect& r, const platform::FontSpec& f,
            platform::Color fg, platform::Color bg, platform::TextAlign align) override;
  void copyFrom(platform::Surface& src, const platform::Rect& dst, int32_t sx,
                int32_t sy) override;
  void copyImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx,
                 int32_t sy) override;
  void blendImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx, int32_t sy,
                  uint8_t alpha) override;
  void keyImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx, int32_t sy,
                platform::Color key) override;
  uint32_t* pixels() override { return px_; }
  int32_t stride() const override { return stride_; }

  uint32_t pixel(int32_t x, int32_t y) const;  // 0 outside
  // Width in pixels of a text in a font (0 without text support).
  static int32_t textWidth(const char* s, const platform::FontSpec& f);

 private:
  enum class Op { kCopy, kBlend, kKey };
  void imageOp(Op op, const uint32_t* src, int32_t srcW, int32_t srcH, int32_t srcStride,
               const platform::Rect& dst, int32_t sx, int32_t sy, uint8_t alpha, uint32_t key);
  void plot(int32_t x, int32_t y, uint32_t c, int32_t w);
  std::vector<uint32_t> own_;
  uint32_t* px_;
  int32_t width_, height_, stride_;
  platform::Rect clip_;
};

uint32_t toPixel(platform::Color c);  // premultiplied
// Source-over of a premultiplied source word scaled by a constant alpha.
uint32_t blendPixel(uint32_t dst, uint32_t src, uint8_t alpha);

// Glyph coverage rendering, implemented by the FreeType backend when present.
struct GlyphSink {
  virtual ~GlyphSink() = default;
  virtual void coverage(int32_t x, int32_t y, uint8_t value) = 0;
};
bool renderText(const char* s, const platform::FontSpec& f, int32_t originX, int32_t baselineY,
                GlyphSink& sink);
// Ascent and descent of a font in pixels, and the advance width of a text.
bool textMetrics(const char* s, const platform::FontSpec& f, int32_t& ascent, int32_t& descent,
                 int32_t& width);

}  // namespace raster
