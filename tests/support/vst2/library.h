#pragma once
// The built VST 2.x plug-in binary (SORAVEL_PLUGIN_PATH), loaded once per test process
// as a host loads it, and its entry points.
#include <string>

#include "plugin/vst2.h"

using EntryProc = AEffect* (*)(audioMasterCallback);

struct PluginLibrary {
  static PluginLibrary& Get();
  EntryProc vstPluginMain = nullptr;
  EntryProc main = nullptr;
  std::string error;  // why the binary or its VSTPluginMain is missing; empty when loaded
};
