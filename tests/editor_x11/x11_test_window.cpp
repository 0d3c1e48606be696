#include "tests/editor_x11/x11_test_window.h"

#include <dirent.h>

#include <string>

#include "editor/editor.h"
#include "gui/frame.h"
#include "gui/platform/raster/raster_platform.h"
#include "plugin/vst_plugin.h"
#include "tests/support/vst2/quiet_host.h"

// Last: Xlib's macros clash with names in the headers above.
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
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

Shot Capture(::Window w, int width, int height) {
  Shot s;
  XSync(Dpy(), False);
  XImage* img = XGetImage(Dpy(), w, 0, 0, width, height, AllPlanes, ZPixmap);
  if (!img) return s;
  s.width = width;
  s.height = height;
  s.px.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      s.px[static_cast<size_t>(y) * width + x] = XGetPixel(img, x, y) & 0xffffff;
  XDestroyImage(img);
  return s;
}

Shot RasterReference(const std::function<void(VstPlugin&)>& setUp, float zoom, int width,
                     int height) {
  static int parent;
  VstPlugin plugin(QuietHost);
  if (setUp) setUp(plugin);
  auto* editor = dynamic_cast<Editor*>(plugin.getEditor());
  Shot s;
  if (!editor) return s;
  editor->setContentScale(zoom);
  if (!editor->open(&parent)) return s;
  editor->idle();
  auto& w = *static_cast<raster::RasterWindow*>(editor->getFrame()->platformWindow());
  w.paint();
  s.width = width;
  s.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) s.px.push_back(w.surface().pixel(x, y) & 0xffffff);
  editor->close();
  return s;
}

Resources ClientResources(XID id) {
  Resources r;
  int n = 0;
  XResType* types = nullptr;
  if (!XResQueryClientResources(Dpy(), id, &n, &types)) return r;
  r.windows = r.pixmaps = r.gcs = r.cursors = 0;
  for (int i = 0; i < n; ++i) {
    char* name = XGetAtomName(Dpy(), types[i].resource_type);
    const std::string kind = name ? name : "";
    if (name) XFree(name);
    if (kind == "WINDOW") r.windows = types[i].count;
    if (kind == "PIXMAP") r.pixmaps = types[i].count;
    if (kind == "GC") r.gcs = types[i].count;
    if (kind == "CURSOR") r.cursors = types[i].count;
  }
  XFree(types);
  return r;
}
std::ostream& operator<<(std::ostream& o, const Resources& r) {
  return o << r.windows << " windows, " << r.pixmaps << " pixmaps, " << r.gcs << " GCs, "
           << r.cursors << " cursors";
}
int OpenDescriptors() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (dirent* e = readdir(d)) n += e->d_name[0] != '.';
    closedir(d);
  }
  return n;
}
