#include "formats/vst3/gui_tick.h"

#ifdef _WIN32
#include "gui/base.h"
#include "gui/timer.h"
#else
#include "formats/vst3/com_object.h"
#endif

namespace vst3 {

#ifdef _WIN32

namespace {

// The window system's thread timer, and what it calls.
class TTickListener : public CBaseObject {
 public:
  TTickListener(TGuiTick::Callback f, void* o, uint32_t periodMs)
      : fire(f), owner(o), timer(this, static_cast<int32_t>(periodMs)) {}
  CMessageResult notify(CBaseObject*, const char* message) override {
    if (message != kMsgTimerFired) return kMessageUnknown;
    fire(owner);
    return kMessageNotified;
  }
  TGuiTick::Callback fire;
  void* owner;
  CGuiTimer timer;
};

}  // namespace

bool TGuiTick::Start(FUnknown*, uint32_t periodMs, int) {
  Stop();
  auto* l = new TTickListener(fire, owner, periodMs);
  if (!l->timer.start()) {
    l->release();
    return false;
  }
  impl = l;
  running = true;
  return true;
}

void TGuiTick::Stop() {
  auto* l = static_cast<TTickListener*>(impl);
  impl = nullptr;
  running = false;
  if (!l) return;
  l->timer.stop();
  l->release();
}

#else

namespace {

// Our handler in the host's run loop: a timer and, when asked, a descriptor watch.
class TRunLoopHandler final : public TObject<TRunLoopHandler, IEventHandler, ITimerHandler> {
 public:
  TRunLoopHandler(TGuiTick::Callback f, void* o) : fire(f), owner(o) {}
  tresult queryInterface(const char* iid, void** obj) override {
    if (!iid || !obj) return NoInterface(obj);
    if (Answer<FUnknown, ITimerHandler>(iid, obj) || Answer<IEventHandler>(iid, obj) ||
        Answer<ITimerHandler>(iid, obj))
      return kResultOk;
    return NoInterface(obj);
  }
  void onFDIsSet(int) override { Fire(); }
  void onTimer() override { Fire(); }
  void Detach() { owner = nullptr; }

 private:
  void Fire() {
    if (owner) fire(owner);
  }
  TGuiTick::Callback fire;
  void* owner;
};

struct TRegistration {
  TRef<IRunLoop> loop;
  TRunLoopHandler* handler = nullptr;
  bool watching = false;
};

}  // namespace

bool TGuiTick::Start(FUnknown* host, uint32_t periodMs, int fd) {
  Stop();
  auto* r = new TRegistration;
  r->loop.Query(host);
  if (!r->loop) {
    delete r;
    return false;
  }
  r->handler = new TRunLoopHandler(fire, owner);
  if (r->loop->registerTimer(r->handler, periodMs) != kResultOk) {
    r->handler->release();
    delete r;
    return false;
  }
  // Without the descriptor the timer alone reads the events, a little later.
  if (fd >= 0) r->watching = r->loop->registerEventHandler(r->handler, fd) == kResultOk;
  impl = r;
  running = true;
  return true;
}

void TGuiTick::Stop() {
  auto* r = static_cast<TRegistration*>(impl);
  impl = nullptr;
  running = false;
  if (!r) return;
  r->handler->Detach();
  if (r->watching) r->loop->unregisterEventHandler(r->handler);
  r->loop->unregisterTimer(r->handler);
  r->handler->release();
  delete r;
}

#endif

}  // namespace vst3
