#pragma once

// soravel-render's side of the host interface: loads Soravel.so through
// VSTPluginMain like any host and offers the few calls the tool needs.

#include <string>
#include <vector>

#include "plugin/vst2.h"

class PluginHost {
 public:
  ~PluginHost();
  // Loads the library and creates one instance; false with `error` set.
  bool Load(const std::string& path);
  const std::string& Error() const { return error; }

  int NumPrograms() const { return effect->numPrograms; }
  int NumParams() const { return effect->numParams; }
  std::string ProgramName(int index);
  void SetProgram(int index);
  std::string ParamName(int index);
  std::string ParamDisplay(int index);
  std::string ParamLabel(int index);
  float GetParam(int index) { return effect->getParameter(effect, index); }
  void SetParam(int index, float x) { effect->setParameter(effect, index, x); }

  // Sample rate and block size, then switched on.
  void Start(float rate, int blockSize);
  void Process(float** in, float** out, int frames) {
    effect->processReplacing(effect, in, out, frames);
  }

 private:
  VstIntPtr Dispatch(VstInt32 op, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return effect->dispatcher(effect, op, index, value, ptr, opt);
  }
  std::string Text(VstInt32 op, int index);

  void* library = nullptr;
  AEffect* effect = nullptr;
  std::string error;
};
