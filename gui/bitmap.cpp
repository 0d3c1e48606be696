#include "gui/draw.h"

#include <algorithm>

CBitmap::CBitmap() = default;

CBitmap::CBitmap(int32_t width, int32_t height, const uint32_t* pixels, bool noAlpha)
    : CBitmap(width, height, pixels, noAlpha, 1.0, width, height) {}

CBitmap::CBitmap(int32_t pixelWidth, int32_t pixelHeight, const uint32_t* pixels, bool noAlpha,
                 double scale, int32_t width, int32_t height) {
  // Refuse sizes that are negative or would overflow; the bitmap then stays empty.
  auto bad = [](int32_t v) { return v <= 0 || v > platform::kMaxImageSide; };
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

platform::Pixmap CBitmap::Prepared::of(platform::Pixmap px) {
  platform::Platform& p = platform::current();
  if (owner != &p) {
    image = p.prepareImage(px);
    owner = &p;
  }
  px.native = image.get();
  return px;
}

platform::Pixmap CBitmap::pixmap(const CScale& scale) const {
  if (scale.factor == scale_.factor)
    return native_.of({pixelWidth_, pixelHeight_, pixels_.data(), nullptr});
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
    SORAVEL_TEST_HOOK(++resamplings_;)
  }
  return resampledNative_.of({resampledWidth_, resampledHeight_, resampled_.data(), nullptr});
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
  resampled_.clear();
  resampled_.shrink_to_fit();
  resampledNative_.reset();
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
