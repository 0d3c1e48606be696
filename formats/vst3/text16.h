#pragma once
// VST 3 texts are UTF-16. Ours are ASCII (names, units, display texts, program
// names), and what a host types is read for numbers and units only.
#include <cstddef>

#include "formats/vst3/vst3_base.h"

namespace vst3 {

// Copies `src` into `dst` of `capacity` characters, always terminated; a byte
// outside ASCII becomes '?'. A null src writes the empty text.
void ToUtf16(const char* src, char16* dst, size_t capacity);
// Copies a terminated UTF-16 text into `dst` of `size` bytes, always terminated;
// a character outside ASCII becomes '?'. A null src writes the empty text.
void FromUtf16(const char16* src, char* dst, size_t size);

}  // namespace vst3
