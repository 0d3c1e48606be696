#include "gui/platform/win32/win32_input.h"

namespace win32 {

uint8_t virtualKey(WPARAM vk) {
  switch (vk) {
    case VK_BACK: return 1;
    case VK_TAB: return 2;
    case VK_CLEAR: return 3;
    case VK_RETURN: return 4;
    case VK_PAUSE: return 5;
    case VK_ESCAPE: return 6;
    case VK_SPACE: return 7;
    case VK_NEXT: return 8;
    case VK_END: return 9;
    case VK_HOME: return 10;
    case VK_LEFT: return 11;
    case VK_UP: return 12;
    case VK_RIGHT: return 13;
    case VK_DOWN: return 14;
    default: return 0;
  }
}

uint8_t keyModifiers() {
  uint8_t m = 0;
  if (GetKeyState(VK_SHIFT) < 0) m |= 1;
  if (GetKeyState(VK_MENU) < 0) m |= 2;
  if (GetKeyState(VK_CONTROL) < 0) m |= 8;
  return m;
}

uint32_t messageButtons(WPARAM wp) {
  uint32_t b = 0;
  if (wp & MK_LBUTTON) b |= 2;
  if (wp & MK_RBUTTON) b |= 8;
  if (wp & MK_MBUTTON) b |= 4;
  if (wp & MK_XBUTTON1) b |= 0x100;
  if (wp & MK_XBUTTON2) b |= 0x200;
  if (wp & MK_SHIFT) b |= 0x10;
  if (wp & MK_CONTROL) b |= 0x20;
  if (GetKeyState(VK_MENU) < 0) b |= 0x40;
  return b;
}

uint32_t heldModifiers() {
  uint32_t mods = 0;
  if (GetKeyState(VK_SHIFT) < 0) mods |= 0x10;
  if (GetKeyState(VK_CONTROL) < 0) mods |= 0x20;
  if (GetKeyState(VK_MENU) < 0) mods |= 0x40;
  return mods;
}

uint32_t asyncButtons(bool swapped) {
  uint32_t b = 0;
  if (GetAsyncKeyState(VK_LBUTTON) < 0) b |= swapped ? 8 : 2;
  if (GetAsyncKeyState(VK_MBUTTON) < 0) b |= 4;
  if (GetAsyncKeyState(VK_RBUTTON) < 0) b |= swapped ? 2 : 8;
  if (GetAsyncKeyState(VK_SHIFT) < 0) b |= 0x10;
  if (GetAsyncKeyState(VK_CONTROL) < 0) b |= 0x20;
  if (GetAsyncKeyState(VK_MENU) < 0) b |= 0x40;
  return b;
}

}  // namespace win32
