#include "formats/lv2/scale_option.h"

#include <cstring>

#include "editor/zoom.h"

namespace {
LV2_URID Map(const LV2_URID_Map* map, const char* uri) {
  return map && map->map ? map->map(map->handle, uri) : 0;
}
}  // namespace

TScaleOption::TScaleOption(const LV2_URID_Map* map)
    : key(Map(map, lv2uri::kScaleFactor)), floatType(Map(map, lv2uri::kAtomFloat)) {
  if (!key || !floatType) key = floatType = 0;
}

uint32_t TScaleOption::Read(const LV2_Options_Option& o, float& factor) const {
  if (!key || o.key != key) return lv2options::kBadKey;
  if (o.context != lv2options::kContextInstance) return lv2options::kBadSubject;
  if (o.type != floatType || o.size != sizeof(float) || !o.value) return lv2options::kBadValue;
  float f;
  std::memcpy(&f, o.value, sizeof f);  // the host's pointer need not be aligned
  if (!zoom::ValidHostScale(f)) return lv2options::kBadValue;
  factor = f;
  return lv2options::kSuccess;
}

float TScaleOption::Find(const LV2_Options_Option* options) const {
  float found = 0.0f;
  for (const LV2_Options_Option* o = options; o && o->key != 0; ++o) Read(*o, found);
  return found;
}

uint32_t TScaleOption::Answer(LV2_Options_Option& o, const float& factor) const {
  if (!key || o.key != key) return lv2options::kBadKey;
  if (o.context != lv2options::kContextInstance) return lv2options::kBadSubject;
  if (!(factor > 0.0f)) return lv2options::kBadKey;  // the host announced none
  o.size = sizeof(float);
  o.type = floatType;
  o.value = &factor;
  return lv2options::kSuccess;
}
