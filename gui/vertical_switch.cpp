#include "gui/controls.h"

#include <cstring>

#include "gui/frame.h"

CVerticalSwitch::CVerticalSwitch(const CBounds& size, CControlListener* listener, int32_t tag,
                                 int32_t subPixmaps, int32_t heightOfOneImage, int32_t positions,
                                 CBitmap* background, const CPosition& offset)
    : CControl(size, listener, tag, background), offset_(offset), positions_(positions) {
  heightOfOneImage_ = heightOfOneImage;
  subPixmaps_ = static_cast<int16_t>(subPixmaps);
}

void CVerticalSwitch::draw(CDrawContext* context) {
  if (background_) {
    const int32_t index = static_cast<int32_t>(static_cast<float>(positions_ - 1) * value_ + 0.5f);
    CPosition src(offset_.h, offset_.v + index * heightOfOneImage_);
    if (transparent_)
      background_->drawTransparent(context, size_, src);
    else
      background_->draw(context, size_, src);
  }
  setDirty(false);
}

CMouseEventResult CVerticalSwitch::mouseDown(CPosition& where, const uint32_t& buttons) {
  if (!(buttons & kLButton) || positions_ < 1) return kMouseEventNotHandled;
  coef_ = static_cast<double>(heightOfOneImage_) / positions_;
  if (resetToDefaultOnClick(buttons)) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  beginEdit();
  return mouseMoved(where, buttons);
}

CMouseEventResult CVerticalSwitch::mouseMoved(CPosition& where, const uint32_t& buttons) {
  if (!(buttons & kLButton)) return kMouseEventHandled;
  if (positions_ > 1 && coef_ > 0) {
    const int32_t index = static_cast<int32_t>((where.v - size_.top) / coef_);
    value_ = static_cast<float>(index) / static_cast<float>(positions_ - 1);
  } else {
    value_ = 0.f;
  }
  if (value_ > 1.f) value_ = 1.f;
  else if (value_ < 0.f) value_ = 0.f;
  if (isDirty() && listener_) listener_->valueChanged(this);
  if (isDirty()) invalidate();
  return kMouseEventHandled;
}

CMouseEventResult CVerticalSwitch::mouseUp(CPosition&, const uint32_t&) {
  endEdit();
  return kMouseEventHandled;
}

void CVerticalSwitch::mouseTrack(CDrawContext* context, CPosition& where, uint32_t buttons) {
  if (!mouseEnabled_ || !(buttons & kLButton) || positions_ < 1) return;
  if (listener_ && (buttons & kModifierBits) && listener_->modifierClicked(this, buttons)) return;
  if (resetToDefaultOnClick(buttons)) return;
  coef_ = static_cast<double>(heightOfOneImage_) / positions_;
  beginEdit();
  CPosition p = where;
  uint32_t b = buttons;
  do {
    mouseMoved(p, b);
    mouseLocation(context, p);
    doIdleStuff();
    b = parentFrame_ ? parentFrame_->getCurrentMouseButtons() : 0;
  } while (b == buttons);
  endEdit();
}

bool CVerticalSwitch::isTypeOf(const char* name) const {
  return (name && std::strcmp(name, "CVerticalSwitch") == 0) || CControl::isTypeOf(name);
}
