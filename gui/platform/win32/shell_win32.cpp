#include <windows.h>
#include <shellapi.h>

#include "gui/platform/shell.h"

namespace platform {
void OpenUrl(const char* url) {
  if (url) ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWDEFAULT);
}
}  // namespace platform
