// A fixed workload for counting instructions with callgrind, which only
// counts inside MeasuredBlocks (--toggle-collect=MeasuredBlocks):
//   valgrind --tool=callgrind --toggle-collect=MeasuredBlocks reverb_count [eq]
// Instructions per stereo frame = the reported total / kFrames.
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/bench_program.h"

namespace {
constexpr int kBlock = 512;
constexpr int kBlocks = 400;
}  // namespace

extern "C" __attribute__((noinline)) void MeasuredBlocks(TReverb& r, const float* const* in,
                                                          float* const* out) {
  for (int b = 0; b < kBlocks; ++b) r.Process(in, out, kBlock);
}

int main(int argc, char** argv) {
  const bool eq = argc > 1 && std::strcmp(argv[1], "eq") == 0;
  TReverb r;
  BenchProgram(r, eq);
  std::vector<float> l(kBlock), rr(kBlock), ol(kBlock), orr(kBlock);
  uint32_t s = 1;
  for (int i = 0; i < kBlock; ++i) {
    s = s * 1664525u + 1013904223u;
    l[i] = float(int(s >> 9) - (1 << 22)) / float(1 << 23);
    rr[i] = -l[i];
  }
  const float* in[2] = {l.data(), rr.data()};
  float* out[2] = {ol.data(), orr.data()};
  for (int b = 0; b < 100; ++b) r.Process(in, out, kBlock);  // warm-up, not counted
  MeasuredBlocks(r, in, out);
  std::printf("frames %d\n", kBlock * kBlocks);
  return 0;
}
