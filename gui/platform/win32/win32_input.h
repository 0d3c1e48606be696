#pragma once
// Win32 keys, buttons and modifiers in the framework's encodings.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>

namespace win32 {

// The framework's virtual key of a Win32 virtual-key code, 0 for any other key.
uint8_t virtualKey(WPARAM vk);
// The key modifiers held now (Shift, Alt, Control), from the key state.
uint8_t keyModifiers();
// The button word of a mouse message: its key flags, and Alt from the key state.
uint32_t messageButtons(WPARAM keyFlags);
// Shift, Control and Alt from the key state, as button word bits (wheel messages).
uint32_t heldModifiers();
// The button word from the asynchronous key state; swapped: the system swaps the mouse's
// left and right buttons.
uint32_t asyncButtons(bool swapped);

}  // namespace win32
