#include "plugin/program.h"

#include "plugin/text.h"

void TProgram::Init() {
  SetName("Default");
  for (int i = 0; i < kNumParams; ++i) params[i].Init(kParamTable[i]);
}

void TProgram::SetName(const char* text) { CopyText(name, text ? text : "", sizeof name); }
