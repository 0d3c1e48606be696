#pragma once
// What this layer counts and switches for its test hooks (win32_platform.h). Only the
// test build has them (SORAVEL_TEST_HOOKS, gui/platform/test_hooks.h); elsewhere nothing
// is counted and the switches are off.
#include "gui/platform/test_hooks.h"

namespace win32::counts {
#ifdef SORAVEL_TEST_HOOKS
extern int liveObjects;        // GDI objects, device contexts and windows not given back
extern long long imagePixels;  // image pixels the image draws have transferred
extern int fonts;              // fonts made
extern bool forceBackBuffer;   // paint through a back buffer whatever the system
#else
constexpr bool forceBackBuffer = false;
#endif
}  // namespace win32::counts
