#include "tests/vst3/vst3_host.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "plugin/param.h"
#include "tests/support/module.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <poll.h>
#endif

namespace vst3test {

TLoadedModule& TLoadedModule::Get() {
  static TLoadedModule m = [] {
    static TModule& module = *new TModule;  // never unloaded
    TLoadedModule l;
    if (!module.Load(SORAVEL_VST3_MODULE)) {
      l.error = module.Error();
      return l;
    }
#ifdef _WIN32
    auto entry = module.Symbol<bool (*)()>("InitDll");
    if (!entry || !entry()) l.error = "InitDll failed";
#else
    auto entry = module.Symbol<bool (*)(void*)>("ModuleEntry");
    if (!entry || !entry(nullptr)) l.error = "ModuleEntry failed";
#endif
    auto get = module.Symbol<IPluginFactory* (*)()>("GetPluginFactory");
    l.factory = get ? get() : nullptr;
    if (!l.factory) l.error += " no factory";
    return l;
  }();
  return m;
}

IPluginFactory* Factory() { return TLoadedModule::Get().factory; }

TUID ClassId(int32 index) {
  PClassInfo info{};
  TUID id{};
  if (Factory() && Factory()->getClassInfo(index, &info) == kResultOk) std::memcpy(id.bytes, info.cid, 16);
  return id;
}

// The stream.
tresult TStream::read(void* buffer, int32 n, int32* done) {
  if (n < 0 || !buffer) return kInvalidArgument;
  size_t count = std::min(static_cast<size_t>(n), bytes.size() - std::min(at, bytes.size()));
  if (step > 0) count = std::min(count, static_cast<size_t>(step));
  if (count > 0) std::memcpy(buffer, bytes.data() + at, count);
  at += count;
  if (done) *done = static_cast<int32>(count);
  return kResultOk;
}

tresult TStream::write(void* buffer, int32 n, int32* done) {
  if (n < 0 || !buffer) return kInvalidArgument;
  size_t count = static_cast<size_t>(n);
  if (step > 0) count = std::min(count, static_cast<size_t>(step));
  if (bytes.size() < at + count) bytes.resize(at + count);
  std::memcpy(bytes.data() + at, buffer, count);
  at += count;
  if (done) *done = static_cast<int32>(count);
  return kResultOk;
}

tresult TStream::seek(int64 pos, int32 mode, int64* result) {
  const int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? static_cast<int64>(at)
                                                                 : static_cast<int64>(bytes.size());
  if (base + pos < 0) return kInvalidArgument;
  at = static_cast<size_t>(base + pos);
  if (result) *result = static_cast<int64>(at);
  return kResultOk;
}

tresult TStream::tell(int64* pos) {
  if (!pos) return kInvalidArgument;
  *pos = static_cast<int64>(at);
  return kResultOk;
}

// Queues.
tresult TQueue::getPoint(int32 index, int32& offset, ParamValue& value) {
  if (index < 0 || index >= getPointCount()) return kInvalidArgument;
  offset = points[index].first;
  value = points[index].second;
  return kResultOk;
}

tresult TQueue::addPoint(int32 offset, ParamValue value, int32& index) {
  index = getPointCount();
  points.emplace_back(offset, value);
  return kResultOk;
}

IParamValueQueue* TChanges::getParameterData(int32 index) {
  return index >= 0 && index < getParameterCount() ? &queues[index] : nullptr;
}

IParamValueQueue* TChanges::addParameterData(const ParamID& id, int32& index) {
  for (size_t i = 0; i < queues.size(); ++i)
    if (queues[i].id == id) {
      index = static_cast<int32>(i);
      return &queues[i];
    }
  index = getParameterCount();
  queues.emplace_back(id);
  return &queues.back();
}

void TChanges::Add(ParamID id, int32 offset, ParamValue value) {
  int32 index = 0, point = 0;
  if (IParamValueQueue* q = addParameterData(id, index)) q->addPoint(offset, value, point);
}

const TQueue* TChanges::Find(ParamID id) const {
  for (const TQueue& q : queues)
    if (q.id == id) return &q;
  return nullptr;
}

// The handler.
tresult THandler::beginEdit(ParamID id) {
  log.push_back("begin " + std::to_string(id));
  return kResultOk;
}
tresult THandler::performEdit(ParamID id, ParamValue value) {
  performed.emplace_back(id, value);
  log.push_back("perform " + std::to_string(id));
  return kResultOk;
}
tresult THandler::endEdit(ParamID id) {
  log.push_back("end " + std::to_string(id));
  return kResultOk;
}
tresult THandler::restartComponent(int32 flags) {
  log.push_back("restart " + std::to_string(flags));
  return kResultOk;
}

// The run loop.
namespace {
uint64 Now() {
  return static_cast<uint64>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count());
}
}  // namespace

tresult TRunLoop::registerEventHandler(IEventHandler* h, int fd) {
  if (!h || fd < 0) return kInvalidArgument;
  h->addRef();
  watches.push_back({h, fd});
  return kResultOk;
}

tresult TRunLoop::unregisterEventHandler(IEventHandler* h) {
  for (auto it = watches.begin(); it != watches.end(); ++it)
    if (it->handler == h) {
      watches.erase(it);
      h->release();
      return kResultOk;
    }
  return kInvalidArgument;
}

tresult TRunLoop::registerTimer(ITimerHandler* h, uint64 ms) {
  if (!h || ms == 0) return kInvalidArgument;
  h->addRef();
  timers.push_back({h, ms, Now() + ms});
  return kResultOk;
}

tresult TRunLoop::unregisterTimer(ITimerHandler* h) {
  for (auto it = timers.begin(); it != timers.end(); ++it)
    if (it->handler == h) {
      timers.erase(it);
      h->release();
      return kResultOk;
    }
  return kInvalidArgument;
}

void TRunLoop::RunOnce(int waitMs) {
#ifdef _WIN32
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  Sleep(static_cast<DWORD>(waitMs));
#else
  std::vector<pollfd> fds;
  for (const Watch& w : watches) fds.push_back({w.fd, POLLIN, 0});
  if (poll(fds.data(), fds.size(), waitMs) > 0) {
    // Handlers may unregister themselves (or others): call those still there.
    const std::vector<Watch> now = watches;
    for (size_t i = 0; i < fds.size(); ++i)
      if (fds[i].revents & POLLIN)
        for (const Watch& w : watches)
          if (w.handler == now[i].handler) {
            w.handler->onFDIsSet(w.fd);
            break;
          }
  }
#endif
  const uint64 t = Now();
  const std::vector<Timer> due = timers;
  for (const Timer& d : due) {
    if (d.due > t) continue;
    for (Timer& live : timers)
      if (live.handler == d.handler) {
        live.due = t + live.period;
        live.handler->onTimer();
        break;
      }
  }
}

tresult TFrame::resizeView(IPlugView* view, ViewRect* size) {
  if (!view || !size) return kInvalidArgument;
  asked.emplace_back(size->right - size->left, size->bottom - size->top);
  if (refuse) return kResultFalse;
  view->onSize(size);
  return kResultTrue;
}

// A processor and its controller.
TPlugin::TPlugin(FUnknown* context, IComponentHandler* handler) {
  IPluginFactory* f = Factory();
  if (!f) return;
  const TUID processorId = ClassId(0);
  void* obj = nullptr;
  if (f->createInstance(processorId.bytes, IComponent::iid.bytes, &obj) != kResultOk) return;
  component = static_cast<IComponent*>(obj);
  component->initialize(context);
  if (component->queryInterface(IAudioProcessor::iid.bytes, &obj) == kResultOk)
    processor = static_cast<IAudioProcessor*>(obj);
  TUID controllerId{};
  component->getControllerClassId(controllerId.bytes);
  if (f->createInstance(controllerId.bytes, IEditController::iid.bytes, &obj) != kResultOk) return;
  controller = static_cast<IEditController*>(obj);
  controller->initialize(context);
  if (component->queryInterface(IConnectionPoint::iid.bytes, &obj) == kResultOk)
    componentPoint = static_cast<IConnectionPoint*>(obj);
  if (controller->queryInterface(IConnectionPoint::iid.bytes, &obj) == kResultOk)
    controllerPoint = static_cast<IConnectionPoint*>(obj);
  if (componentPoint && controllerPoint) {
    componentPoint->connect(controllerPoint);
    controllerPoint->connect(componentPoint);
  }
  if (handler) controller->setComponentHandler(handler);
  TStream state;
  component->getState(&state);
  state.at = 0;
  controller->setComponentState(&state);
}

TPlugin::~TPlugin() {
  Stop();
  if (componentPoint && controllerPoint) {
    componentPoint->disconnect(controllerPoint);
    controllerPoint->disconnect(componentPoint);
  }
  if (componentPoint) componentPoint->release();
  if (controllerPoint) controllerPoint->release();
  if (controller) {
    controller->setComponentHandler(nullptr);
    controller->terminate();
    controller->release();
  }
  if (processor) processor->release();
  if (component) {
    component->terminate();
    component->release();
  }
}

bool TPlugin::Start(double rate, int32 maxBlock) {
  ProcessSetup setup{0, kSample32, maxBlock, rate};
  if (processor->setupProcessing(setup) != kResultOk) return false;
  component->setActive(true);
  processor->setProcessing(true);
  started = true;
  return true;
}

void TPlugin::Stop() {
  if (!started) return;
  processor->setProcessing(false);
  component->setActive(false);
  started = false;
}

tresult TPlugin::Process(const float* inL, const float* inR, float* outL, float* outR, int32 frames,
                         TChanges* in, TChanges* out) {
  float* ins[2] = {const_cast<float*>(inL), const_cast<float*>(inR)};
  float* outs[2] = {outL, outR};
  AudioBusBuffers input{}, output{};
  input.numChannels = output.numChannels = 2;
  input.channelBuffers32 = ins;
  output.channelBuffers32 = outs;
  ProcessData d{};
  d.symbolicSampleSize = kSample32;
  d.numSamples = frames;
  d.numInputs = d.numOutputs = 1;
  d.inputs = &input;
  d.outputs = &output;
  d.inputParameterChanges = in;
  d.outputParameterChanges = out;
  return processor->process(d);
}

std::vector<float> TPlugin::Run(const std::vector<float>& in, int32 block, TChanges* first) {
  const size_t frames = in.size() / 2;
  std::vector<float> out(in.size());
  std::vector<float> l(block), r(block), ol(block), orr(block);
  for (size_t pos = 0; pos < frames; pos += block) {
    const int32 n = static_cast<int32>(std::min<size_t>(block, frames - pos));
    for (int32 i = 0; i < n; ++i) {
      l[i] = in[2 * (pos + i)];
      r[i] = in[2 * (pos + i) + 1];
    }
    TChanges none;
    Process(l.data(), r.data(), ol.data(), orr.data(), n, pos == 0 && first ? first : &none);
    for (int32 i = 0; i < n; ++i) {
      out[2 * (pos + i)] = ol[i];
      out[2 * (pos + i) + 1] = orr[i];
    }
  }
  return out;
}

std::vector<unsigned char> TPlugin::State() {
  TStream s;
  EXPECT_EQ(component->getState(&s), kResultOk);
  EXPECT_TRUE(s.Balanced());
  return s.bytes;
}

double DefaultNormalized(int index) {
  TParam p;
  p.Init(kParamTable[index]);
  return p.Normalized();
}

std::vector<float> TestSignal(int frames, int rate) {
  std::vector<float> s(2 * static_cast<size_t>(frames), 0.0f);
  uint32_t seed = 12345;
  for (int n = rate; n < frames; ++n) {
    seed = seed * 1664525u + 1013904223u;
    const float noise = static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
    const int t = (n - rate) % 11025;
    const float env = t < 3000 ? 0.5f * std::exp(-static_cast<float>(t) / 600.0f) : 0.0f;
    const float tone = 0.2f * std::sin(0.031f * static_cast<float>(n));
    s[2 * static_cast<size_t>(n)] = env * noise + tone;
    s[2 * static_cast<size_t>(n) + 1] = 0.7f * env * noise - 0.5f * tone;
  }
  return s;
}

float LargestDifference(const std::vector<float>& a, const std::vector<float>& b, size_t from) {
  float worst = a.size() == b.size() ? 0.0f : INFINITY;
  for (size_t i = 2 * from; i < a.size() && i < b.size(); ++i) worst = std::max(worst, std::fabs(a[i] - b[i]));
  return worst;
}

}  // namespace vst3test
