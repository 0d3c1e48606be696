#include "engine/late_network.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

#include "engine/late_kernels.h"
#include "engine/simd.h"
#include "engine/units.h"
#include "engine/wide_kernels.h"

namespace {
constexpr TLateChunk kBaselineChunk = &LateChunkRun<F4>;
}  // namespace

const float TLateNetwork::kDiffTime[kLateLines] = {0.020346f, 0.024421f, 0.031604f,
                                                    0.027333f, 0.022904f, 0.029291f,
                                                    0.013458f, 0.019123f};
const float TLateNetwork::kLoopTime[kLateLines] = {0.153129f, 0.210389f, 0.127837f,
                                                    0.256891f, 0.174713f, 0.192303f,
                                                    0.125f,    0.219991f};

TLateNetwork::TLateNetwork() { UseWideVectors(true); }

void TLateNetwork::UseWideVectors(bool on) {
  wide = on && ::WideVectorsAvailable();
  chunkLoop = kBaselineChunk;
#ifdef SORAVEL_WIDE_VECTORS
  if (wide) chunkLoop = kWideLateChunk;
#endif
}

bool TLateNetwork::Build(float sampleRate) {
  for (int i = 0; i < kLateLines; ++i) {
    const int n = std::max(1, Samples(sampleRate, kDiffTime[i]));
    const int m = Samples(sampleRate, kLoopTime[i]);
    // A smaller size can round the difference up by one sample. Beyond each
    // ring: room for a chunk's run past its end.
    if (!diff[i].Allocate(n, kMaxChunk) || !delay[i].Allocate(std::max(1, m - n) + 1, kMaxChunk))
      return false;
    diff[i].coef = (i % 2 == 0) ? 0.6f : -0.6f;
  }
  SetSize(sampleRate, 1.0f);
  for (int i = 0; i < kLateLines; ++i) s1[i] = s2[i] = 0.0f;
  return true;
}

void TLateNetwork::SetSize(float sampleRate, float size) {
  const float sr = ScaledRate(sampleRate, size);
  for (int i = 0; i < kLateLines; ++i) {
    const int n = std::max(1, Samples(sr, kDiffTime[i]));
    const int m = Samples(sr, kLoopTime[i]);
    diff[i].Resize(n);
    delay[i].Resize(std::max(1, m - n));
    diff[i].coef = (i % 2 == 0) ? 0.6f : -0.6f;
    std::fill_n(coefLanes[i], kTapLanes, diff[i].coef);
  }
  // A chunk no longer than the shortest cell reads nothing it writes itself;
  // a whole number of vectors where the cells allow.
  chunk = kMaxChunk;
  for (int k = 0; k < kRings; ++k) chunk = std::min(chunk, Ring(k).Size());
  if (chunk >= kTapLanes) chunk -= chunk % kTapLanes;
  Track();
}

void TLateNetwork::Track() {
  for (int k = 0; k < kRings; ++k) {
    at[k] = Ring(k).Data() + Ring(k).Pos();
    room[k] = Ring(k).Size() - Ring(k).Pos();
  }
  walked = 0;
  untilEdge = LeastRoom();
}

int TLateNetwork::LeastRoom() const {
  // The least of the sixteen, four at a compare (SSE2 has no integer minimum).
  const auto rooms = reinterpret_cast<const __m128i*>(room);
  const auto least = [](__m128i a, __m128i b) {
    const __m128i aGreater = _mm_cmpgt_epi32(a, b);
    return _mm_or_si128(_mm_and_si128(aGreater, b), _mm_andnot_si128(aGreater, a));
  };
  __m128i m = least(least(_mm_load_si128(rooms), _mm_load_si128(rooms + 1)),
                    least(_mm_load_si128(rooms + 2), _mm_load_si128(rooms + 3)));
  m = least(m, _mm_shuffle_epi32(m, _MM_SHUFFLE(1, 0, 3, 2)));
  m = least(m, _mm_shuffle_epi32(m, _MM_SHUFFLE(2, 3, 0, 1)));
  return _mm_cvtsi128_si32(m);
}

void TLateNetwork::Clear() {
  // The filter states sit inside the feedback loop: left alone, what they hold
  // would start a new tail in the cleared lines.
  for (int i = 0; i < kLateLines; ++i) {
    delay[i].Clear();
    diff[i].Clear();
    s1[i] = s2[i] = 0.0f;
  }
  Track();
}

void TLateNetwork::Design(double sampleRate, const TDecaySettings& s) {
  // Designed in double precision and rounded once: in float, near-lossless
  // settings (Freeze) lose the few bits that decide whether a loop gains.
  const double rt = s.freeze ? 1.0e6 : s.decayTime / SizeScale(double(s.size));

  // A one-pole low-pass stays a low-pass only for coefficients up to 1; beyond
  // that (crossovers near the Nyquist frequency at low rates) it would boost
  // high frequencies and the shelf could make the loop gain exceed 1.
  c = static_cast<float>(std::min(2.0 * std::numbers::pi * s.crossover / sampleRate, 1.0));

  const double f = (s.highDamping > 0.49 * sampleRate)
                       ? 2.0
                       : 1.0 - std::cos(2.0 * std::numbers::pi * s.highDamping / sampleRate);
  for (int i = 0; i < kLateLines; ++i) {
    const double t = kLoopTime[i];
    const double gi = std::pow(0.001, t / rt);
    const double gb = std::pow(0.001, t / (rt * s.bassRatio));
    const double u = std::pow(0.001, t / (rt * 0.5)) / gi;
    const double v = (1.0 - u * u) / (2.0 * u * u * f);
    double ai = (std::sqrt(1.0 + 4.0 * v) - 1.0) / (2.0 * v);
    // v = 0 (a lossless design) or a degenerate f leaves the filter transparent.
    if (!(v > 0.0) || !std::isfinite(ai)) ai = 1.0;
    g[i] = static_cast<float>(gi);
    kB[i] = static_cast<float>(gb / gi - 1.0);
    a[i] = std::min(static_cast<float>(ai), 1.0f);
  }
}

void TLateNetwork::ProcessChunks(const float* pdL, const float* pdR, float* lateL,
                                 float* lateR, int n) {
  for (int done = 0; done < n;) {
    const int len = std::min(chunk, n - done);
    if (len < untilEdge) {  // no cell reaches its ring's end
      chunkLoop(*this, pdL + done, pdR + done, lateL + done, lateR + done, len);
      untilEdge -= len;
      walked += len;
      MoveOn(len);
    } else {
      ProcessEdgeChunk(pdL + done, pdR + done, lateL + done, lateR + done, len);
    }
    done += len;
  }
}

unsigned TLateNetwork::ReachingTheEnd(int n) const {
  // room[k] > n for the rings that stay inside, four at a compare.
  static_assert(kRings == 16);
  const __m128i len = _mm_set1_epi32(n);
  __m128i inside[4];
  for (int q = 0; q < 4; ++q)
    inside[q] = _mm_cmpgt_epi32(_mm_load_si128(reinterpret_cast<const __m128i*>(room) + q), len);
  const __m128i bytes = _mm_packs_epi16(_mm_packs_epi32(inside[0], inside[1]),
                                        _mm_packs_epi32(inside[2], inside[3]));
  return ~unsigned(_mm_movemask_epi8(bytes)) & 0xffffu;
}

namespace {
// Copies of a chunk's part at most, never overlapping. Longer runs with the
// C library's memmove, except on Windows: there it is the system's, and
// Wine's copies these runs at 0.9 ns a frame where glibc's takes 0.3 and one
// string move 0.4 (glibc's stays the faster on Linux). Loops of 16- or 32-byte
// moves took as long as Wine's.
void CopyRun(const float* from, float* to, int n) {
  if (n > 32) {
#ifdef _WIN32
    size_t count = size_t(n);
    asm volatile("rep movsl" : "+D"(to), "+S"(from), "+c"(count) : : "memory");
#else
    std::copy_n(from, n, to);
#endif
    return;
  }
  int i = 0;
  for (; i + 4 <= n; i += 4) F4::Load(from + i).Store(to + i);
  for (; i < n; ++i) to[i] = from[i];
}
}  // namespace

void TLateNetwork::ProcessEdgeChunk(const float* pdL, const float* pdR, float* lateL,
                                    float* lateR, int n) {
  // A run that passes its ring's end goes on into the room beyond it, where
  // the ring's first samples are copied before the chunk and from where they
  // return after it. They lie behind the run's start: the chunk is no longer
  // than the ring.
  for (int k = 0; k < kRings; ++k) room[k] -= walked;
  walked = 0;
  const unsigned edges = ReachingTheEnd(n);
  for (unsigned e = edges; e; e &= e - 1) {
    const int k = std::countr_zero(e);
    float* const end = at[k] + room[k];
    if (room[k] < n) CopyRun(end - Ring(k).Size(), end, n - room[k]);
  }
  chunkLoop(*this, pdL, pdR, lateL, lateR, n);
  for (int k = 0; k < kRings; ++k) room[k] -= n;
  MoveOn(n);  // the rings that reach their end are set below
  for (unsigned e = edges; e; e &= e - 1) {  // back to the ring's start, with what went past its end
    const int k = std::countr_zero(e);
    const int size = Ring(k).Size(), over = -room[k];
    float* const start = at[k] - over - size;
    CopyRun(start + size, start, over);
    at[k] = start + over;
    room[k] = size - over;
    Ring(k).MoveTo(over);
  }
  untilEdge = LeastRoom();
}
