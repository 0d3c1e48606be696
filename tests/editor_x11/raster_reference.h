#pragma once
// The VST 2.x editor drawn by the raster platform in the test's process: the picture an
// X window must show.
#include <functional>

#include "tests/editor_x11/editor_size.h"
#include "tests/support/shot.h"

class VstPlugin;

// The editor at a zoom, with `setUp` applied to its plug-in first.
Shot RasterReference(const std::function<void(VstPlugin&)>& setUp = {}, float zoom = 1.0f,
                     int width = kWidth, int height = kHeight);
