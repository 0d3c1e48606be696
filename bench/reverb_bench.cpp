// Time per stereo frame of TReverb::Process at 44.1 kHz in 512-frame blocks.
// Reports ns/frame and the realtime factor (seconds of audio per second of CPU).
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_program.h"

namespace {
constexpr int kBlock = 512;
constexpr double kRate = 44100.0;

struct Signal {
  std::vector<float> l, r;
  explicit Signal(bool silent) : l(kBlock), r(kBlock) {
    uint32_t s = 1;
    for (int i = 0; i < kBlock; ++i) {
      s = s * 1664525u + 1013904223u;
      l[i] = silent ? 0.0f : float(int(s >> 9) - (1 << 22)) / float(1 << 23);
      r[i] = silent ? 0.0f : -l[i];
    }
  }
};

// Seconds of CPU per stereo frame (printed with an SI prefix: 18.9n is 18.9 ns)
// and seconds of audio per second of CPU (the realtime factor).
void Report(benchmark::State& state) {
  state.counters["time/frame"] = benchmark::Counter(
      kBlock, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["realtime"] =
      benchmark::Counter(kBlock / kRate, benchmark::Counter::kIsIterationInvariantRate);
}

void Run(benchmark::State& state, TReverb& r, const Signal& in, void (*perBlock)(TReverb&, int)) {
  std::vector<float> outL(kBlock), outR(kBlock);
  const float* ins[2] = {in.l.data(), in.r.data()};
  float* outs[2] = {outL.data(), outR.data()};
  int block = 0;
  for (auto _ : state) {
    if (perBlock) perBlock(r, block++);
    r.Process(ins, outs, kBlock);
    benchmark::DoNotOptimize(outL.data());
  }
  Report(state);
}

void SteadyDefault(benchmark::State& state) {
  TReverb r;
  BenchProgram(r);
  Signal noise(false);
  Run(state, r, noise, nullptr);
}

void SteadyEqualiser(benchmark::State& state) {
  TReverb r;
  BenchProgram(r, true);
  Signal noise(false);
  Run(state, r, noise, nullptr);
}

void EverySettingChanges(benchmark::State& state) {
  TReverb r;
  BenchProgram(r, true);
  Signal noise(false);
  Run(state, r, noise, [](TReverb& rev, int block) {
    const float t = float(block % 8) / 8.0f;
    for (int i = 0; i < kNumParams; ++i) {
      static const float lo[kNumParams] = {-6, -6, -6, -12, -12, 0, 0, 0, 0, 40, 100, 0.5f, 100, 2000, -6, 80, -6, 1000};
      static const float hi[kNumParams] = {0, 0, 0, -3, -3, 50, 60, 0.5f, 0, 60, 180, 2, 800, 12000, 6, 400, 6, 6000};
      rev.SetParameter(i, lo[i] + (hi[i] - lo[i]) * t);
    }
  });
}

// Silence long after a tail has died must cost what sound costs: no denormals.
void SilenceAfterTail(benchmark::State& state) {
  TReverb r;
  BenchProgram(r);
  r.SetParameter(kDecayTime, -1.0f);
  std::vector<float> outL(kBlock), outR(kBlock);
  Signal noise(false), silence(true);
  const float* ins[2] = {noise.l.data(), noise.r.data()};
  float* outs[2] = {outL.data(), outR.data()};
  for (int i = 0; i < 20; ++i) r.Process(ins, outs, kBlock);
  ins[0] = silence.l.data();
  ins[1] = silence.r.data();
  for (int i = 0; i < 86 * 60; ++i) r.Process(ins, outs, kBlock);  // a minute of silence
  Run(state, r, silence, nullptr);
}

void NoiseSameSettings(benchmark::State& state) {
  TReverb r;
  BenchProgram(r);
  r.SetParameter(kDecayTime, -1.0f);
  Signal noise(false);
  Run(state, r, noise, nullptr);
}
}  // namespace

BENCHMARK(SteadyDefault)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(SteadyEqualiser)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(EverySettingChanges)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(NoiseSameSettings)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(SilenceAfterTail)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
