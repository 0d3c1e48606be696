#pragma once
// A plug-in binary loaded as hosts load one: LoadLibrary on Windows (a Unix path,
// as the build tree names it, is taken on Wine's drive Z:), dlopen elsewhere.
// The library stays loaded until the object goes.
// soravel-render keeps its own dlopen (tools/render/): a shipped tool links nothing of tests/.
#include <string>

class TModule {
 public:
  TModule() = default;
  explicit TModule(const std::string& path) { Load(path); }
  ~TModule() { Unload(); }
  TModule(const TModule&) = delete;
  TModule& operator=(const TModule&) = delete;

  // False, with the reason in Error(), when the library cannot be loaded.
  bool Load(const std::string& path);
  void Unload();
  bool Loaded() const { return handle != nullptr; }
  // Whether the library at `path` is in the process now, loaded by anyone; loads nothing.
  static bool InProcess(const std::string& path);
  const std::string& Error() const { return error; }

  // The exported function `name` as a pointer of type F; null when absent.
  template <class F>
  F Symbol(const char* name) const {
    return reinterpret_cast<F>(Address(name));
  }

 private:
  void* Address(const char* name) const;
  void* handle = nullptr;
  std::string error;
};
