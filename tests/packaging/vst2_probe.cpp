// The packaging tests' host: loads an installed Soravel binary the way a host
// scans it and prints what it answers, "NAME|VENDOR|PRODUCT|VERSION".
// Usage: soravel_vst2_probe PATH [--hold STOPFILE]
// With --hold it keeps the library loaded until STOPFILE exists, as a running
// host does, so that an installer meets a binary in use.
#include <cstdio>
#include <cstring>
#include <string>

#include "plugin/vst2.h"
#include "tests/support/module.h"
#include "tests/support/vst2/quiet_host.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

using EntryProc = AEffect* (*)(audioMasterCallback);

#ifdef _WIN32
bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }
void Nap() { Sleep(50); }
#else
bool Exists(const char* path) { return access(path, F_OK) == 0; }
void Nap() { usleep(50000); }
#endif

std::string Text(AEffect* e, VstInt32 opcode) {
  char text[256] = {};
  e->dispatcher(e, opcode, 0, 0, text, 0.0f);
  text[sizeof text - 1] = '\0';
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--hold") == 0)) {
    std::fprintf(stderr, "usage: soravel_vst2_probe PATH [--hold STOPFILE]\n");
    return 2;
  }
  TModule module;
  if (!module.Load(argv[1])) std::fprintf(stderr, "%s\n", module.Error().c_str());
  const EntryProc entry = module.Symbol<EntryProc>("VSTPluginMain");
  AEffect* e = entry ? entry(QuietHost) : nullptr;
  if (!e || e->magic != kEffectMagic) {
    std::fprintf(stderr, "no effect record from %s\n", argv[1]);
    return 1;
  }
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  std::printf("%s|%s|%s|%d\n", Text(e, effGetEffectName).c_str(),
              Text(e, effGetVendorString).c_str(), Text(e, effGetProductString).c_str(),
              static_cast<int>(e->dispatcher(e, effGetVendorVersion, 0, 0, nullptr, 0.0f)));
  std::fflush(stdout);
  // A test that forgets its stop file must not leave a host behind for ever.
  for (int i = 0; argc == 4 && !Exists(argv[3]) && i < 20 * 600; ++i) Nap();
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
  return 0;
}
