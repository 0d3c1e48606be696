#pragma once
// The input encodings of the platform seam: what every window system hands the framework
// with its mouse and key events, and the cursor shapes the framework asks it for. Each
// window system turns its own codes into these; the framework's views and the editor
// read them by these names.
#include <cstddef>
#include <cstdint>

// Button word: the mouse buttons and modifiers passed with every mouse event. Window
// systems never set kApple; kButton4 and kButton5 (the extra buttons) come only with
// Win32's window messages.
enum CButton : uint32_t {
  kLButton = 2, kMButton = 4, kRButton = 8, kShift = 0x10, kControl = 0x20, kAlt = 0x40,
  kApple = 0x80, kButton4 = 0x100, kButton5 = 0x200, kDoubleClick = 0x400,
};
constexpr uint32_t kMouseButtons = kLButton | kMButton | kRButton;
constexpr uint32_t kModifierBits = kShift | kControl | kAlt | kApple;
constexpr uint32_t kShiftControlAlt = kShift | kControl | kAlt;

// A key event carries the platform's key code, a virtual key (0 for any other key) and
// key modifiers, the fields of the VST 2.x interface's key record.
enum VirtualKey : uint8_t {
  VKEY_BACK = 1, VKEY_TAB, VKEY_CLEAR, VKEY_RETURN, VKEY_PAUSE, VKEY_ESCAPE, VKEY_SPACE,
  VKEY_NEXT, VKEY_END, VKEY_HOME, VKEY_LEFT, VKEY_UP, VKEY_RIGHT, VKEY_DOWN,
};
enum KeyModifier : uint8_t { MODIFIER_SHIFT = 1, MODIFIER_ALTERNATE = 2, MODIFIER_CONTROL = 8 };

// Cursor shapes a window shows; any other value shows the default cursor.
enum CCursorType : int32_t {
  kCursorDefault = 0, kCursorWait, kCursorHSize, kCursorVSize, kCursorSizeAll, kCursorNESWSize,
  kCursorNWSESize, kCursorCopy, kCursorNotAllowed, kCursorHand,
};

namespace platform {

// A window system's code for a key, a mouse button or a modifier (a virtual-key code, a
// state mask) and the framework's bit for it: the tables the window systems translate by.
struct CodeBit {
  unsigned long code;
  uint32_t bit;
};
// The bits of the table's codes for which held(code) is true.
template <size_t N, class Held>
uint32_t bitsHeld(const CodeBit (&table)[N], Held held) {
  uint32_t bits = 0;
  for (const CodeBit& c : table)
    if (held(c.code)) bits |= c.bit;
  return bits;
}

}  // namespace platform
