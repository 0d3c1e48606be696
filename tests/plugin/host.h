#pragma once

// A small host of our own: loads the built plug-in binary the way a host does
// and drives its effect record.

#include <atomic>
#include <string>
#include <vector>

#include "plugin/vst2.h"

using EntryProc = AEffect* (*)(audioMasterCallback);

// The library, loaded once per test process.
struct PluginLibrary {
  static PluginLibrary& Get();
  EntryProc vstPluginMain = nullptr;
  EntryProc main = nullptr;
  std::string error;
};

// What the plug-in asked of the host.
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

// One effect instance, closed when the object goes.
class Plugin {
 public:
  Plugin();  // asserts through gtest that creation worked
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  AEffect* effect() const { return e; }
  VstIntPtr Dispatch(VstInt32 op, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  void Set(int index, float x) { e->setParameter(e, index, x); }
  float Get(int index) { return e->getParameter(e, index); }
  std::string Display(int index);
  std::string Label(int index);
  std::string Name(int index);
  std::string ProgramName();
  // Host sequence helpers.
  void Start(float rate, int block);  // open, rate, block size, resume
  // Processes `in` (two channels, equal length) in blocks of `block` frames.
  std::vector<float> Run(const std::vector<float>& inL, const std::vector<float>& inR, int block);

 private:
  AEffect* e = nullptr;
};

// Test signal: a few decaying noise bursts and a sine, deterministic.
void MakeSignal(std::vector<float>& l, std::vector<float>& r, int frames, unsigned seed = 1);
