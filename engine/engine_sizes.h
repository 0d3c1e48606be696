#pragma once

// Sizes the engine's parts and their vector kernels share. Constants only, so
// that the AVX unit may include it (see engine/late_steps.h).

// Frames run at once: TReverb cuts a block into chunks of at most this many;
// the early reflections' rings have room for one beyond their longest tap,
// and the late network's scratch holds one.
constexpr int kMaxChunk = 256;

// Taps of each side of the early reflections.
constexpr int kEarlyTaps = 18;
// Floats in the widest vector the engine uses (AVX): each early gain is kept
// in that many lanes.
constexpr int kTapLanes = 8;
