// What this layer counts for tests, and the switches they set (win32_platform.h).
#include "gui/platform/win32/win32_counts.h"
#include "gui/platform/win32/win32_platform.h"
#include "gui/platform/win32/win32_window.h"

namespace win32 {

namespace counts {
int liveObjects = 0;
long long imagePixels = 0;
int fonts = 0;
bool forceBackBuffer = false;
}  // namespace counts

int windowClassUseCount() { return windowClassUses(); }
int liveObjects() { return counts::liveObjects; }
long long imagePixelsDrawn() { return counts::imagePixels; }
int fontsCreated() { return counts::fonts; }
void paintThroughBackBuffer(bool on) { counts::forceBackBuffer = on; }

}  // namespace win32
