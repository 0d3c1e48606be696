#pragma once
// AlphaBlend and TransparentBlt, taken from msimg32.dll at run time: the library is loaded
// while any frame window exists, TransparentBlt only on the NT family.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace win32 {

using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using TransparentBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

struct Blending {
  AlphaBlendFn alphaBlend = nullptr;          // null: not available
  TransparentBltFn transparentBlt = nullptr;  // null: not available
};

// The functions while loaded.
const Blending& blending();
// Loads the library for one more user; releaseBlending unloads it after the last.
void acquireBlending();
void releaseBlending();

}  // namespace win32
