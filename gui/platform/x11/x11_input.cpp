#include "gui/platform/x11/x11_input.h"

#include <X11/keysym.h>

#include <cstdlib>

#include "gui/platform/input.h"

namespace x11 {
namespace {

// X state masks and the framework's bits for them.
constexpr platform::CodeBit kButtonMasks[] = {
    {Button1Mask, kLButton}, {Button2Mask, kMButton}, {Button3Mask, kRButton}};
constexpr platform::CodeBit kKeyModifierMasks[] = {
    {ShiftMask, MODIFIER_SHIFT}, {Mod1Mask, MODIFIER_ALTERNATE}, {ControlMask, MODIFIER_CONTROL}};
constexpr platform::CodeBit kButtonModifierMasks[] = {
    {ShiftMask, kShift}, {ControlMask, kControl}, {Mod1Mask, kAlt}};

template <size_t N>
uint32_t bitsOf(unsigned int state, const platform::CodeBit (&table)[N]) {
  return platform::bitsHeld(table, [state](unsigned long mask) { return (state & mask) != 0; });
}

}  // namespace

uint32_t buttonBit(unsigned int button) {
  switch (button) {
    case Button1: return kLButton;
    case Button2: return kMButton;
    case Button3: return kRButton;
    default: return 0;
  }
}

uint32_t heldButtons(unsigned int state) { return bitsOf(state, kButtonMasks); }

uint8_t virtualKey(unsigned long keysym) {
  switch (keysym) {
    case XK_BackSpace: return VKEY_BACK;
    case XK_Tab: case XK_ISO_Left_Tab: case XK_KP_Tab: return VKEY_TAB;
    case XK_Clear: return VKEY_CLEAR;
    case XK_Return: case XK_KP_Enter: return VKEY_RETURN;
    case XK_Pause: return VKEY_PAUSE;
    case XK_Escape: return VKEY_ESCAPE;
    case XK_space: case XK_KP_Space: return VKEY_SPACE;
    case XK_Page_Down: case XK_KP_Page_Down: return VKEY_NEXT;
    case XK_End: case XK_KP_End: return VKEY_END;
    case XK_Home: case XK_KP_Home: return VKEY_HOME;
    case XK_Left: case XK_KP_Left: return VKEY_LEFT;
    case XK_Up: case XK_KP_Up: return VKEY_UP;
    case XK_Right: case XK_KP_Right: return VKEY_RIGHT;
    case XK_Down: case XK_KP_Down: return VKEY_DOWN;
    default: return 0;
  }
}

uint8_t keyModifiers(unsigned int state) {
  return static_cast<uint8_t>(bitsOf(state, kKeyModifierMasks));
}

uint32_t buttonModifiers(unsigned int state) { return bitsOf(state, kButtonModifierMasks); }

bool DoubleClicks::press(uint32_t bit, Time time, int32_t x, int32_t y, uint32_t interval) {
  const bool twice = bit == button_ && time - time_ <= interval && std::abs(x - x_) <= 4 &&
                     std::abs(y - y_) <= 4;
  if (twice) {
    button_ = 0;  // a third click starts a new pair
  } else {
    button_ = bit;
    time_ = time;
    x_ = x;
    y_ = y;
  }
  return twice;
}

void forwardKey(Display* d, ::Window host, const XKeyEvent& e, long mask) {
  XEvent copy;
  copy.xkey = e;
  copy.xkey.window = host;
  copy.xkey.subwindow = None;
  XSendEvent(d, host, True, mask, &copy);
}

}  // namespace x11
