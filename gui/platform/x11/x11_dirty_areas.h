#pragma once
// The areas of a window waiting to be repainted. Areas that overlap or touch merge into
// their union; past eight areas, the union of all of them stands for them.
#include <vector>

#include "gui/platform/platform.h"

namespace x11 {

class DirtyAreas {
 public:
  void add(platform::Rect a);
  // The areas, in the order they are to be painted; none are left.
  std::vector<platform::Rect> take();
  void clear() { areas_.clear(); }
  bool empty() const { return areas_.empty(); }

 private:
  std::vector<platform::Rect> areas_;
};

}  // namespace x11
