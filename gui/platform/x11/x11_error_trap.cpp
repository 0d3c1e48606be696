#include "gui/platform/x11/x11_error_trap.h"

namespace x11 {
namespace {

XErrorHandler gPrevious = nullptr;
Display* gTrapped = nullptr;
int gTrapDepth = 0;
int gErrors = 0;

int onXError(Display* d, XErrorEvent* e) {
  if (d == gTrapped) {
    ++gErrors;
    return 0;
  }
  return gPrevious ? gPrevious(d, e) : 0;
}

}  // namespace

ErrorTrap::ErrorTrap(Display* d) {
  if (gTrapDepth++ == 0) {
    gPrevious = XSetErrorHandler(onXError);
    gTrapped = d;
  }
}

ErrorTrap::~ErrorTrap() {
  if (--gTrapDepth == 0) {
    XSetErrorHandler(gPrevious);
    gTrapped = nullptr;
  }
}

int trappedErrors() { return gErrors; }
void resetTrappedErrors() { gErrors = 0; }

}  // namespace x11
