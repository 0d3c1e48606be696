#include "plugin/text.h"

void CopyText(char* dst, const char* src, size_t size) {
  if (!dst || size == 0) return;
  if (!src) src = "";
  size_t n = 0;
  while (n + 1 < size && src[n] != '\0') ++n;
  // A cut text must not end in half a character: when the cut falls inside
  // a multi-byte sequence, cut before its lead byte instead.
  const auto byte = [src](size_t i) { return static_cast<unsigned char>(src[i]); };
  if (src[n] != '\0' && (byte(n) & 0xC0) == 0x80) {
    size_t k = n;
    while (k > 0 && (byte(k - 1) & 0xC0) == 0x80) --k;
    if (k > 0 && byte(k - 1) >= 0xC0) n = k - 1;
  }
  for (size_t i = 0; i < n; ++i) dst[i] = src[i];
  dst[n] = '\0';
}
