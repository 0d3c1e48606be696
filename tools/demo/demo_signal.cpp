#include "tools/demo/demo_signal.h"

#include <cmath>
#include <cstdint>

namespace {

struct Random {
  uint32_t state = 0x5eed;
  float operator()() {  // -1..1
    state = state * 1664525u + 1013904223u;
    return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
  }
};

// Karplus-Strong string: a noise burst circulating through a damped averaging loop.
void Pluck(DemoSignal& s, double rate, double at, double hz, float gain, float pan, Random& rnd) {
  const int period = static_cast<int>(rate / hz + 0.5);
  std::vector<float> loop(period);
  for (auto& x : loop) x = rnd();
  const size_t start = static_cast<size_t>(at * rate);
  const size_t length = static_cast<size_t>(1.6 * rate);
  float previous = 0.0f;
  for (size_t i = 0; i < length && start + i < s.left.size(); ++i) {
    float& cell = loop[i % period];
    const float y = cell;
    cell = 0.4985f * (y + previous);
    previous = y;
    s.left[start + i] += gain * (1.0f - pan) * y;
    s.right[start + i] += gain * pan * y;
  }
}

// A clap: a few quick noise bursts, then a short decaying noise tail.
void Clap(DemoSignal& s, double rate, double at, float gain, float pan, Random& rnd) {
  const size_t start = static_cast<size_t>(at * rate);
  const size_t length = static_cast<size_t>(0.25 * rate);
  float band = 0.0f, low = 0.0f;
  for (size_t i = 0; i < length && start + i < s.left.size(); ++i) {
    const double t = double(i) / rate;
    const double burst = std::fmod(t, 0.011) < 0.004 && t < 0.035 ? 1.0 : 0.0;
    const double env = t < 0.035 ? burst : std::exp(-(t - 0.035) * 30.0);
    // A rough band-pass around 1.2 kHz keeps it from sounding like hiss.
    const float x = rnd();
    low += 0.15f * (x - low);
    band = x - low;
    const float y = static_cast<float>(env) * band;
    s.left[start + i] += gain * (1.0f - pan) * y;
    s.right[start + i] += gain * pan * y;
  }
}

}  // namespace

DemoSignal MakeDemoSignal(double rate) {
  DemoSignal s;
  const size_t length = static_cast<size_t>(4.0 * rate);
  s.left.assign(length, 0.0f);
  s.right.assign(length, 0.0f);
  Random rnd;
  const double notes[] = {196.0, 246.94, 293.66, 392.0, 293.66, 246.94};
  for (int k = 0; k < 6; ++k) Pluck(s, rate, 0.05 + 0.25 * k, notes[k], 0.45f, 0.2f + 0.12f * k, rnd);
  Clap(s, rate, 1.8, 0.7f, 0.5f, rnd);
  Clap(s, rate, 2.3, 0.6f, 0.35f, rnd);
  Clap(s, rate, 2.55, 0.6f, 0.65f, rnd);
  return s;
}
