#include "editor/about_areas.h"

#include "gui/platform/rect.h"
#include "soravel_product.h"

namespace about {

const char* const kWebPageUrl = "https://" SORAVEL_VENDOR_HOST "/";
const char* const kDonationUrl = "https://" SORAVEL_VENDOR_HOST "/donation?lang=en";

bool Inside(const CBounds& r, const CPosition& p) { return platform::insideHalfOpen(r, p.h, p.v); }

int ZoomChoiceAt(const CPosition& p) {
  for (int i = 0; i < zoom::kNumZooms; ++i)
    if (Inside(kZoomChoices[i], p)) return i;
  return -1;
}

bool Clickable(const CPosition& p) {
  return Inside(kClose, p) || Inside(kWebPage, p) || Inside(kDonation, p) || ZoomChoiceAt(p) >= 0;
}

}  // namespace about
