#pragma once
// ui:scaleFactor among a host's options: the host's announced content scale
// for the UI, read as the VST 2.x plug-in reads its host's (editor/zoom.h).
// The host gives it in opts:options at instantiation and, through the
// options interface, whenever it changes; either way it must be an atom:Float
// about the instance. Options arrays end with an option whose key is 0.
#include <cstdint>

#include "formats/lv2/lv2.h"

class TScaleOption {
 public:
  // The numbers the host gave the option's URIs; without a map (or with a map
  // that answers 0) no option is ever read.
  explicit TScaleOption(const LV2_URID_Map* map);

  // One option: lv2options::kSuccess with `factor` when it is a scale factor
  // zoom::ValidHostScale takes; else the status a host is answered (another
  // key, another subject, or a value of another type, size or range).
  uint32_t Read(const LV2_Options_Option& option, float& factor) const;

  // The last acceptable scale factor in an array; 0 when there is none.
  float Find(const LV2_Options_Option* options) const;

  // Fills `option` (its context and key set by the host) with `factor`, which
  // must stay where it is while the host reads it; 0: nothing to answer.
  uint32_t Answer(LV2_Options_Option& option, const float& factor) const;

 private:
  LV2_URID key = 0, floatType = 0;
};
