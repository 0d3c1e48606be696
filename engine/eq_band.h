#pragma once

// One peaking equaliser band on a stereo signal: a second-order lattice
// all-pass mixed with the input. It glides towards new settings by at most a
// factor of two (gain) or an octave (frequency) per block, ramps its
// coefficients across each block, and costs nothing at 0 dB.
class TEqBand {
 public:
  enum Mode { kBypass = 0, kFixed = 1, kRamp = 2 };

  void SetGainDb(float level);
  void SetFreq(float hz);
  void Update(int n);
  // A band at rest in bypass costs one look.
  void Process(float* left, float* right, int n) {
    if (!Idle()) Run(left, right, n);
  }
  // In bypass with nothing to move: Process would leave the signal untouched.
  bool Idle() const { return !dirty && mode == kBypass; }
  void Rebuild(float rate);
  void ClearStates();

  float sampleRate = 44100.0f;
  float targetGain = 1.0f;
  float gain = 1.0f;
  float targetFreq = 1000.0f;
  float freq = 1000.0f;
  float gainDb = 0.0f;
  float k1 = 0.0f, k2 = 0.0f, mix = 0.0f;
  float dK1 = 0.0f, dK2 = 0.0f, dMix = 0.0f;
  float s1[2] = {0.0f, 0.0f};
  float s2[2] = {0.0f, 0.0f};
  bool dirty = false;
  int mode = kBypass;

 private:
  void Run(float* left, float* right, int n);
  void Design(float a, float f, int rampLength);
  void Filter(float* left, float* right, int n);
};
