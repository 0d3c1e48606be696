#pragma once
// The test host's callback: answers what a plain host answers and counts what the
// plug-in asked of it.
#include <atomic>

#include "plugin/vst2.h"

struct HostLog {
  std::atomic<int> versionAnswer{2400};
  std::atomic<int> versionCalls{0};
  std::atomic<int> wantMidi{0};
  std::atomic<int> automate{0};
  std::atomic<int> beginEdit{0};
  std::atomic<int> endEdit{0};
  std::atomic<int> other{0};
  std::atomic<float> lastAutomateValue{0.0f};
  void Clear();
};
HostLog& Log();
VstIntPtr HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                       void* ptr, float opt);
