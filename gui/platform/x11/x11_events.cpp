// The X11 window's events, by kind: exposure, the pointer and its buttons (double clicks
// included), keys (those the editor does not use go on to the host), focus and the
// window's end.
#include <X11/Xutil.h>

#include <cstdint>

#include "gui/platform/x11/x11_platform.h"
#include "gui/platform/x11/x11_text_entry.h"
#include "gui/platform/x11/x11_window.h"

namespace x11 {

void X11Window::handle(XEvent& ev) {
  switch (ev.type) {
    case Expose: expose(ev.xexpose); break;
    case ButtonPress: buttonPress(ev.xbutton); break;
    case ButtonRelease: buttonRelease(ev.xbutton); break;
    case MotionNotify: motion(ev); break;
    case KeyPress: keyPress(ev.xkey); break;
    case KeyRelease: keyRelease(ev.xkey); break;
    case FocusOut: focusOut(ev.xfocus); break;
    case LeaveNotify:
      // Another client took the pointer while we held it.
      if (ev.xcrossing.mode == NotifyGrab) loseCapture();
      break;
    case UnmapNotify: loseCapture(); break;
    case DestroyNotify:
      if (ev.xdestroywindow.window == win_) gone();
      break;
    default: break;
  }
}

void X11Window::expose(const XExposeEvent& e) {
  const platform::Rect r{e.x, e.y, e.x + e.width, e.y + e.height};
  if (painted_) putArea(r);
  else invalidate(r);
}

void X11Window::motion(XEvent& ev) {
  // Only the latest position of a run of moves matters (a press or release in between
  // ends the run: its position and order count).
  XEvent next;
  while (XEventsQueued(display_, QueuedAlready) > 0) {
    XPeekEvent(display_, &next);
    if (next.type != MotionNotify || next.xmotion.window != win_) break;
    XNextEvent(display_, &ev);
  }
  const XMotionEvent& m = ev.xmotion;
  const uint32_t b = heldButtons(m.state) | buttonModifiers(m.state);
  platform_.noteInput(b, {m.x_root, m.y_root});
  if (entryDrag_ && entry_) {
    entry_->drag(m.x);
    invalidate(entry_->rect());
    return;
  }
  if (listener_) listener_->onMouseMoved({m.x, m.y}, b);
}

void X11Window::buttonPress(const XButtonEvent& e) {
  if (e.button >= 4 && e.button <= 7) {
    // Wheel notches: 4 up, 5 down, 6 left, 7 right.
    if (!listener_) return;
    const uint32_t mods = buttonModifiers(e.state);
    if (e.button <= 5)
      listener_->onWheel({e.x, e.y}, e.button == 4 ? 1.f : -1.f, mods);
    else
      listener_->onHorizontalWheel({e.x, e.y}, e.button == 7 ? 1.f : -1.f, mods);
    return;
  }
  const uint32_t bit = buttonBit(e.button);
  if (!bit) return;
  uint32_t b = heldButtons(e.state) | bit | buttonModifiers(e.state);
  platform_.noteInput(b & ~static_cast<uint32_t>(kDoubleClick), {e.x_root, e.y_root});
  const bool twice = clicks_.press(bit, e.time, e.x, e.y, platform_.doubleClickTime());
  if (twice) b |= kDoubleClick;
  // A click inside the text entry stays with it.
  if (entry_ && platform::insideHalfOpen(entry_->rect(), e.x, e.y)) {
    if (bit == kLButton) {
      entry_->click(e.x, (e.state & ShiftMask) != 0, twice);
      entryDrag_ = true;
      invalidate(entry_->rect());
    }
    return;
  }
  if (!listener_) return;
  if (listener_->onMouseDown({e.x, e.y}, b) == 1) setCapture(true);
}

void X11Window::buttonRelease(const XButtonEvent& e) {
  const uint32_t bit = buttonBit(e.button);
  if (!bit) return;
  const uint32_t b = (heldButtons(e.state) & ~bit) | buttonModifiers(e.state);
  platform_.noteInput(b, {e.x_root, e.y_root});
  if (entryDrag_) {
    entryDrag_ = (b & kMouseButtons) != 0;
    return;
  }
  if (listener_) listener_->onMouseUp({e.x, e.y}, b);
  if (!(b & kMouseButtons)) setCapture(false);
}

void X11Window::keyPress(XKeyEvent& e) {
  char text[32];
  KeySym sym = NoSymbol;
  const int n = XLookupString(&e, text, sizeof text - 1, &sym, nullptr);
  text[n > 0 ? n : 0] = 0;
  if (entry_) {
    entry_->key(sym, text, n, e.state);
    return;
  }
  const int32_t character = n == 1 ? static_cast<unsigned char>(text[0]) : 0;
  if (!listener_) return;
  // Not ours: on to the host's window, so that its shortcuts (Space to play) work.
  if (listener_->onKeyDown(character, virtualKey(sym), keyModifiers(e.state)) == -1 && win_)
    forwardKey(display_, parent_, e, KeyPressMask);
}

void X11Window::keyRelease(XKeyEvent& e) {
  if (entry_) return;
  char text[8];
  KeySym sym = NoSymbol;
  const int n = XLookupString(&e, text, sizeof text, &sym, nullptr);
  const int32_t character = n == 1 ? static_cast<unsigned char>(text[0]) : 0;
  if (listener_ && listener_->onKeyUp(character, virtualKey(sym), keyModifiers(e.state)) == -1)
    forwardKey(display_, parent_, e, KeyReleaseMask);
}

void X11Window::focusOut(const XFocusChangeEvent& e) {
  // Moves inside our window, and the pointer's wanderings under a pointer-root focus, are
  // not a loss of the focus.
  if (e.detail == NotifyInferior || e.detail == NotifyPointer) return;
  loseCapture();
  if (X11TextEntry* entry = entry_) {
    entry_ = nullptr;
    entry->loseFocus();
  }
}

}  // namespace x11
