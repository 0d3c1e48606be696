#include "engine/reverb.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <new>

#include "engine/param_ranges.h"
#include "engine/simd.h"
#include "engine/units.h"

namespace {

float LevelToGain(float db) { return db >= -90.0f ? std::exp(db * 0.115129255f) : 0.0f; }

// Far above any real signal, far below what overflows the network's sums.
constexpr float kInputLimit = 1.0e6f;

// Non-finite input becomes silence, denormal input too, the rest is limited:
// one bad sample must not poison the delay memories for good.
inline float Clean(float x) {
  const float a = std::fabs(x);
  if (!(a < INFINITY) || a < FLT_MIN) return 0.0f;
  return std::clamp(x, -kInputLimit, kInputLimit);
}
inline F4 Clean(F4 x) {
  const F4 a = Abs(x);
  const F4 ok = Less(a, F4::Splat(INFINITY)) & NotLess(a, F4::Splat(FLT_MIN));
  return Min(Max(x, F4::Splat(-kInputLimit)), F4::Splat(kInputLimit)) & ok;
}

// The smallest meter whose fall by 0.999 stays a normal number: rounding is
// monotonic, so m * 0.999 >= FLT_MIN exactly when m >= kFallFloor.
constexpr float FallFloor() {
  uint32_t bits = std::bit_cast<uint32_t>(FLT_MIN);
  while (std::bit_cast<float>(bits) * 0.999f < FLT_MIN) ++bits;
  return std::bit_cast<float>(bits);
}
constexpr float kFallFloor = FallFloor();

// Four peak meters, one per lane, each falling by 0.999 per sample and raised
// to each sample's size; a fall that would make a meter denormal makes it 0.
// The four falls run side by side instead of one after another: four samples
// of the four signals a step, then the last few one at a time.
class TPeakRun {
 public:
  TPeakRun(float* meters, int n) : m(meters) {
    // A meter that is not a finite number starts again from 0.
    peak = F4::Load(m);
    peak = peak & Less(peak, F4::Splat(INFINITY));
    farFromDenormals = n <= 8192 && All(NotLess(peak, F4::Splat(1e-30f)));
  }
  void Step(F4 x0, F4 x1, F4 x2, F4 x3) {
    F4 a[4] = {Abs(x0), Abs(x1), Abs(x2), Abs(x3)};
    Transpose(a);  // a[s]: the four signals' sample s
    if (farFromDenormals) {
      // No fall can reach the denormal range within n samples: no test needed.
      for (int s = 0; s < 4; ++s) peak = Max(peak * fall, a[s]);
    } else {
      // The fall's flush decided from the meter before it falls, alongside
      // the multiply rather than after it.
      for (int s = 0; s < 4; ++s) peak = Max(a[s], (peak * fall) & NotLess(peak, floor));
    }
  }
  // Samples from..n of the signals x, one at a time.
  void Finish(const float* const* x, int from, int n) {
    peak.Store(m);
    if (from == n) return;
    for (int k = 0; k < 4; ++k)
      for (int j = from; j < n; ++j) {
        m[k] *= 0.999f;
        if (m[k] < FLT_MIN) m[k] = 0.0f;
        const float a = std::fabs(x[k][j]);
        if (a > m[k]) m[k] = a;
      }
  }

 private:
  float* m;
  F4 peak;
  bool farFromDenormals;
  const F4 fall = F4::Splat(0.999f), floor = F4::Splat(kFallFloor);
};

void TrackPeaks(float* m, const float* const* x, int n) {
  TPeakRun run(m, n);
  int i = 0;
  for (; i + 4 <= n; i += 4)
    run.Step(F4::Load(x[0] + i), F4::Load(x[1] + i), F4::Load(x[2] + i), F4::Load(x[3] + i));
  run.Finish(x, i, n);
}

}  // namespace

TReverb::TReverb() {
  for (auto& m : meter) m.store(0.0f);
  for (int i = 0; i < kNumParams; ++i) target[i].store(0.0f);
  SetTarget(kWide, 0.0f);
  SetTarget(kEqLowFreq, 1000.0f);
  SetTarget(kEqHiFreq, 1000.0f);
  if (!SetBlockSize(kDefaultBlockSize)) maxFrames = 0;
  SetSampleRate(44100.0f);
}

bool TReverb::SetBlockSize(int frames) {
  if (frames < 1 || frames > kMaxBlockSize) return false;
  std::unique_ptr<float[]> fresh[4];
  for (auto& f : fresh) {
    f.reset(new (std::nothrow) float[frames]());
    if (!f) return false;
  }
  level[0] = std::move(fresh[0]);
  level[1] = std::move(fresh[1]);
  wet[0] = std::move(fresh[2]);
  wet[1] = std::move(fresh[3]);
  maxFrames = frames;
  return true;
}

bool TReverb::SetSampleRate(float rate) {
  if (!(rate >= kMinSampleRate && rate <= kMaxSampleRate)) return false;
  const float previous = sampleRate;
  const auto build = [this](float sr) {
    const int pre = static_cast<int>(sr * 0.251f);
    for (auto& p : predelay) {
      if (!p.Allocate(pre)) return false;
      p.writePos = 0;
    }
    return early[0].Build(sr, TEarlyTable::kLeft) && early[1].Build(sr, TEarlyTable::kRight) &&
           late.Build(sr);
  };
  if (!build(rate)) {
    build(previous);  // keep a consistent engine at the old rate
    return false;
  }
  sampleRate = rate;

  // Defaults; every path fades in from silence at the first block. Wide and
  // the equaliser keep their settings.
  SetTarget(kPredelayLeft, 0.04f);
  SetTarget(kPredelayRight, 0.04f);
  SetTarget(kCrossover, 200.0f);
  SetTarget(kBassRatio, 1.0f);
  SetTarget(kDecayTime, 2.0f);
  SetTarget(kHighDamping, 3300.0f);
  SetTarget(kSize, 1.0f);
  SetTarget(kDecayFreeze, 0.0f);
  for (int i = kInputLevel; i <= kLateLevel; ++i) SetTarget(i, 0.0f);
  size = 1.0f;
  in = dry = er = lateGain = cross = direct = extra = Ramp{};
  ramps = false;

  band[0].Rebuild(rate);
  band[1].Rebuild(rate);
  for (int i = 0; i < 4; ++i) {
    peak[i] = 0.0f;
    meter[i].store(0.0f, std::memory_order_relaxed);
  }
  Raise(kChangeAll);
  return true;
}

void TReverb::Reset() {
  for (auto& p : predelay) p.Clear();
  for (auto& e : early) e.Clear();
  late.Clear();
  band[0].ClearStates();
  band[1].ClearStates();
  for (int i = 0; i < 4; ++i) {
    peak[i] = 0.0f;
    meter[i].store(0.0f, std::memory_order_relaxed);
  }
  Raise(kChangeAll);
}

void TReverb::SetParameter(int index, float value) {
  if (index < 0 || index >= kNumParams || std::isnan(value)) return;
  const float v = std::clamp(value, kParamRanges[index].min, kParamRanges[index].max);
  switch (index) {
    case kInputLevel:
      SetTarget(index, LevelToGain(v));
      Raise(kChangeInput);
      break;
    case kOutputLevel:
    case kDryLevel:
    case kERLevel:
    case kLateLevel:
      SetTarget(index, LevelToGain(v));
      Raise(kChangeMix);
      break;
    case kPredelayLeft:
    case kPredelayRight:
      SetTarget(index, v * 0.001f);
      Raise(kChangePredelay);
      break;
    case kDecayTime:
      SetTarget(index, std::pow(10.0f, v));
      Raise(kChangeDecay);
      break;
    case kDecayFreeze:
      SetTarget(index, v >= 0.5f ? 1.0f : 0.0f);
      Raise(kChangeDecay);
      break;
    case kSize:
      SetTarget(index, static_cast<float>(double(v) * 0.01));
      Raise(kChangeSize | kChangeDecay | kChangeMix);
      break;
    case kWide:
      SetTarget(index, v);
      Raise(kChangeWidth);
      break;
    case kBassRatio:
    case kCrossover:
    case kHighDamping:
      SetTarget(index, v);
      Raise(kChangeDecay);
      break;
    default:  // equaliser bands, applied on the audio thread
      SetTarget(index, v);
      Raise(kChangeEq);
      break;
  }
}

void TReverb::UseWideVectors(bool processorHasAvx) {
  for (auto& e : early) e.UseWideVectors(processorHasAvx);
  late.UseWideVectors(processorHasAvx);
}

bool TReverb::WideVectors() const {
  return late.WideVectors() && early[0].WideVectors() && early[1].WideVectors();
}

float TReverb::Meter(int i) const {
  if (i < 0 || i >= 4) return 0.0f;
  return meter[i].load(std::memory_order_relaxed);
}

void TReverb::Update(int n) {
  if (n <= 0) return;
  if (ramps) {  // the last block's ramps end with it
    in.inc = dry.inc = er.inc = lateGain.inc = cross.inc = direct.inc = extra.inc = 0.0f;
    ramps = false;
  }
  // Takes every raised flag but the equaliser's, which ApplyEq takes; a block
  // in which nothing changed ends at the first look.
  if (!(changes.load(std::memory_order_relaxed) & ~uint32_t(kChangeEq))) return;
  const uint32_t f = changes.fetch_and(kChangeEq, std::memory_order_acquire) & ~uint32_t(kChangeEq);
  if (f == 0) return;
  size = Target(kSize);

  if (f & kChangePredelay) {
    for (int side = 0; side < 2; ++side) {
      const float t = Target(side == 0 ? kPredelayLeft : kPredelayRight);
      predelay[side].SetDelay(Samples(sampleRate, t));
    }
  }
  if (f & kChangeDecay) {
    TDecaySettings s;
    s.decayTime = Target(kDecayTime);
    s.freeze = Target(kDecayFreeze) >= 0.5f;
    s.size = size;
    s.bassRatio = Target(kBassRatio);
    s.crossover = Target(kCrossover);
    s.highDamping = Target(kHighDamping);
    late.Design(sampleRate, s);
  }
  if (f & kChangeSize) {
    late.SetSize(sampleRate, size);
    const float scaled = ScaledRate(sampleRate, size);
    early[0].SetTaps(scaled, TEarlyTable::kLeft);
    early[1].SetTaps(scaled, TEarlyTable::kRight);
  }
  const float fn = static_cast<float>(n);
  if (f & kChangeMix) {
    const float out = Target(kOutputLevel);
    dry.inc = (out * Target(kDryLevel) - dry.cur) / fn;
    er.inc = (out * Target(kERLevel) - er.cur) / fn;
    lateGain.inc = ((0.7f * size + 0.3f) * out * Target(kLateLevel) - lateGain.cur) / fn;
  }
  if (f & kChangeInput) in.inc = (Target(kInputLevel) - in.cur) / fn;
  if (f & kChangeWidth) {
    const float w = Target(kWide);
    float c, d, e;
    if (w > 100.0f) {
      c = 0.0f;
      d = 1.0f;
      e = (w - 100.0f) * 0.02f;
    } else {
      c = (1.0f - w * 0.01f) * 0.5f;
      d = w * 0.01f * 0.5f + 0.5f;
      e = 0.0f;
    }
    cross.inc = (c - cross.cur) / fn;
    direct.inc = (d - direct.cur) / fn;
    extra.inc = (e - extra.cur) / fn;
  }
  ramps = in.inc != 0.0f || dry.inc != 0.0f || er.inc != 0.0f || lateGain.inc != 0.0f ||
          cross.inc != 0.0f || direct.inc != 0.0f || extra.inc != 0.0f;
}

void TReverb::TakeEq() {
  changes.fetch_and(~uint32_t(kChangeEq), std::memory_order_acquire);
  band[0].SetGainDb(Target(kEqLowLevel));
  band[0].SetFreq(Target(kEqLowFreq));
  band[1].SetGainDb(Target(kEqHiLevel));
  band[1].SetFreq(Target(kEqHiFreq));
}

void TReverb::Process(const float* const* inputs, float* const* outputs, int frames) {
  if (!inputs || !outputs || !inputs[0] || !inputs[1] || !outputs[0] || !outputs[1]) return;
  if (frames <= 0) {
    // Nothing to play, but the equaliser still takes its next glide step.
    ApplyEq();
    band[0].Process(wet[0].get(), wet[1].get(), 0);
    band[1].Process(wet[0].get(), wet[1].get(), 0);
    return;
  }
  if (maxFrames == 0) {  // no scratch memory: silence rather than a crash
    std::fill_n(outputs[0], frames, 0.0f);
    std::fill_n(outputs[1], frames, 0.0f);
    return;
  }
  for (int done = 0; done < frames;) {
    const int n = std::min(frames - done, maxFrames);
    ProcessBlock(inputs[0] + done, inputs[1] + done, outputs[0] + done, outputs[1] + done, n);
    done += n;
  }
  meter[0].store(peak[0], std::memory_order_relaxed);
  meter[1].store(peak[1], std::memory_order_relaxed);
  meter[2].store(peak[2], std::memory_order_relaxed);
  meter[3].store(peak[3], std::memory_order_relaxed);
}

inline void TReverb::ProcessBlock(const float* inL, const float* inR, float* outL, float* outR,
                           int n) {
  Update(n);
  ApplyEq();

  // With both equaliser bands at rest, each chunk's wet signal goes straight
  // into the output with the dry signal; otherwise the bands take the whole
  // block's wet signal first.
  const bool eq = !band[0].Idle() || !band[1].Idle();
  for (int offset = 0; offset < n; offset += kMaxChunk)
    ProcessChunk(inL, inR, eq ? nullptr : outL, eq ? nullptr : outR, offset,
                 std::min(kMaxChunk, n - offset));
  if (eq) {
    band[0].Process(wet[0].get(), wet[1].get(), n);
    band[1].Process(wet[0].get(), wet[1].get(), n);
    MixDry(wet[0].get(), wet[1].get(), outL, outR, 0, n);
    // Input meters read the leveled input, output meters the output.
    const float* metered[4] = {level[0].get(), level[1].get(), outL, outR};
    TrackPeaks(peak, metered, n);
  }
}

void TReverb::MixDry(const float* wl, const float* wr, float* outL, float* outR, int offset,
                     int n) {
  const float* l = level[0].get() + offset;
  const float* r = level[1].get() + offset;
  outL += offset;
  outR += offset;
  int i = 0;
  if (dry.inc == 0.0f) {
    const F4 g = F4::Splat(dry.cur);
    for (; i + 4 <= n; i += 4) {
      (g * F4::Load(l + i) + F4::Load(wl + i)).Store(outL + i);
      (g * F4::Load(r + i) + F4::Load(wr + i)).Store(outR + i);
    }
  }
  for (; i < n; ++i) {
    dry.cur += dry.inc;
    outL[i] = dry.cur * l[i] + wl[i];
    outR[i] = dry.cur * r[i] + wr[i];
  }
}

void TReverb::ProcessChunk(const float* inL, const float* inR, float* outL, float* outR,
                           int offset, int n) {
  // The leveled input, once, into everything that reads it: the level arrays
  // (dry signal, meters), the pre-delays and the early lines.
  float* l = level[0].get() + offset;
  float* r = level[1].get() + offset;
  float* pre[2];
  for (int side = 0; side < 2; ++side) {
    pre[side] = predelay[side].Input(n);
    if (!pre[side]) pre[side] = pd[side];  // a run in pieces: staged, then copied
  }
  FrontEnd(inL + offset, inR + offset, l, r, pre, early[0].Input(n), early[1].Input(n), n);
  const float* pdv[2];
  for (int side = 0; side < 2; ++side) {
    if (pre[side] == pd[side]) {
      predelay[side].Process(pd[side], pd[side], n);
      pdv[side] = pd[side];
    } else {
      pdv[side] = predelay[side].Output(n, pd[side]);
    }
  }

  late.Process(pdv[0], pdv[1], lateOut[0], lateOut[1], n);
  TEarlyRefl::Sum(early[0], erOut[0], early[1], erOut[1], n, TEarlyTable::kGain);

  // Early and late signals with their gains, then the stereo width, into the
  // wet signal, or with the dry signal into the output.
  float* wl = wet[0].get() + offset;
  float* wr = wet[1].get() + offset;
  const float *el = erOut[0], *erR = erOut[1], *ll = lateOut[0], *lr = lateOut[1];
  if (!ramps) {
    if (outL)
      MixSteady<true>(ll, lr, el, erR, l, r, outL + offset, outR + offset, n);
    else
      MixSteady<false>(ll, lr, el, erR, l, r, wl, wr, n);
    return;
  }
  for (int i = 0; i < n; ++i) {
    er.cur += er.inc;
    cross.cur += cross.inc;
    direct.cur += direct.inc;
    lateGain.cur += lateGain.inc;
    extra.cur += extra.inc;
    const float lp = ll[i] * lateGain.cur + el[i] * er.cur;
    const float rp = lr[i] * lateGain.cur + erR[i] * er.cur;
    const float lw = direct.cur * lp + cross.cur * rp;
    const float rw = direct.cur * rp + cross.cur * lp;
    const float m = (lw + rw) * 0.5f;
    wl[i] = (lw + m + extra.cur * (lw - m)) * 0.5f;
    wr[i] = (rw + m + extra.cur * (rw - m)) * 0.5f;
  }
  if (outL) {
    MixDry(wl, wr, outL, outR, offset, n);
    const float* metered[4] = {l, r, outL + offset, outR + offset};
    TrackPeaks(peak, metered, n);
  }
}

template <bool kWithDry>
inline void TReverb::MixSteady(const float* ll, const float* lr, const float* el, const float* erR,
                        const float* l, const float* r, float* outL, float* outR, int n) {
  // The same steps as the ramped loop, with every gain fixed for the block.
  const F4 ge = F4::Splat(er.cur), gl = F4::Splat(lateGain.cur), gc = F4::Splat(cross.cur),
           gd = F4::Splat(direct.cur), gx = F4::Splat(extra.cur), half = F4::Splat(0.5f),
           gdry = F4::Splat(dry.cur);
  // With the dry signal, the output is final: the meters take it here, the
  // input meters the leveled input.
  TPeakRun meters(peak, kWithDry ? n : 0);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const F4 lp = F4::Load(ll + i) * gl + F4::Load(el + i) * ge;
    const F4 rp = F4::Load(lr + i) * gl + F4::Load(erR + i) * ge;
    const F4 lw = gd * lp + gc * rp;
    const F4 rw = gd * rp + gc * lp;
    const F4 m = (lw + rw) * half;
    const F4 wetL = (lw + m + gx * (lw - m)) * half;
    const F4 wetR = (rw + m + gx * (rw - m)) * half;
    if (kWithDry) {
      const F4 lv = F4::Load(l + i), rv = F4::Load(r + i);
      const F4 oL = gdry * lv + wetL, oR = gdry * rv + wetR;
      oL.Store(outL + i);
      oR.Store(outR + i);
      meters.Step(lv, rv, oL, oR);
    } else {
      wetL.Store(outL + i);
      wetR.Store(outR + i);
    }
  }
  for (; i < n; ++i) {
    const float lp = ll[i] * lateGain.cur + el[i] * er.cur;
    const float rp = lr[i] * lateGain.cur + erR[i] * er.cur;
    const float lw = direct.cur * lp + cross.cur * rp;
    const float rw = direct.cur * rp + cross.cur * lp;
    const float m = (lw + rw) * 0.5f;
    const float wetL = (lw + m + extra.cur * (lw - m)) * 0.5f;
    const float wetR = (rw + m + extra.cur * (rw - m)) * 0.5f;
    outL[i] = kWithDry ? dry.cur * l[i] + wetL : wetL;
    outR[i] = kWithDry ? dry.cur * r[i] + wetR : wetR;
  }
  if (kWithDry) {
    const float* metered[4] = {l, r, outL, outR};
    meters.Finish(metered, n - n % 4, n);
  }
}

inline void TReverb::FrontEnd(const float* inL, const float* inR, float* l, float* r,
                       float* const* pre, float* erInL, float* erInR, int n) {
  float* pl = pre[0];
  float* pr = pre[1];
  int i = 0;
  if (in.inc == 0.0f) {
    const F4 g = F4::Splat(in.cur), half = F4::Splat(0.5f), third = F4::Splat(0.3f);
    for (; i + 4 <= n; i += 4) {
      const F4 lv = Clean(F4::Load(inL + i)) * g, rv = Clean(F4::Load(inR + i)) * g;
      lv.Store(l + i);
      rv.Store(r + i);
      lv.Store(pl + i);
      rv.Store(pr + i);
      (half * lv + third * rv).Store(erInL + i);
      (half * rv + third * lv).Store(erInR + i);
    }
  }
  for (; i < n; ++i) {
    in.cur += in.inc;
    const float lv = Clean(inL[i]) * in.cur, rv = Clean(inR[i]) * in.cur;
    l[i] = pl[i] = lv;
    r[i] = pr[i] = rv;
    erInL[i] = 0.5f * lv + 0.3f * rv;
    erInR[i] = 0.5f * rv + 0.3f * lv;
  }
}
