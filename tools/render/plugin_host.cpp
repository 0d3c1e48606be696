#include "tools/render/plugin_host.h"

#include <dlfcn.h>

#include <cstring>

namespace {
VstIntPtr HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  switch (opcode) {
    case audioMasterVersion: return kVstVersion;
    default: return 0;  // an offline renderer has no automation or window to offer
  }
}
}  // namespace

PluginHost::~PluginHost() {
  if (effect) {
    Dispatch(effMainsChanged, 0, 0);
    Dispatch(effClose);
  }
  if (library) dlclose(library);
}

// dlopen here rather than tests/support's TModule: a shipped tool links nothing of tests/.
bool PluginHost::Load(const std::string& path) {
  library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    error = "cannot load the plug-in " + path + ": " + (why ? why : "unknown reason");
    return false;
  }
  using Entry = AEffect* (*)(audioMasterCallback);
  auto entry = reinterpret_cast<Entry>(dlsym(library, "VSTPluginMain"));
  if (!entry) {
    error = path + " has no VSTPluginMain";
    return false;
  }
  effect = entry(HostCallback);
  if (!effect || effect->magic != kEffectMagic) {
    effect = nullptr;
    error = path + " gave no effect instance";
    return false;
  }
  if (effect->numInputs != 2 || effect->numOutputs != 2) {
    error = path + " is not a stereo effect";
    return false;
  }
  Dispatch(effOpen);
  return true;
}

std::string PluginHost::Text(VstInt32 op, int index) {
  char buf[256] = {};
  Dispatch(op, index, 0, buf);
  buf[sizeof buf - 1] = '\0';
  return buf;
}

std::string PluginHost::ProgramName(int index) {
  char buf[256] = {};
  Dispatch(effGetProgramNameIndexed, index, -1, buf);
  buf[sizeof buf - 1] = '\0';
  return buf;
}

void PluginHost::SetProgram(int index) {
  Dispatch(effBeginSetProgram);
  Dispatch(effSetProgram, 0, index);
  Dispatch(effEndSetProgram);
}

std::string PluginHost::ParamName(int index) { return Text(effGetParamName, index); }
std::string PluginHost::ParamDisplay(int index) { return Text(effGetParamDisplay, index); }
std::string PluginHost::ParamLabel(int index) { return Text(effGetParamLabel, index); }

void PluginHost::Start(float rate, int blockSize) {
  Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  Dispatch(effSetBlockSize, 0, blockSize);
  Dispatch(effMainsChanged, 0, 1);
}
