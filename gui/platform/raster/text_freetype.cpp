// Text through FreeType, with faces found by fontconfig ("Arial" resolves to its
// metric-compatible substitute; a family that cannot be loaded falls back to whatever
// sans-serif face fontconfig offers). Faces are cached per family and style for the
// life of the process and freed at exit. The fontconfig configuration is our own, not
// the library's shared one: inside a host (Soravel.so) freeing that at exit would pull
// it from under the host's own text.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <string>
#include <vector>

#include "gui/platform/raster/raster_surface.h"

namespace raster {
namespace {

class FaceCache {
 public:
  ~FaceCache() {
    for (Entry& e : entries_)
      if (e.face) FT_Done_Face(e.face);
    if (library_) FT_Done_FreeType(library_);
    if (config_) FcConfigDestroy(config_);
  }

  FT_Face face(const platform::FontSpec& f) {
    const std::string name = f.name ? f.name : "Arial";
    const int32_t style = f.style & 3;
    for (Entry& e : entries_)
      if (e.name == name && e.style == style) return e.face;
    if (!library_ && FT_Init_FreeType(&library_) != 0) return nullptr;
    if (!config_) config_ = FcInitLoadConfigAndFonts();
    FT_Face face = load(name.c_str(), style);
    if (!face) face = load("sans-serif", style);
    entries_.push_back({name, style, face});
    return face;
  }

 private:
  FT_Face load(const char* family, int32_t style) {
    if (!config_) return nullptr;
    FT_Face face = nullptr;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, (style & 1) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, (style & 2) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(config_, pattern, &result);
    if (match) {
      FcChar8* file = nullptr;
      int index = 0;
      if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        if (FT_New_Face(library_, reinterpret_cast<const char*>(file), index, &face) != 0)
          face = nullptr;
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return face;
  }

  struct Entry {
    std::string name;
    int32_t style;
    FT_Face face;
  };
  FT_Library library_ = nullptr;
  FcConfig* config_ = nullptr;
  std::vector<Entry> entries_;
};

FaceCache& cache() {
  static FaceCache c;
  return c;
}

FT_Face sized(const platform::FontSpec& f) {
  if (f.pixelHeight < 1 || f.pixelHeight > 1000) return nullptr;
  FT_Face face = cache().face(f);
  if (!face || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(f.pixelHeight)) != 0)
    return nullptr;
  return face;
}

}  // namespace

bool textMetrics(const char* s, const platform::FontSpec& f, int32_t& ascent, int32_t& descent,
                 int32_t& width) {
  FT_Face face = sized(f);
  if (!face) return false;
  ascent = static_cast<int32_t>((face->size->metrics.ascender + 63) >> 6);
  descent = static_cast<int32_t>((-face->size->metrics.descender + 63) >> 6);
  width = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
    if (FT_Load_Char(face, *p, FT_LOAD_DEFAULT) != 0) continue;
    width += static_cast<int32_t>((face->glyph->advance.x + 32) >> 6);
  }
  return true;
}

bool renderText(const char* s, const platform::FontSpec& f, int32_t originX, int32_t baselineY,
                GlyphSink& sink) {
  FT_Face face = sized(f);
  if (!face) return false;
  int32_t penX = originX;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
    if (FT_Load_Char(face, *p, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot g = face->glyph;
    const FT_Bitmap& bm = g->bitmap;
    if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
      for (unsigned row = 0; row < bm.rows; ++row)
        for (unsigned col = 0; col < bm.width; ++col)
          sink.coverage(penX + g->bitmap_left + static_cast<int32_t>(col),
                        baselineY - g->bitmap_top + static_cast<int32_t>(row),
                        bm.buffer[row * bm.pitch + col]);
    }
    penX += static_cast<int32_t>((g->advance.x + 32) >> 6);
  }
  return true;
}

}  // namespace raster
