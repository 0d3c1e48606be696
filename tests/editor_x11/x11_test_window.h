#pragma once
// What the tests of the editor in a real X window share (the VST 2.x editor of
// Soravel.so and the LV2 UI): the test's own connection with its host window,
// input through XTest, pictures read back from the server or drawn by the raster
// platform in the test's process, and counts of what the process holds.
#include <functional>
#include <ostream>
#include <vector>

#include "tests/support/shot.h"

class VstPlugin;

// Last: Xlib's macros (None, Bool, Status) clash with names in other headers.
#include <X11/Xlib.h>

inline constexpr int kWidth = 773, kHeight = 491;  // the editor at 100 %

// The test's own connection; null without a display.
Display* Dpy();
// A top-level host window at the screen's top-left (no window manager moves it).
::Window HostWindow();
std::vector<::Window> Children(::Window w);

// Input through the server, in editor coordinates (the host sits at the screen's origin).
void MoveTo(int x, int y);
void Button(unsigned b, bool down);

// The window's top-left width x height pixels (on screen: the server has no others).
Shot Capture(::Window w, int width = kWidth, int height = kHeight);
// Pixels that differ inside the rectangle; -1 when the pictures do not match in size.
inline int Differing(const Shot& a, const Shot& b, int left = 0, int top = 0, int right = kWidth,
                     int bottom = kHeight) {
  return CountDiffering(a, b, left, top, right, bottom, 0);
}
// The VST 2.x editor drawn by the raster platform at a zoom, with `setUp` applied to
// its plug-in first: the picture an X window must show.
Shot RasterReference(const std::function<void(VstPlugin&)>& setUp = {}, float zoom = 1.0f,
                     int width = kWidth, int height = kHeight);

// Resources the server holds for the client owning `id`, by kind (-1: unknown).
struct Resources {
  long windows = -1, pixmaps = -1, gcs = -1, cursors = -1;
  bool operator==(const Resources&) const = default;
};
Resources ClientResources(XID id);
std::ostream& operator<<(std::ostream& o, const Resources& r);
int OpenDescriptors();
