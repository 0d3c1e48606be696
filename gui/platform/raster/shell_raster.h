#pragma once
#include <string>
// The portable window system does not launch a browser; it records the address
// so that whoever presents the window (or a test) can act on it.
namespace raster {
const std::string& LastOpenedUrl();
void ClearOpenedUrl();
}  // namespace raster
