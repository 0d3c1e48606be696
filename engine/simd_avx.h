#pragma once

// Eight floats in one AVX register, for the one translation unit compiled with
// AVX (and never FMA). Every operation is the exact IEEE single precision
// operation per lane, as F4's are. In an unnamed namespace: no other unit may
// be linked against these AVX-encoded functions.
#include <immintrin.h>

namespace {

struct F8 {
  static constexpr int kWidth = 8;
  __m256 v;

  F8() = default;  // uninitialised, like a float
  F8(__m256 x) : v(x) {}  // NOLINT: implicit by design
  static F8 Splat(float x) { return _mm256_set1_ps(x); }
  static F8 Load(const float* p) { return _mm256_loadu_ps(p); }
  // 16-byte aligned data, as F4's: the Windows stack gives no more.
  static F8 LoadAligned(const float* p) { return _mm256_loadu_ps(p); }
  void Store(float* p) const { _mm256_storeu_ps(p, v); }
};

inline F8 operator+(F8 a, F8 b) { return _mm256_add_ps(a.v, b.v); }
inline F8 operator-(F8 a, F8 b) { return _mm256_sub_ps(a.v, b.v); }
inline F8 operator*(F8 a, F8 b) { return _mm256_mul_ps(a.v, b.v); }

// 8 x 8 transpose: vector k's lane j becomes vector j's lane k.
inline void Transpose(F8* x) {
  const __m256 t0 = _mm256_unpacklo_ps(x[0].v, x[1].v), t1 = _mm256_unpackhi_ps(x[0].v, x[1].v);
  const __m256 t2 = _mm256_unpacklo_ps(x[2].v, x[3].v), t3 = _mm256_unpackhi_ps(x[2].v, x[3].v);
  const __m256 t4 = _mm256_unpacklo_ps(x[4].v, x[5].v), t5 = _mm256_unpackhi_ps(x[4].v, x[5].v);
  const __m256 t6 = _mm256_unpacklo_ps(x[6].v, x[7].v), t7 = _mm256_unpackhi_ps(x[6].v, x[7].v);
  const __m256 u0 = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(1, 0, 1, 0));
  const __m256 u1 = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(3, 2, 3, 2));
  const __m256 u2 = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(1, 0, 1, 0));
  const __m256 u3 = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(3, 2, 3, 2));
  const __m256 u4 = _mm256_shuffle_ps(t4, t6, _MM_SHUFFLE(1, 0, 1, 0));
  const __m256 u5 = _mm256_shuffle_ps(t4, t6, _MM_SHUFFLE(3, 2, 3, 2));
  const __m256 u6 = _mm256_shuffle_ps(t5, t7, _MM_SHUFFLE(1, 0, 1, 0));
  const __m256 u7 = _mm256_shuffle_ps(t5, t7, _MM_SHUFFLE(3, 2, 3, 2));
  x[0] = _mm256_permute2f128_ps(u0, u4, 0x20);
  x[1] = _mm256_permute2f128_ps(u1, u5, 0x20);
  x[2] = _mm256_permute2f128_ps(u2, u6, 0x20);
  x[3] = _mm256_permute2f128_ps(u3, u7, 0x20);
  x[4] = _mm256_permute2f128_ps(u0, u4, 0x31);
  x[5] = _mm256_permute2f128_ps(u1, u5, 0x31);
  x[6] = _mm256_permute2f128_ps(u2, u6, 0x31);
  x[7] = _mm256_permute2f128_ps(u3, u7, 0x31);
}

}  // namespace
