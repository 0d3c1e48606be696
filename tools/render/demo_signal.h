#pragma once

#include <vector>

// The built-in dry test signal: a few plucked strings and hand claps, stereo,
// interleaved, at `rate` Hz. Deterministic: the same samples on every run.
std::vector<float> DemoSignal(int rate);
