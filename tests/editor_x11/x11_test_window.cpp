#include "tests/editor_x11/x11_test_window.h"

#include <X11/extensions/XTest.h>

Display* Dpy() {
  static Display* d = XOpenDisplay(nullptr);
  return d;
}

::Window HostWindow() {
  static ::Window w = 0;
  Display* d = Dpy();
  if (!w) {
    XSetWindowAttributes a{};
    a.override_redirect = True;
    a.background_pixel = BlackPixel(d, DefaultScreen(d));
    a.event_mask = KeyPressMask | KeyReleaseMask;
    w = XCreateWindow(d, DefaultRootWindow(d), 0, 0, kWidth, kHeight, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask,
                      &a);
    XMapRaised(d, w);
    XSync(d, False);
  }
  return w;
}

std::vector<::Window> Children(::Window w) {
  ::Window root, parent, *kids = nullptr;
  unsigned n = 0;
  std::vector<::Window> out;
  XSync(Dpy(), False);
  if (XQueryTree(Dpy(), w, &root, &parent, &kids, &n)) out.assign(kids, kids + n);
  if (kids) XFree(kids);
  return out;
}

void MoveTo(int x, int y) {
  XTestFakeMotionEvent(Dpy(), DefaultScreen(Dpy()), x, y, 0);
  XSync(Dpy(), False);
}
void Button(unsigned b, bool down) {
  XTestFakeButtonEvent(Dpy(), b, down ? True : False, 0);
  XSync(Dpy(), False);
}
