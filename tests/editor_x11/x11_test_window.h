#pragma once
// What the tests of the editor in a real X window share (the VST 2.x editor of
// Soravel.so and the LV2 UI): the test's own connection with its host window and input
// through XTest. Pictures: x11_capture.h and raster_reference.h; what the process
// holds: x11_resources.h.
#include <vector>

#include "tests/editor_x11/editor_size.h"

// Last: Xlib's macros (None, Bool, Status) clash with names in other headers.
#include <X11/Xlib.h>

// The test's own connection; null without a display.
Display* Dpy();
// A top-level host window at the screen's top-left (no window manager moves it).
::Window HostWindow();
std::vector<::Window> Children(::Window w);

// Input through the server, in editor coordinates (the host sits at the screen's origin).
void MoveTo(int x, int y);
void Button(unsigned b, bool down);
