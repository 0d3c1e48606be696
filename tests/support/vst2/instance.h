#pragma once
// An effect instance whose host records the edit gestures (host_events.h): what the
// end-to-end editor tests open their editors on.
#include "tests/support/vst2/effect.h"

class Instance : public TEffect {
 public:
  Instance();
  // A host's sequence before audio at 44.1 kHz in blocks of kBlock frames.
  void Start() { TEffect::Start(44100.0f, kBlock); }
  // A sine of the given peak amplitude (0 for silence) on both inputs; answers the
  // output's largest magnitude.
  float Process(float amplitude, int frames);
  static constexpr int kBlock = 512;
};
