#pragma once

#include <memory>

// Circular-buffer cells of the reverb. Each owns one array of samples and a
// position into it. Storage is reserved once per sample rate (Allocate); Resize
// only changes the used length within that storage, so the audio thread never
// allocates.
class TCell {
 public:
  TCell() = default;
  TCell(const TCell&) = delete;
  TCell& operator=(const TCell&) = delete;

  virtual void Clear();

  // Reserves storage for up to `capacity` samples (not on the audio thread),
  // and `spare` samples beyond the ring for a walker that runs past its end.
  // Returns false, leaving the cell as it was, when memory is short.
  bool Allocate(int capacity, int spare = 0);
  // Sets the used length (1..capacity) and clears it. Never allocates.
  void Resize(int n);

  int Size() const { return size; }
  int Pos() const { return pos; }
  int Capacity() const { return capacity; }
  float* Data() { return buffer.get(); }
  const float* Data() const { return buffer.get(); }

  // Moves the position on by n samples after a run of direct buffer accesses
  // from pos (wrapping as often as n needs).
  void Skip(int n) {
    pos += n;
    while (pos >= size) pos -= size;
  }
  // After runs walked outside the cell: sets the position (0 <= p < size), or
  // moves it on by n that do not reach the end (pos + n < size).
  void MoveTo(int p) { pos = p; }
  void Advance(int n) { pos += n; }

 protected:
  ~TCell() = default;  // never deleted through a base pointer

  int size = 0;
  int pos = 0;
  int capacity = 0;
  std::unique_ptr<float[]> buffer;
};

// Plain delay: the value read is the value written exactly `size` samples
// earlier. The late network reads and writes it in runs straight in its
// buffer (Data, Pos, Skip): a run of at most `size` samples is read before any
// of them is overwritten.
class TDelay : public TCell {};

// Schroeder all-pass diffuser: (coef + z^-N) / (1 + coef z^-N), N = size. Its
// step is AllPass (engine/late_steps.h), run over the buffer by the late network.
class TDiff : public TCell {
 public:
  float coef = 0.0f;
};

// Pre-delay with a movable read tap. `pos` is the read position. The write
// precedes the read within a sample, so a delay of 0 passes the input through.
class TVDelay : public TCell {
 public:
  int writePos = 0;

  // Delay d in samples, 0 <= d < size (limited to that range).
  void SetDelay(int d);
  int Delay() const {
    const int d = writePos - pos;
    return d < 0 ? d + size : d;
  }
  // n samples, each written before the one d samples older is read, done
  // with block copies. `in` and `out` may be the same.
  void Process(const float* in, float* out, int n);
  // The same in place for the usual run, in which the writes neither wrap
  // nor reach samples still to be read: where the next n input samples are
  // to be stored (nullptr for any other run, which goes through Process),
  // then, once they are, where their delayed samples lie (in `scratch` when
  // the read wraps).
  float* Input(int n) const {
    return writePos + n <= size && n <= size - Delay() ? buffer.get() + writePos : nullptr;
  }
  const float* Output(int n, float* scratch) {
    writePos += n;
    if (writePos == size) writePos = 0;
    if (pos + n > size) return OutputInPieces(n, scratch);
    const float* run = buffer.get() + pos;
    pos += n;
    if (pos == size) pos = 0;
    return run;
  }

 private:
  const float* OutputInPieces(int n, float* scratch);
};
