// Makes the Win32 window system the default platform of a binary (Soravel.dll).
#include "gui/platform/win32/win32_platform.h"

namespace platform {
Platform& defaultPlatform() { return win32::Win32Platform::instance(); }
}  // namespace platform
