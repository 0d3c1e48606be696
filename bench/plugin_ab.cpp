// Two builds of the plug-in side by side: a host of our own loads both
// libraries, makes one instance of each (default program, 44.1 kHz, 512-frame
// blocks, sustained noise) and times them in alternating rounds, the order
// swapped every round, so that both meet the same machine state. Prints each
// round's CPU time per stereo frame (this thread's CPU clock), the medians and
// the median of the rounds' ratios B / A.
//   plugin_ab A.so B.so [ROUNDS [SECONDS]]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "plugin/vst2.h"
#include "tests/support/module.h"

namespace {

constexpr int kBlock = 512;
constexpr float kRate = 44100.0f;

VstIntPtr Host(AEffect*, VstInt32 op, VstInt32, VstIntPtr, void*, float) {
  return op == audioMasterVersion ? 2400 : 0;
}

double ThreadSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

struct Instance {
  TModule library;
  AEffect* effect = nullptr;
  std::vector<float> outL = std::vector<float>(kBlock), outR = std::vector<float>(kBlock);

  bool Load(const char* path) {
    if (!library.Load(path)) {
      std::fprintf(stderr, "%s\n", library.Error().c_str());
      return false;
    }
    auto entry = library.Symbol<AEffect* (*)(audioMasterCallback)>("VSTPluginMain");
    effect = entry ? entry(Host) : nullptr;
    if (!effect) {
      std::fprintf(stderr, "%s: no effect\n", path);
      return false;
    }
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, kRate);
    effect->dispatcher(effect, effSetBlockSize, 0, kBlock, nullptr, 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    return true;
  }

  // Blocks for about `seconds` of CPU time; answers seconds per stereo frame.
  double Run(float** in, double seconds) {
    float* out[2] = {outL.data(), outR.data()};
    const double start = ThreadSeconds();
    long frames = 0;
    double now = start;
    while (now - start < seconds) {
      for (int b = 0; b < 64; ++b) effect->processReplacing(effect, in, out, kBlock);
      frames += 64L * kBlock;
      now = ThreadSeconds();
    }
    return (now - start) / double(frames);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s A.so B.so [ROUNDS [SECONDS]]\n", argv[0]);
    return 2;
  }
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
  const double seconds = argc > 4 ? std::atof(argv[4]) : 3.0;
  Instance ab[2];
  if (!ab[0].Load(argv[1]) || !ab[1].Load(argv[2])) return 1;

  std::vector<float> l(kBlock), r(kBlock);
  uint32_t s = 1;
  for (int i = 0; i < kBlock; ++i) {
    s = s * 1664525u + 1013904223u;
    l[i] = float(int(s >> 9) - (1 << 22)) / float(1 << 23);
    r[i] = -l[i];
  }
  float* in[2] = {l.data(), r.data()};
  for (auto& x : ab) x.Run(in, 0.5);  // warm-up: the tails build up

  std::vector<double> time[2], ratio;
  for (int round = 0; round < rounds; ++round) {
    double t[2];
    for (int k = 0; k < 2; ++k) {
      const int which = round % 2 ? 1 - k : k;
      t[which] = ab[which].Run(in, seconds);
    }
    time[0].push_back(t[0]);
    time[1].push_back(t[1]);
    ratio.push_back(t[1] / t[0]);
    std::printf("round %d: A %.2f ns/frame, B %.2f ns/frame, B/A %.3f\n", round + 1, t[0] * 1e9,
                t[1] * 1e9, t[1] / t[0]);
  }
  std::printf("median of %d rounds: A %.2f ns/frame, B %.2f ns/frame, B/A %.3f\n", rounds,
              Median(time[0]) * 1e9, Median(time[1]) * 1e9, Median(ratio));
  return 0;
}
