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
#include "tests/support/module.h"
#include "tests/support/vst2/quiet_host.h"

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : SORAVEL_PLUGIN_PATH;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  std::vector<double> ms;
  bool unloaded = true;
  for (int i = 0; i < runs; ++i) {
    TModule lib;
    const auto t0 = std::chrono::steady_clock::now();
    if (!lib.Load(path)) {
      std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), lib.Error().c_str());
      return 1;
    }
    const auto entry = lib.Symbol<AEffect* (*)(audioMasterCallback)>("VSTPluginMain");
    AEffect* e = entry ? entry(QuietHost) : nullptr;
    const auto t1 = std::chrono::steady_clock::now();
    if (!e || e->magic != kEffectMagic) {
      std::fprintf(stderr, "no effect record from %s\n", path.c_str());
      return 1;
    }
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
    lib.Unload();
    if (TModule::InProcess(path)) unloaded = false;
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
