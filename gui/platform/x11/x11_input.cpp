#include "gui/platform/x11/x11_input.h"

#include <X11/keysym.h>

#include <cstdlib>

namespace x11 {

uint32_t buttonBit(unsigned int button) {
  switch (button) {
    case Button1: return 2;
    case Button2: return 4;
    case Button3: return 8;
    default: return 0;
  }
}

uint32_t heldButtons(unsigned int state) {
  uint32_t b = 0;
  if (state & Button1Mask) b |= 2;
  if (state & Button2Mask) b |= 4;
  if (state & Button3Mask) b |= 8;
  return b;
}

uint8_t virtualKey(unsigned long keysym) {
  switch (keysym) {
    case XK_BackSpace: return 1;
    case XK_Tab: case XK_ISO_Left_Tab: case XK_KP_Tab: return 2;
    case XK_Clear: return 3;
    case XK_Return: case XK_KP_Enter: return 4;
    case XK_Pause: return 5;
    case XK_Escape: return 6;
    case XK_space: case XK_KP_Space: return 7;
    case XK_Page_Down: case XK_KP_Page_Down: return 8;
    case XK_End: case XK_KP_End: return 9;
    case XK_Home: case XK_KP_Home: return 10;
    case XK_Left: case XK_KP_Left: return 11;
    case XK_Up: case XK_KP_Up: return 12;
    case XK_Right: case XK_KP_Right: return 13;
    case XK_Down: case XK_KP_Down: return 14;
    default: return 0;
  }
}

uint8_t keyModifiers(unsigned int state) {
  uint8_t m = 0;
  if (state & ShiftMask) m |= 1;
  if (state & Mod1Mask) m |= 2;
  if (state & ControlMask) m |= 8;
  return m;
}

uint32_t buttonModifiers(unsigned int state) {
  uint32_t m = 0;
  if (state & ShiftMask) m |= 0x10;
  if (state & ControlMask) m |= 0x20;
  if (state & Mod1Mask) m |= 0x40;
  return m;
}

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
