#include "gui/platform/raster/raster_surface.h"

#include <cstdlib>
#include <cstring>

namespace raster {

uint32_t toPixel(platform::Color c) { return platform::premultiplyRGBA(c.r, c.g, c.b, c.a); }

uint32_t blendPixel(uint32_t dst, uint32_t src, uint8_t alpha) {
  uint32_t out = 0;
  uint32_t sa = ((src >> 24) * alpha + 127) / 255;
  for (int shift = 0; shift < 32; shift += 8) {
    uint32_t s = (((src >> shift) & 0xff) * alpha + 127) / 255;
    uint32_t d = (dst >> shift) & 0xff;
    uint32_t v = s + (d * (255 - sa) + 127) / 255;
    out |= (v > 255 ? 255 : v) << shift;
  }
  return out;
}

RasterSurface::RasterSurface(int32_t width, int32_t height) {
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  own_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0u);
  px_ = own_.data();
  stride_ = width_;
  clip_ = {0, 0, width_, height_};
}

RasterSurface::RasterSurface(uint32_t* pixels, int32_t width, int32_t height, int32_t stride)
    : px_(pixels), width_(pixels && width > 0 ? width : 0),
      height_(pixels && height > 0 ? height : 0), stride_(stride) {
  if (stride_ < width_) width_ = height_ = 0;
  clip_ = {0, 0, width_, height_};
}

void RasterSurface::setClip(const platform::Rect& r) {
  clip_ = platform::intersect(r, {0, 0, width_, height_});
}

uint32_t RasterSurface::pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return px_[static_cast<size_t>(y) * stride_ + x];
}

void RasterSurface::fillRect(const platform::Rect& r, platform::Color c) {
  platform::Rect a = platform::intersect(r, clip_);
  const uint32_t p = toPixel(c);
  for (int32_t y = a.top; y < a.bottom; ++y) {
    uint32_t* row = px_ + static_cast<size_t>(y) * stride_;
    for (int32_t x = a.left; x < a.right; ++x) row[x] = c.a == 255 ? p : blendPixel(row[x], p, 255);
  }
}

void RasterSurface::plot(int32_t x, int32_t y, uint32_t c, int32_t w) {
  // A pen of width w covers a w x w square centred on the point.
  const int32_t x0 = x - (w - 1) / 2, y0 = y - (w - 1) / 2;
  for (int32_t yy = y0; yy < y0 + w; ++yy) {
    if (yy < clip_.top || yy >= clip_.bottom) continue;
    for (int32_t xx = x0; xx < x0 + w; ++xx)
      if (xx >= clip_.left && xx < clip_.right) px_[static_cast<size_t>(yy) * stride_ + xx] = c;
  }
}

void RasterSurface::line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, platform::Color c,
                         int32_t width) {
  if (width < 1) width = 1;
  if (width > 64) width = 64;
  // Guard against absurd coordinates: nothing that far away can be visible.
  const int32_t lim = 1 << 20;
  if (std::abs(x0) > lim || std::abs(x1) > lim || std::abs(y0) > lim || std::abs(y1) > lim) return;
  const uint32_t p = toPixel(c);
  const int32_t dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int32_t stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
  int32_t err = dx + dy;
  int32_t x = x0, y = y0;
  while (x != x1 || y != y1) {  // the end point is not drawn
    plot(x, y, p, width);
    const int32_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += stepX;
    }
    if (e2 <= dx) {
      err += dx;
      y += stepY;
    }
  }
}

void RasterSurface::imageOp(Op op, const uint32_t* src, int32_t srcW, int32_t srcH,
                            int32_t srcStride, const platform::Rect& dst, int32_t sx, int32_t sy,
                            uint8_t alpha, uint32_t key) {
  if (!src || srcW <= 0 || srcH <= 0) return;
  // Area of dst that maps inside the source, then inside the clip.
  platform::Rect d = dst;
  if (sx < 0) { d.left -= sx; sx = 0; }
  if (sy < 0) { d.top -= sy; sy = 0; }
  if (d.right - d.left > srcW - sx) d.right = d.left + (srcW - sx);
  if (d.bottom - d.top > srcH - sy) d.bottom = d.top + (srcH - sy);
  platform::Rect a = platform::intersect(d, clip_);
  if (a.empty()) return;
  const int32_t ox = sx - d.left, oy = sy - d.top;
  for (int32_t y = a.top; y < a.bottom; ++y) {
    const uint32_t* s = src + static_cast<size_t>(y + oy) * srcStride + ox;
    uint32_t* row = px_ + static_cast<size_t>(y) * stride_;
    for (int32_t x = a.left; x < a.right; ++x) {
      const uint32_t v = s[x];
      switch (op) {
        case Op::kCopy: row[x] = v; break;
        case Op::kBlend: row[x] = blendPixel(row[x], v, alpha); break;
        case Op::kKey:
          if ((v & 0xffffff) != (key & 0xffffff)) row[x] = v;
          break;
      }
    }
  }
}

void RasterSurface::copyFrom(platform::Surface& src, const platform::Rect& dst, int32_t sx,
                             int32_t sy) {
  if (src.pixels() == nullptr) return;
  if (&src == this) {
    // Overlapping copy within one surface: go through a temporary.
    RasterSurface tmp(width_, height_);
    for (int32_t y = 0; y < height_; ++y)
      std::memcpy(tmp.px_ + static_cast<size_t>(y) * width_, px_ + static_cast<size_t>(y) * stride_,
                  static_cast<size_t>(width_) * 4);
    imageOp(Op::kCopy, tmp.px_, width_, height_, width_, dst, sx, sy, 255, 0);
    return;
  }
  imageOp(Op::kCopy, src.pixels(), src.width(), src.height(), src.stride(), dst, sx, sy, 255, 0);
}

void RasterSurface::copyImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx,
                              int32_t sy) {
  imageOp(Op::kCopy, img.pixels, img.width, img.height, img.width, dst, sx, sy, 255, 0);
}

void RasterSurface::blendImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx,
                               int32_t sy, uint8_t alpha) {
  imageOp(Op::kBlend, img.pixels, img.width, img.height, img.width, dst, sx, sy, alpha, 0);
}

void RasterSurface::keyImage(const platform::Pixmap& img, const platform::Rect& dst, int32_t sx,
                             int32_t sy, platform::Color key) {
  imageOp(Op::kKey, img.pixels, img.width, img.height, img.width, dst, sx, sy, 255, toPixel(key));
}

namespace {
struct SurfaceSink : GlyphSink {
  uint32_t* px;
  int32_t stride;
  platform::Rect clip;
  uint32_t color;  // premultiplied, opaque
  void coverage(int32_t x, int32_t y, uint8_t v) override {
    if (!v || x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return;
    uint32_t& d = px[static_cast<size_t>(y) * stride + x];
    d = blendPixel(d, color, v);
  }
};
}  // namespace

int32_t RasterSurface::textWidth(const char* s, const platform::FontSpec& f) {
  int32_t a = 0, d = 0, w = 0;
  return s && textMetrics(s, f, a, d, w) ? w : 0;
}

void RasterSurface::text(const char* s, const platform::Rect& r, const platform::FontSpec& f,
                         platform::Color fg, platform::Color bg, platform::TextAlign align) {
  if (!s || !*s || r.empty()) return;
  int32_t ascent = 0, descent = 0, w = 0;
  if (!textMetrics(s, f, ascent, descent, w)) return;
  const int32_t lineH = ascent + descent;
  int32_t x;
  switch (align) {
    case platform::kAlignLeft: x = r.left + 1; break;
    case platform::kAlignRight: x = r.right - w; break;
    default: x = r.left + (r.width() - w) / 2; break;
  }
  const int32_t top = r.top + (r.height() - lineH) / 2;
  const platform::Rect savedClip = clip_;
  clip_ = platform::intersect(clip_, r);
  if (bg.a) fillRect({x, top, x + w, top + lineH}, bg);
  SurfaceSink sink;
  sink.px = px_;
  sink.stride = stride_;
  sink.clip = clip_;
  sink.color = toPixel({fg.r, fg.g, fg.b, 255});
  renderText(s, f, x, top + ascent, sink);
  if (f.style & 4) {  // underline one pixel below the baseline
    fillRect({x, top + ascent + 1, x + w, top + ascent + 2}, fg);
  }
  clip_ = savedClip;
}

}  // namespace raster
