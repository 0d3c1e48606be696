// Makes the X11 window system the default platform of a binary (Soravel.so).
#include "gui/platform/x11/x11_platform.h"

namespace platform {
Platform& defaultPlatform() { return x11::X11Platform::instance(); }
}  // namespace platform
