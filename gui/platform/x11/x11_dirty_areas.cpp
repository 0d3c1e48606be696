#include "gui/platform/x11/x11_dirty_areas.h"

#include <cstddef>

namespace x11 {
void DirtyAreas::add(platform::Rect a) {
  for (size_t i = 0; i < areas_.size();) {
    const platform::Rect& d = areas_[i];
    if (platform::meet(a, d)) {
      a = platform::unite(a, d);
      areas_.erase(areas_.begin() + static_cast<std::ptrdiff_t>(i));
      i = 0;
    } else {
      ++i;
    }
  }
  areas_.push_back(a);
  if (areas_.size() > 8) {
    platform::Rect all = areas_.front();
    for (const platform::Rect& d : areas_) all = platform::unite(all, d);
    areas_.assign(1, all);
  }
}

std::vector<platform::Rect> DirtyAreas::take() {
  std::vector<platform::Rect> out;
  out.swap(areas_);
  return out;
}

}  // namespace x11
