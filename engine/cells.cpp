#include "engine/cells.h"

#include <algorithm>
#include <new>

void TCell::Clear() {
  if (buffer) std::fill_n(buffer.get(), size, 0.0f);
  pos = 0;
}

bool TCell::Allocate(int newCapacity, int spare) {
  if (newCapacity < 1) newCapacity = 1;
  std::unique_ptr<float[]> fresh(new (std::nothrow) float[newCapacity + spare]());
  if (!fresh) return false;
  buffer = std::move(fresh);
  capacity = newCapacity;
  size = newCapacity;
  Clear();
  return true;
}

void TCell::Resize(int n) {
  size = std::clamp(n, 1, capacity);
  TCell::Clear();  // a direct call: a Size change runs on the audio thread
}

void TVDelay::SetDelay(int d) {
  d = std::clamp(d, 0, size - 1);
  pos = writePos - d;
  if (pos < 0) pos += size;
}

void TVDelay::Process(const float* in, float* out, int n) {
  // Writing a piece before reading it is exact as long as the piece neither
  // wraps nor overwrites samples it still has to read (length <= size - delay).
  const int d = Delay();
  if (writePos + n < size && pos + n < size && n <= size - d) {  // the usual block: one piece
    std::copy_n(in, n, buffer.get() + writePos);
    std::copy_n(buffer.get() + pos, n, out);
    writePos += n;
    pos += n;
    return;
  }
  while (n > 0) {
    const int len = std::min({n, size - writePos, size - pos, size - d});
    std::copy_n(in, len, buffer.get() + writePos);
    std::copy_n(buffer.get() + pos, len, out);
    writePos += len;
    if (writePos == size) writePos = 0;
    pos += len;
    if (pos == size) pos = 0;
    in += len;
    out += len;
    n -= len;
  }
}

const float* TVDelay::OutputInPieces(int n, float* scratch) {
  const int first = size - pos;
  std::copy_n(buffer.get() + pos, first, scratch);
  std::copy_n(buffer.get(), n - first, scratch + first);
  pos = n - first;
  return scratch;
}
