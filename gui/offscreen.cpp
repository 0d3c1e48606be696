#include "gui/draw.h"

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
