#pragma once
// A frame content showing every control class, drawn from generated images, for the
// demo programs of both window systems.
#include <vector>

#include "gui/frame.h"

namespace demo {
constexpr int kWidth = 420, kHeight = 220;
// Adds the views to the frame; the bitmaps it made are handed back for release.
void buildScene(CFrame* frame, std::vector<CBitmap*>& bitmaps);
}  // namespace demo
