#include "formats/vst3/text16.h"

namespace vst3 {

void ToUtf16(const char* src, char16* dst, size_t capacity) {
  if (!dst || capacity == 0) return;
  size_t n = 0;
  for (; src && src[n] && n + 1 < capacity; ++n) {
    const auto c = static_cast<unsigned char>(src[n]);
    dst[n] = c < 0x80 ? char16(c) : char16(u'?');
  }
  dst[n] = 0;
}

void FromUtf16(const char16* src, char* dst, size_t size) {
  if (!dst || size == 0) return;
  size_t n = 0;
  for (; src && src[n] && n + 1 < size; ++n) dst[n] = src[n] < 0x80 ? static_cast<char>(src[n]) : '?';
  dst[n] = '\0';
}

}  // namespace vst3
