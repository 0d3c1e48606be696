#include "gui/platform/win32/win32_input.h"

#include "gui/platform/input.h"

namespace win32 {

uint8_t virtualKey(WPARAM vk) {
  switch (vk) {
    case VK_BACK: return VKEY_BACK;
    case VK_TAB: return VKEY_TAB;
    case VK_CLEAR: return VKEY_CLEAR;
    case VK_RETURN: return VKEY_RETURN;
    case VK_PAUSE: return VKEY_PAUSE;
    case VK_ESCAPE: return VKEY_ESCAPE;
    case VK_SPACE: return VKEY_SPACE;
    case VK_NEXT: return VKEY_NEXT;
    case VK_END: return VKEY_END;
    case VK_HOME: return VKEY_HOME;
    case VK_LEFT: return VKEY_LEFT;
    case VK_UP: return VKEY_UP;
    case VK_RIGHT: return VKEY_RIGHT;
    case VK_DOWN: return VKEY_DOWN;
    default: return 0;
  }
}

uint8_t keyModifiers() {
  uint8_t m = 0;
  if (GetKeyState(VK_SHIFT) < 0) m |= MODIFIER_SHIFT;
  if (GetKeyState(VK_MENU) < 0) m |= MODIFIER_ALTERNATE;
  if (GetKeyState(VK_CONTROL) < 0) m |= MODIFIER_CONTROL;
  return m;
}

uint32_t messageButtons(WPARAM wp) {
  uint32_t b = 0;
  if (wp & MK_LBUTTON) b |= kLButton;
  if (wp & MK_RBUTTON) b |= kRButton;
  if (wp & MK_MBUTTON) b |= kMButton;
  if (wp & MK_XBUTTON1) b |= kButton4;
  if (wp & MK_XBUTTON2) b |= kButton5;
  if (wp & MK_SHIFT) b |= kShift;
  if (wp & MK_CONTROL) b |= kControl;
  if (GetKeyState(VK_MENU) < 0) b |= kAlt;
  return b;
}

uint32_t heldModifiers() {
  uint32_t mods = 0;
  if (GetKeyState(VK_SHIFT) < 0) mods |= kShift;
  if (GetKeyState(VK_CONTROL) < 0) mods |= kControl;
  if (GetKeyState(VK_MENU) < 0) mods |= kAlt;
  return mods;
}

uint32_t asyncButtons(bool swapped) {
  uint32_t b = 0;
  if (GetAsyncKeyState(VK_LBUTTON) < 0) b |= swapped ? kRButton : kLButton;
  if (GetAsyncKeyState(VK_MBUTTON) < 0) b |= kMButton;
  if (GetAsyncKeyState(VK_RBUTTON) < 0) b |= swapped ? kLButton : kRButton;
  if (GetAsyncKeyState(VK_SHIFT) < 0) b |= kShift;
  if (GetAsyncKeyState(VK_CONTROL) < 0) b |= kControl;
  if (GetAsyncKeyState(VK_MENU) < 0) b |= kAlt;
  return b;
}

}  // namespace win32
