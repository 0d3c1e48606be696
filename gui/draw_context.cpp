#include "gui/draw.h"

#include "gui/frame.h"

namespace {
platform::Color toColor(CRGBA c) { return {c.red, c.green, c.blue, c.alpha}; }
}  // namespace

CDrawContext::CDrawContext(CFrame* frame, platform::Surface* surface) : frame_(frame) {
  surface_ = surface;
  if (!surface_ && frame_ && frame_->platformWindow())
    adoptSurface(frame_->platformWindow()->drawSurface());
  font_ = kSystemFont;
  if (font_) font_->retain();
  if (frame_) scale_ = frame_->getScale();
  if (frame_)
    clip_ = scale_.toPixels(
        CBounds(0, 0, frame_->getViewSize().width(), frame_->getViewSize().height()));
  else
    clip_ = {0, 0, 1000, 1000};
  if (surface_) surface_->setClip(clip_);
}

CDrawContext::~CDrawContext() {
  if (font_) font_->release();
  if (surface_) surface_->flush();
}

const CPosition& CDrawContext::getScreenOffset() const {
  if (!screenOffsetKnown_) {
    screenOffsetKnown_ = true;
    if (frame_ && frame_->platformWindow()) {
      const platform::Point o = frame_->platformWindow()->screenOrigin();
      screenOffset_ = CPosition(o.x, o.y);
    }
  }
  return screenOffset_;
}

void CDrawContext::adoptSurface(std::unique_ptr<platform::Surface> s) {
  ownedSurface_ = std::move(s);
  surface_ = ownedSurface_.get();
}

platform::Rect CDrawContext::toSurface(const CBounds& r) const {
  return scale_.toPixels(
      CBounds(r.left + offset_.h, r.top + offset_.v, r.right + offset_.h, r.bottom + offset_.v));
}

void CDrawContext::setFrameColor(CRGBA c) {
  if (c == frameColor_) return;
  frameColor_ = c;
  SORAVEL_TEST_HOOK(++penCreations_;)
}
void CDrawContext::setFillColor(CRGBA c) {
  if (c == fillColor_) return;
  fillColor_ = c;
  SORAVEL_TEST_HOOK(++brushCreations_;)
}
void CDrawContext::setFontColor(CRGBA c) { fontColor_ = c; }
void CDrawContext::setLineWidth(int32_t w) {
  if (w == lineWidth_) return;
  lineWidth_ = w;
  SORAVEL_TEST_HOOK(++penCreations_;)
}
void CDrawContext::setLineStyle(int32_t s) {
  if (s == lineStyle_) return;
  lineStyle_ = s;
  SORAVEL_TEST_HOOK(++penCreations_;)
}

void CDrawContext::moveTo(const CPosition& p) { pen_ = p; }
void CDrawContext::lineTo(const CPosition& p) {
  if (!surface_) {
    pen_ = p;
    return;
  }
  const int32_t x0 = pen_.h + offset_.h, y0 = pen_.v + offset_.v;
  const int32_t x1 = p.h + offset_.h, y1 = p.v + offset_.v;
  pen_ = p;
  if (scale_.isOne()) {
    surface_->line(x0, y0, x1, y1, toColor(frameColor_), lineWidth_);
    return;
  }
  const int32_t w = lineWidth_ < 1 ? 1 : lineWidth_;
  if (x0 != x1 && y0 != y1) {
    surface_->line(scale_.toPixels(x0), scale_.toPixels(y0), scale_.toPixels(x1),
                   scale_.toPixels(y1), toColor(frameColor_), scale_.toPixels(w));
    return;
  }
  if (x0 == x1 && y0 == y1) return;  // the end point is not drawn: nothing
  // A straight line is the units its pen covers at 1x (a w x w square centred on each
  // point but the last), filled at the scale: as thick as the layout says, sharp.
  const int32_t a = (w - 1) / 2;
  const int32_t lo = x0 == x1 ? (y0 < y1 ? y0 : y1 + 1) : (x0 < x1 ? x0 : x1 + 1);
  const int32_t hi = x0 == x1 ? (y0 < y1 ? y1 : y0 + 1) : (x0 < x1 ? x1 : x0 + 1);
  const CBounds covered = x0 == x1 ? CBounds(x0 - a, lo - a, x0 - a + w, hi - 1 - a + w)
                                   : CBounds(lo - a, y0 - a, hi - 1 - a + w, y0 - a + w);
  surface_->fillRect(scale_.toPixels(covered), toColor(frameColor_));
}
void CDrawContext::drawRect(const CBounds& r) {
  moveTo(CPosition(r.left, r.top));
  lineTo(CPosition(r.right - 1, r.top));
  lineTo(CPosition(r.right - 1, r.bottom - 1));
  lineTo(CPosition(r.left, r.bottom - 1));
  lineTo(CPosition(r.left, r.top));
}
void CDrawContext::fillRect(const CBounds& r) {
  if (surface_) surface_->fillRect(toSurface(r), toColor(fillColor_));
}

void CDrawContext::setClipRect(const CBounds& r) {
  platform::Rect s = toSurface(r);
  if (s.left == clip_.left && s.top == clip_.top && s.right == clip_.right &&
      s.bottom == clip_.bottom)
    return;
  clip_ = s;
  SORAVEL_TEST_HOOK(++clipChanges_;)
  if (surface_) surface_->setClip(clip_);
}
CBounds CDrawContext::getClipRect() const {
  CBounds r = scale_.unitsCovering(clip_);
  return r.offset(-offset_.h, -offset_.v);
}

void CDrawContext::setFont(CFontDesc* font, int32_t size, int32_t style) {
  if (!font) return;
  if (font_) font_->release();
  if ((size < 1 || size == font->getSize()) && (style == -1 || style == font->getStyle())) {
    font_ = font;
    font_->retain();
  } else {
    font_ = new CFontDesc(font->getName(), size < 1 ? font->getSize() : size,
                          style == -1 ? font->getStyle() : style);
  }
}

void CDrawContext::drawString(const char* text, const CBounds& r, bool opaque, int32_t align) {
  if (!surface_ || !font_ || !text) return;
  platform::TextAlign a = align == kLeftText    ? platform::kAlignLeft
                          : align == kRightText ? platform::kAlignRight
                                                : platform::kAlignCenter;
  platform::Color bg = opaque ? toColor(fillColor_) : platform::Color{0, 0, 0, 0};
  if (opaque) bg.a = 255;
  surface_->text(text, toSurface(r), font_->fontSpec(scale_), toColor(fontColor_), bg, a);
}

void CDrawContext::getMouseLocation(CPosition& out) const {
  platform::Point p = platform::current().cursorPosition();
  const CPosition& o = getScreenOffset();
  out = scale_.toUnits(platform::Point{p.x - o.h, p.y - o.v});
}
