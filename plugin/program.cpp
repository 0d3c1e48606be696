#include "plugin/program.h"

#include "plugin/text.h"

void TProgram::Init() {
  SetName("Default");
  for (int i = 0; i < kNumParams; ++i) params[i].Init(kParamTable[i]);
}

void TProgram::SetName(const char* text) { CopyText(name, text ? text : "", sizeof name); }

void LoadFactoryProgram(int k, TProgram& program) {
  program.Init();
  if (k < 0 || k >= kNumPrograms) return;
  program.SetName(kFactoryProgramNames[k]);
  // Every value takes the road a host's normalised value takes, the defaults of
  // program 0 too: what hosts have saved from the bank since the first release.
  for (int i = 0; i < kNumParams; ++i) program.params[i].SetNormalized(FactoryNormalized(k, i));
}

float FactoryNormalized(int k, int i) {
  if (k < 0 || k >= kNumPrograms || i < 0 || i >= kNumParams) return 0.0f;
  if (k > 0) return kFactoryPrograms[i][k];
  TParam p;
  p.Init(kParamTable[i]);
  return p.Normalized();
}
