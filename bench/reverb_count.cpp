// A fixed amount of work for counting instructions with callgrind, which only
// counts inside MeasuredBlocks (--toggle-collect=MeasuredBlocks):
//   valgrind --tool=callgrind --toggle-collect=MeasuredBlocks
//       reverb_count [default|eq] [BLOCK [RATE [avx|sse2 [FRAMES]]]]
// (512-frame blocks at 44.1 kHz unless given; sse2: the engine told that the
// processor has no AVX). Instructions per stereo frame = the reported total /
// the frames printed. Under Wine callgrind sees no function names: there
// bench/dll_count.sh counts two runs of different FRAMES and divides their
// difference.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/bench_program.h"

namespace {
constexpr int kFrames = 204800;  // 400 blocks of 512
constexpr int kNoise = 8192;

void Blocks(TReverb& r, const float* l, const float* rr, float* const* out, int block,
            int frames) {
  for (int done = 0, at = 0; done < frames; done += block, at += block) {
    if (at + block > kNoise) at = 0;
    const float* in[2] = {l + at, rr + at};
    r.Process(in, out, block);
  }
}
}  // namespace

extern "C" __attribute__((noinline)) void MeasuredBlocks(TReverb& r, const float* l,
                                                          const float* rr, float* const* out,
                                                          int block, int frames) {
  Blocks(r, l, rr, out, block, frames);
}

int main(int argc, char** argv) {
  const bool eq = argc > 1 && std::strcmp(argv[1], "eq") == 0;
  const int block = argc > 2 ? std::atoi(argv[2]) : 512;
  const float rate = argc > 3 ? float(std::atof(argv[3])) : 44100.0f;
  const bool sse2 = argc > 4 && std::strcmp(argv[4], "sse2") == 0;
  const int measured = argc > 5 ? std::atoi(argv[5]) : kFrames;
  if (block < 1 || block > kNoise || measured < block) return 2;
  TReverb r;
  if (sse2) r.UseWideVectors(false);
  r.SetSampleRate(rate);
  r.SetBlockSize(block);
  BenchProgram(r, eq);
  std::vector<float> l(kNoise), rr(kNoise), ol(block), orr(block);
  uint32_t s = 1;
  for (int i = 0; i < kNoise; ++i) {
    s = s * 1664525u + 1013904223u;
    l[i] = float(int(s >> 9) - (1 << 22)) / float(1 << 23);
    rr[i] = -l[i];
  }
  float* out[2] = {ol.data(), orr.data()};
  Blocks(r, l.data(), rr.data(), out, block, 51200);  // warm-up, not counted
  const int frames = measured / block * block;
  MeasuredBlocks(r, l.data(), rr.data(), out, block, frames);
  std::printf("frames %d\n", frames);
  return 0;
}
