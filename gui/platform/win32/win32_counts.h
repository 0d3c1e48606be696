#pragma once
// What this layer counts and switches for its test hooks (win32_platform.h).
namespace win32::counts {
extern int liveObjects;        // GDI objects, device contexts and windows not given back
extern long long imagePixels;  // image pixels the image draws have transferred
extern int fonts;              // fonts made
extern bool forceBackBuffer;   // paint through a back buffer whatever the system
}  // namespace win32::counts
