#pragma once

#include <atomic>
#include <cstddef>

#include "engine/param_ids.h"

// How a parameter is shown, labelled and typed.
enum class EParamKind { kPlain, kSwitch, kLevel, kDecade, kFrequency };

struct TParamDescriptor {
  EParamKind kind;
  const char* name;
  const char* label;
  float def, min, max, step;  // physical values; step 0 means continuous
  bool logarithmic;           // shown on a logarithmic scale (knobs, hosts' sliders)
};

// The 18 parameters in index order.
extern const TParamDescriptor kParamTable[kNumParams];

// Bytes the texts may take in a host buffer, terminating zero included.
// Display texts (at most "100.0", "-oo", "10.0") and labels (at most "kHz")
// fit the interface's nominal 8 bytes, so that is all we ever write. Names
// reach 17 characters ("EQ Low Band Level"): cut at 8 they would be useless,
// and hosts pass larger buffers for them, so names get up to 32 bytes.
constexpr size_t kParamDisplayBytes = 8;
constexpr size_t kParamLabelBytes = 8;
constexpr size_t kParamNameBytes = 32;

// One parameter of one program. `value` may be written by the host's
// automation thread while the UI or audio side reads it, hence atomic.
class TParam {
 public:
  void Init(const TParamDescriptor& d);

  void SetNormalized(float x);
  float Normalized() const;
  float Value() const { return value.load(std::memory_order_relaxed); }
  void SetValue(float v);  // limited to min..max; NaN is ignored

  void Display(char* text, size_t size) const;  // writes at most size bytes
  // The value with its unit, as editors show it ("1.50 sec", "Off "); at most size bytes.
  void DisplayWithLabel(char* text, size_t size) const;
  const char* Label() const;                    // follows the Hz/kHz switch
  void Parse(const char* text);

  float def = 0, min = 0, max = 1, step = 0, range = 1, invRange = 1;
  bool stepped = false;
  int count = 1;
  const char* label = "";
  const char* name = "";
  EParamKind kind = EParamKind::kPlain;

 private:
  std::atomic<float> value{0.0f};
};

// The display rule shared by every kind: two decimals below 10, one below
// 100, none above; rounding does not depend on the C library or its locale.
void FormatNumber(float v, char* text, size_t size);
// The leading decimal number of a text (blanks skipped, full stop as the
// decimal mark, optional exponent); 0 when the text does not begin with one.
double ReadNumber(const char* text);
