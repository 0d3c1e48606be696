#pragma once
// Every GDI object, device context and window this layer makes passes through made(),
// and every one it gives back through freed(), so that tests can count what lives even
// where GetGuiResources answers 0 (Wine).
#include "gui/platform/win32/win32_counts.h"

namespace win32 {

template <class Handle>
Handle made(Handle h) {
  if (h) ++counts::liveObjects;
  return h;
}

// The result of the call that gave the object back (DeleteObject, DeleteDC,
// DestroyWindow, ReleaseDC): non-zero when it did.
template <class Result>
Result freed(Result ok) {
  if (ok) --counts::liveObjects;
  return ok;
}

}  // namespace win32
