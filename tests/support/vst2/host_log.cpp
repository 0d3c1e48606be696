#include "tests/support/vst2/host_log.h"

void HostLog::Clear() {
  versionAnswer = 2400;
  versionCalls = wantMidi = automate = beginEdit = endEdit = other = 0;
  lastAutomateValue = 0.0f;
}

HostLog& Log() {
  static HostLog log;
  return log;
}

VstIntPtr HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float opt) {
  HostLog& log = Log();
  switch (opcode) {
    case audioMasterVersion: ++log.versionCalls; return log.versionAnswer;
    case audioMasterWantMidi: ++log.wantMidi; return 1;
    case audioMasterAutomate:
      ++log.automate;
      log.lastAutomateValue = opt;
      return 0;
    case audioMasterBeginEdit: ++log.beginEdit; return 1;
    case audioMasterEndEdit: ++log.endEdit; return 1;
    default: ++log.other; return 0;
  }
}
