// Builds without a font library have no text: text draws nothing and measures 0.
#include "gui/platform/raster/raster_surface.h"

namespace raster {
bool textMetrics(const char*, const platform::FontSpec&, int32_t&, int32_t&, int32_t&) {
  return false;
}
bool renderText(const char*, const platform::FontSpec&, int32_t, int32_t, GlyphSink&) {
  return false;
}
}  // namespace raster
