#include "editor/image_pack.h"

namespace {
uint32_t Le(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}
}  // namespace

bool ReadImagePack(const uint8_t* pack, size_t size, std::vector<TPackEntry>& entries) {
  entries.clear();
  if (!pack || size < 2) return false;
  const uint32_t count = Le(pack, 2);
  size_t at = 2;
  for (uint32_t i = 0; i < count; ++i) {
    if (size - at < 5) return entries.clear(), false;
    const uint32_t nameLength = pack[at];
    const int32_t dataLength = static_cast<int32_t>(Le(pack + at + 1, 4));
    at += 5;
    if (dataLength < 0 || size - at < nameLength || size - at - nameLength < uint32_t(dataLength))
      return entries.clear(), false;
    const std::string_view name(reinterpret_cast<const char*>(pack + at), nameLength);
    at += nameLength;
    entries.push_back({name, pack + at, static_cast<uint32_t>(dataLength)});
    at += static_cast<uint32_t>(dataLength);
  }
  if (at != size) return entries.clear(), false;
  return true;
}
