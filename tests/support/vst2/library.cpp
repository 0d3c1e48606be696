#include "tests/support/vst2/library.h"

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
