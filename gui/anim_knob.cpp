// Filmstrip controls: the image height of one frame, and the knob that shows the frame its
// value selects.
#include "gui/controls.h"

#include <cstring>

void IMultiBitmapControl::setHeightOfOneImage(int32_t h) {
  heightOfOneImage_ = h;
  CBitmap* b = multiBitmap();
  if (b && h > 0 && b->getHeight() > 0) subPixmaps_ = static_cast<int16_t>(b->getHeight() / h);
}

CAnimKnob::CAnimKnob(const CBounds& size, CControlListener* listener, int32_t tag,
                     int32_t subPixmaps, int32_t heightOfOneImage, CBitmap* background,
                     const CPosition& offset)
    : CKnob(size, listener, tag, background, nullptr, offset) {
  heightOfOneImage_ = heightOfOneImage;
  subPixmaps_ = static_cast<int16_t>(subPixmaps);
}

int32_t CAnimKnob::imageY() const {
  if (!(value_ >= 0.f) || !background_ || heightOfOneImage_ <= 0) return -1;
  const int32_t h = heightOfOneImage_;
  const int32_t total = h * (subPixmaps_ > 1 ? subPixmaps_ - 1 : 0);
  const float v = value_ > 1.f ? 1.f : value_;
  int32_t y = static_cast<int32_t>(static_cast<float>(total) * (inverse_ ? 1.f - v : v));
  // Lower y to the start of the image band it falls in.
  for (int32_t start = 0; start <= total; start += h) {
    if (start > y) {
      y = start - h < 0 ? 0 : start - h;
      break;
    }
  }
  return y;
}

void CAnimKnob::draw(CDrawContext* context) {
  const int32_t y = imageY();
  if (y >= 0) {
    CPosition src(0, y);
    if (transparent_)
      background_->drawTransparent(context, size_, src);
    else
      background_->draw(context, size_, src);
  }
  lastY_ = y;
  valueToPoint(lastDrawn_);
  setDirty(false);
}

// Clean while the filmstrip frame it shows is the one its value selects: comparing
// handle points instead misses most one-frame steps.
bool CAnimKnob::isDirty() const {
  if (!dirty_ && imageY() == lastY_) return false;
  return CControl::isDirty();
}

bool CAnimKnob::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CAnimKnob") == 0) || CKnob::isTypeOf(name);
}
