#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The editor's PNG files, linked into the library as one block:
// a 16-bit count, then per image an 8-bit name length, a 32-bit data length,
// the name (no terminator) and the PNG bytes; little-endian, no padding.
extern const unsigned char kImagePack[];
extern const std::size_t kImagePackSize;

struct TPackEntry {
  std::string_view name;
  const uint8_t* data;
  uint32_t size;
};

// Lists the pack's entries in order. A block that ends inside an entry, or
// holds trailing bytes, is malformed: false, and no entries.
bool ReadImagePack(const uint8_t* pack, size_t size, std::vector<TPackEntry>& entries);
