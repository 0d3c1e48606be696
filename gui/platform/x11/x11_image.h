#pragma once
// The window's raster back buffer as an XImage for XPutImage: the buffer's own words
// where the screen's visual takes them as they are (24-bit RGB in 32-bit pixels), else a
// copy converted to the visual's masks.
#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

#include "gui/platform/platform.h"
#include "gui/platform/raster/raster_surface.h"

namespace x11 {

class BackBufferImage {
 public:
  BackBufferImage() = default;
  BackBufferImage(const BackBufferImage&) = delete;
  BackBufferImage& operator=(const BackBufferImage&) = delete;
  ~BackBufferImage() { drop(); }
  // For the default visual of the display's default screen; nothing for an empty buffer.
  void make(Display* d, raster::RasterSurface& back);
  void drop();
  bool ready() const { return image_ != nullptr; }
  // Puts the area of the back buffer on the window, converting it first if need be.
  void put(Display* d, ::Window w, GC gc, const raster::RasterSurface& back,
           const platform::Rect& area);

 private:
  XImage* image_ = nullptr;  // wraps back's pixels when the visual takes them as they are
  bool direct_ = false;
  std::vector<uint32_t> converted_;  // for other visuals: the image's own buffer
};

}  // namespace x11
