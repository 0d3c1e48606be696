#pragma once
// The edit gestures a host sees (begin, automate, end), recorded in arrival order by a
// host callback that hands every call on to the test host's own, and checked as whole
// gestures, and an effect instance that reports to it. Shared by the end-to-end editor tests of both window systems.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// The editor's requests for a window size (audioMasterSizeWindow), and the host's answer.
struct SizeRequest {
  int width, height;
};
inline std::vector<SizeRequest>& SizeRequests() {
  static std::vector<SizeRequest> requests;
  return requests;
}
inline bool& HostResizes() {
  static bool resizes = true;
  return resizes;
}

inline VstIntPtr RecordingCallback(AEffect* e, VstInt32 op, VstInt32 index, VstIntPtr value,
                                   void* ptr, float opt) {
  if (op == audioMasterAutomate || op == audioMasterBeginEdit || op == audioMasterEndEdit)
    Events().push_back({op, index, opt});
  if (op == audioMasterSizeWindow) {
    SizeRequests().push_back({index, static_cast<int>(value)});
    return HostResizes() ? 1 : 0;
  }
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

// One effect instance made with the recording callback; the library is the test host's.
class Instance {
 public:
  Instance() {
    const PluginLibrary& lib = PluginLibrary::Get();
    if (lib.vstPluginMain) e_ = lib.vstPluginMain(RecordingCallback);
  }
  ~Instance() { Close(); }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  AEffect* effect() const { return e_; }
  VstIntPtr Dispatch(VstInt32 op, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return e_->dispatcher(e_, op, index, value, ptr, opt);
  }
  void Close() {
    if (e_) Dispatch(effClose);
    e_ = nullptr;
  }
  void Start() {
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(effSetBlockSize, 0, kBlock);
    Dispatch(effMainsChanged, 0, 1);
  }
  float Get(int i) { return e_->getParameter(e_, i); }
  void Set(int i, float v) { e_->setParameter(e_, i, v); }
  // A sine of the given peak amplitude (0 for silence) on both inputs; answers the
  // output's largest magnitude.
  float Process(float amplitude, int frames) {
    std::vector<float> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
    float peak = 0.0f;
    for (int pos = 0; pos < frames; pos += kBlock) {
      for (int i = 0; i < kBlock; ++i) {
        inL[i] = amplitude * std::sin(0.05f * static_cast<float>(pos + i));
        inR[i] = inL[i];
      }
      float* in[2] = {inL.data(), inR.data()};
      float* out[2] = {outL.data(), outR.data()};
      e_->processReplacing(e_, in, out, kBlock);
      for (int i = 0; i < kBlock; ++i) peak = std::max(peak, std::fabs(outL[i]));
    }
    return peak;
  }
  static constexpr int kBlock = 512;

 private:
  AEffect* e_ = nullptr;
};
