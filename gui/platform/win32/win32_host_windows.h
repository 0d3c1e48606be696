#pragma once
// The editor's window among the host's windows: where it sits, the host's rectangle, and
// the host's windows that follow its size.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "gui/platform/platform.h"

namespace win32 {

// The top-left of the outermost enclosing window without caption that is within 60
// pixels of its child's size, in its parent's client space.
platform::Point editorPosition(HWND window);
// The parent's outer rectangle, its top-left in the grandparent's client space.
bool hostRectangle(HWND window, platform::Rect& out);
// Resizes the window and the host's windows around it that follow its size: each
// ancestor keeps the margin it had around its child (at most 80 pixels), up to an MDI
// client or twice the dialog frame height of accumulated margin.
void resizeWithHost(HWND window, int32_t width, int32_t height);

}  // namespace win32
