#include "gui/platform/raster/shell_raster.h"

#include "gui/platform/shell.h"

namespace {
std::string& Opened() {
  static std::string url;
  return url;
}
}  // namespace

namespace platform {
void OpenUrl(const char* url) { Opened() = url ? url : ""; }
}  // namespace platform

namespace raster {
const std::string& LastOpenedUrl() { return Opened(); }
void ClearOpenedUrl() { Opened().clear(); }
}  // namespace raster
