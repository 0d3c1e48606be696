// Renders the built-in dry test signal through the reverb engine with the
// default program and writes dry signal plus full tail as a 32-bit float
// stereo WAV file.
//   soravel-engine-demo [OUT.wav] [SAMPLE_RATE]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/default_settings.h"
#include "engine/reverb.h"
#include "tools/demo/demo_signal.h"

namespace {

void Put32(std::FILE* f, uint32_t v) {
  const unsigned char b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  std::fwrite(b, 1, 4, f);
}
void Put16(std::FILE* f, uint16_t v) {
  const unsigned char b[2] = {uint8_t(v), uint8_t(v >> 8)};
  std::fwrite(b, 1, 2, f);
}

bool WriteFloatWav(const char* path, const std::vector<float>& l, const std::vector<float>& r,
                   uint32_t rate) {
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  const uint32_t frames = static_cast<uint32_t>(l.size());
  const uint32_t data = frames * 8;
  std::fwrite("RIFF", 1, 4, f);
  Put32(f, 36 + data);
  std::fwrite("WAVEfmt ", 1, 8, f);
  Put32(f, 16);
  Put16(f, 3);  // IEEE float
  Put16(f, 2);
  Put32(f, rate);
  Put32(f, rate * 8);
  Put16(f, 8);
  Put16(f, 32);
  std::fwrite("data", 1, 4, f);
  Put32(f, data);
  for (uint32_t i = 0; i < frames; ++i) {
    const float s[2] = {l[i], r[i]};
    std::fwrite(s, sizeof(float), 2, f);  // x86-64 is little-endian, as WAV is
  }
  return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : "soravel-demo.wav";
  const double rate = argc > 2 ? std::atof(argv[2]) : 44100.0;
  TReverb reverb;
  if (!reverb.SetSampleRate(static_cast<float>(rate))) {
    std::fprintf(stderr, "soravel-engine-demo: unusable sample rate %s\n", argv[2]);
    return 2;
  }
  const int block = 512;
  reverb.SetBlockSize(block);
  for (int i = 0; i < kNumParams; ++i) reverb.SetParameter(i, kDefaultSettings[i]);

  const DemoSignal dry = MakeDemoSignal(rate);
  std::vector<float> outL, outR, zeros(block, 0.0f), l(block), r(block);
  // Run until the output has stayed below -90 dBFS for 100 ms after the input ended.
  const size_t quietNeeded = static_cast<size_t>(0.1 * rate);
  size_t quiet = 0;
  for (size_t pos = 0; pos < dry.left.size() || quiet < quietNeeded; pos += block) {
    const bool input = pos < dry.left.size();
    const int n = input ? static_cast<int>(std::min<size_t>(block, dry.left.size() - pos)) : block;
    const float* in[2] = {input ? dry.left.data() + pos : zeros.data(),
                          input ? dry.right.data() + pos : zeros.data()};
    float* out[2] = {l.data(), r.data()};
    reverb.Process(in, out, n);
    for (int i = 0; i < n; ++i) {
      outL.push_back(l[i]);
      outR.push_back(r[i]);
      const bool silent = std::fabs(l[i]) < 3.1623e-5f && std::fabs(r[i]) < 3.1623e-5f;
      quiet = (!input && silent) ? quiet + 1 : 0;
    }
    if (outL.size() > static_cast<size_t>(120.0 * rate)) break;  // a safety stop
  }
  if (!WriteFloatWav(path, outL, outR, static_cast<uint32_t>(rate))) {
    std::fprintf(stderr, "soravel-engine-demo: cannot write %s\n", path);
    return 1;
  }
  std::printf("wrote %s: %.2f s at %.0f Hz (dry %.2f s plus tail)\n", path,
              double(outL.size()) / rate, rate, double(dry.left.size()) / rate);
  return 0;
}
