#pragma once
// The edit gestures a host sees (begin, automate, end) and the editor's requests for a
// window size, recorded in arrival order by a host callback that hands every call on to
// the logging host's (host_log.h), and checked as whole gestures. Shared by the
// end-to-end editor tests of both window systems.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/vst2.h"

struct HostEvent {
  VstInt32 op;
  VstInt32 index;
  float value;
};
std::vector<HostEvent>& Events();
int Count(VstInt32 op);

// The editor's requests for a window size (audioMasterSizeWindow), and the host's answer.
struct SizeRequest {
  int width, height;
};
std::vector<SizeRequest>& SizeRequests();
bool& HostResizes();

VstIntPtr RecordingCallback(AEffect* e, VstInt32 op, VstInt32 index, VstIntPtr value, void* ptr,
                            float opt);

// "B9 A9 E9": begin, automate, end with their parameter indices, readable in failures.
std::string Sequence();

// A whole gesture on one parameter as a host sees it: begin first, end last, every
// automate inside an open bracket, at least one automate, brackets balanced.
::testing::AssertionResult IsOneGesture(int index);
