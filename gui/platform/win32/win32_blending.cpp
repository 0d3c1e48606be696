#include "gui/platform/win32/win32_blending.h"

namespace win32 {
namespace {
HMODULE gLibrary = nullptr;
int gUsers = 0;
Blending gBlending;
}  // namespace

const Blending& blending() { return gBlending; }

void acquireBlending() {
  if (gUsers++ != 0) return;
  gLibrary = LoadLibraryA("msimg32.dll");
  if (!gLibrary) return;
  gBlending.alphaBlend = reinterpret_cast<AlphaBlendFn>(
      reinterpret_cast<void*>(GetProcAddress(gLibrary, "AlphaBlend")));
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
  GetVersionExA(&v);
  if (v.dwPlatformId == VER_PLATFORM_WIN32_NT)
    gBlending.transparentBlt = reinterpret_cast<TransparentBltFn>(
        reinterpret_cast<void*>(GetProcAddress(gLibrary, "TransparentBlt")));
}

void releaseBlending() {
  if (gUsers > 0 && --gUsers == 0 && gLibrary) {
    FreeLibrary(gLibrary);
    gLibrary = nullptr;
    gBlending = Blending{};
  }
}

}  // namespace win32
