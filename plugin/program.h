#pragma once

#include "plugin/param.h"

// Bytes a program name takes, terminating zero included: the VST 2.x
// interface's program-name size, which every format's buffers share.
constexpr size_t kProgramNameBytes = 24;

// One program: a name and a full set of parameter values.
//
// The name is kept in a fixed buffer of the program-name size: a host may
// hand us a name of any length, and every buffer we copy it back into is that
// size, so it is cut once, when stored, and never allocates.
struct TProgram {
  void Init();                       // "Default" and the table defaults
  void SetName(const char* text);    // any C string; cut to 23 bytes
  const char* Name() const { return name; }

  char name[kProgramNameBytes] = {};
  TParam params[kNumParams];
};

constexpr int kNumPrograms = 16;

// Factory program k (0..15) as every format holds it: its name and the
// physical values its normalised values map to (program 0: the table defaults).
void LoadFactoryProgram(int k, TProgram& program);
// The normalised value of parameter i in factory program k: the one
// LoadFactoryProgram maps to the physical value (program 0: the table default's).
// Mapping it again gives that physical value exactly; the normalised form of the
// physical value may differ from it in the last bit. 0 outside the bank.
float FactoryNormalized(int k, int i);

// The factory bank: names and normalised values, program by program.
extern const char* const kFactoryProgramNames[kNumPrograms];
extern const float kFactoryPrograms[kNumParams][kNumPrograms];
