#pragma once
// What the demo needs of a window system beyond the platform seam: a parent window for
// its frame, standing in for a plug-in host's, and what the frame's window shows.
// Implemented once per window system (raster_host.cpp, win32_host.cpp).
#include <cstdint>
#include <vector>

#include "gui/frame.h"

namespace demo {

// The screenshot's file name when none is given.
const char* defaultShotName();
void* openHost(int32_t width, int32_t height);  // null when there is none
void closeHost();
// The frame window's pixels as shown once everything is painted: rows of 8-bit RGB.
bool windowPixels(CFrame* frame, std::vector<uint8_t>& rgb);
// Lets a user look at the frame until the host window is closed (where there is one to
// look at).
void showUntilClosed(CFrame* frame);

}  // namespace demo
