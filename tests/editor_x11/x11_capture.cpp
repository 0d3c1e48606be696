#include "tests/editor_x11/x11_capture.h"

#include "tests/editor_x11/x11_test_window.h"

// Last: Xlib's macros clash with names in the headers above.
#include <X11/Xutil.h>

Shot Capture(::Window w, int width, int height) {
  Shot s;
  XSync(Dpy(), False);
  XImage* img = XGetImage(Dpy(), w, 0, 0, width, height, AllPlanes, ZPixmap);
  if (!img) return s;
  s.width = width;
  s.height = height;
  s.px.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      s.px[static_cast<size_t>(y) * width + x] = XGetPixel(img, x, y) & 0xffffff;
  XDestroyImage(img);
  return s;
}
