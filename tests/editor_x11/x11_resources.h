#pragma once
// What the test's process holds: resources on the X server (X-Resource) and open file
// descriptors, counted before and after editors come and go.
#include <ostream>

// Last: Xlib's macros (None, Bool, Status) clash with names in other headers.
#include <X11/Xlib.h>

// Resources the server holds for the client owning `id`, by kind (-1: unknown).
struct Resources {
  long windows = -1, pixmaps = -1, gcs = -1, cursors = -1;
  bool operator==(const Resources&) const = default;
};
Resources ClientResources(XID id);
std::ostream& operator<<(std::ostream& o, const Resources& r);
int OpenDescriptors();
