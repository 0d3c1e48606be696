#include "gui/draw.h"

#include <cstdlib>
#include <cstring>

CFontDesc::CFontDesc(const char* name, int32_t size, int32_t style) : size_(size), style_(style) {
  setName(name);
}
CFontDesc::~CFontDesc() { std::free(name_); }
void CFontDesc::dropNative() {
  native_.reset();
  nativeOwner_ = nullptr;
  created_ = false;
}
void CFontDesc::setName(const char* name) {
  std::free(name_);
  name_ = strdup(name ? name : "");
  dropNative();  // a rename drops the platform font
}
void CFontDesc::setSize(int32_t s) {
  if (s == size_) return;
  size_ = s;
  dropNative();
}
void CFontDesc::setStyle(int32_t s) {
  if (s == style_) return;
  style_ = s;
  dropNative();
}
platform::FontSpec CFontDesc::fontSpec(const CScale& scale) const {
  platform::FontSpec font{name_, scale.isOne() ? size_ : scale.toPixels(size_), style_, nullptr};
  platform::Platform& p = platform::current();
  if (!created_ || nativeOwner_ != &p || createdHeight_ != font.pixelHeight) {
    created_ = true;
    createdHeight_ = font.pixelHeight;
    SORAVEL_TEST_HOOK(++creations_;)
    native_ = p.prepareFont(font);
    nativeOwner_ = &p;
  }
  font.native = native_.get();
  return font;
}

CFontDesc* kSystemFont = nullptr;
CFontDesc* kNormalFontVeryBig = nullptr;
CFontDesc* kNormalFontBig = nullptr;
CFontDesc* kNormalFont = nullptr;
CFontDesc* kNormalFontSmall = nullptr;
CFontDesc* kNormalFontSmaller = nullptr;
CFontDesc* kNormalFontVerySmall = nullptr;
CFontDesc* kSymbolFont = nullptr;

namespace {
// Global fonts live from load to unload.
struct GlobalFonts {
  GlobalFonts() {
    kSystemFont = new CFontDesc("Arial", 12);
    kNormalFontVeryBig = new CFontDesc("Arial", 18);
    kNormalFontBig = new CFontDesc("Arial", 14);
    kNormalFont = new CFontDesc("Arial", 12);
    kNormalFontSmall = new CFontDesc("Arial", 11);
    kNormalFontSmaller = new CFontDesc("Arial", 10);
    kNormalFontVerySmall = new CFontDesc("Arial", 9);
    kSymbolFont = new CFontDesc("Symbol", 13);
  }
  ~GlobalFonts() {
    for (CFontDesc** f : {&kSystemFont, &kNormalFontVeryBig, &kNormalFontBig, &kNormalFont,
                          &kNormalFontSmall, &kNormalFontSmaller, &kNormalFontVerySmall,
                          &kSymbolFont}) {
      (*f)->release();
      *f = nullptr;
    }
  }
} globalFonts;
}  // namespace
