#include "tools/render/demo_signal.h"

#include <cmath>
#include <numbers>

namespace {
constexpr double kFadeSeconds = 0.5;

struct Noise {
  unsigned state = 0x2545F491u;
  float Next() {  // -1..1
    state = state * 1664525u + 1013904223u;
    return static_cast<float>(static_cast<int>(state >> 8) - (1 << 23)) / static_cast<float>(1 << 23);
  }
};

// Karplus-Strong string: a noise burst circulating in a delay line with a
// gentle low-pass in the loop.
void Pluck(std::vector<float>& out, int rate, double start, double hz, float pan, Noise& noise) {
  const int period = static_cast<int>(rate / hz + 0.5);
  std::vector<float> line(period);
  for (float& v : line) v = noise.Next();
  const int begin = static_cast<int>(start * rate);
  const int length = 2 * rate;
  const float left = 0.35f * std::sqrt(1.0f - pan), right = 0.35f * std::sqrt(pan);
  for (int i = 0; i < length && begin + i < static_cast<int>(out.size() / 2); ++i) {
    const int k = i % period;
    const float v = line[k];
    line[k] = 0.4985f * (v + line[(k + 1) % period]);
    out[2 * (begin + i)] += v * left;
    out[2 * (begin + i) + 1] += v * right;
  }
}

// A clap: three quick noise bursts, then a short decaying noise tail,
// brightened by a first difference.
void Clap(std::vector<float>& out, int rate, double start, Noise& noise) {
  const int begin = static_cast<int>(start * rate);
  const int length = rate / 5;
  float last = 0.0f;
  for (int i = 0; i < length && begin + i < static_cast<int>(out.size() / 2); ++i) {
    const float t = static_cast<float>(i) / static_cast<float>(rate);
    float env = std::exp(-t / 0.045f);
    for (int burst = 0; burst < 3; ++burst) {
      const float tb = t - 0.011f * static_cast<float>(burst);
      if (tb >= 0.0f && tb < 0.008f) env += std::exp(-tb / 0.002f);
    }
    const float n = noise.Next();
    const float v = 0.25f * env * (n - 0.7f * last);
    last = n;
    out[2 * (begin + i)] += v;
    out[2 * (begin + i) + 1] += v * 0.9f;
  }
}
}  // namespace

std::vector<float> DemoSignal(int rate) {
  std::vector<float> out(2 * static_cast<size_t>(rate) * 5, 0.0f);
  Noise noise;
  const double notes[][3] = {{0.00, 164.81, 0.3}, {0.40, 196.00, 0.5}, {0.80, 246.94, 0.7},
                             {1.20, 329.63, 0.5}};
  for (const auto& n : notes) Pluck(out, rate, n[0], n[1], static_cast<float>(n[2]), noise);
  for (double t : {2.0, 2.45, 2.9}) Clap(out, rate, t, noise);
  for (double hz : {110.0, 164.81, 220.0, 277.18}) Pluck(out, rate, 3.4, hz, 0.5f, noise);
  // The last chord still rings when the signal ends: fade it out (raised
  // cosine) rather than cut it, which would click.
  const size_t frames = out.size() / 2, fade = static_cast<size_t>(kFadeSeconds * rate);
  for (size_t i = 0; i < fade; ++i) {
    const double left = static_cast<double>(fade - i) / static_cast<double>(fade);  // 1 .. 0
    const float gain = static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * left));
    out[2 * (frames - fade + i)] *= gain;
    out[2 * (frames - fade + i) + 1] *= gain;
  }
  return out;
}
