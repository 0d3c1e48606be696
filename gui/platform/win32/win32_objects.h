#pragma once
// Every GDI object, device context and window this layer makes passes through made(),
// and every one it gives back through freed(), so that tests can count what lives even
// where GetGuiResources answers 0 (Wine). Outside test builds they only hand the value on.
#include "gui/platform/win32/win32_counts.h"

namespace win32 {

template <class Handle>
Handle made(Handle h) {
  SORAVEL_TEST_HOOK(if (h) ++counts::liveObjects;)
  return h;
}

// The result of the call that gave the object back (DeleteObject, DeleteDC,
// DestroyWindow, ReleaseDC): non-zero when it did.
template <class Result>
Result freed(Result ok) {
  SORAVEL_TEST_HOOK(if (ok) --counts::liveObjects;)
  return ok;
}

}  // namespace win32
