#pragma once
// A periodic call on the host's GUI thread, never a thread of our own.
//
// Linux: hosts run no event loop for a plug-in; they offer theirs (IRunLoop, on the
// frame of a view and often on the host context). The tick is a timer of that run
// loop and, when given a file descriptor (the X connection's), also a handler called
// whenever it is readable. Windows: the host's GUI thread pumps messages, and the
// tick is a thread timer of the window system.
//
// The host may keep its references to our handler after we unregister it: the
// handler is detached first and then calls nothing.
#include <cstdint>

#include "formats/vst3/vst3_view.h"

namespace vst3 {

class TGuiTick {
 public:
  using Callback = void (*)(void* owner);
  TGuiTick(Callback fire, void* owner) : fire(fire), owner(owner) {}
  ~TGuiTick() { Stop(); }
  TGuiTick(const TGuiTick&) = delete;
  TGuiTick& operator=(const TGuiTick&) = delete;

  // `host` offers the run loop (Linux; ignored on Windows). False when there is no
  // way to be called: no run loop offered, or the host or window system refused.
  bool Start(FUnknown* host, uint32_t periodMs, int fd = -1);
  void Stop();
  bool Running() const { return running; }

 private:
  Callback fire;
  void* owner;
  bool running = false;
  void* impl = nullptr;  // the platform's timer or run loop registration
};

}  // namespace vst3
