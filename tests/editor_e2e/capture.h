#pragma once
// A window's pixels read back as the end-to-end editor tests compare and save them.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "tests/support/shot.h"

// Copies the window's client area as it is on screen now.
Shot Capture(HWND window);
