#pragma once
// The state Soravel.vst3 gives hosts to save (the component's getState) and takes
// back (setState, and the controller's setComponentState).
//
// The record, 156 bytes, all numbers little-endian:
//   offset 0    4 bytes   'Q' 'M' 'N' 'L' (the VST 2.x unique ID: not another plug-in's)
//   offset 4    uint32    format version, 1
//   offset 8    uint32    current program, 0..15
//   offset 12   18 x IEEE-754 double   the normalised values in parameter order
// A stream that holds anything else (fewer or more bytes, another mark, another
// version, a program or value out of range) is refused whole: nothing is taken.
// Version 1 is the first; a later version must still read every earlier one.
#include <cstdint>

#include "engine/param_ids.h"
#include "formats/vst3/vst3_base.h"

namespace vst3 {

struct TStateRecord {
  uint32_t program = 0;
  double values[kNumParams] = {};
};

constexpr uint32_t kStateVersion = 1;
constexpr int kStateBytes = 12 + 8 * kNumParams;

// False when the stream took fewer bytes than the record (or there is none).
bool WriteState(IBStream* stream, const TStateRecord& record);
// False, with `record` unchanged, unless the stream holds exactly one valid record.
bool ReadState(IBStream* stream, TStateRecord& record);

}  // namespace vst3
