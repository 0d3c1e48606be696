#pragma once
// One effect instance of the built binary (library.h), made with the host callback the
// test chooses and closed when the object goes; effect() is null when none was made.
#include "plugin/vst2.h"

class TEffect {
 public:
  explicit TEffect(audioMasterCallback host);
  ~TEffect() { Close(); }
  TEffect(const TEffect&) = delete;
  TEffect& operator=(const TEffect&) = delete;

  AEffect* effect() const { return e; }
  VstIntPtr Dispatch(VstInt32 op, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return e->dispatcher(e, op, index, value, ptr, opt);
  }
  void Set(int index, float x) { e->setParameter(e, index, x); }
  float Get(int index) { return e->getParameter(e, index); }
  // A host's sequence before audio: open, sample rate, block size, resume.
  void Start(float rate, int block);
  void Close();  // effClose; nothing more is called after it

 protected:
  AEffect* e = nullptr;
};
