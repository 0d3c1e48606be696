#include "formats/vst3/state.h"

#include <cmath>
#include <cstring>

#include "plugin/program.h"

namespace vst3 {

namespace {

constexpr unsigned char kMark[4] = {'Q', 'M', 'N', 'L'};

void PutWord(unsigned char* p, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
uint64_t GetWord(const unsigned char* p, int bytes) {
  uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint64_t(p[i]) << (8 * i);
  return v;
}

// Streams may move fewer bytes per call than asked: go on until done or stuck.
int32 ReadUpTo(IBStream* s, unsigned char* p, int32 n) {
  int32 done = 0;
  while (done < n) {
    int32 got = 0;
    if (s->read(p + done, n - done, &got) != kResultOk || got <= 0 || got > n - done) break;
    done += got;
  }
  return done;
}

}  // namespace

bool WriteState(IBStream* stream, const TStateRecord& record) {
  if (!stream) return false;
  unsigned char bytes[kStateBytes];
  std::memcpy(bytes, kMark, 4);
  PutWord(bytes + 4, kStateVersion, 4);
  PutWord(bytes + 8, record.program, 4);
  for (int i = 0; i < kNumParams; ++i) {
    uint64_t bits;
    std::memcpy(&bits, &record.values[i], 8);
    PutWord(bytes + 12 + 8 * i, bits, 8);
  }
  int32 done = 0;
  while (done < kStateBytes) {
    int32 put = 0;
    if (stream->write(bytes + done, kStateBytes - done, &put) != kResultOk || put <= 0 ||
        put > kStateBytes - done)
      return false;
    done += put;
  }
  return true;
}

bool ReadState(IBStream* stream, TStateRecord& record) {
  if (!stream) return false;
  unsigned char bytes[kStateBytes + 1];
  // One byte more than the record: a longer stream is not ours.
  if (ReadUpTo(stream, bytes, kStateBytes + 1) != kStateBytes) return false;
  if (std::memcmp(bytes, kMark, 4) != 0 || GetWord(bytes + 4, 4) != kStateVersion) return false;
  TStateRecord read;
  read.program = static_cast<uint32_t>(GetWord(bytes + 8, 4));
  if (read.program >= uint32_t(kNumPrograms)) return false;
  for (int i = 0; i < kNumParams; ++i) {
    const uint64_t bits = GetWord(bytes + 12 + 8 * i, 8);
    std::memcpy(&read.values[i], &bits, 8);
    if (!(read.values[i] >= 0.0 && read.values[i] <= 1.0)) return false;  // NaN too
  }
  record = read;
  return true;
}

}  // namespace vst3
