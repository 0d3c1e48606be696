#include "gui/draw.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "gui/frame.h"

const CRGBA kTransparentCRGBA{255, 255, 255, 0};
const CRGBA kBlackCRGBA{0, 0, 0, 255};
const CRGBA kWhiteCRGBA{255, 255, 255, 255};
const CRGBA kGreyCRGBA{127, 127, 127, 255};
const CRGBA kRedCRGBA{255, 0, 0, 255};
const CRGBA kGreenCRGBA{0, 255, 0, 255};
const CRGBA kBlueCRGBA{0, 0, 255, 255};
const CRGBA kYellowCRGBA{255, 255, 0, 255};
const CRGBA kMagentaCRGBA{255, 0, 255, 255};
const CRGBA kCyanCRGBA{0, 255, 255, 255};

const char* const kMsgCheckIfViewContainer = "kMsgCheckIfViewContainer";
const char* const kMsgLooseFocus = "LooseFocus";
const char* const kMsgTimerFired = "timer fired";

namespace {
platform::Color toColor(CRGBA c) { return {c.red, c.green, c.blue, c.alpha}; }
}  // namespace

// ---- Fonts ----

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
    ++creations_;
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

// ---- Drawing context ----

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
  ++penCreations_;
}
void CDrawContext::setFillColor(CRGBA c) {
  if (c == fillColor_) return;
  fillColor_ = c;
  ++brushCreations_;
}
void CDrawContext::setFontColor(CRGBA c) { fontColor_ = c; }
void CDrawContext::setLineWidth(int32_t w) {
  if (w == lineWidth_) return;
  lineWidth_ = w;
  ++penCreations_;
}
void CDrawContext::setLineStyle(int32_t s) {
  if (s == lineStyle_) return;
  lineStyle_ = s;
  ++penCreations_;
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
  ++clipChanges_;
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

// ---- Offscreen ----

COffscreenContext::COffscreenContext(CFrame* frame, int32_t width, int32_t height,
                                     CRGBA background)
    : CDrawContext(frame, nullptr), width_(width < 0 ? 0 : width),
      height_(height < 0 ? 0 : height), background_(background) {
  // The base may have fetched a window surface; an offscreen draws on memory only.
  adoptSurface(
      platform::current().createOffscreen(scale_.toPixels(width_), scale_.toPixels(height_)));
  clip_ = scale_.toPixels(CBounds(0, 0, width_, height_));
  if (surface_) surface_->setClip(clip_);
  setFillColor(background);
  setFrameColor(background);
  CBounds all(0, 0, width_, height_);
  fillRect(all);
  drawRect(all);
}

void COffscreenContext::copyTo(CDrawContext* target, const CBounds& dest, CPosition src) {
  if (!target || !target->surface() || !surface_) return;
  target->surface()->copyFrom(*surface_, target->toSurface(dest), scale_.toPixels(src.h),
                              scale_.toPixels(src.v));
}

void COffscreenContext::copyFrom(CDrawContext* source, const CBounds& dest, CPosition src) {
  if (!source || !source->surface() || !surface_) return;
  platform::Rect saved = surface_->clip();
  surface_->setClip(scale_.toPixels(CBounds(0, 0, width_, height_)));
  surface_->copyFrom(*source->surface(), scale_.toPixels(dest), source->getScale().toPixels(src.h),
                     source->getScale().toPixels(src.v));
  surface_->setClip(saved);
}

// ---- Bitmaps ----

uint32_t premultiplyRGBA(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  auto pm = [a](uint8_t c) { return static_cast<uint32_t>((c * a + 127) / 255); };
  return pm(b) | (pm(g) << 8) | (pm(r) << 16) | (static_cast<uint32_t>(a) << 24);
}

CBitmap::CBitmap() = default;

CBitmap::CBitmap(int32_t width, int32_t height, const uint32_t* pixels, bool noAlpha)
    : CBitmap(width, height, pixels, noAlpha, 1.0, width, height) {}

CBitmap::CBitmap(int32_t pixelWidth, int32_t pixelHeight, const uint32_t* pixels, bool noAlpha,
                 double scale, int32_t width, int32_t height) {
  // Refuse sizes that are negative or would overflow; the bitmap then stays empty.
  auto bad = [](int32_t v) { return v <= 0 || v > 32768; };
  if (bad(pixelWidth) || bad(pixelHeight) || bad(width) || bad(height) || !pixels) return;
  if (!(scale >= 0.25 && scale <= 8.0)) return;
  pixels_.assign(pixels,
                 pixels + static_cast<size_t>(pixelWidth) * static_cast<size_t>(pixelHeight));
  pixelWidth_ = pixelWidth;
  pixelHeight_ = pixelHeight;
  width_ = width;
  height_ = height;
  scale_ = CScale(scale);
  noAlpha_ = noAlpha;
}

CBitmap::~CBitmap() = default;

platform::Pixmap CBitmap::pixmap(const CScale& scale) const {
  platform::Platform& p = platform::current();
  if (scale.factor == scale_.factor) {
    platform::Pixmap px{pixelWidth_, pixelHeight_, pixels_.data(), nullptr};
    if (nativeOwner_ != &p) {
      native_ = p.prepareImage(px);
      nativeOwner_ = &p;
    }
    px.native = native_.get();
    return px;
  }
  if (resampled_.empty() || resampledScale_.factor != scale.factor) {
    // Nearest pixel: each target pixel takes the source pixel under its centre.
    resampledScale_ = scale;
    resampledWidth_ = std::max(1, scale.toPixels(width_));
    resampledHeight_ = std::max(1, scale.toPixels(height_));
    resampled_.assign(static_cast<size_t>(resampledWidth_) * resampledHeight_, 0u);
    const double k = scale_.factor / scale.factor;
    for (int32_t y = 0; y < resampledHeight_; ++y) {
      const int32_t sy = std::min(pixelHeight_ - 1, static_cast<int32_t>((y + 0.5) * k));
      for (int32_t x = 0; x < resampledWidth_; ++x) {
        const int32_t sx = std::min(pixelWidth_ - 1, static_cast<int32_t>((x + 0.5) * k));
        resampled_[static_cast<size_t>(y) * resampledWidth_ + x] =
            pixels_[static_cast<size_t>(sy) * pixelWidth_ + sx];
      }
    }
    resampledNative_.reset();
    resampledNativeOwner_ = nullptr;
    ++resamplings_;
  }
  platform::Pixmap px{resampledWidth_, resampledHeight_, resampled_.data(), nullptr};
  if (resampledNativeOwner_ != &p) {
    resampledNative_ = p.prepareImage(px);
    resampledNativeOwner_ = &p;
  }
  px.native = resampledNative_.get();
  return px;
}

void CBitmap::drawImage(CDrawContext* c, const CBounds& r, const CPosition& offset, Mode mode,
                        uint8_t alpha) {
  const CScale& scale = c->getScale();
  const platform::Pixmap px = pixmap(scale);
  const platform::Rect d = c->toSurface(r);
  const int32_t sx = scale.toPixels(offset.h), sy = scale.toPixels(offset.v);
  switch (mode) {
    case Mode::kCopy: c->surface()->copyImage(px, d, sx, sy); break;
    case Mode::kKey:
      c->surface()->keyImage(px, d, sx, sy,
                             {transparent_.red, transparent_.green, transparent_.blue, 255});
      break;
    case Mode::kBlend: c->surface()->blendImage(px, d, sx, sy, alpha); break;
  }
}

void CBitmap::draw(CDrawContext* c, const CBounds& r, const CPosition& offset) {
  if (!c || !c->surface() || !isLoaded()) return;
  if (!noAlpha_) return drawAlphaBlend(c, r, offset, 255);
  drawImage(c, r, offset, Mode::kCopy, 255);
}

void CBitmap::drawTransparent(CDrawContext* c, const CBounds& r, const CPosition& offset) {
  if (!c || !c->surface() || !isLoaded()) return;
  if (!noAlpha_) return drawAlphaBlend(c, r, offset, 255);
  drawImage(c, r, offset, Mode::kKey, 255);
}

void CBitmap::drawAlphaBlend(CDrawContext* c, const CBounds& r, const CPosition& offset,
                             uint8_t alpha) {
  if (!c || !c->surface() || !isLoaded()) return;
  drawImage(c, r, offset, Mode::kBlend, alpha);
}

void CBitmap::dispose() {
  native_.reset();
  nativeOwner_ = nullptr;
  resampled_.clear();
  resampled_.shrink_to_fit();
  resampledNative_.reset();
  resampledNativeOwner_ = nullptr;
  pixels_.clear();
  pixels_.shrink_to_fit();
  width_ = height_ = pixelWidth_ = pixelHeight_ = 0;
  scale_ = CScale();
  noAlpha_ = false;
}
bool CBitmap::loadFromResource(int32_t) { return false; }
bool CBitmap::loadFromPath(const char*) {
  dispose();
  return false;
}
