#include "gui/platform/raster/edit_line.h"

#include <cstdlib>

#include "gui/platform/raster/raster_surface.h"

namespace raster {

EditLine::EditLine(const char* text, size_t maxChars) : max_(maxChars) {
  text_ = text ? text : "";
  if (text_.size() > max_) text_.resize(max_);
  selectAll();
}

void EditLine::selectAll() {
  anchor_ = 0;
  caret_ = text_.size();
}

void EditLine::removeSelection() {
  const size_t a = selectionStart(), b = selectionEnd();
  text_.erase(a, b - a);
  caret_ = anchor_ = a;
}

void EditLine::insert(const char* s) {
  if (!s) return;
  removeSelection();
  for (; *s && text_.size() < max_; ++s) {
    const auto c = static_cast<unsigned char>(*s);
    if (c < 0x20 || c == 0x7f) continue;  // control characters are not text
    text_.insert(text_.begin() + static_cast<std::ptrdiff_t>(caret_), static_cast<char>(c));
    ++caret_;
  }
  anchor_ = caret_;
}

void EditLine::backspace() {
  if (!hasSelection() && caret_ > 0) --anchor_;
  removeSelection();
}

void EditLine::erase() {
  if (!hasSelection() && caret_ < text_.size()) ++anchor_;
  removeSelection();
}

void EditLine::left(bool extend) {
  if (!extend && hasSelection()) moveTo(selectionStart(), false);
  else moveTo(caret_ > 0 ? caret_ - 1 : 0, extend);
}

void EditLine::right(bool extend) {
  if (!extend && hasSelection()) moveTo(selectionEnd(), false);
  else moveTo(caret_ < text_.size() ? caret_ + 1 : caret_, extend);
}

void EditLine::moveTo(size_t pos, bool extend) {
  caret_ = pos > text_.size() ? text_.size() : pos;
  if (!extend) anchor_ = caret_;
}

namespace {

struct Layout {
  platform::Rect inner;  // the part that shows text
  int32_t originX = 0;   // where the first character starts
  int32_t top = 0, lineHeight = 0;
};

int32_t prefixWidth(const std::string& t, size_t n, const platform::FontSpec& f) {
  return RasterSurface::textWidth(t.substr(0, n).c_str(), f);
}

Layout layout(const EditLine& e, const EditLineLook& look) {
  Layout l;
  l.inner = look.rect;
  l.inner.right -= 1;
  l.inner.bottom -= 1;
  int32_t ascent = 0, descent = 0, w = 0;
  if (!textMetrics(e.text().c_str(), look.font, ascent, descent, w)) w = 0;
  l.lineHeight = ascent + descent;
  l.top = l.inner.top + (l.inner.height() - l.lineHeight) / 2;
  const int32_t room = l.inner.width() - 2;
  if (w <= room) {
    switch (look.align) {
      case platform::kAlignLeft: l.originX = l.inner.left + 1; break;
      case platform::kAlignRight: l.originX = l.inner.right - w - 1; break;
      default: l.originX = l.inner.left + (l.inner.width() - w) / 2; break;
    }
  } else {
    // Too long to show whole: scroll just enough to keep the caret inside.
    const int32_t caretX = prefixWidth(e.text(), e.caret(), look.font);
    const int32_t scroll = caretX > room ? caretX - room : 0;
    l.originX = l.inner.left + 1 - scroll;
  }
  return l;
}

}  // namespace

void drawEditLine(platform::Surface& s, const EditLine& e, const EditLineLook& look) {
  const platform::Rect saved = s.clip();
  const Layout l = layout(e, look);
  s.fillRect(look.rect, look.backColor);
  s.setClip(platform::intersect(saved, l.inner));
  const std::string& t = e.text();
  const int32_t w = RasterSurface::textWidth(t.c_str(), look.font);
  // Left-aligned text starts one pixel into its rectangle.
  const platform::Rect textRect{l.originX - 1, l.inner.top, l.originX + w + 1, l.inner.bottom};
  s.text(t.c_str(), textRect, look.font, look.textColor, {0, 0, 0, 0}, platform::kAlignLeft);
  if (e.hasSelection()) {
    // The selected run inverted: drawn again in the background colour on the text colour.
    const int32_t x0 = l.originX + prefixWidth(t, e.selectionStart(), look.font);
    const int32_t x1 = l.originX + prefixWidth(t, e.selectionEnd(), look.font);
    const platform::Rect sel{x0, l.top, x1, l.top + l.lineHeight};
    s.setClip(platform::intersect(platform::intersect(saved, l.inner), sel));
    s.fillRect(sel, look.textColor);
    s.text(t.c_str(), textRect, look.font, look.backColor, {0, 0, 0, 0}, platform::kAlignLeft);
  } else {
    const int32_t x = l.originX + prefixWidth(t, e.caret(), look.font);
    s.fillRect({x, l.top, x + 1, l.top + l.lineHeight}, look.textColor);
  }
  s.setClip(saved);
}

size_t editLinePosition(const EditLine& e, const EditLineLook& look, int32_t x) {
  const Layout l = layout(e, look);
  const std::string& t = e.text();
  size_t best = 0;
  int32_t bestDistance = -1;
  for (size_t i = 0; i <= t.size(); ++i) {
    const int32_t d = std::abs(l.originX + prefixWidth(t, i, look.font) - x);
    if (bestDistance < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

}  // namespace raster
