#pragma once
// Soravel's parameters as VST 3 carries them: their ids, what hosts are told of
// them, and their normalised values, all read from the product model.
//
// Ids: the parameter indices 0..17, as the VST 2.x plug-in numbers them (hosts
// that carry VST 2.x automation over find the same numbers), and one more, the
// program change, outside that range for good. A normalised value is a double;
// it maps to the physical value through the model's float mapping, exactly as a
// VST 2.x host's float does. Decay Freeze has two values, 0 and 1.
#include "engine/param_ids.h"
#include "formats/vst3/vst3_editing.h"
#include "plugin/program.h"

namespace vst3 {

constexpr ParamID kProgramChangeId = 0x70726F67;  // 'prog'
constexpr int32 kNumParamIds = kNumParams + 1;    // the program change last
constexpr ProgramListID kFactoryListId = 1;       // the root unit's one program list

inline bool IsParameter(ParamID id) { return id < ParamID(kNumParams); }
inline bool ValidNormalized(ParamValue x) { return x >= 0.0 && x <= 1.0; }  // NaN fails

// What a host keeps of a value it sets: the value itself, except that a stepped
// parameter keeps the step it selects (the freeze switch reads 0 or 1).
ParamValue Kept(int index, ParamValue x);
// The physical value the engine takes for a normalised value.
float Physical(int index, ParamValue x);
ParamValue DefaultNormalized(int index);
// Program k's value of parameter i (LoadFactoryProgram's mapping gives its physical value).
inline ParamValue ProgramNormalized(int k, int i) { return FactoryNormalized(k, i); }

// The program change's normalised value and back (16 programs, 15 steps).
ParamValue ProgramToNormalized(int program);
int NormalizedToProgram(ParamValue x);  // x in 0..1

// Parameter info for index 0..18 (18: the program change); false outside.
bool FillParameterInfo(int32 index, ParameterInfo& info);
// The display text (with its unit where the unit changes with the value: the
// frequencies' Hz/kHz) of `x`; false for an unknown id.
bool DisplayText(ParamID id, ParamValue x, String128 text);
// A typed text read by the parameter's rules, as a normalised value; false for an
// unknown id.
bool ParseText(ParamID id, const char16* text, ParamValue& x);
// Normalised to the plain value (the physical unit, the program number) and back;
// unknown ids answer 0, values are limited to their ranges.
ParamValue ToPlain(ParamID id, ParamValue x);
ParamValue FromPlain(ParamID id, ParamValue plain);

}  // namespace vst3
