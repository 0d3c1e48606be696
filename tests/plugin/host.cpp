#include "tests/plugin/host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/support/module.h"

PluginLibrary& PluginLibrary::Get() {
  static PluginLibrary lib = [] {
    static TModule& module = *new TModule;  // never unloaded: instances may outlive the tests
    PluginLibrary l;
    if (!module.Load(SORAVEL_PLUGIN_PATH)) {
      l.error = module.Error();
      return l;
    }
    l.vstPluginMain = module.Symbol<EntryProc>("VSTPluginMain");
    l.main = module.Symbol<EntryProc>("main");
    if (!l.vstPluginMain) l.error = std::string("no VSTPluginMain in ") + SORAVEL_PLUGIN_PATH;
    return l;
  }();
  return lib;
}

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

Plugin::Plugin() {
  const PluginLibrary& lib = PluginLibrary::Get();
  EXPECT_TRUE(lib.error.empty()) << lib.error;
  if (lib.vstPluginMain) e = lib.vstPluginMain(HostCallback);
  if (!e) {
    ADD_FAILURE() << "no effect record";
    std::abort();  // every later line would dereference it
  }
}

Plugin::~Plugin() {
  if (e) e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
}

VstIntPtr Plugin::Dispatch(VstInt32 op, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return e->dispatcher(e, op, index, value, ptr, opt);
}

namespace {
std::string Text(Plugin& p, VstInt32 op, int index) {
  char buf[256];
  std::memset(buf, 'X', sizeof buf);
  buf[sizeof buf - 1] = '\0';
  p.Dispatch(op, index, 0, buf);
  return buf;
}
}  // namespace

std::string Plugin::Display(int index) { return Text(*this, effGetParamDisplay, index); }
std::string Plugin::Label(int index) { return Text(*this, effGetParamLabel, index); }
std::string Plugin::Name(int index) { return Text(*this, effGetParamName, index); }
std::string Plugin::ProgramName() { return Text(*this, effGetProgramName, 0); }

void Plugin::Start(float rate, int block) {
  Dispatch(effOpen);
  Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  Dispatch(effSetBlockSize, 0, block);
  Dispatch(effMainsChanged, 0, 1);
}

std::vector<float> Plugin::Run(const std::vector<float>& inL, const std::vector<float>& inR,
                               int block) {
  const int frames = static_cast<int>(inL.size());
  std::vector<float> out(2 * static_cast<size_t>(frames));
  std::vector<float> bl(block), br(block), ol(block), orr(block);
  for (int pos = 0; pos < frames; pos += block) {
    const int n = std::min(block, frames - pos);
    std::copy_n(inL.begin() + pos, n, bl.begin());
    std::copy_n(inR.begin() + pos, n, br.begin());
    float* in[2] = {bl.data(), br.data()};
    float* outp[2] = {ol.data(), orr.data()};
    e->processReplacing(e, in, outp, n);
    for (int i = 0; i < n; ++i) {
      out[2 * (pos + i)] = ol[i];
      out[2 * (pos + i) + 1] = orr[i];
    }
  }
  return out;
}

void MakeSignal(std::vector<float>& l, std::vector<float>& r, int frames, unsigned seed) {
  l.assign(frames, 0.0f);
  r.assign(frames, 0.0f);
  unsigned s = seed * 2654435761u + 12345u;
  const auto noise = [&s] {
    s = s * 1664525u + 1013904223u;
    return static_cast<float>(static_cast<int>(s >> 8) - (1 << 23)) / static_cast<float>(1 << 23);
  };
  for (int i = 0; i < frames; ++i) {
    const int t = i % 11025;
    const float env = t < 2000 ? std::exp(-static_cast<float>(t) / 300.0f) : 0.0f;
    const float tone = 0.25f * std::sin(0.0313f * static_cast<float>(i));
    l[i] = env * noise() * 0.8f + tone;
    r[i] = env * noise() * 0.6f - 0.5f * tone;
  }
}
