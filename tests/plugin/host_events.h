#pragma once
// The edit gestures a host sees (begin, automate, end), recorded in arrival order by a
// host callback that hands every call on to the test host's own, and checked as whole
// gestures. Shared by the end-to-end editor tests of both window systems.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/plugin/host.h"

struct HostEvent {
  VstInt32 op;
  VstInt32 index;
  float value;
};

inline std::vector<HostEvent>& Events() {
  static std::vector<HostEvent> events;
  return events;
}

inline int Count(VstInt32 op) {
  int n = 0;
  for (const HostEvent& e : Events()) n += e.op == op;
  return n;
}

inline VstIntPtr RecordingCallback(AEffect* e, VstInt32 op, VstInt32 index, VstIntPtr value,
                                   void* ptr, float opt) {
  if (op == audioMasterAutomate || op == audioMasterBeginEdit || op == audioMasterEndEdit)
    Events().push_back({op, index, opt});
  return HostCallback(e, op, index, value, ptr, opt);
}

// "B9 A9 E9": begin, automate, end with their parameter indices, readable in failures.
inline std::string Sequence() {
  std::string s;
  for (const HostEvent& ev : Events()) {
    if (!s.empty()) s += ' ';
    s += ev.op == audioMasterBeginEdit ? 'B' : ev.op == audioMasterEndEdit ? 'E' : 'A';
    s += std::to_string(ev.index);
  }
  return s;
}

// A whole gesture on one parameter as a host sees it: begin first, end last, every
// automate inside an open bracket, at least one automate, brackets balanced.
inline ::testing::AssertionResult IsOneGesture(int index) {
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
