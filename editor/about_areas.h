#pragma once
// What lies under a point of the about view (its areas are in editor/layout.h), and
// the vendor's pages its links open in the user's browser.
#include "editor/layout.h"

namespace about {
// Half-open, unlike CBounds::pointInside: an area is the pixels its picture covers.
bool Inside(const CBounds& r, const CPosition& p);
// The zoom choice under p (an index of zoom::kZooms), -1 for none.
int ZoomChoiceAt(const CPosition& p);
// Whether p is over anything of the about view that can be clicked.
bool Clickable(const CPosition& p);

extern const char* const kWebPageUrl;
extern const char* const kDonationUrl;
}  // namespace about
