#pragma once
// X buttons, keys and modifiers in the framework's encodings; double clicks; keys the
// editor does not use, sent on to the host's window.
#include <X11/Xlib.h>

#include <cstdint>

namespace x11 {

// The framework's button bit of an X button (1..3), 0 for any other.
uint32_t buttonBit(unsigned int button);
// The buttons an X state holds, as button word bits.
uint32_t heldButtons(unsigned int state);
// The VirtualKey of an X key symbol, 0 for any other key.
uint8_t virtualKey(unsigned long keysym);
// Shift, Alt and Control of an X state, as KeyModifier bits and as button word bits.
uint8_t keyModifiers(unsigned int state);
uint32_t buttonModifiers(unsigned int state);

// Tells a press that completes a double click: the same button again within the
// interval and 4 pixels of the first press. A third press starts a new pair.
class DoubleClicks {
 public:
  bool press(uint32_t bit, Time time, int32_t x, int32_t y, uint32_t interval);

 private:
  Time time_ = 0;
  uint32_t button_ = 0;
  int32_t x_ = 0, y_ = 0;
};

// Sends a key event on to `host` as if it had gone there, so that the host's shortcuts
// (Space to play) work while our window has the focus.
void forwardKey(Display* d, ::Window host, const XKeyEvent& e, long mask);

}  // namespace x11
