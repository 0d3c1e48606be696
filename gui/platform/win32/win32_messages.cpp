// The frame window's messages, by group: painting, keys, the mouse and its wheel, the
// capture, the cursor and the text entry's colours.
#include "gui/platform/win32/win32_window.h"

#include <windowsx.h>

#include "gui/platform/input.h"
#include "gui/platform/win32/win32_counts.h"
#include "gui/platform/win32/win32_input.h"
#include "gui/platform/win32/win32_surface.h"
#include "gui/platform/win32/win32_text_entry.h"

namespace win32 {

LRESULT Win32Window::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_DESTROY:
      listener_->onDestroyed();
      return 0;
    case WM_PAINT: return paint();
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: return keyDown(msg, wp, lp);
    case WM_KEYUP: case WM_SYSKEYUP: return keyUp(msg, wp, lp);
    case WM_CHAR: case WM_SYSCHAR:
      // The character of a key passed on follows it; those of used keys go nowhere.
      return passingChars_ ? passOn(msg, wp, lp) : 0;
    case WM_CTLCOLOREDIT:
      if (Win32TextEntry* e = textEntryOf(reinterpret_cast<HWND>(lp)))
        return reinterpret_cast<LRESULT>(e->colours(reinterpret_cast<HDC>(wp)));
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_XBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: case WM_XBUTTONDBLCLK:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: case WM_XBUTTONUP:
      return mouse(msg, wp, lp);
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd_) listener_->onCaptureLost();
      return 0;
    case WM_SETCURSOR:
      if (showCursor(wp, lp)) return TRUE;
      break;
    case WM_MOUSEWHEEL: case WM_MOUSEHWHEEL: return wheel(msg, wp, lp);
    default: break;
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT Win32Window::paint() {
  // BeginPaint alone finds out whether there is anything to paint: each question about
  // the update region is a round trip to the window server under Wine.
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (!dc || IsRectEmpty(&ps.rcPaint)) {
    EndPaint(hwnd_, &ps);
    return 0;
  }
  RECT client{};
  GetClientRect(hwnd_, &client);
  const platform::Rect r{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom};
  if (oldSystem_ || counts::forceBackBuffer) {
    // Before version 6 the system does not buffer: paint off screen, then copy.
    if (!back_ || back_->width() != client.right || back_->height() != client.bottom) {
      back_ = std::make_unique<Win32Surface>(client.right, client.bottom);
      back_->fillRect({0, 0, client.right, client.bottom}, {0, 0, 0, 255});
    }
    back_->setClip(r);
    listener_->onPaint(*back_, r);
    back_->setClip({0, 0, client.right, client.bottom});
    BitBlt(dc, r.left, r.top, r.width(), r.height(), back_->dc(), r.left, r.top, SRCCOPY);
  } else {
    Win32Surface s(dc, client.right, client.bottom, nullptr);
    s.setClip(r);
    listener_->onPaint(s, r);
  }
  EndPaint(hwnd_, &ps);
  return 0;
}

LRESULT Win32Window::keyDown(UINT msg, WPARAM wp, LPARAM lp) {
  const int32_t r = listener_->onKeyDown(static_cast<int32_t>(wp), virtualKey(wp), keyModifiers());
  passingChars_ = r == -1;
  if (wp < 256) usedDown_[wp] = r != -1;
  if (r == -1) return passOn(msg, wp, lp);
  return 0;
}

LRESULT Win32Window::keyUp(UINT msg, WPARAM wp, LPARAM lp) {
  const int32_t r = listener_->onKeyUp(static_cast<int32_t>(wp), virtualKey(wp), keyModifiers());
  // The release of a key whose press the editor used stays here too.
  const bool used = wp < 256 && usedDown_[wp];
  if (wp < 256) usedDown_[wp] = false;
  if (r == -1 && !used) return passOn(msg, wp, lp);
  return 0;
}

// Hands a key message the editor has no use for to the host's window, so that its
// shortcuts keep working. A host that hands keys back to its focused child does not
// start a loop.
LRESULT Win32Window::passOn(UINT msg, WPARAM wp, LPARAM lp) {
  HWND host = GetParent(hwnd_);
  if (!host || passing_) return 0;
  passing_ = true;
  const LRESULT r = SendMessageA(host, msg, wp, lp);
  passing_ = false;
  return r;
}

LRESULT Win32Window::mouse(UINT msg, WPARAM wp, LPARAM lp) {
  const platform::Point at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  uint32_t b = messageButtons(wp);
  switch (msg) {
    case WM_MOUSEMOVE:
      listener_->onMouseMoved(at, b);
      return 0;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: case WM_XBUTTONUP:
      // The gesture ends first, so that the capture change that follows finds none.
      listener_->onMouseUp(at, b);
      ReleaseCapture();
      return 0;
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: case WM_XBUTTONDBLCLK:
      b |= kDoubleClick;
      break;
    default: break;
  }
  if (listener_->onMouseDown(at, b) == 1) SetCapture(hwnd_);
  return 0;
}

LRESULT Win32Window::wheel(UINT msg, WPARAM wp, LPARAM lp) {
  const uint32_t mods = heldModifiers();
  RECT r{};
  GetWindowRect(hwnd_, &r);
  const platform::Point at{GET_X_LPARAM(lp) - r.left, GET_Y_LPARAM(lp) - r.top};
  // Fractions of a notch too (precision touchpads, high-resolution wheels).
  const float distance = static_cast<float>(GET_WHEEL_DELTA_WPARAM(wp)) / WHEEL_DELTA;
  if (msg == WM_MOUSEWHEEL)
    listener_->onWheel(at, distance, mods);
  else
    listener_->onHorizontalWheel(at, distance, mods);  // positive to the right
  return 0;
}

// The client area shows the cursor the editor chose, not the class's arrow in between;
// the frame, text entries and other windows have their own.
bool Win32Window::showCursor(WPARAM wp, LPARAM lp) {
  if (reinterpret_cast<HWND>(wp) != hwnd_ || LOWORD(lp) != HTCLIENT) return false;
  SetCursor(cursorShown());
  return true;
}

}  // namespace win32
