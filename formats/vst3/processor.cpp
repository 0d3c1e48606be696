#include "formats/vst3/processor.h"

#include <cmath>
#include <cstring>

#include "formats/vst3/class_ids.h"
#include "formats/vst3/params.h"
#include "formats/vst3/queue_walk.h"
#include "formats/vst3/state.h"
#include "formats/vst3/text16.h"

namespace vst3 {

namespace {
constexpr uint32 kAllParams = (1u << kNumParams) - 1;
}

// The host's stereo buffers of one process call, when it gave usable ones.
struct TProcessor::TBuses {
  explicit TBuses(const ProcessData& d) : wide(d.symbolicSampleSize == kSample64) {
    const auto usable = [this](int32 count, const AudioBusBuffers* b) {
      if (count < 1 || !b || b[0].numChannels < 2) return false;
      return wide ? b[0].channelBuffers64 && b[0].channelBuffers64[0] && b[0].channelBuffers64[1]
                  : b[0].channelBuffers32 && b[0].channelBuffers32[0] && b[0].channelBuffers32[1];
    };
    hasIn = usable(d.numInputs, d.inputs);
    hasOut = usable(d.numOutputs, d.outputs);
    if (hasIn) in = d.inputs;
    if (hasOut) out = d.outputs;
  }
  bool wide;  // 64-bit samples: refused, answered with silence
  bool hasIn = false, hasOut = false;
  const AudioBusBuffers* in = nullptr;
  AudioBusBuffers* out = nullptr;
};

TProcessor::TProcessor() : pending(kAllParams) {
  for (int i = 0; i < kNumParams; ++i) values[i].store(DefaultNormalized(i), std::memory_order_relaxed);
}

tresult TProcessor::queryInterface(const char* iid, void** obj) {
  if (!iid || !obj) return NoInterface(obj);
  if (Answer<FUnknown, IComponent>(iid, obj) || Answer<IPluginBase, IComponent>(iid, obj) ||
      Answer<IComponent>(iid, obj) || Answer<IAudioProcessor>(iid, obj) ||
      Answer<IConnectionPoint>(iid, obj) || Answer<IMeterSource>(iid, obj))
    return kResultOk;
  return NoInterface(obj);
}

tresult TProcessor::initialize(FUnknown*) { return kResultOk; }

tresult TProcessor::terminate() { return kResultOk; }

tresult TProcessor::getControllerClassId(char* classId) {
  if (!classId) return kInvalidArgument;
  std::memcpy(classId, kControllerUid.bytes, sizeof kControllerUid.bytes);
  return kResultOk;
}

tresult TProcessor::setIoMode(IoMode) { return kResultOk; }

int32 TProcessor::getBusCount(MediaType type, BusDirection dir) {
  return type == kAudio && (dir == kInput || dir == kOutput) ? 1 : 0;
}

tresult TProcessor::getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) {
  if (type != kAudio || (dir != kInput && dir != kOutput) || index != 0) return kInvalidArgument;
  std::memset(&bus, 0, sizeof bus);
  bus.mediaType = kAudio;
  bus.direction = dir;
  bus.channelCount = 2;
  ToUtf16(dir == kInput ? "Input" : "Output", bus.name, 128);
  bus.busType = kMain;
  bus.flags = BusInfo::kDefaultActive;
  return kResultOk;
}

tresult TProcessor::getRoutingInfo(RoutingInfo&, RoutingInfo&) { return kNotImplemented; }

tresult TProcessor::activateBus(MediaType type, BusDirection dir, int32 index, TBool) {
  return type == kAudio && (dir == kInput || dir == kOutput) && index == 0 ? kResultOk
                                                                           : kInvalidArgument;
}

tresult TProcessor::setActive(TBool state) {
  if (!state) reverb.Reset();  // as a VST 2.x host's suspend: the tail goes
  active = state != 0;
  return kResultOk;
}

tresult TProcessor::setState(IBStream* stream) {
  TStateRecord record;
  if (!ReadState(stream, record)) return kResultFalse;
  for (int i = 0; i < kNumParams; ++i)
    values[i].store(Kept(i, record.values[i]), std::memory_order_relaxed);
  program.store(static_cast<int32>(record.program), std::memory_order_relaxed);
  pending.fetch_or(kAllParams, std::memory_order_release);
  return kResultOk;
}

tresult TProcessor::getState(IBStream* stream) {
  TStateRecord record;
  record.program = static_cast<uint32_t>(program.load(std::memory_order_relaxed));
  for (int i = 0; i < kNumParams; ++i) record.values[i] = values[i].load(std::memory_order_relaxed);
  return WriteState(stream, record) ? kResultOk : kResultFalse;
}

tresult TProcessor::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                       SpeakerArrangement* outputs, int32 numOuts) {
  // Stereo in, stereo out, or nothing: the buses stay stereo whatever was asked.
  if (numIns != 1 || numOuts != 1 || !inputs || !outputs) return kResultFalse;
  return inputs[0] == kStereo && outputs[0] == kStereo ? kResultTrue : kResultFalse;
}

tresult TProcessor::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) {
  if ((dir != kInput && dir != kOutput) || index != 0) return kInvalidArgument;
  arr = kStereo;
  return kResultOk;
}

tresult TProcessor::canProcessSampleSize(int32 size) {
  return size == kSample32 ? kResultTrue : kResultFalse;
}

tresult TProcessor::setupProcessing(ProcessSetup& setup) {
  // The engine is rebuilt here, which only an inactive component may ask.
  if (active || setup.symbolicSampleSize != kSample32) return kResultFalse;
  const double rate = setup.sampleRate;
  if (!(rate >= TReverb::kMinSampleRate && rate <= TReverb::kMaxSampleRate)) return kResultFalse;
  if (setup.maxSamplesPerBlock < 1 || setup.maxSamplesPerBlock > TReverb::kMaxBlockSize)
    return kResultFalse;
  if (!reverb.SetSampleRate(static_cast<float>(rate)) ||
      !reverb.SetBlockSize(setup.maxSamplesPerBlock))
    return kResultFalse;
  // The rebuild set every engine setting to its default: the values go again.
  pending.fetch_or(kAllParams, std::memory_order_release);
  return kResultOk;
}

tresult TProcessor::setProcessing(TBool state) {
  if (!state) reverb.Reset();
  return kResultOk;
}

uint32 TProcessor::getTailSamples() {
  // A VST 2.x host hears "the host decides" (0); VST 3 has no such answer, and 0
  // would mean no tail at all. Decay Freeze rings for ever: the tail is infinite.
  return kInfiniteTail;
}

void TProcessor::ApplyPending() {
  uint32 bits = pending.exchange(0, std::memory_order_acquire);
  for (int i = 0; bits; ++i, bits >>= 1)
    if (bits & 1u) reverb.SetParameter(i, Physical(i, values[i].load(std::memory_order_relaxed)));
}

void TProcessor::Change(ParamID id, ParamValue x, int32 offset, IParameterChanges* out) {
  if (!ValidNormalized(x)) return;  // as the other formats: out of range and NaN are ignored
  if (IsParameter(id)) {
    const int i = static_cast<int>(id);
    const ParamValue kept = Kept(i, x);
    values[i].store(kept, std::memory_order_relaxed);
    reverb.SetParameter(i, Physical(i, kept));
    return;
  }
  const int k = NormalizedToProgram(x);
  program.store(k, std::memory_order_relaxed);
  for (int i = 0; i < kNumParams; ++i) {
    const ParamValue v = ProgramNormalized(k, i);
    values[i].store(v, std::memory_order_relaxed);
    reverb.SetParameter(i, Physical(i, v));
    int32 queueIndex = 0, pointIndex = 0;
    if (IParamValueQueue* q = out ? out->addParameterData(static_cast<ParamID>(i), queueIndex) : nullptr)
      q->addPoint(offset, v, pointIndex);
  }
}

void TProcessor::Render(const TBuses& b, int32 from, int32 frames) {
  if (frames <= 0 || !b.hasOut) return;
  if (b.wide || !b.hasIn) {
    for (int c = 0; c < 2; ++c) {
      if (b.wide) std::memset(b.out[0].channelBuffers64[c] + from, 0, sizeof(double) * frames);
      else std::memset(b.out[0].channelBuffers32[c] + from, 0, sizeof(float) * frames);
    }
    return;
  }
  const float* in[2] = {b.in[0].channelBuffers32[0] + from, b.in[0].channelBuffers32[1] + from};
  float* out[2] = {b.out[0].channelBuffers32[0] + from, b.out[0].channelBuffers32[1] + from};
  reverb.Process(in, out, frames);
}

tresult TProcessor::process(ProcessData& data) {
  ApplyPending();
  const int32 frames = data.numSamples > 0 ? data.numSamples : 0;
  const TBuses buses(data);
  TQueueWalk walk(data.inputParameterChanges, frames);
  for (int32 at = 0;;) {
    walk.Take(at, [&](ParamID id, ParamValue x) { Change(id, x, at, data.outputParameterChanges); });
    if (at >= frames) break;
    const int32 next = walk.NextOffset();
    Render(buses, at, next - at);
    at = next;
  }
  if (buses.hasOut) data.outputs[0].silenceFlags = 0;
  return buses.wide ? kResultFalse : kResultOk;
}

tresult TProcessor::connect(IConnectionPoint* other) { return other ? kResultOk : kInvalidArgument; }

tresult TProcessor::disconnect(IConnectionPoint*) { return kResultOk; }

tresult TProcessor::notify(IMessage*) { return kResultFalse; }

float TProcessor::meterLevel(int32 i) { return i >= 0 && i < 4 ? reverb.Meter(i) : 0.0f; }

}  // namespace vst3
