#include "editor/zoom_choice.h"

#include <cstdio>

#include "editor/layout.h"
#include "gui/draw.h"

namespace {
// The small print's colour of the artwork, and its accent for the zoom shown.
const CRGBA kChoiceText{158, 165, 174, 255};
const CRGBA kChoiceShown{255, 167, 51, 255};

// Made once for the library's life, so that painting makes no platform fonts.
struct ChoiceFonts {
  CFontDesc* plain = new CFontDesc("Arial", 11);
  CFontDesc* bold = new CFontDesc("Arial", 11, kBoldFace);
  ~ChoiceFonts() {
    plain->release();
    bold->release();
  }
};
}  // namespace

void DrawZoomChoice(CDrawContext* context, double shown) {
  static ChoiceFonts fonts;
  context->setFont(fonts.bold);
  context->setFontColor(kChoiceText);
  context->drawString("Zoom", about::kZoomCaption, false, kLeftText);
  context->setLineWidth(1);
  for (int i = 0; i < zoom::kNumZooms; ++i) {
    const CBounds& r = about::kZoomChoices[i];
    char text[16];
    std::snprintf(text, sizeof text, "%d %%", static_cast<int>(zoom::kZooms[i] * 100.0 + 0.5));
    const bool isShown = zoom::kZooms[i] == shown;
    context->setFont(isShown ? fonts.bold : fonts.plain);
    context->setFontColor(isShown ? kChoiceShown : kChoiceText);
    context->drawString(text, r, false, kCenterText);
    if (isShown) {
      context->setFrameColor(kChoiceShown);
      context->drawRect(r);
    }
  }
}
