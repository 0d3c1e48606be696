#include "gui/platform/x11/x11_image.h"

#include <X11/Xutil.h>

namespace x11 {

void BackBufferImage::make(Display* d, raster::RasterSurface& back) {
  const int screen = DefaultScreen(d);
  Visual* v = DefaultVisual(d, screen);
  const int depth = DefaultDepth(d, screen);
  const int w = back.width(), h = back.height();
  if (w <= 0 || h <= 0) return;
  direct_ = (depth == 24 || depth == 32) && v->red_mask == 0xff0000 && v->green_mask == 0xff00 &&
            v->blue_mask == 0xff;
  char* data;
  if (direct_) {
    data = reinterpret_cast<char*>(back.pixels());
  } else {
    converted_.assign(static_cast<size_t>(w) * h, 0);
    data = reinterpret_cast<char*>(converted_.data());
  }
  image_ = XCreateImage(d, v, static_cast<unsigned>(depth), ZPixmap, 0, data,
                        static_cast<unsigned>(w), static_cast<unsigned>(h), 32, back.stride() * 4);
  if (!image_) return;
  if (direct_ && image_->bits_per_pixel != 32) {
    // Same masks but packed differently: go through the converting path.
    image_->data = nullptr;
    XDestroyImage(image_);
    direct_ = false;
    converted_.assign(static_cast<size_t>(w) * h, 0);
    image_ = XCreateImage(d, v, static_cast<unsigned>(depth), ZPixmap, 0,
                          reinterpret_cast<char*>(converted_.data()), static_cast<unsigned>(w),
                          static_cast<unsigned>(h), 32, w * 4);
    if (!image_) return;
  }
  // Our words are little-endian in memory; Xlib swaps for a server that wants otherwise.
  image_->byte_order = LSBFirst;
}

void BackBufferImage::drop() {
  if (!image_) return;
  image_->data = nullptr;  // the buffer is not Xlib's to free
  XDestroyImage(image_);
  image_ = nullptr;
}

void BackBufferImage::put(Display* d, ::Window w, GC gc, const raster::RasterSurface& back,
                          const platform::Rect& area) {
  const platform::Rect r = platform::intersect(area, {0, 0, back.width(), back.height()});
  if (!image_ || r.empty()) return;
  if (!direct_) {
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x) {
        const uint32_t p = back.pixel(x, y);
        const unsigned long rr = (p >> 16) & 0xff, gg = (p >> 8) & 0xff, bb = p & 0xff;
        auto scale = [](unsigned long c, unsigned long mask) {
          if (!mask) return 0ul;
          int shift = 0;
          while (!((mask >> shift) & 1)) ++shift;
          const unsigned long max = mask >> shift;
          return ((c * max + 127) / 255) << shift;
        };
        XPutPixel(image_, x, y,
                  scale(rr, image_->red_mask) | scale(gg, image_->green_mask) |
                      scale(bb, image_->blue_mask));
      }
  }
  XPutImage(d, w, gc, image_, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.width()),
            static_cast<unsigned>(r.height()));
}

}  // namespace x11
