#include "tests/support/vst2/effect.h"

#include "tests/support/vst2/library.h"

TEffect::TEffect(audioMasterCallback host) {
  const PluginLibrary& lib = PluginLibrary::Get();
  if (lib.vstPluginMain) e = lib.vstPluginMain(host);
}

void TEffect::Start(float rate, int block) {
  Dispatch(effOpen);
  Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  Dispatch(effSetBlockSize, 0, block);
  Dispatch(effMainsChanged, 0, 1);
}

void TEffect::Close() {
  if (e) Dispatch(effClose);
  e = nullptr;
}
