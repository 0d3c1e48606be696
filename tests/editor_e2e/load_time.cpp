// How long a host waits when it scans Soravel: from loading the library to the first
// answer of VSTPluginMain (the effect record), then effClose and unloading. Prints the
// median, minimum and maximum of N loads in this one process.
// Usage: soravel_load_time [PATH [N]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "plugin/vst2.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

using EntryProc = AEffect* (*)(audioMasterCallback);

VstIntPtr Callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == 1 ? kVstVersion : 0;  // audioMasterVersion
}

struct Library {
#ifdef _WIN32
  HMODULE h = nullptr;
  bool Load(const std::string& path) { return (h = LoadLibraryA(path.c_str())) != nullptr; }
  EntryProc Entry() {
    return reinterpret_cast<EntryProc>(reinterpret_cast<void*>(GetProcAddress(h, "VSTPluginMain")));
  }
  void Unload() { FreeLibrary(h); }
  static bool StillLoaded(const std::string& path) {
    return GetModuleHandleA(path.c_str()) != nullptr;
  }
#else
  void* h = nullptr;
  bool Load(const std::string& path) { return (h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)); }
  EntryProc Entry() { return reinterpret_cast<EntryProc>(dlsym(h, "VSTPluginMain")); }
  void Unload() { dlclose(h); }
  static bool StillLoaded(const std::string& path) {
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (h) dlclose(h);
    return h != nullptr;
  }
#endif
};

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : SORAVEL_PLUGIN_PATH;
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') path = "Z:" + path;  // Wine's view of the Unix tree
  for (char& c : path)
    if (c == '/') c = '\\';
#endif
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  std::vector<double> ms;
  bool unloaded = true;
  for (int i = 0; i < runs; ++i) {
    Library lib;
    const auto t0 = std::chrono::steady_clock::now();
    if (!lib.Load(path)) {
      std::fprintf(stderr, "cannot load %s\n", path.c_str());
      return 1;
    }
    EntryProc entry = lib.Entry();
    AEffect* e = entry ? entry(Callback) : nullptr;
    const auto t1 = std::chrono::steady_clock::now();
    if (!e || e->magic != kEffectMagic) {
      std::fprintf(stderr, "no effect record from %s\n", path.c_str());
      return 1;
    }
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
    lib.Unload();
    if (Library::StillLoaded(path)) unloaded = false;
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  std::vector<double> sorted = ms;
  std::sort(sorted.begin(), sorted.end());
  const double median = runs % 2 ? sorted[runs / 2] : (sorted[runs / 2 - 1] + sorted[runs / 2]) / 2;
  std::printf("load to first VSTPluginMain answer, %d runs: median %.2f ms, min %.2f ms, max %.2f ms%s\n",
              runs, median, sorted.front(), sorted.back(),
              unloaded ? "" : " (the library stayed loaded between runs: warm figures)");
  return 0;
}
