// Soravel.lv2's DSP library: the engine behind LV2's plug-in descriptor.
//
// A control port's value reaches the engine like a VST 2.x parameter change,
// at the start of the next run and only when it changed; run never allocates,
// locks or waits. The engine limits what it is given and ignores NaN.
#include <cmath>
#include <cstring>
#include <new>

#include "engine/reverb.h"
#include "formats/lv2/lv2.h"
#include "formats/lv2/ports.h"
#include "soravel_product.h"

namespace {

struct TLv2Reverb {
  TReverb reverb;
  const float* control[kNumParams] = {};
  // The port values the engine has; NaN until a port has been read.
  float applied[kNumParams];
  const float* in[2] = {};
  float* out[2] = {};
  float* meter[4] = {};
};

LV2_Handle Instantiate(const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const*) {
  // A rate the engine refuses (not in 1 kHz..1 MHz) refuses the instance.
  if (!(rate >= TReverb::kMinSampleRate && rate <= TReverb::kMaxSampleRate)) return nullptr;
  auto* p = new (std::nothrow) TLv2Reverb;
  if (!p) return nullptr;
  if (!p->reverb.SetSampleRate(static_cast<float>(rate)) || p->reverb.BlockSize() == 0) {
    delete p;
    return nullptr;
  }
  for (float& a : p->applied) a = NAN;
  return p;
}

void ConnectPort(LV2_Handle h, uint32_t port, void* data) {
  auto* p = static_cast<TLv2Reverb*>(h);
  if (port < kPortAudioIn) p->control[port - kPortControl] = static_cast<const float*>(data);
  else if (port < kPortAudioOut) p->in[port - kPortAudioIn] = static_cast<const float*>(data);
  else if (port < kPortMeter) p->out[port - kPortAudioOut] = static_cast<float*>(data);
  else if (port < kNumPorts) p->meter[port - kPortMeter] = static_cast<float*>(data);
}

void Activate(LV2_Handle h) { static_cast<TLv2Reverb*>(h)->reverb.Reset(); }

void Run(LV2_Handle h, uint32_t frames) {
  auto* p = static_cast<TLv2Reverb*>(h);
  for (int i = 0; i < kNumParams; ++i) {
    if (!p->control[i]) continue;
    const float v = *p->control[i];
    if (std::isnan(v) || v == p->applied[i]) continue;
    p->applied[i] = v;
    p->reverb.SetParameter(i, PhysicalValue(i, v));
  }
  if (p->in[0] && p->in[1] && p->out[0] && p->out[1]) {
    // The engine takes int counts; a longer run goes in pieces.
    uint32_t done = 0;
    while (done < frames) {
      const uint32_t n = frames - done < (1u << 30) ? frames - done : (1u << 30);
      const float* in[2] = {p->in[0] + done, p->in[1] + done};
      float* out[2] = {p->out[0] + done, p->out[1] + done};
      p->reverb.Process(in, out, static_cast<int>(n));
      done += n;
    }
  }
  for (int i = 0; i < 4; ++i)
    if (p->meter[i]) *p->meter[i] = p->reverb.Meter(i);
}

void Deactivate(LV2_Handle) {}

void Cleanup(LV2_Handle h) { delete static_cast<TLv2Reverb*>(h); }

const void* ExtensionData(const char*) { return nullptr; }

const LV2_Descriptor kDescriptor = {SORAVEL_LV2_URI, Instantiate, ConnectPort, Activate,
                                    Run,             Deactivate,  Cleanup,     ExtensionData};

}  // namespace

extern "C" __attribute__((visibility("default"))) const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
