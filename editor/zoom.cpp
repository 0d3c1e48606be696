#include "editor/zoom.h"

#include <atomic>
#include <cmath>

namespace zoom {

namespace {
std::atomic<double> gUserChoice{0.0};
}

double Nearest(double factor) {
  if (!std::isfinite(factor) || factor <= 0.0) return kZooms[0];
  double best = kZooms[0];
  for (double z : kZooms)
    if (std::fabs(z - factor) < std::fabs(best - factor)) best = z;
  return best;
}

bool ValidHostScale(float factor) { return factor >= 1.0f && factor <= 4.0f; }  // NaN fails

double UserChoice() { return gUserChoice.load(std::memory_order_relaxed); }

bool SetUserChoice(double z) {
  for (double k : kZooms)
    if (z == k) {
      gUserChoice.store(z, std::memory_order_relaxed);
      return true;
    }
  return false;
}

void ForgetUserChoice() { gUserChoice.store(0.0, std::memory_order_relaxed); }

double Choose(double userChoice, double hostScale, double screenScale) {
  if (userChoice > 0.0) return Nearest(userChoice);
  if (hostScale > 0.0) return Nearest(hostScale);
  return Nearest(screenScale);
}

}  // namespace zoom
