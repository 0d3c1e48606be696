#include "tests/support/vst2/instance.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/support/vst2/host_events.h"

Instance::Instance() : TEffect(RecordingCallback) {}

float Instance::Process(float amplitude, int frames) {
  std::vector<float> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
  float peak = 0.0f;
  for (int pos = 0; pos < frames; pos += kBlock) {
    for (int i = 0; i < kBlock; ++i) {
      inL[i] = amplitude * std::sin(0.05f * static_cast<float>(pos + i));
      inR[i] = inL[i];
    }
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    e->processReplacing(e, in, out, kBlock);
    for (int i = 0; i < kBlock; ++i) peak = std::max(peak, std::fabs(outL[i]));
  }
  return peak;
}
