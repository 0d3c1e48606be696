// Hashes of every output bit and meter value of many renders, to show that a
// change to the engine keeps its samples bit for bit (bench/render_hash.sh
// compares two revisions). One line per rate, vector form and program, each
// over thirteen block lengths from 1 to 4096 frames.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/default_settings.h"
#include "engine/reverb.h"

namespace {
struct THash {
  uint64_t h = 1469598103934665603ull;  // FNV-1a
  void Add(const float* x, int n) {
    for (int i = 0; i < n; ++i) {
      uint32_t b;
      std::memcpy(&b, &x[i], 4);
      h = (h ^ b) * 1099511628211ull;
    }
  }
};

// 0 the default program; 1 with the equaliser, Size 3 % and Wide 170 %; 2 the
// same with settings moving every fifth block and a reset every seventeenth;
// 3 as 1 with a block size of 300 frames, so that longer blocks run in pieces.
void Render(TReverb& r, int program, int block, int frames, THash& hash) {
  std::vector<float> l(block), rr(block), ol(block), orr(block);
  uint32_t s = 5;
  for (int done = 0, b = 0; done < frames; done += block, ++b) {
    for (int i = 0; i < block; ++i) {
      s = s * 1664525u + 1013904223u;
      const float v =
          done + i < frames / 3 ? float(int(s >> 9) - (1 << 22)) / float(1 << 23) : 0.0f;
      l[i] = v;
      rr[i] = i % 3 ? -0.7f * v : 0.2f * v;
    }
    if (program == 2 && b % 5 == 0) {
      r.SetParameter(kSize, float(b * 37 % 101));
      r.SetParameter(kDryLevel, float(-(b % 30)));
      r.SetParameter(kPredelayLeft, float(b % 200));
      r.SetParameter(kDecayTime, float(b % 7) * 0.3f - 0.5f);
      r.SetParameter(kWide, float(b * 13 % 201));
      r.SetParameter(kInputLevel, float(-(b % 9)));
      r.SetParameter(kEqLowLevel, float(b % 25 - 12));
    }
    if (program == 2 && b % 17 == 3) r.Reset();
    const float* in[2] = {l.data(), rr.data()};
    float* out[2] = {ol.data(), orr.data()};
    r.Process(in, out, block);
    hash.Add(ol.data(), block);
    hash.Add(orr.data(), block);
    const float meters[4] = {r.Meter(0), r.Meter(1), r.Meter(2), r.Meter(3)};
    hash.Add(meters, 4);
  }
}
}  // namespace

int main() {
  const int blocks[] = {1, 3, 7, 32, 64, 100, 255, 256, 257, 333, 512, 1000, 4096};
  for (float rate : {8000.0f, 44100.0f, 48000.0f, 96000.0f, 384000.0f})
    for (bool wide : {false, true})
      for (int program = 0; program < 4; ++program) {
        THash hash;
        for (int block : blocks) {
          TReverb r;
          r.UseWideVectors(wide);
          r.SetSampleRate(rate);
          r.SetBlockSize(program == 3 ? 300 : block);
          for (int i = 0; i < kNumParams; ++i) r.SetParameter(i, kDefaultSettings[i]);
          if (program >= 1) {
            r.SetParameter(kEqLowLevel, -6.0f);
            r.SetParameter(kEqHiLevel, 5.0f);
            r.SetParameter(kSize, 3.0f);
            r.SetParameter(kWide, 170.0f);
          }
          Render(r, program, block, rate > 100000.0f ? 120000 : 40000, hash);
        }
        std::printf("%6.0f Hz, %s, program %d: %016llx\n", rate, wide ? "AVX " : "SSE2", program,
                    static_cast<unsigned long long>(hash.h));
      }
  return 0;
}
