#pragma once
// The screen's scale from the X server's resource database: the Xft.dpi resource
// that desktops set for their scaling (192 at 200 %). Pure text work, no X calls.

namespace x11 {

// The value of Xft.dpi in `resources` (the RESOURCE_MANAGER text, one "name:\tvalue"
// per line) as a scale (platform::scaleOfDpi); 0 when there is none or it is no sensible
// dpi, so that the caller falls back to 1.
double xftDpiScale(const char* resources);

}  // namespace x11
