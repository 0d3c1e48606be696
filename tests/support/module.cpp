#include "tests/support/module.h"

#include "tests/support/native_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#ifdef _WIN32
bool TModule::Load(const std::string& path) {
  Unload();
  const std::string native = NativePath(path);
  handle = reinterpret_cast<void*>(LoadLibraryA(native.c_str()));
  error = handle ? "" : "LoadLibraryA failed for " + native;
  return handle != nullptr;
}

void TModule::Unload() {
  if (handle) FreeLibrary(reinterpret_cast<HMODULE>(handle));
  handle = nullptr;
}

bool TModule::InProcess(const std::string& path) {
  return GetModuleHandleA(NativePath(path).c_str()) != nullptr;
}

void* TModule::Address(const char* name) const {
  if (!handle) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle), name));
}
#else
bool TModule::Load(const std::string& path) {
  Unload();
  handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  const char* why = handle ? nullptr : dlerror();
  error = why ? why : "";
  return handle != nullptr;
}

void TModule::Unload() {
  if (handle) dlclose(handle);
  handle = nullptr;
}

bool TModule::InProcess(const std::string& path) {
  void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (h) dlclose(h);
  return h != nullptr;
}

void* TModule::Address(const char* name) const { return handle ? dlsym(handle, name) : nullptr; }
#endif
