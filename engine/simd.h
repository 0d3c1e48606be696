#pragma once

// Four floats in one SSE2 register. Every operation is the exact IEEE single
// precision operation per lane, so vector code gives the same results as the
// scalar code it replaces.
#include <emmintrin.h>

struct F4 {
  static constexpr int kWidth = 4;
  __m128 v;

  F4() = default;  // uninitialised, like a float
  F4(__m128 x) : v(x) {}  // NOLINT: implicit by design
  static F4 Zero() { return _mm_setzero_ps(); }
  static F4 Splat(float x) { return _mm_set1_ps(x); }
  static F4 Load(const float* p) { return _mm_loadu_ps(p); }
  static F4 LoadAligned(const float* p) { return _mm_load_ps(p); }  // 16-byte aligned
  static F4 Set(float a, float b, float c, float d) { return _mm_setr_ps(a, b, c, d); }
  void Store(float* p) const { _mm_storeu_ps(p, v); }
  float Lane0() const { return _mm_cvtss_f32(v); }
};

inline F4 operator+(F4 a, F4 b) { return _mm_add_ps(a.v, b.v); }
inline F4 operator-(F4 a, F4 b) { return _mm_sub_ps(a.v, b.v); }
inline F4 operator*(F4 a, F4 b) { return _mm_mul_ps(a.v, b.v); }
inline F4 operator^(F4 a, F4 b) { return _mm_xor_ps(a.v, b.v); }
inline F4 operator&(F4 a, F4 b) { return _mm_and_ps(a.v, b.v); }
inline F4 Min(F4 a, F4 b) { return _mm_min_ps(a.v, b.v); }
inline F4 Max(F4 a, F4 b) { return _mm_max_ps(a.v, b.v); }
inline F4 Abs(F4 a) { return _mm_and_ps(a.v, _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff))); }
inline F4 Less(F4 a, F4 b) { return _mm_cmplt_ps(a.v, b.v); }
inline F4 NotLess(F4 a, F4 b) { return _mm_cmpnlt_ps(a.v, b.v); }
// True when every lane of a comparison's result is true.
inline bool All(F4 mask) { return _mm_movemask_ps(mask.v) == 15; }

// Lane shuffle: result lane k takes lane I<k> of a (k = 0, 1) and of b (k = 2, 3).
template <int I0, int I1, int I2, int I3>
inline F4 Shuffle(F4 a, F4 b) {
  return _mm_shuffle_ps(a.v, b.v, _MM_SHUFFLE(I3, I2, I1, I0));
}

// 4 x 4 transpose: vector k's lane j becomes vector j's lane k.
inline void Transpose(F4* x) { _MM_TRANSPOSE4_PS(x[0].v, x[1].v, x[2].v, x[3].v); }

// Sign-bit masks: xor with these negates the chosen lanes.
inline F4 SignMask(bool n0, bool n1, bool n2, bool n3) {
  const int s = static_cast<int>(0x80000000u);
  return _mm_castsi128_ps(_mm_setr_epi32(n0 ? s : 0, n1 ? s : 0, n2 ? s : 0, n3 ? s : 0));
}
