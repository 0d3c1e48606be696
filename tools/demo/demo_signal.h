#pragma once

#include <vector>

// A built-in dry test signal: a few plucked strings and hand claps, spread
// across the stereo image, followed by silence for the tail.
struct DemoSignal {
  std::vector<float> left, right;
};

DemoSignal MakeDemoSignal(double sampleRate);
