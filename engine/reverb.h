#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/cells.h"
#include "engine/early_refl.h"
#include "engine/eq_band.h"
#include "engine/late_network.h"
#include "engine/param_ids.h"

// The reverb engine: stereo in, stereo out, one block at a time.
//
// Threads: SetParameter may run on any thread while Process runs on the audio
// thread. It only stores a target (an atomic) and raises its group's change
// flag; Process takes the raised flags at the start of a block and applies
// them, so a change arriving meanwhile raises its flag again and is applied at
// the next block. SetSampleRate, SetBlockSize and Reset run only while the
// host has processing switched off. Meter may be read from any thread.
//
// Process never allocates, locks, waits or makes a system call.
class TReverb {
 public:
  static constexpr int kDefaultBlockSize = 1024;
  static constexpr int kMaxBlockSize = 1 << 20;
  static constexpr float kMinSampleRate = 1000.0f;
  static constexpr float kMaxSampleRate = 1000000.0f;

  TReverb();
  TReverb(const TReverb&) = delete;
  TReverb& operator=(const TReverb&) = delete;

  // Rebuilds every cell for the rate and returns every setting to its default.
  // A rate that is not a finite number in 1 kHz..1 MHz (or too little memory)
  // leaves the engine as it was and answers false.
  bool SetSampleRate(float rate);
  // Scratch for blocks of up to maxFrames; 1..1<<20, otherwise ignored (false).
  bool SetBlockSize(int maxFrames);
  // Host suspend: silences the reverb (delay memories, filter states) and the meters.
  void Reset();
  // Physical value in the parameter's unit (dB, ms, log10 s, %, factor, Hz).
  // Out-of-range values are limited; NaN and unknown indices are ignored.
  void SetParameter(int index, float value);
  // Any number of frames; longer blocks than the block size run in pieces.
  // Input and output arrays may be the same.
  void Process(const float* const* inputs, float* const* outputs, int frames);

  // Peak levels (linear): 0 input left, 1 input right, 2 output left, 3 output right.
  float Meter(int i) const;

  // The loops' vector forms: AVX where the processor has it (chosen at
  // construction), the SSE2 forms when told it has not; the same samples either
  // way. Only while processing is switched off.
  void UseWideVectors(bool processorHasAvx);
  bool WideVectors() const;

  float SampleRate() const { return sampleRate; }
  int BlockSize() const { return maxFrames; }

  // Read access for tests and tools.
  const TVDelay& Predelay(int side) const { return predelay[side]; }
  const TEarlyRefl& Early(int side) const { return early[side]; }
  const TLateNetwork& Late() const { return late; }
  const TEqBand& Band(int i) const { return band[i]; }
  struct Ramp {
    float cur = 0.0f, inc = 0.0f;
  };
  Ramp DryGain() const { return dry; }
  Ramp ERGain() const { return er; }
  Ramp LateGain() const { return lateGain; }
  Ramp InputGain() const { return in; }

 private:
  enum : uint32_t {
    kChangePredelay = 1,
    kChangeDecay = 2,
    kChangeSize = 4,
    kChangeMix = 8,
    kChangeInput = 16,
    kChangeWidth = 32,
    kChangeEq = 64,
    kChangeAll = 127
  };

  void SetTarget(int index, float value) { target[index].store(value, std::memory_order_relaxed); }
  float Target(int index) const { return target[index].load(std::memory_order_relaxed); }
  void Raise(uint32_t groups) { changes.fetch_or(groups, std::memory_order_release); }

  void Update(int n);
  // The equaliser's settings, when they changed: one look otherwise.
  void ApplyEq() {
    if (changes.load(std::memory_order_relaxed) & kChangeEq) TakeEq();
  }
  void TakeEq();
  [[gnu::always_inline]] void ProcessBlock(const float* inL, const float* inR, float* outL,
                                           float* outR, int n);
  // Frames offset..offset+n of the block; with outL and outR, straight into
  // the output, else into the wet signal.
  void ProcessChunk(const float* inL, const float* inR, float* outL, float* outR, int offset,
                    int n);
  // The input level: the leveled input into l, r and pre (the pre-delays'
  // inputs), and the early lines' inputs from it.
  [[gnu::always_inline]] void FrontEnd(const float* inL, const float* inR, float* l, float* r,
                                       float* const* pre, float* erInL, float* erInR, int n);
  // Early and late signals with their gains, then the stereo width, in a
  // block without ramps: into the wet signal, or with the dry signal added.
  template <bool kWithDry>
  [[gnu::always_inline]] void MixSteady(const float* ll, const float* lr, const float* el,
                                        const float* erR, const float* l, const float* r,
                                        float* outL, float* outR, int n);
  // Output = dry gain x leveled input + wet, for frames offset..offset+n.
  void MixDry(const float* wl, const float* wr, float* outL, float* outR, int offset, int n);

  std::atomic<uint32_t> changes{kChangeAll};
  // Converted settings as set: linear gains, seconds, fraction, Hz, dB.
  std::atomic<float> target[kNumParams];

  float sampleRate = 44100.0f;
  int maxFrames = 0;

  // Applied settings, owned by the audio thread.
  float size = 1.0f;
  Ramp in, dry, er, lateGain, cross, direct, extra;
  bool ramps = false;  // some gain ramps in this block

  TVDelay predelay[2];
  TEarlyRefl early[2];
  TLateNetwork late;
  TEqBand band[2];

  // Leveled input and wet signal of one block.
  std::unique_ptr<float[]> level[2];
  std::unique_ptr<float[]> wet[2];
  // Per-chunk scratch.
  alignas(16) float pd[2][kMaxChunk];
  alignas(16) float erOut[2][kMaxChunk];
  alignas(16) float lateOut[2][kMaxChunk];

  float peak[4] = {};
  std::atomic<float> meter[4];
};
