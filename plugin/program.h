#pragma once

#include "plugin/param.h"
#include "plugin/vst2.h"

// One program: a name and a full set of parameter values.
//
// The name is kept in a fixed buffer of the interface's program-name size: a
// host may hand us a name of any length, and every buffer we copy it back
// into is that size, so it is cut once, when stored, and never allocates.
struct TProgram {
  void Init();                       // "Default" and the table defaults
  void SetName(const char* text);    // any C string; cut to 23 bytes
  const char* Name() const { return name; }

  char name[kVstMaxProgNameLen] = {};
  TParam params[kNumParams];
};

constexpr int kNumPrograms = 16;

// The factory bank: names and normalised values, program by program.
extern const char* const kFactoryProgramNames[kNumPrograms];
extern const float kFactoryPrograms[kNumParams][kNumPrograms];
