#include <new>

#include "plugin/vst_plugin.h"

// The one function a host looks up. Exported a second time as "main" for
// older hosts: on Windows by the module definition file, here by an alias.
#ifdef _WIN32
#define SORAVEL_EXPORT
#else
#define SORAVEL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" SORAVEL_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
  if (!audioMaster) return nullptr;
  if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  VstPlugin* plugin = new (std::nothrow) VstPlugin(audioMaster);
  return plugin ? plugin->getAeffect() : nullptr;
}

#ifndef _WIN32
extern "C" SORAVEL_EXPORT AEffect* SoravelMainAlias(audioMasterCallback) __asm__("main")
    __attribute__((alias("VSTPluginMain")));
#endif
