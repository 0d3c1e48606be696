#pragma once
// A small VST 3 host of our own: loads the built Soravel.vst3 module as hosts do
// (the platform's loader, the module entry, GetPluginFactory), makes the processor
// and its controller, connects them, and offers the host's objects a plug-in
// calls: a byte stream, parameter change queues, a component handler that records
// what it is told, and a run loop with timers and descriptor watches (Linux).
//
// Every host object counts its references; a test checks that the plug-in gave
// back each one it took (Balanced()).
#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "formats/vst3/vst3_editing.h"
#include "formats/vst3/vst3_view.h"

namespace vst3test {

using namespace vst3;

// The module, loaded once per test process and never unloaded (instances may
// outlive a test that failed).
struct TLoadedModule {
  static TLoadedModule& Get();
  IPluginFactory* factory = nullptr;
  std::string error;
};
IPluginFactory* Factory();
// The class ID of class `index` of the factory.
TUID ClassId(int32 index);

// A host object: created on the test's stack with one reference of its own.
template <class... I>
class THostObject : public I... {
 public:
  uint32 addRef() override { return ++refs; }
  uint32 release() override { return --refs; }
  int Refs() const { return refs; }
  bool Balanced() const { return refs == 1; }

 protected:
  std::atomic<int> refs{1};
};

// Answers queryInterface for the listed interfaces of a host object (FUnknown: the first).
template <class First, class... I, class Self>
tresult HostQuery(Self* self, const char* iid, void** obj) {
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (SameUid(iid, FUnknown::iid) || SameUid(iid, First::iid)) *obj = static_cast<First*>(self);
  ((*obj == nullptr && SameUid(iid, I::iid) ? (*obj = static_cast<I*>(self)) : nullptr), ...);
  if (!*obj) return kNoInterface;
  self->addRef();
  return kResultOk;
}

// A memory stream. `step` limits the bytes one read or write moves (0: no limit).
class TStream final : public THostObject<IBStream> {
 public:
  TStream() = default;
  explicit TStream(std::vector<unsigned char> b) : bytes(std::move(b)) {}
  tresult queryInterface(const char* iid, void** obj) override { return HostQuery<IBStream>(this, iid, obj); }
  tresult read(void* buffer, int32 n, int32* done) override;
  tresult write(void* buffer, int32 n, int32* done) override;
  tresult seek(int64 pos, int32 mode, int64* result) override;
  tresult tell(int64* pos) override;

  std::vector<unsigned char> bytes;
  size_t at = 0;
  int32 step = 0;
};

// One parameter's queue; points as (offset, value).
class TQueue final : public THostObject<IParamValueQueue> {
 public:
  explicit TQueue(ParamID i) : id(i) {}
  tresult queryInterface(const char* iid, void** obj) override {
    return HostQuery<IParamValueQueue>(this, iid, obj);
  }
  ParamID getParameterId() override { return id; }
  int32 getPointCount() override { return static_cast<int32>(points.size()); }
  tresult getPoint(int32 index, int32& offset, ParamValue& value) override;
  tresult addPoint(int32 offset, ParamValue value, int32& index) override;

  ParamID id;
  std::vector<std::pair<int32, ParamValue>> points;
};

class TChanges final : public THostObject<IParameterChanges> {
 public:
  tresult queryInterface(const char* iid, void** obj) override {
    return HostQuery<IParameterChanges>(this, iid, obj);
  }
  int32 getParameterCount() override { return static_cast<int32>(queues.size()); }
  IParamValueQueue* getParameterData(int32 index) override;
  IParamValueQueue* addParameterData(const ParamID& id, int32& index) override;

  // The test's side: a point for `id`, its queue made when needed.
  void Add(ParamID id, int32 offset, ParamValue value);
  const TQueue* Find(ParamID id) const;
  std::deque<TQueue> queues;  // addresses stay put
};

// Records the edits and restarts the plug-in sends, as "begin 9", "perform 9 0.5",
// "end 9", "restart 4".
class THandler final : public THostObject<IComponentHandler> {
 public:
  tresult queryInterface(const char* iid, void** obj) override {
    return HostQuery<IComponentHandler>(this, iid, obj);
  }
  tresult beginEdit(ParamID id) override;
  tresult performEdit(ParamID id, ParamValue value) override;
  tresult endEdit(ParamID id) override;
  tresult restartComponent(int32 flags) override;
  std::vector<std::string> log;
  std::vector<std::pair<ParamID, ParamValue>> performed;
};

// The host's run loop (Linux): timers and descriptor watches, run by the test on
// its own thread as a host's GUI thread runs them. Also the host context.
class TRunLoop : public THostObject<IRunLoop> {
 public:
  tresult queryInterface(const char* iid, void** obj) override { return HostQuery<IRunLoop>(this, iid, obj); }
  tresult registerEventHandler(IEventHandler* handler, int fd) override;
  tresult unregisterEventHandler(IEventHandler* handler) override;
  tresult registerTimer(ITimerHandler* handler, uint64 milliseconds) override;
  tresult unregisterTimer(ITimerHandler* handler) override;

  // Runs the loop for about `ms` milliseconds (0: one round), or until done().
  template <class F>
  bool RunUntil(F&& done, int ms = 10000);
  void RunFor(int ms) {
    RunUntil([] { return false; }, ms);
  }
  size_t Registered() const { return watches.size() + timers.size(); }

 protected:
  void RunOnce(int waitMs);
  struct Watch {
    IEventHandler* handler;
    int fd;
  };
  struct Timer {
    ITimerHandler* handler;
    uint64 period, due;
  };
  std::vector<Watch> watches;
  std::vector<Timer> timers;
};

// A context without a run loop (as Ardour's): a plain host object.
class TPlainContext final : public THostObject<FUnknown> {
 public:
  tresult queryInterface(const char* iid, void** obj) override {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (!SameUid(iid, FUnknown::iid)) return kNoInterface;
    *obj = static_cast<FUnknown*>(this);
    addRef();
    return kResultOk;
  }
};

// The view's frame: records the sizes asked for and answers them (or refuses),
// calling onSize first as hosts do. Offers the run loop.
class TFrame final : public THostObject<IPlugFrame, IRunLoop> {
 public:
  tresult queryInterface(const char* iid, void** obj) override {
    return HostQuery<IPlugFrame, IRunLoop>(this, iid, obj);
  }
  tresult resizeView(IPlugView* view, ViewRect* size) override;
  tresult registerEventHandler(IEventHandler* h, int fd) override { return loop.registerEventHandler(h, fd); }
  tresult unregisterEventHandler(IEventHandler* h) override { return loop.unregisterEventHandler(h); }
  tresult registerTimer(ITimerHandler* h, uint64 ms) override { return loop.registerTimer(h, ms); }
  tresult unregisterTimer(ITimerHandler* h) override { return loop.unregisterTimer(h); }

  TRunLoop loop;
  bool refuse = false;
  std::vector<std::pair<int, int>> asked;
};

// A processor and its controller as a host makes them: both initialized with the
// context, connected, the controller given the handler and the component's state.
// Torn down (disconnected, terminated, released) when the object goes.
class TPlugin {
 public:
  explicit TPlugin(FUnknown* context = nullptr, IComponentHandler* handler = nullptr);
  ~TPlugin();
  TPlugin(const TPlugin&) = delete;
  TPlugin& operator=(const TPlugin&) = delete;

  bool Ok() const { return component && processor && controller; }
  // setupProcessing, setActive(true), setProcessing(true).
  bool Start(double rate = 44100.0, int32 maxBlock = 512);
  void Stop();
  // One process call over stereo buffers (in may equal out).
  tresult Process(const float* inL, const float* inR, float* outL, float* outR, int32 frames,
                  TChanges* in = nullptr, TChanges* out = nullptr);
  // Runs `in` (interleaved stereo) in blocks; changes (if any) go with the first block.
  std::vector<float> Run(const std::vector<float>& in, int32 block, TChanges* first = nullptr);
  std::vector<unsigned char> State();

  IComponent* component = nullptr;
  IAudioProcessor* processor = nullptr;
  IEditController* controller = nullptr;

 private:
  IConnectionPoint* componentPoint = nullptr;
  IConnectionPoint* controllerPoint = nullptr;
  bool started = false;
};

// A parameter's default as a normalised value (the model's).
double DefaultNormalized(int index);

// Interleaved stereo test signal: a second of silence, then noise bursts and a tone.
std::vector<float> TestSignal(int frames, int rate = 44100);

// The largest difference of two interleaved renders from frame `from` on.
float LargestDifference(const std::vector<float>& a, const std::vector<float>& b, size_t from = 0);

template <class F>
bool TRunLoop::RunUntil(F&& done, int ms) {
  for (int waited = 0;; waited += 5) {
    RunOnce(5);
    if (done()) return true;
    if (waited >= ms) return false;
  }
}

}  // namespace vst3test
