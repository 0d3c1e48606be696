#include "gui/platform/win32/win32_input.h"

#include "gui/platform/input.h"

namespace win32 {
namespace {

// Win32 keys (mouse buttons too) and message key flags, and the framework's bits for them.
constexpr platform::CodeBit kKeyModifierKeys[] = {
    {VK_SHIFT, MODIFIER_SHIFT}, {VK_MENU, MODIFIER_ALTERNATE}, {VK_CONTROL, MODIFIER_CONTROL}};
constexpr platform::CodeBit kButtonModifierKeys[] = {
    {VK_SHIFT, kShift}, {VK_CONTROL, kControl}, {VK_MENU, kAlt}};
constexpr platform::CodeBit kMessageFlags[] = {
    {MK_LBUTTON, kLButton}, {MK_RBUTTON, kRButton}, {MK_MBUTTON, kMButton},
    {MK_XBUTTON1, kButton4}, {MK_XBUTTON2, kButton5}, {MK_SHIFT, kShift}, {MK_CONTROL, kControl}};

// The bits of the keys held (their state negative) by GetKeyState or GetAsyncKeyState.
template <size_t N>
uint32_t held(SHORT(WINAPI* state)(int), const platform::CodeBit (&keys)[N]) {
  return platform::bitsHeld(keys, [state](unsigned long key) {
    return state(static_cast<int>(key)) < 0;
  });
}

}  // namespace

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

uint8_t keyModifiers() { return static_cast<uint8_t>(held(GetKeyState, kKeyModifierKeys)); }

uint32_t messageButtons(WPARAM wp) {
  uint32_t b =
      platform::bitsHeld(kMessageFlags, [wp](unsigned long flag) { return (wp & flag) != 0; });
  if (GetKeyState(VK_MENU) < 0) b |= kAlt;
  return b;
}

uint32_t heldModifiers() { return held(GetKeyState, kButtonModifierKeys); }

uint32_t asyncButtons(bool swapped) {
  const platform::CodeBit buttons[] = {{VK_LBUTTON, swapped ? kRButton : kLButton},
                            {VK_MBUTTON, kMButton},
                            {VK_RBUTTON, swapped ? kLButton : kRButton}};
  return held(GetAsyncKeyState, buttons) | held(GetAsyncKeyState, kButtonModifierKeys);
}

}  // namespace win32
