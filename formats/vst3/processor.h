#pragma once
// Soravel.vst3's audio effect: the component and its audio processor, one stereo
// main bus in and one out, the engine behind them.
//
// Threads. The host's GUI thread sets up, activates and sets and gets the state;
// its audio thread processes. Only the audio thread hands values to the engine:
// a state the host sets stores the normalised values (atomics) and raises their
// bits, and the next process call takes the raised bits at its start. Parameter
// changes arrive in the process call as queues with sample offsets: the block is
// split at each point, the value set there, and the engine's own rule applies to
// each piece (gains ramp across the piece, delays and filters switch at its first
// sample). Between two points of a queue the value is the earlier point's; the
// last point of a queue holds until the next change. process never allocates,
// locks or makes a system call.
//
// A program change (the program change parameter) sets the factory program's 18
// values at its offset and reports them back to the host as output parameter
// changes at the same offset, so that a host learns them whether or not the
// controller told it (see controller.h).
#include <atomic>

#include "engine/reverb.h"
#include "formats/vst3/com_object.h"
#include "formats/vst3/meter_source.h"
#include "formats/vst3/vst3_editing.h"

namespace vst3 {

class TProcessor final
    : public TObject<TProcessor, IComponent, IAudioProcessor, IConnectionPoint, IMeterSource> {
 public:
  TProcessor();

  tresult queryInterface(const char* iid, void** obj) override;

  tresult initialize(FUnknown* context) override;
  tresult terminate() override;

  tresult getControllerClassId(char* classId) override;
  tresult setIoMode(IoMode mode) override;
  int32 getBusCount(MediaType type, BusDirection dir) override;
  tresult getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) override;
  tresult getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) override;
  tresult activateBus(MediaType type, BusDirection dir, int32 index, TBool state) override;
  tresult setActive(TBool state) override;
  tresult setState(IBStream* state) override;
  tresult getState(IBStream* state) override;

  tresult setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                             int32 numOuts) override;
  tresult getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) override;
  tresult canProcessSampleSize(int32 symbolicSampleSize) override;
  uint32 getLatencySamples() override { return 0; }
  tresult setupProcessing(ProcessSetup& setup) override;
  tresult setProcessing(TBool state) override;
  tresult process(ProcessData& data) override;
  uint32 getTailSamples() override;

  tresult connect(IConnectionPoint* other) override;
  tresult disconnect(IConnectionPoint* other) override;
  tresult notify(IMessage* message) override;

  float meterLevel(int32 i) override;

 private:
  struct TBuses;
  void ApplyPending();
  void Change(ParamID id, ParamValue x, int32 offset, IParameterChanges* out);
  void Render(const TBuses& buses, int32 from, int32 frames);

  TReverb reverb;
  std::atomic<ParamValue> values[kNumParams];
  std::atomic<int32> program{0};
  // Values the engine has yet to get (bit i: parameter i), taken by the audio thread.
  std::atomic<uint32> pending;
  bool active = false;  // GUI thread
  static_assert(kNumParams <= 32, "one bit per parameter");
};

}  // namespace vst3
