#include "gui/draw.h"

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
platform::FontSpec CFontDesc::fontSpec() const {
  platform::FontSpec font{name_, size_, style_, nullptr};
  platform::Platform& p = platform::current();
  if (!created_ || nativeOwner_ != &p) {
    created_ = true;
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
  if (frame_)
    clip_ = {0, 0, frame_->getViewSize().width(), frame_->getViewSize().height()};
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
  return {r.left + offset_.h, r.top + offset_.v, r.right + offset_.h, r.bottom + offset_.v};
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
  if (surface_)
    surface_->line(pen_.h + offset_.h, pen_.v + offset_.v, p.h + offset_.h, p.v + offset_.v,
                   toColor(frameColor_), lineWidth_);
  pen_ = p;
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
  return CBounds(clip_.left - offset_.h, clip_.top - offset_.v, clip_.right - offset_.h,
                 clip_.bottom - offset_.v);
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
  surface_->text(text, toSurface(r), font_->fontSpec(), toColor(fontColor_), bg, a);
}

void CDrawContext::getMouseLocation(CPosition& out) const {
  platform::Point p = platform::current().cursorPosition();
  const CPosition& o = getScreenOffset();
  out = CPosition(p.x - o.h, p.y - o.v);
}

// ---- Offscreen ----

COffscreenContext::COffscreenContext(CFrame* frame, int32_t width, int32_t height,
                                     CRGBA background)
    : CDrawContext(frame, nullptr), width_(width < 0 ? 0 : width),
      height_(height < 0 ? 0 : height), background_(background) {
  // The base may have fetched a window surface; an offscreen draws on memory only.
  adoptSurface(platform::current().createOffscreen(width_, height_));
  clip_ = {0, 0, width_, height_};
  if (surface_) surface_->setClip(clip_);
  setFillColor(background);
  setFrameColor(background);
  CBounds all(0, 0, width_, height_);
  fillRect(all);
  drawRect(all);
}

void COffscreenContext::copyTo(CDrawContext* target, const CBounds& dest, CPosition src) {
  if (!target || !target->surface() || !surface_) return;
  CPosition o = target->getDrawOffset();
  target->surface()->copyFrom(*surface_, {dest.left + o.h, dest.top + o.v, dest.right + o.h,
                                          dest.bottom + o.v},
                              src.h, src.v);
}

void COffscreenContext::copyFrom(CDrawContext* source, const CBounds& dest, CPosition src) {
  if (!source || !source->surface() || !surface_) return;
  platform::Rect saved = surface_->clip();
  surface_->setClip({0, 0, width_, height_});
  surface_->copyFrom(*source->surface(), {dest.left, dest.top, dest.right, dest.bottom}, src.h,
                     src.v);
  surface_->setClip(saved);
}

// ---- Bitmaps ----

uint32_t premultiplyRGBA(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  auto pm = [a](uint8_t c) { return static_cast<uint32_t>((c * a + 127) / 255); };
  return pm(b) | (pm(g) << 8) | (pm(r) << 16) | (static_cast<uint32_t>(a) << 24);
}

CBitmap::CBitmap() = default;

CBitmap::CBitmap(int32_t width, int32_t height, const uint32_t* pixels, bool noAlpha) {
  // Refuse sizes that are negative or would overflow; the bitmap then stays empty.
  if (width <= 0 || height <= 0 || !pixels || width > 32768 || height > 32768) return;
  pixels_.assign(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height));
  width_ = width;
  height_ = height;
  noAlpha_ = noAlpha;
}

CBitmap::~CBitmap() = default;

platform::Pixmap CBitmap::pixmap() const {
  platform::Pixmap px{width_, height_, pixels_.data(), nullptr};
  platform::Platform& p = platform::current();
  if (nativeOwner_ != &p) {
    native_ = p.prepareImage(px);
    nativeOwner_ = &p;
  }
  px.native = native_.get();
  return px;
}

namespace {
platform::Rect dest(CDrawContext* c, const CBounds& r) {
  CPosition o = c->getDrawOffset();
  return {r.left + o.h, r.top + o.v, r.right + o.h, r.bottom + o.v};
}
}  // namespace

void CBitmap::draw(CDrawContext* c, const CBounds& r, const CPosition& offset) {
  if (!c || !c->surface() || !isLoaded()) return;
  if (!noAlpha_) return drawAlphaBlend(c, r, offset, 255);
  c->surface()->copyImage(pixmap(), dest(c, r), offset.h, offset.v);
}

void CBitmap::drawTransparent(CDrawContext* c, const CBounds& r, const CPosition& offset) {
  if (!c || !c->surface() || !isLoaded()) return;
  if (!noAlpha_) return drawAlphaBlend(c, r, offset, 255);
  c->surface()->keyImage(pixmap(), dest(c, r), offset.h, offset.v,
                         {transparent_.red, transparent_.green, transparent_.blue, 255});
}

void CBitmap::drawAlphaBlend(CDrawContext* c, const CBounds& r, const CPosition& offset,
                             uint8_t alpha) {
  if (!c || !c->surface() || !isLoaded()) return;
  c->surface()->blendImage(pixmap(), dest(c, r), offset.h, offset.v, alpha);
}

void CBitmap::dispose() {
  native_.reset();
  nativeOwner_ = nullptr;
  pixels_.clear();
  pixels_.shrink_to_fit();
  width_ = height_ = 0;
  noAlpha_ = false;
}
bool CBitmap::loadFromResource(int32_t) { return false; }
bool CBitmap::loadFromPath(const char*) {
  dispose();
  return false;
}
