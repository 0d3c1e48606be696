#pragma once
// Fonts as GDI makes them.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "gui/platform/platform.h"

namespace win32 {

// The font text is drawn with: weight from the style's bold bit, italic and underline,
// stroke clip and string output precision, ANSI; the decorative family for "Symbol".
// (The text entry's font differs on purpose: makeEntryFont.)
HFONT makeFont(const platform::FontSpec& f);
// The text entry's font: regular weight, default precisions and character set. It
// differs from makeFont on purpose: an entry shows plain typed text, never a style.
HFONT makeEntryFont(const platform::FontSpec& f);

// A font made once for a font description and kept with it.
class Win32Font : public platform::NativeFont {
 public:
  explicit Win32Font(const platform::FontSpec& f) : font_(makeFont(f)) {}
  ~Win32Font() override;
  HFONT handle() const { return font_; }

 private:
  HFONT font_;
};

}  // namespace win32
