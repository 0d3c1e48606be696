#pragma once
// Where the editor's controls and active areas sit, in frame pixels (1x units;
// right and bottom excluded), and their tags. Written here only: the controls,
// the about view and their tests read them.
#include <cstdint>
#include <iterator>

#include "editor/meter_scale.h"
#include "editor/zoom.h"
#include "gui/geometry.h"

struct TKnobPlace {
  int32_t tag;
  int32_t left, top, size;  // square knob
  const char* image;        // filmstrip of 129 frames of size x size
  float curve;              // power curve exponent 2^curve (levels), 0 for none
  int32_t displayLeft, displayTop;  // its value display, kDisplayWidth x kDisplayHeight
};

// Seventeen knobs in tag order; the freeze parameter (tag 8) has a switch instead.
extern const TKnobPlace kKnobPlaces[17];

namespace layout {

inline constexpr int32_t kDisplayWidth = 48, kDisplayHeight = 14;

// The freeze switch (a filmstrip of frames its own height) and the freeze text.
inline constexpr CBounds kFreezeSwitch(354, 206, 410, 265);
inline constexpr CBounds kFreezeText(360, 267, 405, 277);

// The level meter: four bars (input left, right, output left, right) of kMeterBarWidth
// x meter::kBarHeight, at these offsets from its left. The scale image holds an unlit
// and a lit bar side by side, each kMeterBarWidth wide.
inline constexpr int32_t kMeterLeft = 648, kMeterTop = 178;
inline constexpr int32_t kMeterBarOffsets[] = {0, 9, 49, 58};
inline constexpr int kMeterBars = static_cast<int>(std::size(kMeterBarOffsets));
inline constexpr int32_t kMeterBarWidth = 5;
inline constexpr CBounds kMeter(kMeterLeft, kMeterTop,
                                kMeterLeft + kMeterBarOffsets[kMeterBars - 1] + kMeterBarWidth,
                                kMeterTop + meter::kBarHeight);

// The images of the frame, the freeze switch, the meter and the about view (the knobs'
// are in kKnobPlaces).
inline constexpr const char* kBackgroundImage = "BACKGROUND";
inline constexpr const char* kSwitchImage = "SWITCH";
inline constexpr const char* kMeterImage = "VU_SCALE";
inline constexpr const char* kAboutImage = "ABOUT";

// The about area's tag, apart from every parameter's.
inline constexpr int32_t kAboutTag = 22;

}  // namespace layout

// The about view's active areas and the logo.
namespace about {
inline constexpr CBounds kLogo(66, 39, 310, 121);
inline constexpr CBounds kClose(167, 78, 187, 98);
inline constexpr CBounds kWebPage(425, 307, 569, 326);
inline constexpr CBounds kDonation(399, 340, 591, 396);
// The zoom choice under the mark: its caption and one area per zoom::kZooms.
inline constexpr CBounds kZoomCaption(186, 366, 228, 384);
inline constexpr CBounds kZoomChoices[] = {CBounds(230, 366, 272, 384),
                                           CBounds(274, 366, 316, 384),
                                           CBounds(318, 366, 360, 384)};
static_assert(std::size(kZoomChoices) == zoom::kNumZooms, "one area per zoom");
}  // namespace about
