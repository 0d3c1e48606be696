// Makes the raster window system the default platform of a program.
#include "gui/platform/raster/raster_platform.h"

namespace platform {
Platform& defaultPlatform() { return raster::RasterPlatform::instance(); }
}  // namespace platform
