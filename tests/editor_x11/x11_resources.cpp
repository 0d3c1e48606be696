#include "tests/editor_x11/x11_resources.h"

#include <dirent.h>

#include <string>

#include "tests/editor_x11/x11_test_window.h"

// Last: Xlib's macros clash with names in the headers above.
#include <X11/extensions/XRes.h>

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
