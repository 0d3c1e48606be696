#pragma once
// Pictures read back from the X server, compared exactly.
#include "tests/editor_x11/editor_size.h"
#include "tests/support/shot.h"

// Last: Xlib's macros (None, Bool, Status) clash with names in other headers.
#include <X11/Xlib.h>

// The window's top-left width x height pixels (on screen: the server has no others).
Shot Capture(::Window w, int width = kWidth, int height = kHeight);
// Pixels that differ inside the rectangle; -1 when the pictures do not match in size.
inline int Differing(const Shot& a, const Shot& b, int left = 0, int top = 0, int right = kWidth,
                     int bottom = kHeight) {
  return CountDiffering(a, b, left, top, right, bottom, 0);
}
