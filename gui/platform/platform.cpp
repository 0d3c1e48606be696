#include "gui/platform/platform.h"

namespace platform {
namespace {
Platform* gCurrent = nullptr;
}
Platform& current() { return gCurrent ? *gCurrent : defaultPlatform(); }
void setCurrent(Platform* p) { gCurrent = p; }
}  // namespace platform
