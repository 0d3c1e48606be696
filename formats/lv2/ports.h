#pragma once
// Soravel.lv2's ports, shared by the DSP library, the UI library and the
// generator of the bundle's description.
//
// Control ports carry a parameter in the unit the plug-in displays: the
// physical value of kParamTable, except Decay Time, which the engine takes as
// the decimal logarithm of seconds and a port carries in seconds.
#include <cstdint>

#include "engine/param_ids.h"

constexpr uint32_t kPortControl = 0;                // 18 control inputs, in parameter order
constexpr uint32_t kPortAudioIn = kNumParams;       // left, right
constexpr uint32_t kPortAudioOut = kNumParams + 2;  // left, right
constexpr uint32_t kPortMeter = kNumParams + 4;     // peaks: input left, right, output left, right
constexpr uint32_t kNumPorts = kNumParams + 8;

// A parameter's port value from its physical value, and back. The way back
// limits nothing: the engine limits what it is given.
float PortValue(int index, float physical);
float PhysicalValue(int index, float port);

// The port symbol of a parameter: its name in lower case, words joined by
// '_' ("EQ Low Band Level" -> "eq_low_band_level"). `size` includes the zero.
void PortSymbol(int index, char* text, int size);
