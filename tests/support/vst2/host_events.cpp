#include "tests/support/vst2/host_events.h"

#include "tests/support/vst2/host_log.h"

std::vector<HostEvent>& Events() {
  static std::vector<HostEvent> events;
  return events;
}

int Count(VstInt32 op) {
  int n = 0;
  for (const HostEvent& e : Events()) n += e.op == op;
  return n;
}

std::vector<SizeRequest>& SizeRequests() {
  static std::vector<SizeRequest> requests;
  return requests;
}

bool& HostResizes() {
  static bool resizes = true;
  return resizes;
}

VstIntPtr RecordingCallback(AEffect* e, VstInt32 op, VstInt32 index, VstIntPtr value, void* ptr,
                            float opt) {
  if (op == audioMasterAutomate || op == audioMasterBeginEdit || op == audioMasterEndEdit)
    Events().push_back({op, index, opt});
  if (op == audioMasterSizeWindow) {
    SizeRequests().push_back({index, static_cast<int>(value)});
    return HostResizes() ? 1 : 0;
  }
  return HostCallback(e, op, index, value, ptr, opt);
}

std::string Sequence() {
  std::string s;
  for (const HostEvent& ev : Events()) {
    if (!s.empty()) s += ' ';
    s += ev.op == audioMasterBeginEdit ? 'B' : ev.op == audioMasterEndEdit ? 'E' : 'A';
    s += std::to_string(ev.index);
  }
  return s;
}

::testing::AssertionResult IsOneGesture(int index) {
  const std::vector<HostEvent>& ev = Events();
  int depth = 0, automates = 0;
  bool ok = !ev.empty() && ev.front().op == audioMasterBeginEdit;
  for (const HostEvent& e : ev) {
    if (!ok) break;
    ok = e.index == index;
    if (e.op == audioMasterBeginEdit) ++depth;
    if (e.op == audioMasterEndEdit) ok = ok && --depth >= 0;
    if (e.op == audioMasterAutomate) ok = ok && depth > 0 && ++automates > 0;
  }
  if (ok && depth == 0 && automates > 0 && ev.back().op == audioMasterEndEdit)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "host saw \"" << Sequence() << "\" for parameter "
                                       << index;
}
