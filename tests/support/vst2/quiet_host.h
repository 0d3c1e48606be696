#pragma once
// A host callback that answers the version and nothing else: for programs that load the
// plug-in only to time or draw it. Header-only, so that they need no test framework.
#include "plugin/vst2.h"

inline VstIntPtr QuietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}
