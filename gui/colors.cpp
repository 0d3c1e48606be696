// The framework's named colours.
#include "gui/geometry.h"

const CRGBA kTransparentCRGBA{255, 255, 255, 0};
const CRGBA kBlackCRGBA{0, 0, 0, 255};
const CRGBA kWhiteCRGBA{255, 255, 255, 255};
const CRGBA kGreyCRGBA{127, 127, 127, 255};
const CRGBA kRedCRGBA{255, 0, 0, 255};
const CRGBA kGreenCRGBA{0, 255, 0, 255};
const CRGBA kBlueCRGBA{0, 0, 255, 255};
const CRGBA kYellowCRGBA{255, 255, 0, 255};
const CRGBA kMagentaCRGBA{255, 0, 255, 255};
const CRGBA kCyanCRGBA{0, 255, 255, 255};
