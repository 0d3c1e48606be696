#pragma once
// X errors on our connection (a host's window gone before ours, focus on a window not
// yet mapped) must not reach the default handler, which ends the process. The handler is
// process-wide, so it is ours only while an ErrorTrap lives, and errors of other
// connections go on to whatever handler was there.
#include <X11/Xlib.h>

namespace x11 {

class ErrorTrap {
 public:
  explicit ErrorTrap(Display* d);
  ~ErrorTrap();
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;
};

// Errors trapped on our connection since the last reset.
int trappedErrors();
void resetTrappedErrors();

}  // namespace x11
