#pragma once
// Soravel's VST 3 class identifiers. Hosts save sessions by them: they never change.
//
// Derived once from the VST 2.x plug-in, by the layout hosts use to find the VST 3
// form of a VST 2.x plug-in: three marker bytes ('V' 'S' 'T' for the audio effect,
// 'V' 'S' 'E' for its controller), the four characters of the VST 2.x unique ID
// ('QMNL'), then the effect name in lower case ("soravel"), filled with zeros to
// nine bytes. Written as hosts print an identifier, 32 hex digits:
//   audio effect  565354514D4E4C736F726176656C0000
//   controller    565345514D4E4C736F726176656C0000
#include "formats/vst3/vst3_base.h"
#include "soravel_product.h"

namespace vst3 {

// The identifier of `kind` ('T' or 'E') from the unique ID and the name.
constexpr TUID Vst2DerivedUid(char kind, uint32 uniqueId, const char* name) {
  unsigned char b[16] = {'V', 'S', static_cast<unsigned char>(kind),
                         static_cast<unsigned char>(uniqueId >> 24),
                         static_cast<unsigned char>(uniqueId >> 16),
                         static_cast<unsigned char>(uniqueId >> 8),
                         static_cast<unsigned char>(uniqueId)};
  for (int i = 0; i < 9 && name[i]; ++i) {
    const char c = name[i];
    b[7 + i] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  const auto word = [&b](int i) {
    return uint32(b[i]) << 24 | uint32(b[i + 1]) << 16 | uint32(b[i + 2]) << 8 | uint32(b[i + 3]);
  };
  return MakeUid(word(0), word(4), word(8), word(12));
}

inline constexpr TUID kProcessorUid = Vst2DerivedUid('T', SORAVEL_VST_UNIQUE_ID, SORAVEL_PRODUCT);
inline constexpr TUID kControllerUid = Vst2DerivedUid('E', SORAVEL_VST_UNIQUE_ID, SORAVEL_PRODUCT);

}  // namespace vst3
