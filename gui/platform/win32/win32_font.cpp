#include "gui/platform/win32/win32_font.h"

#include <cstring>

#include "gui/platform/win32/win32_objects.h"

namespace win32 {

HFONT makeFont(const platform::FontSpec& f) {
  const bool symbol = f.name && std::strcmp(f.name, "Symbol") == 0;
  HFONT h = made(CreateFontA(-f.pixelHeight, 0, 0, 0, (f.style & 1) ? FW_BOLD : FW_NORMAL,
                             (f.style & 2) != 0, (f.style & 4) != 0, FALSE, ANSI_CHARSET,
                             OUT_STRING_PRECIS, CLIP_STROKE_PRECIS, DEFAULT_QUALITY,
                             VARIABLE_PITCH | (symbol ? FF_DECORATIVE : FF_SWISS),
                             f.name ? f.name : "Arial"));
  SORAVEL_TEST_HOOK(if (h) ++counts::fonts;)
  return h;
}

HFONT makeEntryFont(const platform::FontSpec& f) {
  return made(CreateFontA(-f.pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS,
                          f.name ? f.name : "Arial"));
}

Win32Font::~Win32Font() {
  if (font_) freed(DeleteObject(font_));
}

}  // namespace win32
